// The statements the exchanges export, read into lines of money: Betfair's profit and loss (a line
// per market) and its account statement, Smarkets' account overview and Matchbook's transactions,
// each known by its header row. A statement file is only ever read.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace store {

enum class StatementFormat : std::uint8_t { BetfairProfitLoss, BetfairAccount, Smarkets, Matchbook };

struct StatementFormatInfo
{
    StatementFormat format;
    const char *name; // "Betfair profit and loss", as messages name it
    const char *exchange; // "Betfair": the exchange it comes from, and the account it is first taken for
    const char *fileKey; // "betfair-pl": how the copies in the statements folder start
};
const StatementFormatInfo &formatInfo(StatementFormat format);
const std::vector<StatementFormatInfo> &statementFormats();

// What a line of money is: a market's settlement (with its commission), a deposit, a withdrawal,
// bonus money (which leaves the cash balance as it is), a bet at the exchange's sportsbook (which
// belongs to its bookmaker account), or anything else.
enum class StatementLineKind : std::uint8_t { Market, Deposit, Withdrawal, Bonus, Sportsbook, Other };

constexpr qint64 noStatementMoment = std::numeric_limits<qint64>::min();

struct StatementLine
{
    qint64 moment = noStatementMoment; // when it settled or moved (text::momentOf), as the exchange writes it
    qint64 marketStart = noStatementMoment; // a market's start, where the statement gives it
    QString description;
    std::int64_t amount = 0; // pennies: money in, or out when below 0
    std::optional<std::int64_t> balance; // the cash balance after it, where the statement gives one
    StatementLineKind kind = StatementLineKind::Other;
    qint64 lineNumber = 0;
};

// A line that could not be read: its number and the start of its text.
struct UnreadStatementLine
{
    qint64 lineNumber = 0;
    QString text;
};

struct Statement
{
    StatementFormat format = StatementFormat::BetfairProfitLoss;
    std::vector<StatementLine> lines; // in the file's order; lines that move no money left out
    qint64 unreadCount = 0;
    std::vector<UnreadStatementLine> unreadSamples; // the first few
};

// The statement in the bytes, or nothing when its header is none of the formats'.
std::optional<Statement> readStatement(QByteArrayView bytes);

// The first line of the bytes as a message quotes it: decoded, and cut short when long.
QString firstLineShown(QByteArrayView bytes);

// A field's money in pennies: "12.34", "-0.50", "(0.50)", "1,234.56", "£2.00"; nothing for an empty
// field, "--", or any other text (a third decimal, an exponent, a hundred billion or more).
std::optional<std::int64_t> statementAmount(QByteArrayView field);

// A statement's date and time: "01-Dec-26 17:30", "06-Mar-26 21:56:34", "2026-12-01 19:25:00",
// "2026-12-01T19:25:00.000Z", "01/12/2026 19:25"; as written, the zone aside.
std::optional<qint64> statementMoment(QByteArrayView field);

} // namespace store
