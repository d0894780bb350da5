#include "tracker/statementrows.h"

#include "calc/numbertext.h"

namespace history {

namespace {

QString marketState(const MarketMatch &match, const QLocale &locale)
{
    const auto money = [&locale](calc::Pennies pennies) { return calc::formatPennies(pennies, locale); };
    switch (match.state) {
    case MarketState::NoBet:
        return QStringLiteral("No bet");
    case MarketState::Agrees:
        return QStringLiteral("Agrees");
    case MarketState::Netting:
        return (match.nettingBooked ? QStringLiteral("Agrees, commission netting %1")
                                    : QStringLiteral("Settled; commission netting %1 not booked"))
            .arg(money(nettingOf(match)));
    case MarketState::Disagrees:
        return QStringLiteral("Disagrees: the bets brought %1").arg(money(match.settledParts));
    case MarketState::Proposed: {
        const calc::Pennies netting = nettingOf(match, match.fits.front());
        QString text = QStringLiteral("Proposed: ") + outcomeSetText(match.fits.front());
        return netting == 0 ? text : text + QStringLiteral(", commission netting %1").arg(money(netting));
    }
    case MarketState::Choose:
        return QStringLiteral("%1 ways fit: choose one").arg(match.fits.size());
    case MarketState::NoFit:
        return QStringLiteral("No outcome brings this amount");
    case MarketState::Repeated:
        return QStringLiteral("In another statement of the exchange too");
    }
    return {};
}

QString kindState(store::StatementLineKind kind)
{
    switch (kind) {
    case store::StatementLineKind::Deposit:
    case store::StatementLineKind::Withdrawal:
        return QStringLiteral("In the ledger");
    case store::StatementLineKind::Bonus:
        return QStringLiteral("Bonus money, not cash");
    case store::StatementLineKind::Sportsbook:
        return QStringLiteral("At the bookmaker account");
    default:
        return {};
    }
}

QString eventsOf(const std::vector<qsizetype> &records, const HistoryView &view)
{
    QStringList events;
    for (const qsizetype record : records)
        events << eventOf(view, record);
    return events.isEmpty() ? QStringLiteral("no bet") : events.join(QLatin1String("; "));
}

} // namespace

QString outcomeSetText(const OutcomeSet &outcomes)
{
    QStringList captions;
    for (const ProposedOutcome &outcome : outcomes)
        captions << outcome.caption;
    return captions.join(QLatin1String(", "));
}

std::vector<StatementRow> statementRows(const Reconciliation &result, const HistoryView &view, const QLocale &locale)
{
    std::vector<StatementRow> rows(result.entries.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].entry = i;
        rows[i].state = kindState(result.entries[i].line.kind);
    }
    for (std::size_t m = 0; m < result.markets.size(); ++m) {
        const MarketMatch &match = result.markets[m];
        StatementRow &row = rows[match.entry];
        row.market = int(m);
        row.bets = match.state == MarketState::Repeated ? QString() : eventsOf(match.records, view);
        row.state = marketState(match, locale);
        for (const std::size_t part : match.parts)
            rows[part].state = QStringLiteral("Part of the market's line before");
    }
    for (const std::size_t entry : result.transfers) {
        rows[entry].transfer = true;
        rows[entry].state = QStringLiteral("Not in the ledger");
    }
    for (const BalanceGap &gap : result.gaps) {
        QString &state = rows[gap.entry].state;
        state += (state.isEmpty() ? QString() : QStringLiteral("; "))
            + QStringLiteral("balance %1 expected").arg(calc::formatPennies(gap.expected, locale));
    }
    return rows;
}

QStringList unresolvedTexts(const Reconciliation &result, const QString &foldedAccount, const QLocale &locale)
{
    constexpr qsizetype mostShown = 10;
    QStringList texts;
    const auto add = [&](std::size_t entry, const QString &what) {
        const store::StatementLine &line = result.entries[entry].line;
        if (texts.size() < mostShown && result.entries[entry].account.toCaseFolded() == foldedAccount)
            texts << QStringLiteral("%1 %2: %3").arg(shownMoment(line.moment, locale), line.description, what);
    };
    const auto balance = result.balances.find(foldedAccount);
    if (balance != result.balances.end()) {
        for (const auto &[entry, moves] : balance->second.unresolvedEntries)
            add(entry, calc::formatPennies(moves, locale));
    }
    for (const BalanceGap &gap : result.gaps)
        add(gap.entry, QStringLiteral("balance %1 expected").arg(calc::formatPennies(gap.expected, locale)));
    return texts;
}

bool hasProposal(const StatementRow &row, const Reconciliation &result)
{
    if (row.transfer)
        return true;
    if (row.market < 0)
        return false;
    const MarketMatch &match = result.markets[std::size_t(row.market)];
    return !match.fits.empty() || (match.state == MarketState::Netting && !match.nettingBooked);
}

} // namespace history
