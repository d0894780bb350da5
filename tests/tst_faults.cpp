// File faults that permission bits cannot make for root: a full disk (a child process with a
// small file-size limit) and a process killed in the middle of its writes.
#include <csignal>
#include <sys/resource.h>

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
    void defaultsOnFullDiskAreRetried();

private:
    // Runs the helper with its file size limited to fileSizeLimit bytes (0: no limit).
    int runHelper(const QStringList &args, qint64 fileSizeLimit = 0, QString *error = nullptr) const;
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
    QVERIFY(!error.isEmpty());
    QCOMPARE(fileBytes(m_dir->filePath(QStringLiteral("vantrelLog.txt"))), records);
}

void TestFaults::defaultsOnFullDiskAreRetried()
{
    const QString folder = m_dir->filePath(QStringLiteral("vantrel"));
    QCOMPARE(runHelper({"defaults", folder}, 100), 3);
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/bookieList.txt")));

    QCOMPARE(runHelper({"defaults", folder}), 0);
    QVERIFY(fileBytes(folder + QStringLiteral("/bookieList.txt")).endsWith("UKBetting\r\n"));
    QVERIFY(fileBytes(folder + QStringLiteral("/vantrel.ini")).endsWith("LayComm=4.75\r\n\r\n"));
}

QTEST_GUILESS_MAIN(TestFaults)
#include "tst_faults.moc"
