// Reading the archive back: which lines are records, their dates, and what each record says.
#include <QTest>

#include "filebytes.h"
#include "history/betrecords.h"
#include "history/csvexport.h"
#include "history/historymodel.h"
#include "store/archivereader.h"

class TestHistoryRecords : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void dates_data();
    void dates();
    void resultAndStaleness_data();
    void resultAndStaleness();
    void csvForSpreadsheets();
};

namespace {

const QByteArray example = "07/12/2026 09:15:30,Liverpool v Man U,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,"
                           "23.78,95.13";

} // namespace

void TestHistoryRecords::lines_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<int>("records");
    QTest::addColumn<QList<qint64>>("unread");

    QTest::newRow("good line") << QByteArray(example + "\r\n") << 1 << QList<qint64>();
    QTest::newRow("LF line end") << QByteArray(example + "\n") << 1 << QList<qint64>();
    QTest::newRow("too few fields") << QByteArray("a,b,c\r\n" + example + "\r\n") << 1 << QList<qint64> {1};
    QTest::newRow("too many fields") << QByteArray(example + ",extra\r\n") << 0 << QList<qint64> {1};
    QTest::newRow("old |=@=| record") << QByteArray("07/12/2026|=@=|Race|=@=|Coral\r\n") << 0 << QList<qint64> {1};
    QTest::newRow("bytes that are no text")
        << QByteArray(QByteArray("\x00\xff\xfe,,\r\n", 7) + example + "\r\n") << 1 << QList<qint64> {1};
    QTest::newRow("empty line") << QByteArray("\r\n" + example + "\r\n") << 1 << QList<qint64> {1};
    QTest::newRow("3 MB line") << QByteArray(QByteArray(3 << 20, 'x') + "\r\n" + example + "\r\n") << 1
                               << QList<qint64> {1};
    QTest::newRow("line being written is left for later")
        << QByteArray(example + "\r\n" + example.left(20)) << 1 << QList<qint64>();
}

void TestHistoryRecords::lines()
{
    QFETCH(QByteArray, archive);
    QFETCH(int, records);
    QFETCH(QList<qint64>, unread);
    const QString path = m_dir->filePath(QStringLiteral("vantrelLog.txt"));
    writeFileBytes(path, archive);
    store::ArchiveDates dates(QLocale(QLocale::English, QLocale::UnitedKingdom));
    int read = 0;
    QList<qint64> numbers;
    // As the window reads: a megabyte at a time, until nothing more comes.
    for (qint64 from = 0, line = 1;;) {
        const history::ArchiveBatch batch = history::readBatch(path, from, line, 1 << 20, dates);
        if (batch.end == from)
            break;
        read += int(batch.records.size());
        for (const history::UnreadLine &unreadLine : batch.unread)
            numbers << unreadLine.number;
        from = batch.end;
        line += batch.linesRead;
    }
    QCOMPARE(read, records);
    QCOMPARE(numbers, unread);
}

void TestHistoryRecords::dates_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QDateTime>("expected");

    const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    const QDateTime click(QDate(2026, 12, 7), QTime(9, 15, 30));
    QTest::newRow("en_GB") << gb << QByteArray("07/12/2026 09:15:30") << click;
    QTest::newRow("en_GB at midnight") << gb << QByteArray("07/12/2026") << click.date().startOfDay();
    QTest::newRow("en_US") << us << QByteArray("12/7/26 9:15:30 AM") << click;
    QTest::newRow("de_DE") << de << QByteArray("07.12.26 09:15:30") << click;
    QTest::newRow("en_US record read in en_GB") << gb << QByteArray("12/7/26 9:15:30 AM") << click;
    QTest::newRow("ISO form") << de << QByteArray("2026-12-07 09:15:30") << click;
    QTest::newRow("unreadable") << gb << QByteArray("yesterday teatime") << QDateTime();
}

void TestHistoryRecords::dates()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, text);
    QFETCH(QDateTime, expected);
    store::ArchiveDates dates(locale);
    const std::optional<qint64> when = dates.parse(text);
    QCOMPARE(when.has_value(), expected.isValid());
    if (when)
        QCOMPARE(*when, expected.date().toJulianDay() * 86400 + expected.time().msecsSinceStartOfDay() / 1000);
}

void TestHistoryRecords::resultAndStaleness_data()
{
    QTest::addColumn<QByteArray>("numbers");
    QTest::addColumn<double>("result");
    QTest::addColumn<bool>("stale");

    QTest::newRow("evens") << QByteArray("25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13") << -1.22 << false;
    QTest::newRow("free bet") << QByteArray("200,50,6.4,6.2,1039.58,199.92,0,4.75,1230.00,190.42,190.42,95.21") << 40.42
                              << false;
    QTest::newRow("forfeit equals stake")
        << QByteArray("10,10,5,5.5,33.03,7.34,0,5,40.00,6.97,6.97,69.72") << 6.97 << false;
    // The stake changed to 30 after the last Calculate: the figures are those of 25.
    QTest::newRow("inputs changed after Calculate")
        << QByteArray("30,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13") << -6.22 << true;
    QTest::newRow("archived before any Calculate") << QByteArray("25,0,2,2.05,,,0,4.75,,,,") << qQNaN() << true;
    QTest::newRow("stake no number") << QByteArray("ten,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13") << qQNaN()
                                     << true;
}

void TestHistoryRecords::resultAndStaleness()
{
    QFETCH(QByteArray, numbers);
    QFETCH(double, result);
    QFETCH(bool, stale);
    const QString path = m_dir->filePath(QStringLiteral("vantrelLog.txt"));
    writeFileBytes(path, "07/12/2026 09:15:30,Race,Coral," + numbers + "\r\n");
    store::ArchiveDates dates(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const history::ArchiveBatch batch = history::readBatch(path, 0, 1, 1 << 20, dates);
    QCOMPARE(batch.records.size(), std::size_t(1));
    const history::BetRecord &record = batch.records.front();
    if (qIsNaN(result))
        QVERIFY(qIsNaN(record.result));
    else
        QVERIFY2(qAbs(record.result - result) < 1e-9, qPrintable(QString::number(record.result)));
    QCOMPARE(record.stale, stale);
}

void TestHistoryRecords::csvForSpreadsheets()
{
    const QString path = m_dir->filePath(QStringLiteral("vantrelLog.txt"));
    writeFileBytes(path, example + "\r\n" + QByteArray(example).replace("Liverpool v Man U", "Said \"win\"") + "\r\n");
    store::ArchiveDates dates(QLocale(QLocale::English, QLocale::UnitedKingdom));
    history::HistoryModel model;
    model.add(history::readBatch(path, 0, 1, 1 << 20, dates));
    history::HistoryFilter rows;
    rows.setSourceModel(&model);
    const QList<QByteArray> lines = history::csvOf(rows).split('\n');
    QCOMPARE(lines.size(), 4); // header, two records, nothing after the last line end
    QCOMPARE(lines[0],
        "Date,Event,Bookmaker,Stake,Stake Forfeit,Back Odds,Lay Odds,Lay Risk,Lay Stake,Back Comm.,"
        "Lay Comm.,Back Return,Back Returns,Lay Returns,Closeness %,Result\r");
    // Newest first; a quote is doubled inside a quoted field.
    QCOMPARE(lines[1],
        "07/12/2026 09:15:30,\"Said \"\"win\"\"\",Coral,25,0,2,2.05,26.22,24.97,0,4.75,50.00,"
        "23.78,23.78,95.13,-1.22\r");
}

QTEST_GUILESS_MAIN(TestHistoryRecords)
#include "tst_historyrecords.moc"
