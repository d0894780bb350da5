// The history window's free bets: recorded as earned by a bet or from none, a refund settled as one,
// linked to the bet that used one (by the user, or found by its amount and bookmaker), unlinked.
#include <algorithm>

#include <QLocale>
#include <QMenu>

#include "calc/numbertext.h"
#include "calc/settle.h"
#include "history/betedit.h"
#include "history/freebetform.h"
#include "history/historywindow.h"

namespace history {

namespace {

// "20.00 SNR, expires 15/12/2026, received 08/12/2026".
QString freeBetText(const FreeBet &freeBet, const QLocale &locale)
{
    QString text = calc::formatPennies(freeBet.amount, locale)
        + (freeBet.stakeReturned ? QStringLiteral(" SR") : QStringLiteral(" SNR"));
    if (freeBet.expires.isValid())
        text += QStringLiteral(", expires ") + locale.toString(freeBet.expires, QLocale::ShortFormat);
    return text + QStringLiteral(", received ") + shownMoment(freeBet.received, locale);
}

store::LedgerEntry useLine(const QDateTime &when, const std::optional<store::RecordId> &bet, const FreeBet &freeBet)
{
    return {when, store::LedgerAction::UseFreeBet, bet, QString::fromLatin1(store::freeBetIdText(freeBet.id)), {}, {},
        {}, {}};
}

} // namespace

void HistoryWindow::addFreeBetActions(QMenu *menu, const std::vector<store::RecordId> &ids)
{
    const bool one = ids.size() == 1;
    menu->addSeparator();
    menu->addAction(QStringLiteral("&Free bet earned..."), this, [this, ids] { recordFreeBetEarned(ids); })
        ->setEnabled(one);
    menu->addAction(QStringLiteral("Uses free &bet..."), this, [this, ids] { chooseFreeBetUsed(ids); })
        ->setEnabled(one && !freeBetUsedBy(ids.front()));
    menu->addAction(QStringLiteral("Un&link free bet"), this, [this, ids] { unlinkFreeBet(ids); })
        ->setEnabled(one && freeBetUsedBy(ids.front()));
}

const FreeBet *HistoryWindow::freeBetUsedBy(const store::RecordId &id) const
{
    const BetKey key = betKeyOf(id);
    for (const FreeBet &freeBet : m_follower.ledger().freeBets().freeBets()) {
        if (freeBet.usedBy == key && !freeBet.dropped)
            return &freeBet;
    }
    return nullptr;
}

void HistoryWindow::addFreeBet()
{
    openFreeBetForm(this, m_ask, m_showMessage, {}, [this](const FreeBetForm &form) { recordFreeBet(form, {}); });
}

void HistoryWindow::recordFreeBetEarned(const std::vector<store::RecordId> &ids)
{
    const std::optional<std::vector<qsizetype>> records = recordsNow(ids);
    if (!records)
        return;
    FreeBetForm initial;
    initial.bookmaker = bookmakerOf(m_model.view(), records->front());
    openFreeBetForm(this, m_ask, m_showMessage, initial,
        [this, id = ids.front()](const FreeBetForm &form) { recordFreeBet(form, id); });
}

void HistoryWindow::recordFreeBet(const FreeBetForm &form, const std::optional<store::RecordId> &earnedBy)
{
    const store::LedgerEntry entry {m_clock(), store::LedgerAction::FreeBet, earnedBy,
        form.stakeReturned ? QStringLiteral("sr") : QStringLiteral("snr"), calc::fromPennies(form.amount),
        form.bookmaker, form.note, form.expires};
    if (writeLedger({entry}) == LedgerWrite::Now)
        m_follower.follow();
}

void HistoryWindow::chooseFreeBetUsed(const std::vector<store::RecordId> &ids)
{
    const std::optional<std::vector<qsizetype>> records = recordsNow(ids);
    if (!records)
        return;
    const QString bookmaker = bookmakerOf(m_model.view(), records->front());
    const QDate today = m_clock().date();
    std::vector<FreeBet> held;
    for (const FreeBet &freeBet : m_follower.ledger().freeBets().freeBets()) {
        if (freeBet.statusOn(today) == FreeBetStatus::Held
            && freeBet.bookmaker.compare(bookmaker, Qt::CaseInsensitive) == 0)
            held.push_back(freeBet);
    }
    if (held.empty()) {
        ui::openMessage(this, m_showMessage, QStringLiteral("No free bet is held at %1.").arg(bookmaker));
        return;
    }
    std::stable_sort(held.begin(), held.end(), &toUseFirst);
    const QLocale locale;
    QStringList items;
    for (const FreeBet &freeBet : held)
        items << freeBetText(freeBet, locale);
    ui::openChoice(this, m_ask, QStringLiteral("The free bet at %1 that the bet used:").arg(bookmaker), items,
        [this, id = ids.front(), held](int chosen) {
            if (writeLedger({useLine(m_clock(), id, held[std::size_t(chosen)])}) == LedgerWrite::Now)
                m_follower.follow();
        });
}

void HistoryWindow::unlinkFreeBet(const std::vector<store::RecordId> &ids)
{
    const FreeBet *used = freeBetUsedBy(ids.front());
    if (used && writeLedger({useLine(m_clock(), std::nullopt, *used)}) == LedgerWrite::Now)
        m_follower.follow();
}

void HistoryWindow::giveUpFreeBet(const store::FreeBetId &freeBet)
{
    ui::openText(this, m_ask, QStringLiteral("Why is the free bet given up (taken back, not wanted)?"), {},
        [this, freeBet](const QString &why) {
            if (why.trimmed().size() > longestEditedText) {
                ui::openMessage(this, m_showMessage,
                    QStringLiteral("The reason takes at most %1 characters; nothing was recorded.")
                        .arg(longestEditedText));
                return;
            }
            const store::LedgerEntry entry {m_clock(), store::LedgerAction::DropFreeBet, std::nullopt,
                QString::fromLatin1(store::freeBetIdText(freeBet)), {}, {}, why.trimmed(), {}};
            if (writeLedger({entry}) == LedgerWrite::Now)
                m_follower.follow();
        });
}

void HistoryWindow::settleRefundAsFreeBet(const std::vector<store::RecordId> &ids, BetRequest request)
{
    askFreeBetExpiry([this, ids, request](QDate expires) mutable {
        request.freeBetExpires = expires;
        decide(ids, request);
    });
}

void HistoryWindow::askFreeBetExpiry(const std::function<void(QDate)> &answered)
{
    const auto typed = [this, answered](const QString &text) {
        const std::optional<QDate> expires = typedDate(text);
        if (!expires)
            return ui::openMessage(
                this, m_showMessage, QStringLiteral("%1 is not a date; nothing was settled.").arg(text.trimmed()));
        answered(*expires);
    };
    ui::openText(
        this, m_ask, QStringLiteral("The free bet's expiry (such as 2026-12-15; blank for never):"), {}, typed);
}

void HistoryWindow::linkFreeBetsFound()
{
    const std::vector<FoundLink> &links = m_model.totals().freeBets->totals.links;
    if (links.empty() || m_ledgerWait)
        return;
    const std::vector<FreeBet> &freeBets = m_model.totals().freeBets->list();
    std::vector<qsizetype> records;
    for (const FoundLink &link : links)
        records.push_back(link.record);
    const std::vector<store::RecordId> ids = recordIds(m_model.view().records, records);
    QList<store::LedgerEntry> lines;
    for (std::size_t i = 0; i < links.size(); ++i) {
        // Each link is written once: the lines are read back before the totals find it no more.
        const QByteArray name = store::freeBetIdText(freeBets[links[i].freeBet].id);
        if (!m_linksWritten.contains(name)) {
            m_linksWritten.insert(name);
            lines << useLine(m_clock(), ids[i], freeBets[links[i].freeBet]);
        }
    }
    if (!lines.isEmpty() && writeLedger(lines) == LedgerWrite::Now)
        m_follower.follow();
}

} // namespace history
