// Exchange statements as the store reads them: each format's header and lines, from files of the
// shapes the exchanges export (fixtures in statements/), their amounts and dates, and their import
// into the statements folder.
#include <QDir>

#include "filebytes.h"
#include "store/statementfolder.h"
#include "text/moments.h"

using store::StatementFormat;
using store::StatementLineKind;

namespace {

QByteArray fixture(const QString &name)
{
    return fileBytes(QStringLiteral(":/statements/") + name);
}

} // namespace

class TestStatements : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void readsEachFormat_data();
    void readsEachFormat();
    void amounts_data();
    void amounts();
    void moments_data();
    void moments();
    void unknownHeaderIsRefusedWithItsFirstLine();
    void unreadableLinesAreCountedAndNamed();
    void sameFileImportedTwiceIsCopiedOnce();
    void fileWhereTheFolderShouldBeIsReported();
};

void TestStatements::readsEachFormat_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<StatementFormat>("format");
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("firstDescription");
    QTest::addColumn<qint64>("firstAmount");
    QTest::addColumn<StatementLineKind>("firstKind");
    QTest::addColumn<qint64>("lastAmount");
    QTest::addColumn<StatementLineKind>("lastKind");

    QTest::newRow("Betfair profit and loss, BOM and CRLF")
        << "betfair-pl.csv" << StatementFormat::BetfairProfitLoss << 3
        << "Football / Premier League / Liverpool v Everton : Match Odds" << qint64(2378) << StatementLineKind::Market
        << qint64(-50) << StatementLineKind::Market;
    QTest::newRow("Betfair account statement, Windows-1252 pound")
        << "betfair-account.csv" << StatementFormat::BetfairAccount << 5 << "Withdrawal Ref: 177283419353"
        << qint64(-5968) << StatementLineKind::Withdrawal << qint64(4000) << StatementLineKind::Deposit;
    QTest::newRow("Smarkets after its title line; a bet placed moves no money")
        << "smarkets.csv" << StatementFormat::Smarkets << 3 << "Deposit" << qint64(10000) << StatementLineKind::Deposit
        << qint64(-5000) << StatementLineKind::Withdrawal;
    QTest::newRow("Matchbook, commission a line of its own")
        << "matchbook.csv" << StatementFormat::Matchbook << 4 << "deposit" << qint64(10000)
        << StatementLineKind::Deposit << qint64(-5000) << StatementLineKind::Withdrawal;
}

void TestStatements::readsEachFormat()
{
    QFETCH(QString, file);
    QFETCH(StatementFormat, format);
    QFETCH(int, lines);
    QFETCH(QString, firstDescription);
    QFETCH(qint64, firstAmount);
    QFETCH(StatementLineKind, firstKind);
    QFETCH(qint64, lastAmount);
    QFETCH(StatementLineKind, lastKind);
    const std::optional<store::Statement> statement = store::readStatement(fixture(file));
    QVERIFY(statement);
    QCOMPARE(statement->format, format);
    QCOMPARE(statement->unreadCount, 0);
    QCOMPARE(int(statement->lines.size()), lines);
    const store::StatementLine &first = statement->lines.front();
    QCOMPARE(first.description, firstDescription);
    QCOMPARE(first.amount, firstAmount);
    QCOMPARE(first.kind, firstKind);
    QCOMPARE(statement->lines.back().amount, lastAmount);
    QCOMPARE(statement->lines.back().kind, lastKind);
}

void TestStatements::amounts_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<qint64>("pennies"); // -1: not an amount

    const std::pair<const char *, qint64> cases[] {{"23.78", 2378}, {"-0.50", -50}, {"(0.50)", -50}, {"(19)", -1900},
        {" 2.5 ", 250}, {"-0", 0}, {"1,234.56", 123456}, {"12,345,678.00", 1234567800},
        {"\xC2\xA3"
         "2.00",
            200},
        {"1e9", -1}, {"1.234", -1}, {"12,34.00", -1}, {"1234,567", -1}, {"", -1}, {"--", -1}, {"abc", -1},
        {"99999999999999", -1}, {"(1.00", -1}};
    for (const auto &[field, pennies] : cases)
        QTest::newRow(field) << QByteArray(field) << pennies;
}

void TestStatements::amounts()
{
    QFETCH(QByteArray, field);
    QFETCH(qint64, pennies);
    const std::optional<std::int64_t> amount = store::statementAmount(field);
    QCOMPARE(amount.has_value(), pennies != -1);
    if (amount)
        QCOMPARE(*amount, pennies);
}

void TestStatements::moments_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QDateTime>("moment"); // invalid: not a moment

    const QDateTime settled(QDate(2026, 12, 1), QTime(19, 25));
    QTest::newRow("Betfair profit and loss") << QByteArray("01-Dec-26 19:25") << settled;
    QTest::newRow("Betfair account") << QByteArray("06-Mar-26 21:56:34")
                                     << QDateTime(QDate(2026, 3, 6), QTime(21, 56, 34));
    QTest::newRow("ISO with a space") << QByteArray("2026-12-01 19:25:00") << settled;
    QTest::newRow("ISO with milliseconds and Z") << QByteArray("2026-12-01T19:25:00.000Z") << settled;
    QTest::newRow("ISO with an offset") << QByteArray("2026-12-01T19:25:00+01:00") << settled;
    QTest::newRow("day first with slashes") << QByteArray("01/12/2026 19:25") << settled;
    QTest::newRow("no such day") << QByteArray("31-Feb-26 10:00") << QDateTime();
    QTest::newRow("no such month") << QByteArray("01-Foo-26 10:00") << QDateTime();
    QTest::newRow("no time") << QByteArray("01-Dec-26") << QDateTime();
    QTest::newRow("hour 25") << QByteArray("2026-12-01 25:00") << QDateTime();
    QTest::newRow("trailing text") << QByteArray("2026-12-01 19:25 UK") << QDateTime();
}

void TestStatements::moments()
{
    QFETCH(QByteArray, field);
    QFETCH(QDateTime, moment);
    const std::optional<qint64> read = store::statementMoment(field);
    QCOMPARE(read.has_value(), moment.isValid());
    if (read)
        QCOMPARE(*read, text::momentOf(moment.date(), moment.time()));
}

void TestStatements::unknownHeaderIsRefusedWithItsFirstLine()
{
    const QString path = m_dir->filePath(QStringLiteral("bank.csv"));
    writeFileBytes(path, "Datum,Betrag (EUR)\n01.12.2026,12\n");
    QVERIFY(!store::readStatement(fileBytes(path)));
    try {
        store::importStatement(m_dir->path(), path);
        QFAIL("a bank statement was imported");
    } catch (const store::NotAStatement &error) {
        QCOMPARE(store::problemWith(path, error),
            QDir::toNativeSeparators(path)
                + QLatin1String(": not an exchange statement Vantrel knows; its first line is \"Datum,Betrag (EUR)\""));
    }
    QVERIFY(!QFileInfo::exists(store::statementsFolder(m_dir->path())));
}

void TestStatements::unreadableLinesAreCountedAndNamed()
{
    const QByteArray bytes = "Market,Start time,Settled date,Profit/Loss (EUR)\n"
                             "Soccer / A v B : Match Odds,01-Dec-26 17:30,01-Dec-26 19:25,1e9\n"
                             "Soccer / C v D : Match Odds,01-Dec-26 17:30,01-Dec-26 19\n"
                             "\"Soccer / E v F : Match Odds,01-Dec-26 17:30,01-Dec-26 19:25,1.00\n"
                             "Soccer / G v H : Match Odds,01-Dec-26 17:30,01-Dec-26 19:25,1.00\n"
        + QByteArray(70000, 'X') + ",01-Dec-26 17:30,01-Dec-26 19:25,1.00\n";
    const std::optional<store::Statement> statement = store::readStatement(bytes);
    QVERIFY(statement);
    QCOMPARE(statement->lines.size(), std::size_t(1));
    QCOMPARE(statement->lines.front().lineNumber, 5);
    QCOMPARE(statement->unreadCount, 4);
    QCOMPARE(statement->unreadSamples.front().lineNumber, 2);
    QVERIFY(statement->unreadSamples[2].text.startsWith(QLatin1String("\"Soccer / E v F")));
    QCOMPARE(statement->unreadSamples.back().text, QString(120, QLatin1Char('X')));
    QVERIFY(store::unreadLinesText(*statement)
                .startsWith(QLatin1String("4 lines could not be read: line 2: Soccer / A v B : Match Odds,")));
}

void TestStatements::sameFileImportedTwiceIsCopiedOnce()
{
    const QString path = m_dir->filePath(QStringLiteral("Betfair P&L.csv"));
    const QByteArray bytes = fixture(QStringLiteral("betfair-pl.csv"));
    writeFileBytes(path, bytes);
    const store::ImportedStatement first = store::importStatement(m_dir->path(), path);
    const store::ImportedStatement again = store::importStatement(m_dir->path(), path);
    QVERIFY(!first.alreadyThere);
    QVERIFY(again.alreadyThere);
    QCOMPARE(again.copy.fileName, first.copy.fileName);
    QVERIFY(first.copy.fileName.startsWith(QLatin1String("betfair-pl-")));
    const QDir folder(store::statementsFolder(m_dir->path()));
    QCOMPARE(folder.entryList(QDir::Files), QStringList {first.copy.fileName});
    QCOMPARE(fileBytes(folder.filePath(first.copy.fileName)), bytes);
    QCOMPARE(fileBytes(path), bytes);

    writeFileBytes(folder.filePath(QStringLiteral("notes.csv")), "my own notes\n");
    const store::StatementsRead read = store::readStatements(m_dir->path());
    QCOMPARE(read.files.size(), std::size_t(1));
    QCOMPARE(read.problems.size(), 1);
    QVERIFY(read.problems.front().startsWith(QLatin1String("notes.csv: ")));
}

void TestStatements::fileWhereTheFolderShouldBeIsReported()
{
    const QString path = m_dir->filePath(QStringLiteral("pl.csv"));
    writeFileBytes(path, fixture(QStringLiteral("betfair-pl.csv")));
    writeFileBytes(store::statementsFolder(m_dir->path()), "not a folder");
    QVERIFY_THROWS_EXCEPTION(store::FileError, store::importStatement(m_dir->path(), path));
    QVERIFY_THROWS_EXCEPTION(store::FileError, store::readStatements(m_dir->path()));
    QCOMPARE(fileBytes(store::statementsFolder(m_dir->path())), QByteArray("not a folder"));
}

QTEST_GUILESS_MAIN(TestStatements)
#include "tst_statements.moc"
