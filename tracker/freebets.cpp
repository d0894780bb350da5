#include "tracker/freebets.h"

#include <algorithm>
#include <atomic>
#include <tuple>

#include "store/datafolder.h"
#include "text/numbers.h"
#include "tracker/ledgerread.h"

namespace history {

FreeBetStatus FreeBet::statusOn(QDate today) const
{
    if (dropped)
        return FreeBetStatus::Dropped;
    if (usedBy)
        return FreeBetStatus::Used;
    // A free bet may still be used on the day it expires.
    return expires.isValid() && expires < today ? FreeBetStatus::Expired : FreeBetStatus::Held;
}

std::optional<qint64> FreeBet::daysLeftOn(QDate today) const
{
    return expires.isValid() ? std::optional(today.daysTo(expires)) : std::nullopt;
}

bool FreeBet::dueWithin(QDate today, qint64 days) const
{
    const std::optional<qint64> left = daysLeftOn(today);
    return statusOn(today) == FreeBetStatus::Held && left && *left <= days;
}

bool toUseFirst(const FreeBet &a, const FreeBet &b)
{
    const auto rank = [](const FreeBet &f) { return std::tuple(!f.expires.isValid(), f.expires, f.received); };
    return rank(a) < rank(b);
}

UnreadLines FreeBetBook::take(std::vector<FreeBetLine> &&lines)
{
    UnreadLines leftOut;
    // A book read afresh never takes up a version an earlier one had.
    static std::atomic<int> versions = 0;
    if (lines.empty())
        return leftOut;
    m_version = ++versions;
    if (m_freeBets.use_count() > 1)
        m_freeBets = std::make_shared<std::vector<FreeBet>>(*m_freeBets);
    for (FreeBetLine &line : lines) {
        if (line.action == store::LedgerAction::FreeBet) {
            receive(std::move(line));
        } else if (const std::optional<QString> why = change(line)) {
            // The line's text is not kept: the reason names it.
            leftOut.add(
                QStringLiteral("ledger "), line.number, {}, [](QByteArrayView) { return QString(); }, *why);
        }
    }
    return leftOut;
}

void FreeBetBook::receive(FreeBetLine &&line)
{
    const int occurrence = m_identical[line.digest]++;
    m_byDigest[line.digest].push_back(m_freeBets->size());
    m_freeBets->push_back({{line.digest, occurrence}, line.moment, line.bet, line.amount, line.stakeReturned,
        std::move(line.bookmaker), std::move(line.note), line.expires, {}, false, {}});
}

std::optional<QString> FreeBetBook::change(const FreeBetLine &line)
{
    const auto found = m_byDigest.find(line.digest);
    if (found == m_byDigest.end() || std::size_t(line.occurrence) >= found->second.size())
        return QStringLiteral("names a free bet that no line before it holds");
    FreeBet &freeBet = (*m_freeBets)[found->second[std::size_t(line.occurrence)]];
    if (line.action == store::LedgerAction::DropFreeBet) {
        freeBet.dropped = true;
        freeBet.dropNote = line.note;
        return std::nullopt;
    }
    if (line.bet && freeBet.usedBy && *freeBet.usedBy != *line.bet)
        return QStringLiteral("a second bet uses a free bet that another bet uses");
    if (!line.bet && freeBet.usedBy)
        m_unlinkedBets.push_back(*freeBet.usedBy);
    freeBet.usedBy = line.bet;
    freeBet.dropped = false;
    return std::nullopt;
}

QStringList dueFreeBets(const FreeBetBook &book, QDate today)
{
    constexpr qint64 dueDays = 2;
    std::vector<const FreeBet *> due;
    for (const FreeBet &freeBet : book.freeBets()) {
        if (freeBet.dueWithin(today, dueDays))
            due.push_back(&freeBet);
    }
    std::stable_sort(
        due.begin(), due.end(), [](const FreeBet *a, const FreeBet *b) { return a->expires < b->expires; });
    QStringList lines;
    for (const FreeBet *freeBet : due)
        lines << QStringLiteral("%1, %2, %3")
                     .arg(freeBet->bookmaker, QString::fromLatin1(text::moneyText(freeBet->amount)),
                         freeBet->expires.toString(Qt::ISODate));
    return lines;
}

FreeBetBook readFreeBets(const QString &folder, UnreadLines &leftOut)
{
    constexpr qint64 piece = 1 << 20;
    const QString path = store::ledgerPath(folder);
    FreeBetBook book;
    qint64 at = 0;
    qint64 line = 1;
    for (;;) {
        LedgerBatch batch = readLedgerBatch(path, at, line, piece);
        if (batch.end == at)
            return book;
        leftOut.add(batch.unread);
        leftOut.add(book.take(std::move(batch.freeBets)));
        at = batch.end;
        line += batch.linesRead;
    }
}

} // namespace history
