#include "store/statement.h"

#include <array>
#include <span>

#include <QDate>
#include <QTime>

#include "store/csvfield.h"
#include "store/filetext.h"
#include "text/lines.h"
#include "text/moments.h"

namespace store {

namespace {

constexpr int keptUnreadSamples = 10;
constexpr qsizetype shownLineLength = 120;
constexpr qsizetype longestLine = 64 * 1024; // no exchange writes a line of more; a longer one is no line of theirs
constexpr std::int64_t largestAmount = 10'000'000'000'000; // pennies: a hundred billion pounds

// A field read, without the blanks around it.
QByteArrayView trimmed(QByteArrayView field)
{
    return field.trimmed();
}

QString fieldText(QByteArrayView field)
{
    return textFromUtf8OrWindows1252(trimmed(field)).replace(QLatin1String("\"\""), QLatin1String("\""));
}

bool isNoMoney(QByteArrayView field)
{
    field = trimmed(field);
    return field.isEmpty() || field == "--";
}

// A cell's money; zero for an empty one, nothing for one that holds no money.
std::optional<std::int64_t> cellAmount(QByteArrayView field)
{
    return isNoMoney(field) ? std::optional<std::int64_t>(0) : statementAmount(field);
}

bool containsWord(const QString &text, QLatin1StringView word)
{
    return text.contains(word, Qt::CaseInsensitive);
}

StatementLineKind kindOfTransfer(const QString &text, StatementLineKind otherwise)
{
    if (containsWord(text, QLatin1StringView("deposit")))
        return StatementLineKind::Deposit;
    if (containsWord(text, QLatin1StringView("withdraw")))
        return StatementLineKind::Withdrawal;
    return otherwise;
}

// What a row is: a line of money, a row that moves none, or one that cannot be read.
enum class RowRead { Money, NoMoney, Unreadable };

RowRead readBetfairProfitLoss(std::span<const QByteArrayView> fields, StatementLine &line)
{
    const std::optional<qint64> start = statementMoment(fields[1]);
    const std::optional<qint64> settled = statementMoment(fields[2]);
    const std::optional<std::int64_t> amount = statementAmount(fields[3]);
    if (!start || !settled || !amount || trimmed(fields[0]).isEmpty())
        return RowRead::Unreadable;
    line.description = fieldText(fields[0]);
    line.marketStart = *start;
    line.moment = *settled;
    line.amount = *amount;
    line.kind = StatementLineKind::Market;
    return RowRead::Money;
}

StatementLineKind kindOfBetfairLine(const QString &description)
{
    if (description.startsWith(QLatin1String("Exchange:"), Qt::CaseInsensitive))
        return StatementLineKind::Market;
    if (description.startsWith(QLatin1String("Sportsbook:"), Qt::CaseInsensitive))
        return StatementLineKind::Sportsbook;
    return kindOfTransfer(description, StatementLineKind::Other);
}

// Cash Out is written below 0; one written above 0 is money out all the same.
RowRead readBetfairAccount(std::span<const QByteArrayView> fields, StatementLine &line)
{
    const std::optional<qint64> moment = statementMoment(fields[0]);
    const std::optional<std::int64_t> cashIn = cellAmount(fields[2]);
    const std::optional<std::int64_t> bonusIn = cellAmount(fields[3]);
    const std::optional<std::int64_t> cashOut = cellAmount(fields[4]);
    const std::optional<std::int64_t> bonusOut = cellAmount(fields[5]);
    const std::optional<std::int64_t> balance = cellAmount(fields[6]);
    if (!moment || !cashIn || !bonusIn || !cashOut || !bonusOut || !balance || isNoMoney(fields[6]))
        return RowRead::Unreadable;
    line.moment = *moment;
    line.description = fieldText(fields[1]);
    line.balance = *balance;
    const bool cash = !isNoMoney(fields[2]) || !isNoMoney(fields[4]);
    const bool bonus = !isNoMoney(fields[3]) || !isNoMoney(fields[5]);
    if (!cash && !bonus)
        return RowRead::NoMoney;
    line.amount = cash ? *cashIn - std::abs(*cashOut) : *bonusIn - std::abs(*bonusOut);
    line.kind = cash ? kindOfBetfairLine(line.description) : StatementLineKind::Bonus;
    return RowRead::Money;
}

RowRead readSmarkets(std::span<const QByteArrayView> fields, StatementLine &line)
{
    const std::optional<qint64> moment = statementMoment(fields[2]);
    const std::optional<std::int64_t> amount = cellAmount(fields[6]);
    const std::optional<std::int64_t> balance = cellAmount(fields[7]);
    if (!moment || !amount || !balance)
        return RowRead::Unreadable;
    if (isNoMoney(fields[6]))
        return RowRead::NoMoney;
    const QString event = fieldText(fields[0]);
    const QString details = fieldText(fields[1]);
    line.moment = *moment;
    line.description = event.isEmpty() || details.isEmpty() ? event + details : event + QLatin1String(" / ") + details;
    line.amount = *amount;
    if (!isNoMoney(fields[7]))
        line.balance = *balance;
    line.kind
        = kindOfTransfer(line.description, event.isEmpty() ? StatementLineKind::Other : StatementLineKind::Market);
    return RowRead::Money;
}

RowRead readMatchbook(std::span<const QByteArrayView> fields, StatementLine &line)
{
    const std::optional<qint64> moment = statementMoment(fields[2]);
    const std::optional<std::int64_t> debit = cellAmount(fields[6]);
    const std::optional<std::int64_t> credit = cellAmount(fields[7]);
    const std::optional<std::int64_t> balance = cellAmount(fields[8]);
    if (!moment || !debit || !credit || !balance)
        return RowRead::Unreadable;
    if (isNoMoney(fields[6]) && isNoMoney(fields[7]))
        return RowRead::NoMoney;
    const QString type = fieldText(fields[3]);
    const QString product = fieldText(fields[4]);
    const QString detail = fieldText(fields[5]);
    line.moment = *moment;
    line.description = detail.isEmpty() ? type : detail;
    line.amount = std::abs(*credit) - std::abs(*debit);
    if (!isNoMoney(fields[8]))
        line.balance = *balance;
    StatementLineKind kind = detail.isEmpty() ? StatementLineKind::Other : StatementLineKind::Market;
    if (containsWord(product, QLatin1StringView("sportsbook")))
        kind = StatementLineKind::Sportsbook;
    else if (containsWord(type, QLatin1StringView("bonus")))
        kind = StatementLineKind::Bonus;
    line.kind = kindOfTransfer(type, kind);
    return RowRead::Money;
}

struct FormatReading
{
    StatementFormat format;
    const char *header; // with "()" where the currency stands
    int fieldCount;
    RowRead (*read)(std::span<const QByteArrayView>, StatementLine &);
    bool titleLineFirst; // a title line may stand before the header
};

const std::array<FormatReading, 4> &formatReadings()
{
    static const std::array<FormatReading, 4> readings {{
        {StatementFormat::BetfairProfitLoss, "Market,Start time,Settled date,Profit/Loss ()", 4, readBetfairProfitLoss,
            false},
        {StatementFormat::BetfairAccount,
            "Date,Description,Cash In (),Bonus In (),Cash Out (),Bonus Out (),Cash Balance ()", 7, readBetfairAccount,
            false},
        {StatementFormat::Smarkets, "Event,Details,Date,Backers Stake (),Odds,Exposure (),In/Out (),Balance ()", 8,
            readSmarkets, true},
        {StatementFormat::Matchbook, "currency,id,time,transaction-type,product,detail,debit,credit,balance", 9,
            readMatchbook, false},
    }};
    return readings;
}

// The header with whatever stands in brackets left out, so that any currency matches.
QByteArray headerShape(QByteArrayView line)
{
    QByteArray shape;
    shape.reserve(line.size());
    bool inBrackets = false;
    for (const char c : withoutByteOrderMark(line).trimmed()) {
        if (c == ')')
            inBrackets = false;
        if (!inBrackets)
            shape += c;
        if (c == '(')
            inBrackets = true;
    }
    return shape;
}

const FormatReading *readingOfHeader(QByteArrayView line, bool afterTitle)
{
    const QByteArray shape = headerShape(line);
    for (const FormatReading &reading : formatReadings()) {
        if ((!afterTitle || reading.titleLineFirst) && shape == reading.header)
            return &reading;
    }
    return nullptr;
}

void countUnread(Statement &statement, qint64 number, QByteArrayView line)
{
    ++statement.unreadCount;
    if (statement.unreadSamples.size() < keptUnreadSamples)
        statement.unreadSamples.push_back(
            {number, textFromUtf8OrWindows1252(line.first(std::min(line.size(), shownLineLength)))});
}

void readRows(const FormatReading &reading, text::Lines &lines, qint64 number, Statement &statement)
{
    std::vector<QByteArrayView> fields(std::size_t(reading.fieldCount));
    QByteArrayView row;
    while (lines.next(row)) {
        ++number;
        if (row.trimmed().isEmpty())
            continue;
        StatementLine line;
        line.lineNumber = number;
        const bool split = row.size() <= longestLine && splitCsvLine(row, fields);
        const RowRead read = split ? reading.read(fields, line) : RowRead::Unreadable;
        if (read == RowRead::Money)
            statement.lines.push_back(std::move(line));
        else if (read == RowRead::Unreadable)
            countUnread(statement, number, row);
    }
}

// Reads digits into a number; false when there are fewer than the count asks.
bool readNumber(QByteArrayView &text, int fewest, int most, std::int64_t &number)
{
    int count = 0;
    number = 0;
    while (count < most && count < text.size() && text[count] >= '0' && text[count] <= '9')
        number = number * 10 + (text[count++] - '0');
    text = text.sliced(count);
    return count >= fewest;
}

bool readChar(QByteArrayView &text, char c)
{
    if (text.isEmpty() || text.front() != c)
        return false;
    text = text.sliced(1);
    return true;
}

std::optional<int> monthOfName(QByteArrayView &text)
{
    static constexpr std::array<const char *, 12> names {
        "jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};
    if (text.size() < 3)
        return std::nullopt;
    const QByteArray name = text.first(3).toByteArray().toLower();
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (name == names[i]) {
            text = text.sliced(3);
            return int(i) + 1;
        }
    }
    return std::nullopt;
}

// The date at the start: 01-Dec-26, 2026-12-01 or 01/12/2026.
QDate readDate(QByteArrayView &text)
{
    std::int64_t first = 0;
    std::int64_t month = 0;
    std::int64_t last = 0;
    if (!readNumber(text, 1, 4, first))
        return {};
    if (readChar(text, '-')) {
        if (const std::optional<int> named = monthOfName(text)) {
            if (!readChar(text, '-') || !readNumber(text, 2, 2, last))
                return {};
            return QDate(2000 + int(last), *named, int(first));
        }
        if (!readNumber(text, 1, 2, month) || !readChar(text, '-') || !readNumber(text, 1, 2, last))
            return {};
        return QDate(int(first), int(month), int(last));
    }
    if (!readChar(text, '/') || !readNumber(text, 1, 2, month) || !readChar(text, '/') || !readNumber(text, 4, 4, last))
        return {};
    return QDate(int(last), int(month), int(first));
}

// Passes over a zone after the time: Z, +01:00 or -0500.
bool passZone(QByteArrayView &text)
{
    std::int64_t zone = 0;
    if (readChar(text, 'Z') || !(readChar(text, '+') || readChar(text, '-')))
        return true;
    return readNumber(text, 2, 2, zone) && (!readChar(text, ':') || readNumber(text, 2, 2, zone))
        && (text.isEmpty() || readNumber(text, 2, 2, zone));
}

// The time after the date: HH:MM, then :SS; fractions of a second and a zone are passed over.
std::optional<QTime> readTime(QByteArrayView &text)
{
    std::int64_t hour = 0;
    std::int64_t minute = 0;
    std::int64_t second = 0;
    std::int64_t fraction = 0;
    if (!(readChar(text, ' ') || readChar(text, 'T')) || !readNumber(text, 1, 2, hour) || !readChar(text, ':')
        || !readNumber(text, 2, 2, minute))
        return std::nullopt;
    if (readChar(text, ':') && !readNumber(text, 2, 2, second))
        return std::nullopt;
    if (readChar(text, '.') && !readNumber(text, 1, 9, fraction))
        return std::nullopt;
    const QTime time {int(hour), int(minute), int(second)};
    if (!time.isValid() || !passZone(text))
        return std::nullopt;
    return time;
}

} // namespace

const std::vector<StatementFormatInfo> &statementFormats()
{
    static const std::vector<StatementFormatInfo> formats {
        {StatementFormat::BetfairProfitLoss, "Betfair profit and loss", "Betfair", "betfair-pl"},
        {StatementFormat::BetfairAccount, "Betfair account statement", "Betfair", "betfair-account"},
        {StatementFormat::Smarkets, "Smarkets account overview", "Smarkets", "smarkets"},
        {StatementFormat::Matchbook, "Matchbook transactions", "Matchbook", "matchbook"},
    };
    return formats;
}

const StatementFormatInfo &formatInfo(StatementFormat format)
{
    return statementFormats()[std::size_t(format)];
}

std::optional<Statement> readStatement(QByteArrayView bytes)
{
    text::Lines lines(bytes);
    QByteArrayView line;
    qint64 number = 0;
    const FormatReading *reading = nullptr;
    while (!reading && number < 2 && lines.next(line))
        reading = readingOfHeader(line, number++ > 0);
    if (!reading)
        return std::nullopt;
    Statement statement;
    statement.format = reading->format;
    readRows(*reading, lines, number, statement);
    return statement;
}

QString firstLineShown(QByteArrayView bytes)
{
    QByteArrayView line = withoutByteOrderMark(bytes);
    line = line.first(std::min(text::lineEndFrom(line, 0), shownLineLength));
    return textFromUtf8OrWindows1252(line);
}

std::optional<std::int64_t> statementAmount(QByteArrayView field)
{
    QByteArrayView text = trimmed(field);
    bool negative = false;
    if (text.startsWith('(') && text.endsWith(')')) {
        negative = true;
        text = text.sliced(1, text.size() - 2).trimmed();
    }
    if (!negative && readChar(text, '-'))
        negative = true;
    for (const char *currency : {"\xC2\xA3", "\xA3", "\xE2\x82\xAC", "\x80", "$"}) {
        if (text.startsWith(currency)) {
            text = text.sliced(qstrlen(currency));
            break;
        }
    }
    // Whole pounds: digits, or up to three digits and groups of three after commas.
    std::int64_t pounds = 0;
    const qsizetype before = text.size();
    if (!readNumber(text, 1, 13, pounds))
        return std::nullopt;
    const bool groupable = before - text.size() <= 3;
    while (readChar(text, ',')) {
        std::int64_t group = 0;
        if (!groupable || !readNumber(text, 3, 3, group) || pounds >= largestAmount)
            return std::nullopt;
        pounds = pounds * 1000 + group;
    }
    std::int64_t pence = 0;
    if (readChar(text, '.')) {
        const qsizetype decimalsBefore = text.size();
        if (!readNumber(text, 1, 2, pence))
            return std::nullopt;
        pence *= decimalsBefore - text.size() == 1 ? 10 : 1;
    }
    const std::int64_t amount = pounds * 100 + pence;
    if (!text.isEmpty() || amount >= largestAmount)
        return std::nullopt;
    return negative ? -amount : amount;
}

std::optional<qint64> statementMoment(QByteArrayView field)
{
    QByteArrayView text = trimmed(field);
    const QDate day = readDate(text);
    if (!day.isValid())
        return std::nullopt;
    const std::optional<QTime> time = readTime(text);
    if (!time || !text.isEmpty())
        return std::nullopt;
    return text::momentOf(day, *time);
}

} // namespace store
