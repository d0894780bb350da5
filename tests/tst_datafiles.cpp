// The data folder's first-run defaults, the bookmaker list and the file layer beneath them.
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include "filebytes.h"
#include "store/datafiles.h"
#include "store/datafolder.h"
#include "store/fileerror.h"
#include "store/files.h"

class TestDataFiles : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void defaultFolderText();
    void firstStartWritesDefaults();
    void missingFileAloneIsCreated_data();
    void missingFileAloneIsCreated();
    void secondStartChangesNothing();
    void blockedFolderThrows();
    void blockedListDoesNotStopSettings();
    void bookieList_data();
    void bookieList();
    void missingBookieListGivesNoEntries();
    void appendFailureOnFullDiskThrows();

private:
    QString folder() const { return m_dir->filePath(QStringLiteral("vantrel")); }
    QString file(const char *name) const { return folder() + QLatin1Char('/') + QLatin1String(name); }
};

namespace {

const QByteArray defaultList = "BET24\r\nBet365\r\nBetDaq\r\nBetFred\r\nBetInternet\r\nBetOddOrEven\r\nBlueSquare\r\n"
                               "BoyleSports\r\nCanBet\r\nCentreBet\r\nCoral\r\nEastwoods\r\nGamebookers\r\n"
                               "GamingClub\r\nGlobet\r\nLadbrokes\r\nMansion\r\nOmnibet\r\nPaddyPower\r\n"
                               "PremierBet\r\nSkyBet\r\nSportingbet.com\r\nStanJamesUK\r\nTotesport\r\nUKBetting\r\n";

} // namespace

void TestDataFiles::defaultFolderText()
{
    // Only the text: no test touches the real data folder.
#ifdef Q_OS_WIN
    QCOMPARE(store::defaultDataFolder(), QStringLiteral("c:\\vantrel"));
    QCOMPARE(store::archivePath(store::defaultDataFolder()), QStringLiteral("c:\\vantrel\\vantrelLog.txt"));
#else
    QCOMPARE(store::defaultDataFolder(), QDir::homePath() + QStringLiteral("/vantrel"));
    QCOMPARE(
        store::archivePath(store::defaultDataFolder()), QDir::homePath() + QStringLiteral("/vantrel/vantrelLog.txt"));
#endif
}

void TestDataFiles::firstStartWritesDefaults()
{
    store::ensureDataFiles(folder());
    QVERIFY(QFileInfo(folder()).isDir());
    QCOMPARE(fileBytes(file("bookieList.txt")), defaultList);
    QCOMPARE(fileBytes(file("vantrel.ini")), firstRunSettings);
    QCOMPARE(QDir(folder()).count(), 4); // ".", ".." and the two files: no archive yet
}

void TestDataFiles::missingFileAloneIsCreated_data()
{
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("list missing") << "vantrel.ini"
                                  << "bookieList.txt" << defaultList;
    QTest::newRow("settings missing") << "bookieList.txt"
                                      << "vantrel.ini" << firstRunSettings;
}

void TestDataFiles::missingFileAloneIsCreated()
{
    QFETCH(QString, present);
    QFETCH(QString, missing);
    QFETCH(QByteArray, expected);
    QVERIFY(QDir().mkpath(folder()));
    const QString presentPath = folder() + QLatin1Char('/') + present;
    writeFileBytes(presentPath, "edited by the user\r\n");

    store::ensureDataFiles(folder());

    QCOMPARE(fileBytes(presentPath), QByteArray("edited by the user\r\n"));
    QCOMPARE(fileBytes(folder() + QLatin1Char('/') + missing), expected);
}

void TestDataFiles::secondStartChangesNothing()
{
    store::ensureDataFiles(folder());
    writeFileBytes(file("vantrel.ini"), QByteArray()); // an empty file is left as it is
    ageFile(file("bookieList.txt")); // a rewrite now would show in the times
    ageFile(file("vantrel.ini"));
    const QDateTime listTime = QFileInfo(file("bookieList.txt")).lastModified();
    const QDateTime settingsTime = QFileInfo(file("vantrel.ini")).lastModified();

    store::ensureDataFiles(folder());

    QCOMPARE(fileBytes(file("bookieList.txt")), defaultList);
    QCOMPARE(fileBytes(file("vantrel.ini")), QByteArray());
    QCOMPARE(QFileInfo(file("bookieList.txt")).lastModified(), listTime);
    QCOMPARE(QFileInfo(file("vantrel.ini")).lastModified(), settingsTime);
}

void TestDataFiles::blockedFolderThrows()
{
    writeFileBytes(folder(), "a plain file where the folder belongs");
    QVERIFY_THROWS_EXCEPTION(store::FileError, store::ensureDataFiles(folder()));
    QVERIFY_THROWS_EXCEPTION(store::FileError, store::readBookieList(folder()));
    QCOMPARE(fileBytes(folder()), QByteArray("a plain file where the folder belongs"));
}

void TestDataFiles::blockedListDoesNotStopSettings()
{
    QVERIFY(QDir().mkpath(file("bookieList.txt")));
    QVERIFY_THROWS_EXCEPTION(store::FileError, store::ensureDataFiles(folder()));
    QCOMPARE(fileBytes(file("vantrel.ini")), firstRunSettings);
}

void TestDataFiles::bookieList_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty line kept") << QByteArray("Coral\r\n\r\nMansion\r\n") << QStringList {"Coral", "", "Mansion"};
    QTest::newRow("blanks kept") << QByteArray("  Coral \r\n") << QStringList {"  Coral "};
    QTest::newRow("duplicates kept") << QByteArray("Coral\r\nCoral\r\n") << QStringList {"Coral", "Coral"};
    QTest::newRow("no final line end") << QByteArray("Coral\r\nMansion") << QStringList {"Coral", "Mansion"};
    QTest::newRow("LF line ends") << QByteArray("Coral\nMansion\n") << QStringList {"Coral", "Mansion"};
    QTest::newRow("CR line ends, as old Mac files")
        << QByteArray("Coral\rMansion\r") << QStringList {"Coral", "Mansion"};
    QTest::newRow("empty file") << QByteArray() << QStringList();
    QTest::newRow("final empty line") << QByteArray("Coral\r\n\r\n") << QStringList {"Coral", ""};
    QTest::newRow("unsorted") << QByteArray("Zeta\r\nAlpha\r\n") << QStringList {"Zeta", "Alpha"};
    QTest::newRow("Windows-1252 where no UTF-8")
        << QByteArray("Caf\xe9\r\n\x80 bet\r\nCaf\xc3\xa9\r\n")
        << QStringList {"Caf\u00e9", "\u20ac bet",
               QString::fromLocal8Bit("Caf\xc3\xa9")}; // valid UTF-8 where that is the system's
    QTest::newRow("default list") << defaultList
                                  << QString::fromLatin1(defaultList).split(QStringLiteral("\r\n")).mid(0, 25);
}

void TestDataFiles::bookieList()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    QVERIFY(QDir().mkpath(folder()));
    writeFileBytes(this->file("bookieList.txt"), file);
    QCOMPARE(store::readBookieList(folder()), expected);
}

void TestDataFiles::missingBookieListGivesNoEntries()
{
    QCOMPARE(store::readBookieList(folder()), QStringList());
    QVERIFY(QFileInfo(folder()).isDir()); // the folder is made sure of on the way
}

void TestDataFiles::appendFailureOnFullDiskThrows()
{
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        QSKIP("no /dev/full on this system");
    QVERIFY_THROWS_EXCEPTION(store::FileError, store::files::appendLine(QStringLiteral("/dev/full"), "a record"));
}

QTEST_GUILESS_MAIN(TestDataFiles)
#include "tst_datafiles.moc"
