#include "history/freebetspage.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "calc/numbertext.h"
#include "history/rowsmodel.h"
#include "tracker/totals.h"

namespace history {

namespace {

enum FreeBetColumn { Bookmaker, Amount, Kind, Received, Expires, Status, DaysLeft, EarnedBy, UsedBy, Kept, Retention };
enum OfferColumn {
    OfferBookmaker,
    Offer,
    Qualifying,
    FreeBetAmount,
    FreeBetProfit,
    OfferProfit,
    OfferRetention,
    OfferStatus
};

QString money(std::optional<calc::Pennies> pennies, const QLocale &locale)
{
    return pennies ? calc::formatPennies(*pennies, locale) : QString();
}

QString percent(std::optional<double> value, const QLocale &locale)
{
    return value ? locale.toString(*value, 'f', 1) : QString();
}

} // namespace

FreeBetsPage::FreeBetsPage(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("freeBets"));
    m_model = new RowsModel({QStringLiteral("Bookmaker"), QStringLiteral("Amount"), QStringLiteral("Kind"),
                                QStringLiteral("Received"), QStringLiteral("Expires"), QStringLiteral("Status"),
                                QStringLiteral("Days left"), QStringLiteral("Earned by"), QStringLiteral("Used by"),
                                QStringLiteral("Kept"), QStringLiteral("Retention %")},
        this);
    m_model->setFigureColumns({Amount, DaysLeft, Kept, Retention});
    m_table = new QTableView;
    prepareTotalsTable(m_table, QStringLiteral("Free bets"), m_model);
    m_add = new QPushButton(QStringLiteral("&Add free bet..."));
    m_add->setObjectName(QStringLiteral("addFreeBet"));
    connect(m_add, &QPushButton::clicked, this, &FreeBetsPage::addChosen);
    m_giveUp = new QPushButton(QStringLiteral("&Give up..."));
    m_giveUp->setObjectName(QStringLiteral("giveUpFreeBet"));
    connect(m_giveUp, &QPushButton::clicked, this, [this] {
        if (const FreeBet *held = chosenHeld())
            emit giveUpChosen(held->id);
    });
    connect(m_model, &QAbstractItemModel::modelReset, this, &FreeBetsPage::enableGiveUp);
    connect(m_table->selectionModel(), &QItemSelectionModel::currentRowChanged, this, &FreeBetsPage::enableGiveUp);
    enableGiveUp();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_add);
    buttons->addWidget(m_giveUp);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addLayout(buttons);
}

void FreeBetsPage::showTotals(const SharedTotals &totals, const QStringList &)
{
    m_totals = totals;
    m_model->setBold([this](int row) {
        const FreeBetRow &shown = m_totals->freeBets->totals.rows[std::size_t(row)];
        return shown.status == FreeBetStatus::Held && shown.daysLeft && *shown.daysLeft <= freeBetDueDays;
    });
    m_model->setRows(
        int(totals->freeBets->totals.rows.size()), [this](int row, int column) { return cell(row, column); });
    m_table->resizeColumnsToContents();
}

const FreeBet *FreeBetsPage::chosenHeld() const
{
    const int row = m_table->currentIndex().row();
    if (!m_totals || row < 0 || std::size_t(row) >= m_totals->freeBets->totals.rows.size())
        return nullptr;
    const FreeBetRow &shown = m_totals->freeBets->totals.rows[std::size_t(row)];
    return shown.status == FreeBetStatus::Held ? &m_totals->freeBets->list()[shown.freeBet] : nullptr;
}

void FreeBetsPage::enableGiveUp()
{
    m_giveUp->setEnabled(chosenHeld() != nullptr);
}

QString FreeBetsPage::cell(int row, int column) const
{
    const QLocale locale;
    const FreeBetRow &shown = m_totals->freeBets->totals.rows[std::size_t(row)];
    const FreeBet &freeBet = m_totals->freeBets->list()[shown.freeBet];
    switch (column) {
    case Bookmaker:
        return freeBet.bookmaker;
    case Amount:
        return calc::formatPennies(freeBet.amount, locale);
    case Kind:
        return freeBet.stakeReturned ? QStringLiteral("SR") : QStringLiteral("SNR");
    case Received:
        return shownMoment(freeBet.received, locale);
    case Expires:
        return freeBet.expires.isValid() ? locale.toString(freeBet.expires, QLocale::ShortFormat) : QString();
    case Status:
        return freeBetStatusText(shown.status);
    case DaysLeft:
        return shown.status == FreeBetStatus::Held && shown.daysLeft ? locale.toString(*shown.daysLeft) : QString();
    case EarnedBy:
        return shown.earnedByEvent;
    case UsedBy:
        return shown.usedByEvent;
    case Kept:
        return money(shown.kept, locale);
    default:
        return percent(shown.retention, locale);
    }
}

ByOfferTable::ByOfferTable(QWidget *parent)
    : QTableView(parent)
{
    m_model
        = new RowsModel({QStringLiteral("Bookmaker"), QStringLiteral("Offer"), QStringLiteral("Qualifying result"),
                            QStringLiteral("Free bet"), QStringLiteral("Free-bet profit"),
                            QStringLiteral("Offer profit"), QStringLiteral("Retention %"), QStringLiteral("Status")},
            this, 2);
    m_model->setFigureColumns({Qualifying, FreeBetAmount, FreeBetProfit, OfferProfit, OfferRetention});
    prepareTotalsTable(this, QStringLiteral("By offer"), m_model);
}

void ByOfferTable::showTotals(const SharedTotals &totals, const QStringList &)
{
    m_totals = totals;
    const int offers = int(totals->freeBets->totals.offers.size());
    m_model->setBold([offers](int row) { return row == offers; });
    m_model->setRows(offers > 0 ? offers + 1 : 0,
        [this, offers](int row, int column) { return row == offers ? totalsCell(column) : cell(row, column); });
    resizeColumnsToContents();
}

QString ByOfferTable::cell(int row, int column) const
{
    const QLocale locale;
    const OfferRow &offer = m_totals->freeBets->totals.offers[std::size_t(row)];
    const FreeBet &freeBet = m_totals->freeBets->list()[offer.freeBet];
    switch (column) {
    case OfferBookmaker:
        return freeBet.bookmaker;
    case Offer:
        return offer.event;
    case Qualifying:
        return money(offer.qualifying, locale);
    case FreeBetAmount:
        return calc::formatPennies(freeBet.amount, locale);
    case FreeBetProfit:
        return money(offer.freeBetProfit, locale);
    case OfferProfit:
        return money(offer.offerProfit, locale);
    case OfferRetention:
        return percent(offer.retention, locale);
    default:
        return offerStatusText(offer);
    }
}

QString ByOfferTable::totalsCell(int column) const
{
    const QLocale locale;
    const FreeBetTotals &sums = m_totals->freeBets->totals;
    switch (column) {
    case OfferBookmaker:
        return QStringLiteral("Total");
    case Qualifying:
        return calc::formatPennies(sums.qualifyingLosses, locale);
    case FreeBetProfit:
        return calc::formatPennies(sums.freeBetProfits, locale);
    case OfferProfit:
        return calc::formatPennies(sums.offerProfits, locale);
    case OfferRetention:
        return percent(sums.averageRetention, locale);
    default:
        return {};
    }
}

} // namespace history
