#include "tracker/reconcile.h"

#include <algorithm>

#include <QSet>

#include "text/moments.h"
#include "tracker/eventwords.h"

namespace history {

namespace {

using store::StatementLineKind;

constexpr qint64 matchingWindow = 7 * text::secondsPerDay; // a bet is archived within a week of its market's start
constexpr qint64 transferSlack = text::secondsPerDay;
constexpr qint64 repeatSlack = 5 * 60; // the same settlement in two statements of one exchange
constexpr std::size_t mostCombinations = 4096;
// Netting saves at most the commission on the winning parts; no exchange charges 10 % or more,
// which would save a ninth of what they bring after it.
constexpr calc::Pennies nettingShare = 9;

QString entryKey(const QString &account, const store::StatementLine &line)
{
    return QStringLiteral("%1\x1F%2\x1F%3\x1F%4")
        .arg(account.toCaseFolded(), QString::number(line.moment), line.description, QString::number(line.amount));
}

bool sameAccount(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The bets held, each under the rarest word of its event, each word's in the order of their dates.
class BetIndex
{
public:
    BetIndex(const HistoryView &view, qint64 from, qint64 to);
    // The bets archived within the dates whose event's words all stand among the words.
    std::vector<qsizetype> betsNamedIn(const WordKeys &words, qint64 from, qint64 to) const;

private:
    struct IndexedBet
    {
        qint64 when;
        qsizetype record;
        std::size_t firstWord; // in m_words
        std::size_t wordCount;
    };
    std::vector<WordKey> m_words; // of all the bets, one after another
    std::vector<IndexedBet> m_bets;
    QHash<WordKey, std::vector<std::size_t>> m_byWord; // in m_bets, by date
};

BetIndex::BetIndex(const HistoryView &view, qint64 from, qint64 to)
{
    QHash<WordKey, int> counts;
    for (qsizetype index = 0; index < view.records.size(); ++index) {
        const qint64 when = view.records.at(index).when;
        if (when < from || when > to || view.settlements.at(index).removed)
            continue;
        const WordKeys words = eventWordKeys(view, index);
        if (words.empty())
            continue;
        for (const WordKey word : words)
            ++counts[word];
        m_bets.push_back({when, index, m_words.size(), words.size()});
        m_words.insert(m_words.end(), words.begin(), words.end());
    }
    for (std::size_t bet = 0; bet < m_bets.size(); ++bet) {
        const auto words = m_words.begin() + std::ptrdiff_t(m_bets[bet].firstWord);
        const WordKey rarest = *std::min_element(words, words + std::ptrdiff_t(m_bets[bet].wordCount),
            [&counts](WordKey a, WordKey b) { return counts.value(a) < counts.value(b); });
        m_byWord[rarest].push_back(bet);
    }
    for (std::vector<std::size_t> &bets : m_byWord)
        std::stable_sort(
            bets.begin(), bets.end(), [this](std::size_t a, std::size_t b) { return m_bets[a].when < m_bets[b].when; });
}

std::vector<qsizetype> BetIndex::betsNamedIn(const WordKeys &words, qint64 from, qint64 to) const
{
    std::vector<qsizetype> found;
    const auto named = [&words](WordKey word) { return std::find(words.begin(), words.end(), word) != words.end(); };
    for (std::size_t w = 0; w < words.size(); ++w) {
        const auto bets = m_byWord.constFind(words[w]);
        if (std::find(words.begin(), words.begin() + std::ptrdiff_t(w), words[w]) != words.begin() + std::ptrdiff_t(w)
            || bets == m_byWord.cend())
            continue; // a word the line repeats, or no bet's rarest
        auto at = std::lower_bound(
            bets->begin(), bets->end(), from, [this](std::size_t bet, qint64 when) { return m_bets[bet].when < when; });
        for (; at != bets->end() && m_bets[*at].when <= to; ++at) {
            const IndexedBet &bet = m_bets[*at];
            const auto first = m_words.begin() + std::ptrdiff_t(bet.firstWord);
            if (std::all_of(first, first + std::ptrdiff_t(bet.wordCount), named))
                found.push_back(bet.record);
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

struct OpenBet
{
    std::vector<ProposedOutcome> options;
};

std::vector<ProposedOutcome> optionsOf(const HistoryView &view, qsizetype record, calc::ShapeCache &shapes)
{
    std::vector<ProposedOutcome> options;
    const BetRecord &row = view.records.at(record);
    const QByteArrayView line = view.records.line(record);
    for (const calc::SettleOutcome &outcome : outcomesOf(row, line, shapes)) {
        const QString key = QString::fromStdString(outcome.key);
        const SettledAs settled = settledAs(row, line, key, std::nullopt, shapes);
        if (settled.payout)
            options.push_back({record, key, settled.caption, settled.payout->exchange});
    }
    return options;
}

// The money the parts bring and lose, for the test of netting.
struct Parts
{
    calc::Pennies sum = 0;
    calc::Pennies won = 0;
    bool anyLost = false;

    void add(calc::Pennies part)
    {
        sum += part;
        won += std::max<calc::Pennies>(part, 0);
        anyLost = anyLost || part < 0;
    }
};

bool nettingExplains(calc::Pennies amount, const Parts &parts)
{
    return amount > parts.sum && parts.anyLost && (amount - parts.sum) * nettingShare <= parts.won;
}

// The sets of the open bets' outcomes that, with the settled parts, bring the amount to the penny;
// where none does, those that netting explains.
std::vector<OutcomeSet> fitsOf(const std::vector<OpenBet> &open, const Parts &settled, calc::Pennies amount)
{
    std::size_t combinations = 1;
    for (const OpenBet &bet : open) {
        combinations *= std::max<std::size_t>(bet.options.size(), 1);
        if (bet.options.empty() || combinations > mostCombinations)
            return {};
    }
    std::vector<OutcomeSet> exact;
    std::vector<OutcomeSet> netted;
    std::vector<std::size_t> chosen(open.size(), 0);
    for (std::size_t n = 0; n < combinations; ++n) {
        Parts parts = settled;
        OutcomeSet set;
        for (std::size_t i = 0; i < open.size(); ++i) {
            set.push_back(open[i].options[chosen[i]]);
            parts.add(set.back().exchange);
        }
        if (parts.sum == amount)
            exact.push_back(std::move(set));
        else if (nettingExplains(amount, parts))
            netted.push_back(std::move(set));
        for (std::size_t i = 0; i < open.size() && ++chosen[i] == open[i].options.size(); ++i)
            chosen[i] = 0;
    }
    return exact.empty() ? netted : exact;
}

struct Matcher
{
    const HistoryView &view;
    calc::ShapeCache shapes;

    // The exchange a line names for the bet; empty when none does.
    QString exchangeOf(qsizetype record) const
    {
        const int exchange = view.settlements.at(record).exchange;
        return exchange >= 0 ? view.settlements.exchanges().at(exchange) : QString();
    }
    bool mayBeAt(qsizetype record, const QString &account) const
    {
        const QString exchange = exchangeOf(record);
        return exchange.isEmpty() || sameAccount(exchange, account);
    }
    void settle(MarketMatch &match);
};

void Matcher::settle(MarketMatch &match)
{
    Parts settled;
    std::vector<OpenBet> open;
    for (const qsizetype record : match.records) {
        const Settlement &settlement = view.settlements.at(record);
        if (settlement.settled)
            settled.add(settlement.payout.exchange);
        else
            open.push_back({optionsOf(view, record, shapes)});
    }
    const calc::Pennies amount = match.amount;
    match.settledParts = settled.sum;
    if (open.empty()) {
        match.state = amount == settled.sum    ? MarketState::Agrees
            : nettingExplains(amount, settled) ? MarketState::Netting
                                               : MarketState::Disagrees;
        return;
    }
    match.fits = fitsOf(open, settled, amount);
    match.state = match.fits.empty() ? MarketState::NoFit
        : match.fits.size() == 1     ? MarketState::Proposed
                                     : MarketState::Choose;
}

// Marks a market line that another statement of the same exchange holds too (Betfair's profit and
// loss and its account statement both list a market's settlement), so that it is matched once: the
// lines of one account and amount in time order, each against those settled within minutes of it.
void markRepeats(const std::vector<StatementEntry> &entries, std::vector<MarketMatch> &markets)
{
    QHash<QString, std::vector<std::size_t>> byAmount;
    for (std::size_t i = 0; i < markets.size(); ++i) {
        const StatementEntry &entry = entries[markets[i].entry];
        byAmount[entry.account.toCaseFolded() + QLatin1Char('\x1F') + QString::number(markets[i].amount)].push_back(i);
    }
    const auto momentOf = [&](std::size_t market) { return entries[markets[market].entry].line.moment; };
    for (std::vector<std::size_t> &same : byAmount) {
        std::sort(same.begin(), same.end(), [&](std::size_t a, std::size_t b) { return momentOf(a) < momentOf(b); });
        std::size_t from = 0;
        for (std::size_t k = 0; k < same.size(); ++k) {
            const StatementEntry &entry = entries[markets[same[k]].entry];
            while (momentOf(same[from]) < entry.line.moment - repeatSlack)
                ++from;
            for (std::size_t other = from;
                 other < same.size() && momentOf(same[other]) <= entry.line.moment + repeatSlack; ++other) {
                if (entries[markets[same[other]].entry].format < entry.format)
                    markets[same[k]].state = MarketState::Repeated;
            }
        }
    }
}

// The market lines, a market each; a line of the same statement's kind, account and market settled
// within minutes of one is part of it.
void gatherMarkets(Reconciliation &result)
{
    QHash<QString, std::size_t> latest; // the market of each kind, account and text seen last
    for (std::size_t i = 0; i < result.entries.size(); ++i) {
        const StatementEntry &entry = result.entries[i];
        if (entry.line.kind != StatementLineKind::Market)
            continue;
        const QString key = QStringLiteral("%1\x1F%2\x1F%3")
                                .arg(int(entry.format))
                                .arg(entry.account.toCaseFolded(), entry.line.description);
        const auto known = latest.constFind(key);
        if (known != latest.cend()) {
            MarketMatch &market = result.markets[*known];
            const qint64 last = result.entries[market.parts.empty() ? market.entry : market.parts.back()].line.moment;
            if (entry.line.moment - last <= repeatSlack) {
                market.parts.push_back(i);
                market.amount += entry.line.amount;
                continue;
            }
        }
        latest.insert(key, result.markets.size());
        MarketMatch market;
        market.entry = i;
        market.amount = entry.line.amount;
        result.markets.push_back(std::move(market));
    }
}

void matchMarkets(Reconciliation &result, const HistoryView &view)
{
    gatherMarkets(result);
    qint64 from = std::numeric_limits<qint64>::max();
    qint64 to = std::numeric_limits<qint64>::min();
    for (const MarketMatch &match : result.markets) {
        const store::StatementLine &line = result.entries[match.entry].line;
        const qint64 start = line.marketStart != store::noStatementMoment ? line.marketStart : line.moment;
        from = std::min(from, start - matchingWindow);
        to = std::max(to, line.moment);
    }
    markRepeats(result.entries, result.markets);
    const BetIndex index(view, from, to);
    Matcher matcher {view, {}};
    for (MarketMatch &match : result.markets) {
        if (match.state == MarketState::Repeated)
            continue;
        const StatementEntry &entry = result.entries[match.entry];
        const store::StatementLine &line = entry.line;
        const qint64 start = line.marketStart != store::noStatementMoment ? line.marketStart : line.moment;
        match.records = index.betsNamedIn(
            wordKeys(line.description), start - matchingWindow, std::min(line.moment, start + matchingWindow));
        std::erase_if(match.records, [&](qsizetype record) { return !matcher.mayBeAt(record, entry.account); });
        if (!match.records.empty())
            matcher.settle(match);
    }
}

void findTransfers(Reconciliation &result, const AccountLines &accountLines)
{
    std::vector<bool> used(accountLines.size(), false);
    for (std::size_t i = 0; i < result.entries.size(); ++i) {
        const StatementEntry &entry = result.entries[i];
        const bool deposit = entry.line.kind == StatementLineKind::Deposit;
        if (!deposit && entry.line.kind != StatementLineKind::Withdrawal)
            continue;
        const store::LedgerAction action = deposit ? store::LedgerAction::Deposit : store::LedgerAction::Withdraw;
        bool found = false;
        for (std::size_t j = 0; j < accountLines.size() && !found; ++j) {
            const AccountLine &line = accountLines[j];
            found = !used[j] && line.action == action && sameAccount(line.account, entry.account)
                && line.amount == std::abs(entry.line.amount)
                && std::abs(line.moment - entry.line.moment) <= transferSlack;
            used[j] = used[j] || found;
        }
        if (!found)
            result.transfers.push_back(i);
    }
}

// The adjust lines that book the netting of settled markets: the same account and amount, the
// market's line as the note; each books one market.
void findBookedNetting(Reconciliation &result, const AccountLines &accountLines)
{
    std::vector<bool> used(accountLines.size(), false);
    for (MarketMatch &match : result.markets) {
        if (match.state != MarketState::Netting)
            continue;
        const StatementEntry &entry = result.entries[match.entry];
        const calc::Pennies netting = nettingOf(match);
        for (std::size_t j = 0; j < accountLines.size() && !match.nettingBooked; ++j) {
            const AccountLine &line = accountLines[j];
            match.nettingBooked = !used[j] && line.action == store::LedgerAction::Adjust
                && sameAccount(line.account, entry.account) && line.amount == netting
                && line.note == entry.line.description;
            used[j] = used[j] || match.nettingBooked;
        }
    }
}

void findGaps(Reconciliation &result, const std::vector<store::StatementFile> &files, const AccountOfFormat &accountOf)
{
    QHash<QString, std::size_t> entryOf;
    for (std::size_t i = 0; i < result.entries.size(); ++i)
        entryOf.insert(entryKey(result.entries[i].account, result.entries[i].line), i);
    for (const store::StatementFile &file : files) {
        std::vector<const store::StatementLine *> lines;
        for (const store::StatementLine &line : file.statement.lines) {
            if (line.balance)
                lines.push_back(&line);
        }
        if (lines.size() > 1 && lines.front()->moment > lines.back()->moment)
            std::reverse(lines.begin(), lines.end()); // newest first
        const QString account = accountOf(file.statement.format);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            const calc::Pennies moved = lines[i]->kind == StatementLineKind::Bonus ? 0 : lines[i]->amount;
            const calc::Pennies expected = *lines[i - 1]->balance + moved;
            if (*lines[i]->balance != expected)
                result.gaps.push_back({entryOf.value(entryKey(account, *lines[i])), expected});
        }
    }
}

// What a line not yet in the ledger moves the statement's balance by, against the history's.
std::optional<calc::Pennies> unresolvedAmount(const Reconciliation &result, std::size_t entry)
{
    const store::StatementLine &line = result.entries[entry].line;
    if (line.kind == StatementLineKind::Other)
        return line.amount;
    if (std::find(result.transfers.begin(), result.transfers.end(), entry) != result.transfers.end())
        return line.amount;
    return std::nullopt;
}

std::optional<calc::Pennies> unresolvedAmount(const MarketMatch &match)
{
    const calc::Pennies amount = match.amount;
    switch (match.state) {
    case MarketState::Agrees:
    case MarketState::Repeated:
        return std::nullopt;
    case MarketState::Netting:
        return match.nettingBooked ? std::nullopt : std::optional(nettingOf(match));
    case MarketState::Disagrees:
        return amount - match.settledParts;
    default:
        return amount - match.settledParts; // the open bets' part
    }
}

void findBalances(Reconciliation &result)
{
    std::vector<std::optional<calc::Pennies>> unresolved(result.entries.size());
    for (std::size_t i = 0; i < result.entries.size(); ++i)
        unresolved[i] = unresolvedAmount(result, i);
    for (const MarketMatch &match : result.markets)
        unresolved[match.entry] = unresolvedAmount(match);
    for (std::size_t i = 0; i < result.entries.size(); ++i) {
        const StatementEntry &entry = result.entries[i];
        StatementBalance &balance = result.balances[entry.account.toCaseFolded()];
        if (entry.line.balance)
            balance.balance = *entry.line.balance;
        if (unresolved[i]) {
            balance.unresolved += *unresolved[i];
            balance.unresolvedEntries.emplace_back(i, *unresolved[i]);
        }
    }
    std::erase_if(result.balances, [&result](const auto &account) {
        return std::none_of(result.entries.begin(), result.entries.end(), [&account](const StatementEntry &entry) {
            return entry.line.balance && entry.account.toCaseFolded() == account.first;
        });
    });
}

void findUncovered(Reconciliation &result, const HistoryView &view)
{
    std::map<QString, std::pair<qint64, qint64>> dates; // each account's statements' first and last, by its folded name
    for (const StatementEntry &entry : result.entries) {
        const auto [at, added] = dates.try_emplace(entry.account.toCaseFolded(), entry.line.moment, entry.line.moment);
        at->second.second = entry.line.moment;
    }
    QSet<qsizetype> covered;
    for (const MarketMatch &match : result.markets)
        covered.unite(QSet<qsizetype>(match.records.begin(), match.records.end()));
    const Matcher matcher {view, {}};
    for (qsizetype index = 0; index < view.records.size(); ++index) {
        const Settlement &settlement = view.settlements.at(index);
        if (!settlement.settled || settlement.removed || covered.contains(index))
            continue;
        const auto range = dates.find(matcher.exchangeOf(index).toCaseFolded());
        const qint64 when = view.records.at(index).when;
        if (range != dates.end() && when >= range->second.first && when <= range->second.second)
            result.uncovered.push_back(index);
    }
}

} // namespace

std::vector<StatementEntry> distinctEntries(
    const std::vector<store::StatementFile> &files, const AccountOfFormat &accountOf)
{
    std::vector<StatementEntry> entries;
    QSet<QString> seen;
    for (const store::StatementFile &file : files) {
        const QString account = accountOf(file.statement.format);
        for (const store::StatementLine &line : file.statement.lines) {
            if (!seen.contains(entryKey(account, line))) {
                seen.insert(entryKey(account, line));
                entries.push_back({account, file.statement.format, line});
            }
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
        [](const StatementEntry &a, const StatementEntry &b) { return a.line.moment < b.line.moment; });
    return entries;
}

qsizetype newLineCount(
    const std::vector<StatementEntry> &known, const store::Statement &statement, const QString &account)
{
    QSet<QString> seen;
    for (const StatementEntry &entry : known)
        seen.insert(entryKey(entry.account, entry.line));
    return std::count_if(statement.lines.begin(), statement.lines.end(),
        [&](const store::StatementLine &line) { return !seen.contains(entryKey(account, line)); });
}

calc::Pennies nettingOf(const MarketMatch &match, const OutcomeSet &outcomes)
{
    const calc::Pennies amount = match.amount;
    calc::Pennies parts = match.settledParts;
    for (const ProposedOutcome &outcome : outcomes)
        parts += outcome.exchange;
    return amount - parts;
}

Reconciliation reconcile(const std::vector<store::StatementFile> &files, const AccountOfFormat &accountOf,
    const HistoryView &view, const AccountLines &accountLines)
{
    Reconciliation result;
    result.entries = distinctEntries(files, accountOf);
    matchMarkets(result, view);
    findTransfers(result, accountLines);
    findBookedNetting(result, accountLines);
    findGaps(result, files, accountOf);
    findBalances(result);
    findUncovered(result, view);
    return result;
}

} // namespace history
