// The settings file: reading and writing single keys, compared byte for byte.
#include <QTemporaryDir>
#include <QTest>

#include "filebytes.h"
#include "store/fileerror.h"
#include "store/iniread.h"
#include "store/iniwrite.h"

class TestSettingsFile : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void readMissingFileCreatesIt();
    void write_data();
    void write();
    void writeMissingFile();
    void writeLongFile();
    void writeIntoDirectoryFails();
    void batchEqualsSingleWrites_data();
    void batchEqualsSingleWrites();
    void writtenValueReadsBack_data();
    void writtenValueReadsBack();

private:
    QString path() const { return m_dir->filePath(QStringLiteral("vantrel.ini")); }
    void writeBytes(const QByteArray &bytes) const { writeFileBytes(path(), bytes); }
    QByteArray readBytes() const { return fileBytes(path()); }
};

void TestSettingsFile::read_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first-run file") << firstRunSettings << "LayComm"
                                    << "4.75";
    QTest::newRow("longer key first") << QByteArray("[Default]\r\nStakeForfeit=50\r\nStake=200\r\n") << "Stake"
                                      << "200";
    QTest::newRow("capitals") << QByteArray("[DEFAULT]\r\nSTAKE=7\r\n") << "Stake"
                              << "7";
    QTest::newRow("blanks in value kept") << QByteArray("[Default]\r\nStake=  9 \r\n") << "Stake"
                                          << "  9 ";
    QTest::newRow("further = kept") << QByteArray("[Default]\r\nStake=a=b\r\n") << "Stake"
                                    << "a=b";
    QTest::newRow("blank before =") << QByteArray("[Default]\r\nStake = 200\r\n") << "Stake"
                                    << "";
    QTest::newRow("key before first header") << QByteArray("Stake=1\r\n[Default]\r\nStake=2\r\n") << "Stake"
                                             << "2";
    QTest::newRow("key only before header") << QByteArray("Stake=1\r\n[Default]\r\n") << "Stake"
                                            << "";
    QTest::newRow("blank after ]") << QByteArray("[Default] \r\nStake=200\r\n") << "Stake"
                                   << "";
    QTest::newRow("[ in value ends section") << QByteArray("[Default]\r\nStake=[1\r\nLayOdds=2\r\n") << "LayOdds"
                                             << "";
    QTest::newRow("value with [ not read") << QByteArray("[Default]\r\nStake=[1\r\n") << "Stake"
                                           << "";
    QTest::newRow("other section") << QByteArray("[Other]\r\nStake=1\r\n[Default]\r\nLayOdds=2\r\n") << "Stake"
                                   << "";
    QTest::newRow("first occurrence wins") << QByteArray("[Default]\r\nStake=1\r\nStake=2\r\n") << "Stake"
                                           << "1";
    QTest::newRow("repeated header") << QByteArray("[Default]\r\nA=1\r\n[X]\r\nStake=9\r\n[Default]\r\nStake=3\r\n")
                                     << "Stake"
                                     << "3";
    QTest::newRow("LF line ends") << QByteArray("[Default]\nStake=5\nLayOdds=2\n") << "Stake"
                                  << "5";
    QTest::newRow("last line without end") << QByteArray("[Default]\r\nStake=5") << "Stake"
                                           << "5";
    QTest::newRow("empty file") << QByteArray() << "Stake"
                                << "";
}

void TestSettingsFile::read()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    writeBytes(file);
    QCOMPARE(ReadIniValue(path(), QStringLiteral("Default"), key), expected);
    QCOMPARE(readBytes(), file);
}

void TestSettingsFile::readMissingFileCreatesIt()
{
    QCOMPARE(ReadIniValue(path(), QStringLiteral("Default"), QStringLiteral("Stake")), QString());
    QCOMPARE(readBytes(), QByteArray());
}

void TestSettingsFile::write_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("empty file") << QByteArray() << "Stake"
                                << "200" << QByteArray("[Default]\r\nStake=200\r\n");
    // Bytes that are no UTF-8, from a Windows editor: every byte outside the key line stays.
    QTest::newRow("Windows-1252 bytes kept")
        << QByteArray("[Caf\xe9]\r\nX=\xa3\x80\r\n\r\n[Default]\r\nStake=\xff\r\nNote=\xe9\r\n") << "Stake"
        << "25" << QByteArray("[Caf\xe9]\r\nX=\xa3\x80\r\n\r\n[Default]\r\nStake=25\r\nNote=\xe9\r\n");
    QTest::newRow("first-run file") << firstRunSettings << "Stake"
                                    << "25"
                                    << QByteArray("[Default]\r\nStake=25\r\nStakeForfeit=50\r\nBackOdds=6.4\r\n"
                                                  "LayOdds=6.2\r\nBackComm=0\r\nLayComm=4.75\r\n");
    QTest::newRow("last key of first-run file") << firstRunSettings << "LayComm"
                                                << "5"
                                                << QByteArray("[Default]\r\nStake=200\r\nStakeForfeit=50\r\n"
                                                              "BackOdds=6.4\r\nLayOdds=6.2\r\nBackComm=0\r\n"
                                                              "LayComm=5\r\n");
    QTest::newRow("new key under header") << QByteArray("[Default]\r\nA=1\r\n") << "Stake"
                                          << "9" << QByteArray("[Default]\r\nStake=9\r\nA=1\r\n");
    QTest::newRow("header in other case kept") << QByteArray("[DEFAULT]\r\nSTAKE=1\r\n") << "Stake"
                                               << "2" << QByteArray("[DEFAULT]\r\nStake=2\r\n");
    QTest::newRow("other section's key untouched")
        << QByteArray("[Other]\r\nStake=1\r\n\r\n[Default]\r\nLayOdds=2\r\n") << "Stake"
        << "3" << QByteArray("[Other]\r\nStake=1\r\n\r\n[Default]\r\nStake=3\r\nLayOdds=2\r\n");
    QTest::newRow("key in later section not taken")
        << QByteArray("[Default]\r\nA=1\r\n[Other]\r\nStake=1\r\n") << "Stake"
        << "3" << QByteArray("[Default]\r\nStake=3\r\nA=1\r\n[Other]\r\nStake=1\r\n");
    QTest::newRow("blank after ] adds section")
        << QByteArray("[Default] \r\nStake=1\r\n") << "Stake"
        << "2" << QByteArray("[Default] \r\nStake=1\r\n\r\n[Default]\r\nStake=2\r\n");
    QTest::newRow("missing section after one empty line")
        << QByteArray("[Other]\r\nA=1\r\n\r\n\r\n") << "Stake"
        << "2" << QByteArray("[Other]\r\nA=1\r\n\r\n[Default]\r\nStake=2\r\n");
    QTest::newRow("leading and tripled empty lines")
        << QByteArray("\r\n\r\n[Default]\r\nA=1\r\n\r\n\r\n\r\nB=2\r\n") << "A"
        << "5" << QByteArray("[Default]\r\nA=5\r\n\r\nB=2\r\n");
    QTest::newRow("long run of empty lines")
        << QByteArray("[Default]\r\nA=1") + QByteArray(40, 0).replace('\0', "\r\n") + "B=2\r\n"
        << "A"
        << "5" << QByteArray("[Default]\r\nA=5\r\n\r\nB=2\r\n");
    QTest::newRow("first occurrence replaced") << QByteArray("[Default]\r\nStake=1\r\nStake=2\r\n") << "Stake"
                                               << "3" << QByteArray("[Default]\r\nStake=3\r\nStake=2\r\n");
    QTest::newRow("value with blanks and =") << QByteArray("[Default]\r\n") << "Stake"
                                             << " a=b " << QByteArray("[Default]\r\nStake= a=b \r\n");
    QTest::newRow("last line without CR") << QByteArray("[Default]\r\nStake=1") << "Stake"
                                          << "2" << QByteArray("[Default]\r\nStake=2\r\n");
    QTest::newRow("LF line ends") << QByteArray("[Default]\nStake=1\nLayOdds=2\n") << "Stake"
                                  << "3" << QByteArray("[Default]\r\nStake=3\r\nLayOdds=2\r\n");
    QTest::newRow("trailing control characters") << QByteArray("[Default]\r\nA=1\t\r\n\r\n") << "B"
                                                 << "2" << QByteArray("[Default]\r\nB=2\r\nA=1\r\n");
}

void TestSettingsFile::write()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);
    writeBytes(before);
    WriteIniValue(path(), QStringLiteral("Default"), key, value);
    QCOMPARE(readBytes(), after);
}

void TestSettingsFile::writeMissingFile()
{
    WriteIniValue(path(), QStringLiteral("Default"), QStringLiteral("Stake"), QStringLiteral("200"));
    QCOMPARE(readBytes(), QByteArray("[Default]\r\nStake=200\r\n"));
}

void TestSettingsFile::writeLongFile()
{
    // Far past the 32,767 positions an old writer could hold.
    QByteArray filler;
    for (int i = 0; i < 5000; ++i)
        filler += "Key" + QByteArray::number(i) + "=value\r\n";
    writeBytes("[Other]\r\n" + filler + "[Default]\r\nStake=1\r\n");
    WriteIniValue(path(), QStringLiteral("Default"), QStringLiteral("Stake"), QStringLiteral("2"));
    QCOMPARE(readBytes(), "[Other]\r\n" + filler + "[Default]\r\nStake=2\r\n");
}

void TestSettingsFile::writeIntoDirectoryFails()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("vantrel.ini")));
    QVERIFY_THROWS_EXCEPTION(store::FileError,
        WriteIniValue(path(), QStringLiteral("Default"), QStringLiteral("Stake"), QStringLiteral("1")));
    QVERIFY(QFileInfo(path()).isDir());
}

void TestSettingsFile::batchEqualsSingleWrites_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("missing section") << QByteArray("[Other]\r\nA=1\r\n");
    QTest::newRow("first-run file") << firstRunSettings;
    QTest::newRow("scrambled") << QByteArray(
        "\r\n\r\nx\r\n[DEFAULT]\r\nlaycomm=1\r\n\r\n\r\n\r\nStake=[\r\nBackOdds=2");
    QTest::newRow("LF only") << QByteArray("[Default]\nStake=1\n[Other]\nLayOdds=2\n");
}

void TestSettingsFile::batchEqualsSingleWrites()
{
    QFETCH(QByteArray, before);
    const QList<std::pair<QString, QString>> values {{"Stake", "25"}, {"StakeForfeit", "0"}, {"BackOdds", "2"},
        {"LayOdds", "2.05"}, {"BackComm", ""}, {"LayComm", " 4.75"}};
    writeBytes(before);
    for (const auto &[key, value] : values)
        WriteIniValue(path(), QStringLiteral("Default"), key, value);
    const QByteArray singly = readBytes();
    writeBytes(before);
    WriteIniValues(path(), QStringLiteral("Default"), values);
    QCOMPARE(readBytes(), singly);
}

void TestSettingsFile::writtenValueReadsBack_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("decimal") << "2.05";
    QTest::newRow("grouped") << "1,000";
    QTest::newRow("blanks") << "  4.750 ";
    QTest::newRow("empty") << "";
    QTest::newRow("non-ASCII") << QStringLiteral("\u00e9t\u00e9");
}

void TestSettingsFile::writtenValueReadsBack()
{
    QFETCH(QString, value);
    writeBytes(firstRunSettings);
    WriteIniValue(path(), QStringLiteral("Default"), QStringLiteral("BackOdds"), value);
    QCOMPARE(ReadIniValue(path(), QStringLiteral("Default"), QStringLiteral("BackOdds")), value);
    QCOMPARE(ReadIniValue(path(), QStringLiteral("Default"), QStringLiteral("LayOdds")), QStringLiteral("6.2"));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
