// Reading the archive back: which lines are records, their dates in every locale, what each record
// says and what kind of bet it is, how the rows sort, and the CSV a spreadsheet gets.
#include <QSignalSpy>
#include <QTest>

#include "calc/numbertext.h"
#include "filebytes.h"
#include "history/chartaxis.h"
#include "store/archive.h"
#include "store/archivereader.h"
#include "store/csvfield.h"
#include "store/filetext.h"
#include "tracker/archivefollower.h"
#include "tracker/csvexport.h"
#include "tracker/historymodel.h"
#include "tracker/totals.h"

class TestHistoryRecords : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void mendingPartsAgain_data();
    void mendingPartsAgain();
    void moneySumsToThePenny();
    void offerLineBeyondAnyOffer();
    void amountsTypedInTheLedger();
    void lines_data();
    void lines();
    void dates_data();
    void dates();
    void everyLocaleReadsBackItsOwnDates_data();
    void everyLocaleReadsBackItsOwnDates();
    void datesTheCodePageCannotHold_data();
    void datesTheCodePageCannotHold();
    void resultKindAndStaleness_data();
    void resultKindAndStaleness();
    void sorting_data();
    void sorting();
    void csvForSpreadsheets();
    void monthsNamedWithTheirYear();
    void monthsOfMomentsAsQDateGivesThem();
    void offersInTheExport_data();
    void offersInTheExport();
    void offerColumnsEditedByHand_data();
    void offerColumnsEditedByHand();

private:
    QString writeArchive(const QByteArray &bytes) const;
    history::BetRecords readAll(const QByteArray &archive) const;
};

namespace {

const QByteArray example = "07/12/2026 09:15:30,Liverpool v Man U,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,"
                           "23.78,95.13";
const QLocale gb(QLocale::English, QLocale::UnitedKingdom);

// A folder's history read whole, as the window's model holds it; no model when the read never ended.
struct LoadedHistory
{
    explicit LoadedHistory(const QString &folder)
        : follower(folder)
    {
        QSignalSpy loaded(&follower, &history::ArchiveFollower::loaded);
        follower.start();
        if (!loaded.wait())
            return;
        model = std::make_unique<history::HistoryModel>(follower);
        model->addRecords(0);
    }

    history::ArchiveFollower follower;
    std::unique_ptr<history::HistoryModel> model;
};

} // namespace

QString TestHistoryRecords::writeArchive(const QByteArray &bytes) const
{
    const QString path = m_dir->filePath(QStringLiteral("vantrelLog.txt"));
    writeFileBytes(path, bytes);
    return path;
}

history::BetRecords TestHistoryRecords::readAll(const QByteArray &archive) const
{
    store::ArchiveDates dates(gb);
    history::BetRecords records;
    history::ArchiveBatch batch
        = history::readBatch(history::RecordSource::Archive, writeArchive(archive), 0, 1, 1 << 20, dates);
    history::BookmakerNumbers().number(batch);
    records.add(std::move(batch));
    return records;
}

void TestHistoryRecords::lines_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<int>("records");
    QTest::addColumn<QStringList>("unread");

    QTest::newRow("good line") << QByteArray(example + "\r\n") << 1 << QStringList();
    QTest::newRow("LF line end") << QByteArray(example + "\n") << 1 << QStringList();
    QTest::newRow("CR line ends of old Mac files") << QByteArray(example + "\r" + example + "\r") << 2 << QStringList();
    QTest::newRow("a CR whose LF is still to come waits")
        << QByteArray(example + "\r\n" + example + "\r") << 1 << QStringList();
    QTest::newRow("too few fields") << QByteArray("a,b,c\r\n" + example + "\r\n") << 1 << QStringList {"line 1: a,b,c"};
    QTest::newRow("too many fields") << QByteArray(example + ",extra\r\n") << 0 << QStringList {"line 1: 07/12"};
    QTest::newRow("old |=@=| record") << QByteArray("07/12/2026|=@=|Race|=@=|Coral\r\n") << 0
                                      << QStringList {"line 1: 07/12/2026|=@=|Race"};
    QTest::newRow("bytes that are no text")
        << QByteArray(QByteArray("\x00\xff\xfe,,\r\n", 7) + example + "\r\n") << 1 << QStringList {"line 1: "};
    QTest::newRow("empty line") << QByteArray("\r\n" + example + "\r\n") << 1 << QStringList {"line 1: "};
    QTest::newRow("3 MB line") << QByteArray(QByteArray(3 << 20, 'x') + "\r\n" + example + "\r\n") << 1
                               << QStringList {"line 1: a line too long"};
    QTest::newRow("line being written is left for later")
        << QByteArray(example + "\r\n" + example.left(20)) << 1 << QStringList();
    QTest::newRow("CR-only junk passed over to its end")
        << QByteArray(QByteArray(3 << 20, 'x') + "\r" + example + "\r") << 1 << QStringList {"line 1: a line too long"};
    QTest::newRow("samples kept: ten of twelve")
        << QByteArray(QByteArray("junk\r\n").repeated(12) + example + "\r\n") << 1
        << QStringList {"line 1: junk", "line 2: junk", "line 3: junk", "line 4: junk", "line 5: junk", "line 6: junk",
               "line 7: junk", "line 8: junk", "line 9: junk", "line 10: junk"};
}

void TestHistoryRecords::lines()
{
    QFETCH(QByteArray, archive);
    QFETCH(int, records);
    QFETCH(QStringList, unread);
    const QString path = writeArchive(archive);
    store::ArchiveDates dates(gb);
    int read = 0;
    qint64 unreadCount = 0;
    QStringList samples;
    // As the history reads: a megabyte at a time, until nothing more comes.
    for (qint64 from = 0, line = 1;;) {
        const history::ArchiveBatch batch
            = history::readBatch(history::RecordSource::Archive, path, from, line, 1 << 20, dates);
        if (batch.end == from)
            break;
        read += int(batch.records.size());
        unreadCount += batch.unread.count;
        samples += batch.unread.samples;
        from = batch.end;
        line += batch.linesRead;
    }
    QCOMPARE(read, records);
    QCOMPARE(samples.size(), std::min<qsizetype>(unread.size(), 10));
    for (qsizetype i = 0; i < unread.size(); ++i)
        QVERIFY2(samples[i].startsWith(unread[i]), qPrintable(samples[i]));
    QCOMPARE(unreadCount, archive.count("junk") ? 12 : unread.size());
}

void TestHistoryRecords::dates_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QDateTime>("expected");

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    const QDateTime click(QDate(2026, 12, 7), QTime(9, 15, 30));
    QTest::newRow("en_GB") << gb << QByteArray("07/12/2026 09:15:30") << click;
    QTest::newRow("en_GB at midnight") << gb << QByteArray("07/12/2026") << click.date().startOfDay();
    QTest::newRow("en_US") << us << QByteArray("12/7/26 9:15:30 AM") << click;
    QTest::newRow("de_DE") << de << QByteArray("07.12.26 09:15:30") << click;
    QTest::newRow("en_US record read in en_GB")
        << gb << QByteArray("12/7/26 9:15:30 AM") << QDateTime(QDate(2026, 7, 12), click.time());
    QTest::newRow("US date no day-first reading can take")
        << gb << QByteArray("12/25/26 9:15:30 AM") << QDateTime(QDate(2026, 12, 25), click.time());
    QTest::newRow("it_IT record read in en_GB keeps its month")
        << gb << QByteArray("08/12/26 11:14:35") << QDateTime(QDate(2026, 12, 8), QTime(11, 14, 35));
    QTest::newRow("C locale record, spaces in the date")
        << gb << QByteArray("8 Dec 2026 11:14:35") << QDateTime(QDate(2026, 12, 8), QTime(11, 14, 35));
    QTest::newRow("C locale record at midnight") << gb << QByteArray("8 Dec 2026") << QDate(2026, 12, 8).startOfDay();
    QTest::newRow("es_ES record with the time zone's brackets")
        << QLocale(QLocale::Spanish, QLocale::Spain) << QByteArray("7/12/26 9:15:30 ()") << click;
    QTest::newRow("ISO form") << de << QByteArray("2026-12-07 09:15:30") << click;
    QTest::newRow("blanks around") << gb << QByteArray(" 07/12/2026 09:15:30 ") << click;
    QTest::newRow("unreadable") << gb << QByteArray("yesterday teatime") << QDateTime();
    QTest::newRow("no 31st of November") << gb << QByteArray("31/11/2026 09:15:30") << QDateTime();
}

void TestHistoryRecords::dates()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, text);
    QFETCH(QDateTime, expected);
    store::ArchiveDates dates(locale);
    const std::optional<qint64> when = dates.parse(QByteArrayView(text));
    QCOMPARE(when.has_value(), expected.isValid());
    if (when)
        QCOMPARE(*when, text::momentOf(expected.date(), expected.time()));
}

void TestHistoryRecords::everyLocaleReadsBackItsOwnDates_data()
{
    QTest::addColumn<store::CodePage>("codePage");
    QTest::newRow("system code page") << store::CodePage::System;
    // Windows-1252 has no Arabic or Amharic digits, nor most scripts' AM/PM words.
    QTest::newRow("Windows-1252") << store::CodePage::Windows1252;
}

void TestHistoryRecords::everyLocaleReadsBackItsOwnDates()
{
    // Written exactly as the archive writes its first field, read back under the same locale:
    // a morning, an afternoon (AM/PM texts) and a midnight, in every locale Qt knows.
    QFETCH(store::CodePage, codePage);
    const QList<QDateTime> moments {QDateTime(QDate(2026, 12, 8), QTime(11, 14, 35)),
        QDateTime(QDate(2026, 3, 29), QTime(23, 5, 9)), QDate(2026, 7, 1).startOfDay()};
    QStringList failures;
    for (const QLocale &locale :
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory)) {
        store::ArchiveDates dates(locale);
        for (const QDateTime &moment : moments) {
            store::ArchiveEntry entry;
            entry[store::ArchiveField::DateTime] = store::archiveDateTime(moment, locale, codePage);
            const QByteArray line = store::textForFile(store::archiveLine(entry, locale), codePage);
            const QByteArrayView written = (*store::splitArchiveLine(line))[store::ArchiveField::DateTime];
            if (dates.parse(written) != text::momentOf(moment.date(), moment.time()))
                failures << locale.name() + QLatin1String(": ") + QString::fromUtf8(written);
        }
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

void TestHistoryRecords::datesTheCodePageCannotHold_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QByteArray>("written");
    QTest::newRow("English: as the locale writes it") << gb << QByteArray("29/03/2026 23:05:09");
    QTest::newRow("Amharic: its forms in ASCII digits and C words")
        << QLocale(QLocale::Amharic, QLocale::Ethiopia) << QByteArray("29/03/2026 11:05:09 PM");
    QTest::newRow("Arabic: its direction marks have no byte either")
        << QLocale(QLocale::Arabic, QLocale::Egypt) << QByteArray("2026-03-29 23:05:09");
    QTest::newRow("Korean: nor its hour words")
        << QLocale(QLocale::Korean, QLocale::SouthKorea) << QByteArray("2026-03-29 23:05:09");
}

void TestHistoryRecords::datesTheCodePageCannotHold()
{
    QFETCH(QLocale, locale);
    QFETCH(QByteArray, written);
    const QDateTime moment(QDate(2026, 3, 29), QTime(23, 5, 9));
    const QString text = store::archiveDateTime(moment, locale, store::CodePage::Windows1252);
    QCOMPARE(store::textForFile(text, store::CodePage::Windows1252), written);
    QCOMPARE(store::ArchiveDates(locale).parse(written), text::momentOf(moment.date(), moment.time()));
}

void TestHistoryRecords::resultKindAndStaleness_data()
{
    QTest::addColumn<QByteArray>("numbers");
    QTest::addColumn<double>("result");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("stale");
    QTest::addColumn<QString>("resultText");
    QTest::addColumn<double>("tiedUp"); // while open: the own stake, and the liability of the lay stake shown

    QTest::newRow("evens") << QByteArray("25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13") << -1.22
                           << "Qualifying bet" << false << "-1.22" << 51.22;
    QTest::newRow("part free bet") << QByteArray("200,50,6.4,6.2,1039.58,199.92,0,4.75,1230.00,190.42,190.42,95.21")
                                   << 40.42 << "Part free bet" << false << "40.42" << 1189.58;
    QTest::newRow("forfeit equals stake: free bet") << QByteArray("10,10,5,5.5,33.03,7.34,0,5,40.00,6.97,6.97,69.72")
                                                    << 6.97 << "Free bet" << false << "6.97" << 33.03;
    // The stake changed to 30 after the last Calculate: the figures are those of 25.
    QTest::newRow("inputs changed after Calculate")
        << QByteArray("30,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13") << -6.22 << "Qualifying bet" << true
        << "-6.22" << 61.46;
    QTest::newRow("archived before any Calculate")
        << QByteArray("25,0,2,2.05,,,0,4.75,,,,") << qQNaN() << "Qualifying bet" << true << "not calculated" << 51.22;
    QTest::newRow("stake no number") << QByteArray("ten,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13") << qQNaN()
                                     << "Qualifying bet" << true << "no result: not all numbers" << 0.0;
    QTest::newRow("blanks around the numbers") << QByteArray(" 25 ,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13")
                                               << -1.22 << "Qualifying bet" << false << "-1.22" << 51.22;
    // 23.78 - 25.005 is -1.225: a half, shown away from zero as the calculator shows it.
    QTest::newRow("half a penny") << QByteArray("25.005,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13") << -1.225
                                  << "Qualifying bet" << true << "-1.23" << 51.225;
    // The calculator takes a forfeit above the stake; it is no bet, and books no money.
    QTest::newRow("forfeit above the stake") << QByteArray("10,15,3,3.2,10.38,4.72,0,2,15.00,4.62,4.62,46.23")
                                             << qQNaN() << "Free bet" << false << "no result: not all numbers" << 0.0;
}

void TestHistoryRecords::resultKindAndStaleness()
{
    QFETCH(QByteArray, numbers);
    QFETCH(double, result);
    QFETCH(QString, kind);
    QFETCH(bool, stale);
    QFETCH(QString, resultText);
    QFETCH(double, tiedUp);
    const history::BetRecords records = readAll("07/12/2026 09:15:30,Race,Coral," + numbers + "\r\n");
    QCOMPARE(records.size(), 1);
    const history::BetRecord &record = records.at(0);
    if (qIsNaN(result))
        QVERIFY(qIsNaN(record.result));
    else
        QVERIFY2(qAbs(record.result - result) < 1e-9, qPrintable(QString::number(record.result)));
    QCOMPARE(record.stale, stale);
    QCOMPARE(history::cellText(records, 0, int(history::Column::Kind), gb), kind);
    QCOMPARE(history::cellText(records, 0, int(history::Column::Result), gb), resultText);
    QVERIFY2(qAbs(record.ownStake + record.openAtExchange - tiedUp) < 1e-9,
        qPrintable(QString::number(record.ownStake + record.openAtExchange)));
}

void TestHistoryRecords::sorting_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<Qt::SortOrder>("order");
    QTest::addColumn<QList<int>>("records");

    QTest::newRow("newest first, undated last") << -1 << Qt::AscendingOrder << QList<int> {0, 1, 2, 3};
    QTest::newRow("date, undated first") << int(history::Column::Date) << Qt::AscendingOrder << QList<int> {3, 2, 1, 0};
    QTest::newRow("date descending") << int(history::Column::Date) << Qt::DescendingOrder << QList<int> {0, 1, 2, 3};
    QTest::newRow("event, any case") << int(history::Column::Event) << Qt::AscendingOrder << QList<int> {1, 0, 3, 2};
    QTest::newRow("stake, ties newest first")
        << int(history::Column::Stake) << Qt::AscendingOrder << QList<int> {1, 3, 0, 2};
    QTest::newRow("stake descending") << int(history::Column::Stake) << Qt::DescendingOrder << QList<int> {2, 3, 0, 1};
    QTest::newRow("result, none first") << int(history::Column::Result) << Qt::AscendingOrder
                                        << QList<int> {1, 3, 0, 2};
    QTest::newRow("bookmaker by name") << int(history::Column::Bookmaker) << Qt::AscendingOrder
                                       << QList<int> {2, 3, 0, 1};
}

void TestHistoryRecords::sorting()
{
    QFETCH(int, column);
    QFETCH(Qt::SortOrder, order);
    QFETCH(QList<int>, records);
    const history::BetRecords read = readAll(
        "07/12/2026 09:15:30,Chelsea,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n"
        "01/12/2026 10:00:00,arsenal,SkyBet,ten,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n"
        "30/11/2026 10:00:00,Wolves,bet365,200,50,6.4,6.2,1039.58,199.92,0,4.75,1230.00,190.42,190.42,95.21\r\n"
        "some day,Leeds,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n");
    const std::vector<int> rows = history::buildRows(read, {}, {column, order});
    QCOMPARE(QList<int>(rows.begin(), rows.end()), records);
    // A record added to the sorted rows goes where a fresh sort puts it.
    const history::RowOrder sorted(read, {column, order});
    for (std::size_t i = 1; i < rows.size(); ++i)
        QVERIFY(sorted.before(rows[i - 1], rows[i]));
}

void TestHistoryRecords::monthsNamedWithTheirYear()
{
    QLocale::setDefault(gb);
    // "Dec 26" would read as the 26th of December.
    QCOMPARE(history::shortMonth(QDate(2026, 12, 1)), "Dec 2026");
    QCOMPARE(history::longMonth(QDate(2027, 1, 1)), "January 2027");
}

void TestHistoryRecords::monthsOfMomentsAsQDateGivesThem()
{
    // Every day of eight centuries, leap years and the turns of centuries among them, at its last second.
    for (qint64 day = QDate(1600, 1, 1).toJulianDay(); day <= QDate(2400, 12, 31).toJulianDay(); ++day) {
        const QDate date = QDate::fromJulianDay(day);
        const auto [year, month] = text::yearMonthOf(day * text::secondsPerDay + text::secondsPerDay - 1);
        if (year != date.year() || month != date.month())
            QFAIL(qPrintable(date.toString(Qt::ISODate)));
    }
}

void TestHistoryRecords::csvForSpreadsheets()
{
    writeArchive(example + "\r\n" + QByteArray(example).replace("Liverpool v Man U", "Said \"win\"") + "\r\n"
        + "yesterday,=HYPERLINK(\"x\"),Select "
          "Bookie...,25.005,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,@SUM(9+9),=2+3\r\n");
    QLocale::setDefault(gb); // the archive's dates are British, whatever the system's
    const LoadedHistory read(m_dir->path());
    QVERIFY(read.model);
    const history::HistoryModel &model = *read.model;
    const QList<QByteArray> lines = history::csvOf(model).split('\n');
    QCOMPARE(lines.size(), 5); // header, three records, nothing after the last line end
    // A byte-order mark first, so that spreadsheets read UTF-8.
    QCOMPARE(lines[0],
        "\xEF\xBB\xBF"
        "Date,Kind,Event,Bookmaker,Result,Highest,Status,Actual,Exchange,Stake,Stake Forfeit,Back Odds,Lay Odds,Lay "
        "Risk,"
        "Lay Stake,Back Comm.,Lay Comm.,Back Return,Back Returns,Lay Returns,Closeness %,Stale,Settled on,"
        "Offer inputs and figures,Free bet\r");
    // Newest first, undated last; among equal times the last read first. A read date as ISO 8601;
    // a quote doubled inside a quoted field.
    QCOMPARE(lines[1],
        "2026-12-07 09:15:30,Qualifying bet,\"Said \"\"win\"\"\",Coral,-1.22,-1.22,Open,,,25,0,2,2.05,26.22,24.97,0,"
        "4.75,50.00,23.78,23.78,95.13,no,,,\r");
    // An unread date stays as written; a formula is defused, in a figure's column too; the result is
    // the one the window shows (-1.225 is -1.23 there, not the -1.22 of the binary value).
    QCOMPARE(lines[3],
        "yesterday,Qualifying bet,\"'=HYPERLINK(\"\"x\"\")\",(no bookmaker),-1.23,-1.23,Open,,,25.005,0,2,2.05,26.22,"
        "24.97,0,4.75,50.00,23.78,'@SUM(9+9),'=2+3,yes,,,\r");
    QCOMPARE(model.data(model.index(2, int(history::Column::Result)), Qt::DisplayRole).toString(), "-1.23");
}

void TestHistoryRecords::offersInTheExport_data()
{
    QTest::addColumn<QByteArray>("record"); // kind, event, bookmaker, stake, lowest, highest, inputs, figures
    QTest::addColumn<QByteArrayList>("backAndLay"); // Back Odds, Lay Odds, Lay Risk, Lay Stake
    const QByteArray refundInputs = "backOdds=5;backStake=20;layCommission=2;layOdds=5.2;retention=75";
    const QByteArray refundFigures = "layStake=16.41;liability=68.92;profitIfBackWins=11.08;profitIfLayWins=11.08";
    QTest::newRow("refund") << "refund,Leeds,Coral,20,11.08,11.08," + refundInputs + "," + refundFigures
                            << QByteArrayList {"5", "5.2", "68.92", "16.41"};
    // 20 matched at 4.2 and 25.98 at 4.5 stand to lose 20 x 3.2 + 25.98 x 3.5 = 154.93 on 45.98 laid:
    // one lay at 1 + 154.93 / 45.98 = 4.37.
    QTest::newRow("part lays") << QByteArray(
        "part-lays,Ascot,Bet365,50,-4.94,-4.93,backOdds=4;backStake=50;freeBet=0;layCommission=2;"
        "layOddsNow=4.5;part1LayOdds=4.2;part1LayStake=20;parts=1,layStakeNow=25.98;liabilityNow=90.93;"
        "totalLiability=154.93;profitIfBackWins=-4.93;profitIfLayWins=-4.94")
                               << QByteArrayList {"4", "4.37", "154.93", "45.98"};
    QTest::newRow("accumulator: several lays")
        << QByteArray("accumulator,Acca,Coral,10,-1.07,-1.07,backStake=10;freeBet=0;layCommission=0;legs=2;"
                      "leg1BackOdds=2;leg1LayOdds=2.1;leg2BackOdds=3;leg2LayOdds=3.2,accumulatorOdds=6.00")
        << QByteArrayList {"", "", "", ""};
    QTest::newRow("multi-lay: a lay for each outcome")
        << QByteArray("multi-lay,Bet builder,Coral,10,0.41,0.49,backOdds=6;backStake=10;freeBet=0;lay1Odds=9;"
                      "lay2Odds=15;layCommission=2;lays=2;oneMarket=0,lay1Stake=6.68;lay2Stake=4.01")
        << QByteArrayList {"", "", "", ""};
}

void TestHistoryRecords::offersInTheExport()
{
    QFETCH(QByteArray, record);
    QFETCH(QByteArrayList, backAndLay);
    const QByteArray line = "1,2026-12-06T10:00:00," + record;
    writeFileBytes(m_dir->filePath(QStringLiteral("vantrelOffers.csv")), line + "\r\n");
    const LoadedHistory read(m_dir->path());
    QVERIFY(read.model);
    const history::HistoryModel &model = *read.model;
    const QByteArray exported = history::csvOf(model).split('\n').at(1).chopped(1);
    std::array<QByteArrayView, history::columnCount + 4> cells;
    QVERIFY(store::splitCsvLine(exported, cells));
    QCOMPARE(QByteArrayList(
                 {cells[11].toByteArray(), cells[12].toByteArray(), cells[13].toByteArray(), cells[14].toByteArray()}),
        backAndLay);
    // The offers file's inputs and figures, all of them, in the column before the free bets'.
    const QByteArrayList fields = line.split(',');
    QCOMPARE(cells[cells.size() - 2].toByteArray(), fields[8] + ";" + fields[9]);
}

void TestHistoryRecords::offerColumnsEditedByHand_data()
{
    QTest::addColumn<QByteArray>("columns"); // stake, lowest and highest as the file holds them
    QTest::addColumn<QByteArray>("figures");
    QTest::addColumn<bool>("stale");
    const QByteArray figures = "layStake=16.41;liability=68.92;profitIfBackWins=11.08;profitIfLayWins=11.08";
    QTest::newRow("as archived") << QByteArray("20,11.08,11.08") << figures << false;
    QTest::newRow("lowest and highest raised") << QByteArray("20,500.00,900.00") << figures << true;
    QTest::newRow("stake raised") << QByteArray("99,11.08,11.08") << figures << true;
    QTest::newRow("a figure changed") << QByteArray("20,11.08,11.08") << QByteArray(figures).replace("16.41", "16.00")
                                      << true;
    // Figures that do not read as numbers by key match nothing.
    QTest::newRow("a semicolon after the last figure") << QByteArray("20,11.08,11.08") << figures + ';' << true;
    QTest::newRow("a figure with no value")
        << QByteArray("20,11.08,11.08") << QByteArray(figures).replace("=16.41", "") << true;
    QTest::newRow("a figure with no key")
        << QByteArray("20,11.08,11.08") << QByteArray(figures).replace("layStake", "") << true;
}

void TestHistoryRecords::offerColumnsEditedByHand()
{
    // The file's columns are worked out again from the inputs, as its figures are: what is shown
    // and counted is what the inputs give, and a record whose columns differ is marked.
    QFETCH(QByteArray, columns);
    QFETCH(QByteArray, figures);
    QFETCH(bool, stale);
    const QString path = m_dir->filePath(QStringLiteral("vantrelOffers.csv"));
    writeFileBytes(path,
        "1,2026-12-06T10:00:00,refund,Leeds,Coral," + columns
            + ",backOdds=5;backStake=20;layCommission=2;layOdds=5.2;retention=75," + figures + "\r\n");
    store::ArchiveDates dates(gb);
    history::BetRecords records;
    history::ArchiveBatch batch = history::readBatch(history::RecordSource::Offers, path, 0, 1, 1 << 20, dates);
    history::fillOffers(batch);
    history::BookmakerNumbers().number(batch);
    records.add(std::move(batch));
    QCOMPARE(records.size(), 1);
    QCOMPARE(records.at(0).stale, stale);
    QCOMPARE(records.at(0).ownStake, 20.0);
    QCOMPARE(history::resultText(records.at(0), gb), "11.08");
    QCOMPARE(calc::formatFigure(records.at(0).highest, gb), "11.08");
}

void TestHistoryRecords::offerLineBeyondAnyOffer()
{
    // A hand-edited line of 160,000 values (1.5 MB) is no offer this program wrote: counted unread,
    // the line after it read as ever.
    QByteArray values;
    for (int i = 160'000; i > 0; --i)
        values += "k" + QByteArray::number(i) + "=1;";
    const QByteArray refund = "1,2026-12-06T10:00:00,refund,Leeds,Coral,20,11.08,11.08,backOdds=5;backStake=20;"
                              "layCommission=2;layOdds=5.2;retention=75,layStake=16.41\r\n";
    const QString path = m_dir->filePath(QStringLiteral("vantrelOffers.csv"));
    writeFileBytes(path, "1,2026-12-06T09:00:00,refund,Hand edit,Coral,20,0,0," + values.chopped(1) + ",\r\n" + refund);
    store::ArchiveDates dates(gb);
    history::ArchiveBatch batch = history::readBatch(history::RecordSource::Offers, path, 0, 1, 4 << 20, dates);
    history::fillOffers(batch);
    QCOMPARE(batch.unread.count, 1);
    QCOMPARE(batch.records.size(), 1);
    // Values by key from a list of thousands, out of order and with a key twice: sorted, the first
    // of the two kept.
    std::vector<std::pair<std::string, double>> many;
    for (int i = 5'000; i > 0; --i)
        many.emplace_back("k" + std::to_string(i), i);
    many.emplace_back("k7", -1);
    const calc::OfferValues sorted(std::move(many));
    QCOMPARE(sorted.size(), std::size_t(5'000));
    QVERIFY(std::is_sorted(sorted.begin(), sorted.end()));
    QCOMPARE(sorted.at("k7"), 7.0);
}

// "Other amount..." writes the bookmaker's part in the outcome; hand edits that are not one are no part.
void TestHistoryRecords::amountsTypedInTheLedger()
{
    for (const calc::Pennies part :
        {calc::Pennies(0), calc::Pennies(5), calc::Pennies(-2000), calc::Pennies(123456789)})
        QCOMPARE(history::otherAtBookmaker(history::otherOutcome(part)), part);
    QCOMPARE(history::otherOutcome(-5), "other:-0.05");
    for (const char *written : {"other", "other:", "other:1.5", "other:-.50", "other:1,00", "other:+1.00",
             "other:1.001", "other:12345678901234.00", "void:1.00"})
        QVERIFY2(!history::otherAtBookmaker(QString::fromLatin1(written)), written);
}

void TestHistoryRecords::mendingPartsAgain_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("bookmaker");
    QTest::addColumn<QString>("note");
    QTest::newRow("plain") << "Spurs v Leeds"
                           << "Bet365"
                           << "boosted";
    QTest::newRow("lengths and colons inside") << "3:ab:"
                                               << "12:"
                                               << "0:";
    QTest::newRow("all empty") << ""
                               << ""
                               << "";
    QTest::newRow("beyond the basic plane") << "\U0001F3C7 Ascot"
                                            << "Paddy\u00A0Power"
                                            << "\u05D0";
}

void TestHistoryRecords::mendingPartsAgain()
{
    QFETCH(QString, event);
    QFETCH(QString, bookmaker);
    QFETCH(QString, note);
    const history::Mending parted = history::Mending::parted(history::Mending {event, bookmaker, note, {}}.joined());
    QCOMPARE(QStringList({parted.event, parted.bookmaker, parted.note}), QStringList({event, bookmaker, note}));
}

void TestHistoryRecords::moneySumsToThePenny()
{
    // A million stakes of 0.07 as doubles come to 70000.00000000x; in pennies to 70000 exactly.
    history::MoneySum stakes;
    double asDoubles = 0;
    for (int i = 0; i < 1'000'000; ++i) {
        stakes += 0.07;
        asDoubles += 0.07;
    }
    QVERIFY(asDoubles != 70000.0);
    QCOMPARE(stakes.value(), 70000.0);
    // An amount beyond all money says so, with its sign, whatever is added after it.
    stakes += -2e12;
    stakes += 5.0;
    QCOMPARE(stakes.value(), -std::numeric_limits<double>::infinity());
}

QTEST_GUILESS_MAIN(TestHistoryRecords)
#include "tst_historyrecords.moc"
