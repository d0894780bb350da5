// Reading and writing a file's exact bytes, as the file tests compare them, and the temporary
// folder that each file test works in.
#pragma once

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Sets the file's last change an hour back, so that a change made now gets a time of its own on any
// file system, however coarse its clock.
inline void ageFile(const QString &path)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::ReadWrite), qPrintable(path));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
}

// Makes a named pipe at the path: a file that a reader waits on for ever. False where the system has none.
inline bool makePipe(const QString &path)
{
#ifdef Q_OS_UNIX
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
#else
    Q_UNUSED(path);
    return false;
#endif
}

// The settings file that the first start writes.
inline const QByteArray firstRunSettings = "[Default]\r\nStake=200\r\nStakeForfeit=50\r\nBackOdds=6.4\r\n"
                                           "LayOdds=6.2\r\nBackComm=0\r\nLayComm=4.75\r\n\r\n";

// A fresh temporary folder for each test function.
class TemporaryFolderTest : public QObject
{
    Q_OBJECT

protected:
    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init();
};
