// File faults that permission bits cannot make for root: a full disk (a child process with a
// small file-size limit) and a process killed in the middle of its writes.
#include <csignal>
#include <sys/resource.h>

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include "filebytes.h"

class TestFaults : public TemporaryFolderTest
{
    Q_OBJECT

private slots:
    void settingsOnFullDiskKeepOldFile();
    void settingsSurviveKill();
    void archiveOnFullDiskKeepsRecords();
    void offersOnFullDiskKeepRecords();
    void fullDiskWithAnotherWriterKeepsItsLines();
    void ledgerOnFullDiskKeepsItsLines();
    void defaultsOnFullDiskAreRetried();
    void firstStartOnFullDiskIsRetried();
    void simultaneousFirstStarts();

private:
    // Runs the helper with its file size limited to fileSizeLimit bytes (0: no limit).
    int runHelper(const QStringList &args, qint64 fileSizeLimit = 0, QString *error = nullptr) const;
    QString dataFolder() const { return m_dir->filePath(QStringLiteral("vantrel")); }
};

int TestFaults::runHelper(const QStringList &args, qint64 fileSizeLimit, QString *error) const
{
    QProcess helper;
    helper.setChildProcessModifier([fileSizeLimit] {
        if (fileSizeLimit > 0) {
            const rlimit limit {rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
            std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails instead of killing
        }
    });
    helper.start(QStringLiteral(FAULT_HELPER), args);
    helper.waitForFinished();
    if (error)
        *error = QString::fromLocal8Bit(helper.readAllStandardError());
    return helper.exitStatus() == QProcess::NormalExit ? helper.exitCode() : -1;
}

void TestFaults::settingsOnFullDiskKeepOldFile()
{
    const QString path = m_dir->filePath(QStringLiteral("vantrel.ini"));
    const QByteArray old = "[Default]\r\nStake=200\r\nLayComm=4.75\r\n";
    writeFileBytes(path, old);
    QString error;
    QCOMPARE(runHelper({"settings", path, QString(5000, QLatin1Char('9')), "1", "1"}, 4096, &error), 3);
    QVERIFY2(!error.isEmpty(), "the failure carries the system's description");
    QCOMPARE(fileBytes(path), old);
}

void TestFaults::settingsSurviveKill()
{
    const QString path = m_dir->filePath(QStringLiteral("vantrel.ini"));
    const QString a(3000, QLatin1Char('a'));
    const QString b(3000, QLatin1Char('b'));
    const QByteArray withA = "[Default]\r\nStake=" + a.toLatin1() + "\r\n";
    const QByteArray withB = "[Default]\r\nStake=" + b.toLatin1() + "\r\n";
    writeFileBytes(path, withA);
    for (int round = 0; round < 100; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(FAULT_HELPER), {"settings", path, a, b, "0"});
        QVERIFY(writer.waitForStarted());
        QTest::qSleep(int(QRandomGenerator::global()->bounded(2, 25)));
        writer.kill();
        QVERIFY(writer.waitForFinished());
        const QByteArray now = fileBytes(path);
        QVERIFY2(
            now == withA || now == withB, qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(now.size())));
    }
}

void TestFaults::archiveOnFullDiskKeepsRecords()
{
    const QString folder = m_dir->path();
    const QByteArray records = "first record,1\r\nsecond record,2\r\n";
    writeFileBytes(m_dir->filePath(QStringLiteral("vantrelLog.txt")), records);
    QString error;
    // Room for part of the new record only: the part must not stay behind.
    QCOMPARE(
        runHelper({"archive", folder, "third record," + QString(200, QLatin1Char('3'))}, records.size() + 20, &error),
        3);
    // The system's description, not "Unknown error" for the part that the disk did take.
    QCOMPARE(error, qt_error_string(EFBIG));
    QCOMPARE(fileBytes(m_dir->filePath(QStringLiteral("vantrelLog.txt"))), records);
}

void TestFaults::offersOnFullDiskKeepRecords()
{
    const QString path = m_dir->filePath(QStringLiteral("vantrelOffers.csv"));
    QCOMPARE(runHelper({"offer", m_dir->path(), "Arsenal v Chelsea"}), 0);
    const QByteArray before = fileBytes(path);
    QVERIFY(before.startsWith("Version,Date,Kind,") && before.count("\r\n") == 2);
    QString error;
    QCOMPARE(runHelper({"offer", m_dir->path(), QString(300, QLatin1Char('x'))}, before.size() + 20, &error), 3);
    QCOMPARE(error, qt_error_string(EFBIG));
    QCOMPARE(fileBytes(path), before);
}

void TestFaults::fullDiskWithAnotherWriterKeepsItsLines()
{
    // One writer's every append fails on a full disk while another appends: undoing the failed
    // writes must never cut the other's lines or leave NUL bytes.
    const QString path = m_dir->filePath(QStringLiteral("vantrelOffers.csv"));
    QCOMPARE(runHelper({"offer", m_dir->path(), "first"}), 0);
    QProcess full;
    full.setChildProcessModifier([limit = fileBytes(path).size()] {
        const rlimit size {rlim_t(limit), rlim_t(limit)};
        setrlimit(RLIMIT_FSIZE, &size);
        std::signal(SIGXFSZ, SIG_IGN);
    });
    QProcess other;
    full.start(QStringLiteral(FAULT_HELPER), {"offer", m_dir->path(), "refused", "300"});
    other.start(QStringLiteral(FAULT_HELPER), {"offer", m_dir->path(), "saved", "300"});
    QVERIFY(full.waitForFinished() && other.waitForFinished());
    QCOMPARE(full.exitCode(), 3);
    QCOMPARE(other.exitCode(), 0);

    const QByteArray after = fileBytes(path);
    QVERIFY(!after.contains('\0'));
    const QList<QByteArray> saved = other.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(saved.size(), 300);
    for (const QByteArray &event : saved)
        QVERIFY2(after.count(",refund," + event + ",Coral,") == 1, event.constData());
    QCOMPARE(after.count("\r\n"), 2 + 300);
}

void TestFaults::ledgerOnFullDiskKeepsItsLines()
{
    const QString path = m_dir->filePath(QStringLiteral("vantrelLedger.csv"));
    QCOMPARE(runHelper({"ledger", m_dir->path(), "first"}), 0);
    const QByteArray before = fileBytes(path);
    QVERIFY(before.startsWith("Version,Date,Action,") && before.count("\r\n") == 2);
    QString error;
    QCOMPARE(runHelper({"ledger", m_dir->path(), QString(300, QLatin1Char('x'))}, before.size() + 20, &error), 3);
    QCOMPARE(error, qt_error_string(EFBIG));
    QCOMPARE(fileBytes(path), before);
}

void TestFaults::defaultsOnFullDiskAreRetried()
{
    const QString folder = dataFolder();
    // Room for the settings (94 bytes) but not the list: each file is handled on its own.
    QCOMPARE(runHelper({"defaults", folder}, 100), 3);
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/bookieList.txt")));
    QCOMPARE(fileBytes(folder + QStringLiteral("/vantrel.ini")), firstRunSettings);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList {"vantrel.ini"}); // no draft left

    QCOMPARE(runHelper({"defaults", folder}), 0);
    QVERIFY(fileBytes(folder + QStringLiteral("/bookieList.txt")).endsWith("UKBetting\r\n"));
    QVERIFY(fileBytes(folder + QStringLiteral("/vantrel.ini")).endsWith("LayComm=4.75\r\n\r\n"));
}

void TestFaults::firstStartOnFullDiskIsRetried()
{
    // No room even for the settings: the start must not leave an empty settings file behind,
    // which every later start would keep as the user's.
    QCOMPARE(runHelper({"start", dataFolder()}, 50), 3);
    QVERIFY(!QFileInfo::exists(dataFolder() + QStringLiteral("/vantrel.ini")));

    QProcess helper;
    helper.start(QStringLiteral(FAULT_HELPER), {"start", dataFolder()});
    QVERIFY(helper.waitForFinished());
    QCOMPARE(helper.readAllStandardOutput(), QByteArray("200 50 6.4 6.2 0 4.75 25"));
}

void TestFaults::simultaneousFirstStarts()
{
    for (int round = 0; round < 10; ++round) {
        const QString folder = dataFolder() + QString::number(round);
        std::array<QProcess, 4> starts;
        for (QProcess &start : starts)
            start.start(QStringLiteral(FAULT_HELPER), {"start", folder});
        for (QProcess &start : starts) {
            QVERIFY(start.waitForFinished());
            QCOMPARE(start.readAllStandardOutput(), QByteArray("200 50 6.4 6.2 0 4.75 25"));
        }
        QCOMPARE(fileBytes(folder + QStringLiteral("/vantrel.ini")), firstRunSettings);
        QCOMPARE(fileBytes(folder + QStringLiteral("/bookieList.txt")).count("\r\n"), 25);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
    }
}

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
