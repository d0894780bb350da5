// The archive: the record built from the window's texts, and the Archive button appending it.
#include <QTest>

#include "mainwindowtest.h"
#include "store/archive.h"
#include "store/filetext.h"

Q_DECLARE_METATYPE(store::ArchiveEntry)

class TestArchive : public MainWindowTest
{
    Q_OBJECT

private slots:
    void dateTime_data();
    void dateTime();
    void line_data();
    void line();
    void archiveAfterCalculation_data();
    void archiveAfterCalculation();
    void archiveBeforeCalculation();
    void commaInEventRefused();
    void twoClicksAppendTwoRecords();
    void recordStartsOnItsOwnLine_data();
    void recordStartsOnItsOwnLine();
    void deletedFolderIsRecreated();
    void failedAppend_data();
    void failedAppend();

private:
    void windowOpened() override;
};

namespace {

const QDateTime clickTime(QDate(2026, 12, 7), QTime(9, 15, 30));
const QByteArray exampleRecord = "07/12/2026 09:15:30,Liverpool v Man U Correct Score 2-1,Select Bookie...,"
                                 "25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n";

const QStringList englishFigures {
    "25", "0", "2", "2.05", "26.22", "24.97", "0", "4.75", "1,230.00", "23.78", "23.78", "95.13"};
const QStringList germanFigures {
    "25", "0", "2", "2,05", "26,22", "24,97", "0", "4,75", "1.230,00", "23,78", "23,78", "95,13"};

store::ArchiveEntry entryWith(
    const QString &event, const QString &bookmaker, const QStringList &figures = englishFigures)
{
    store::ArchiveEntry entry;
    entry[store::ArchiveField::DateTime] = QStringLiteral("07/12/2026 09:15:30");
    entry[store::ArchiveField::Event] = event;
    entry[store::ArchiveField::Bookmaker] = bookmaker;
    std::copy(figures.begin(), figures.end(), entry.begin() + int(store::ArchiveField::Stake));
    return entry;
}

} // namespace

void TestArchive::windowOpened()
{
    m_ui->window->setClock([] { return clickTime; });
}

void TestArchive::dateTime_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<QString>("expected");
    const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    QTest::newRow("en_GB") << gb << clickTime << "07/12/2026 09:15:30";
    QTest::newRow("en_GB midnight") << gb << QDateTime(QDate(2026, 12, 7), QTime(0, 0)) << "07/12/2026";
    QTest::newRow("en_GB just after midnight")
        << gb << QDateTime(QDate(2026, 12, 7), QTime(0, 0, 1)) << "07/12/2026 00:00:01";
    QTest::newRow("en_US") << QLocale(QLocale::English, QLocale::UnitedStates) << clickTime << "12/7/26 9:15:30 AM";
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany) << clickTime << "07.12.26 09:15:30";
    QTest::newRow("es_ES: no brackets where the time zone was")
        << QLocale(QLocale::Spanish, QLocale::Spain) << clickTime << "7/12/26 9:15:30";
}

void TestArchive::dateTime()
{
    QFETCH(QLocale, locale);
    QFETCH(QDateTime, moment);
    QFETCH(QString, expected);
    QCOMPARE(store::archiveDateTime(moment, locale), expected);
}

void TestArchive::line_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<store::ArchiveEntry>("entry");
    QTest::addColumn<QString>("expected");

    const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    const QLocale de(QLocale::German, QLocale::Germany);
    const QString tail = QStringLiteral(",25,0,2,2.05,26.22,24.97,0,4.75,1230.00,23.78,23.78,95.13");
    QTest::newRow("grouping comma removed")
        << gb << entryWith("Race", "Coral") << "07/12/2026 09:15:30,Race,Coral" + tail;
    QTest::newRow("comma in bookmaker removed")
        << gb << entryWith("Race", "Paddy, Power") << "07/12/2026 09:15:30,Race,Paddy Power" + tail;
    QTest::newRow("separator text stays text")
        << gb << entryWith("A|=@=|B", "Coral") << "07/12/2026 09:15:30,A|=@=|B,Coral" + tail;
    QTest::newRow("de decimal comma kept as point")
        << de << entryWith("Race", "Coral", germanFigures) << "07/12/2026 09:15:30,Race,Coral" + tail;
    QStringList plainPointFigures = germanFigures;
    plainPointFigures[2] = QStringLiteral("6.4"); // the plain-point text that German itself rejects
    plainPointFigures[3] = QStringLiteral("no,number");
    QTest::newRow("de plain-point and non-numbers as typed")
        << de << entryWith("Race", "Coral", plainPointFigures)
        << "07/12/2026 09:15:30,Race,Coral,25,0,6.4,nonumber,26.22,24.97,0,4.75,1230.00,23.78,23.78,95.13";
    QTest::newRow("de event keeps its points") << de << entryWith("Cup 2.5 goals", "bet.com", germanFigures)
                                               << "07/12/2026 09:15:30,Cup 2.5 goals,bet.com" + tail;
}

void TestArchive::line()
{
    QFETCH(QLocale, locale);
    QFETCH(store::ArchiveEntry, entry);
    QFETCH(QString, expected);
    const QString built = store::archiveLine(entry, locale);
    QCOMPARE(built, expected);
    QCOMPARE(built.count(QLatin1Char(',')), 14);
}

void TestArchive::archiveAfterCalculation_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QByteArray>("record");

    const QLocale gb(QLocale::English, QLocale::UnitedKingdom);
    QTest::newRow("worked example") << gb << QStringList {"25", "0", "2", "2.05", "0", "4.75"} << exampleRecord;
    QTest::newRow("grouped figures") << gb << QStringList {"200", "50", "6.4", "6.2", "0", "4.75"}
                                     << QByteArray("07/12/2026 09:15:30,Liverpool v Man U Correct Score 2-1,"
                                                   "Select Bookie...,200,50,6.4,6.2,1039.58,199.92,0,4.75,"
                                                   "1230.00,190.42,190.42,95.21\r\n");
    QTest::newRow("de_DE") << QLocale(QLocale::German, QLocale::Germany)
                           << QStringList {"200", "50", "6,4", "6,2", "0", "4,75"}
                           << QByteArray(
                                  "07.12.26 09:15:30,Liverpool v Man U Correct Score 2-1,"
                                  "Select Bookie...,200,50,6.4,6.2,1039.58,199.92,0,4.75,"
                                  "1230.00,190.42,190.42,95.21\r\n"); // Locales with digits of their own: the figures
                                                                      // the window shows in them are archived in ASCII.
    for (const QLocale &locale : {QLocale(QLocale::Arabic, QLocale::Egypt), QLocale(QLocale::Persian, QLocale::Iran),
             QLocale(QLocale::Bangla, QLocale::Bangladesh)}) {
        QTest::newRow(qPrintable(locale.name() + QLatin1String(" own digits")))
            << locale << QStringList {"200", "50", "6.4", "6.2", "0", "4.75"}
            << store::textForFile(store::archiveDateTime(clickTime, locale)
                   + ",Liverpool v Man U Correct Score 2-1,Select Bookie...,200,50,6.4,6.2,1039.58,199.92,0,4.75,"
                     "1230.00,190.42,190.42,95.21\r\n");
    }
}

void TestArchive::archiveAfterCalculation()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, inputs);
    QFETCH(QByteArray, record);
    QLocale::setDefault(locale);
    m_ui->typeInputs(inputs);
    m_ui->press(QStringLiteral("Command1"));
    m_ui->press(QStringLiteral("cmdArchive"));
    QCOMPARE(m_ui->messages, QStringList());
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLog.txt")), record);
}

void TestArchive::archiveBeforeCalculation()
{
    MainWindowFixture::typeInto(m_ui->bookies()->lineEdit(), QStringLiteral("Sky, Bet"));
    m_ui->press(QStringLiteral("cmdArchive"));
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLog.txt")),
        QByteArray("07/12/2026 09:15:30,Liverpool v Man U Correct Score 2-1,Sky Bet,"
                   "200,50,6.4,6.2,,,0,4.75,,,,\r\n"));
}

void TestArchive::commaInEventRefused()
{
    QDir(m_ui->folder()).removeRecursively();
    MainWindowFixture::typeInto(m_ui->field(QStringLiteral("txtEvent")), QStringLiteral("Chelsea v Spurs,"));
    m_ui->press(QStringLiteral("cmdArchive"));
    QCOMPARE(m_ui->messages, QStringList {"Commas not allowed in event string."});
    QVERIFY(!QFileInfo::exists(m_ui->folder()));
}

void TestArchive::twoClicksAppendTwoRecords()
{
    m_ui->typeInputs({"25", "0", "2", "2.05", "0", "4.75"});
    m_ui->press(QStringLiteral("Command1"));
    m_ui->press(QStringLiteral("cmdArchive"));
    m_ui->window->setClock([] { return clickTime.addSecs(5); });
    m_ui->press(QStringLiteral("cmdArchive"));
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLog.txt")),
        exampleRecord + QByteArray(exampleRecord).replace("09:15:30", "09:15:35"));
}

void TestArchive::recordStartsOnItsOwnLine_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("separator");
    QTest::newRow("after a record cut by a crash") << QByteArray("06/12/2026,cut sh") << QByteArray("\r\n");
    QTest::newRow("after a whole record") << QByteArray("06/12/2026,whole\r\n") << QByteArray();
    QTest::newRow("after a record with LF alone") << QByteArray("06/12/2026,whole\n") << QByteArray();
    QTest::newRow("into an empty archive") << QByteArray() << QByteArray();
}

void TestArchive::recordStartsOnItsOwnLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, separator);
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), before);
    m_ui->typeInputs({"25", "0", "2", "2.05", "0", "4.75"});
    m_ui->press(QStringLiteral("Command1"));
    m_ui->press(QStringLiteral("cmdArchive"));
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLog.txt")), before + separator + exampleRecord);
}

void TestArchive::deletedFolderIsRecreated()
{
    m_ui->typeInputs({"25", "0", "2", "2.05", "0", "4.75"});
    m_ui->press(QStringLiteral("Command1"));
    QVERIFY(QDir(m_ui->folder()).removeRecursively());
    m_ui->press(QStringLiteral("cmdArchive"));
    QCOMPARE(m_ui->messages, QStringList());
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLog.txt")), exampleRecord);
}

void TestArchive::failedAppend_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::newRow("directory in the archive's place") << "directory";
    QTest::newRow("link to a device") << "/dev/full";
    QTest::newRow("named pipe in the archive's place") << "pipe";
    QTest::newRow("plain file in the folder's place") << "folder";
}

void TestArchive::failedAppend()
{
    QFETCH(QString, blocker);
    const QString archive = m_ui->path(QStringLiteral("vantrelLog.txt"));
    const QString fieldsBefore = m_ui->field(QStringLiteral("txtEvent"))->text();
    if (blocker == QLatin1String("directory")) {
        QVERIFY(QDir().mkpath(archive));
    } else if (blocker == QLatin1String("folder")) {
        QVERIFY(QDir(m_ui->folder()).removeRecursively());
        QFile file(m_ui->folder());
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (blocker == QLatin1String("pipe")) {
        if (!makePipe(archive))
            QSKIP("no named pipes on this system");
    } else {
        if (!QFileInfo::exists(blocker))
            QSKIP("no /dev/full on this system");
        QVERIFY(QFile::link(blocker, archive));
    }
    m_ui->press(QStringLiteral("cmdArchive"));
    m_ui->verifyOneErrorMessage();
    QCOMPARE(m_ui->field(QStringLiteral("txtEvent"))->text(), fieldsBefore);
    QCOMPARE(m_ui->field(QStringLiteral("txtStatus"))->text(), QStringLiteral("Text1"));
}

QTEST_MAIN(TestArchive)
#include "tst_archive.moc"
