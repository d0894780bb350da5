// Reads the archive and the offers file into records and follows them: the first read on a thread
// of its own, in pieces, so the first rows show at once; then a look every half second that reads
// what was appended, and reads both afresh when either was cut short, rewritten or replaced. A file
// that could not be read is read again once it has changed. No widgets: the window shows what this
// reports.
#pragma once

#include <array>
#include <atomic>
#include <vector>

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include "history/betrecords.h"
#include "store/files.h"

namespace history {

// What the reads so far have found besides the records.
struct ReadReport
{
    qint64 unreadCount = 0; // lines that are no records
    QStringList unreadSamples; // the first few of them
    QString failure; // which file the last read failed on, and why; empty once a read works
};

class ArchiveFollower final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ArchiveFollower)

public:
    // dataFolder holds the archive and the offers file.
    explicit ArchiveFollower(const QString &dataFolder, QObject *parent = nullptr);
    ~ArchiveFollower() override;

    // Reads both files from their start, then follows them.
    void start();
    // Looks at the files now, as the half-second look does.
    void follow();

    const QString &archivePath() const { return m_files[0].path; }
    const QString &offersPath() const { return m_files[1].path; }
    bool offersFileExists() const { return m_files[1].stamp.exists; }
    const BetRecords &records() const { return m_records; }
    const ReadReport &report() const { return m_report; }
    // True while the files are being read from their start.
    bool isLoading() const { return m_loading; }

signals:
    void cleared(); // the records are gone; the files are read afresh
    void added(qsizetype first); // records from the index on are new
    void progress(int permille); // of a read from the start
    void loaded(); // a read from the start has ended
    void reportChanged();

private:
    struct FollowedFile
    {
        QString path;
        RecordSource source = RecordSource::Archive;
        qint64 readTo = 0; // the byte after the last complete line read
        qint64 lines = 0;
        QByteArray tail; // the last bytes read, which an append leaves as they are
        std::vector<std::pair<qint64, QByteArray>> samples; // bytes read at a few places from the start, likewise
        store::files::FileStamp stamp; // when the last read began
    };
    // Where each file's read starts: the byte and the line.
    using ReadStarts = std::array<std::pair<qint64, qint64>, 2>;

    static FollowedFile followed(const QString &path, RecordSource source);
    bool appendedOnly(const FollowedFile &file, const store::files::FileStamp &now) const;
    static void keepSample(FollowedFile &file, qint64 at, const QByteArray &bytes);
    void readOn();
    void readAfresh();
    void take(int file, ArchiveBatch &&batch);
    void readEnded(const QString &failure);

    std::array<FollowedFile, 2> m_files;
    BetRecords m_records;
    ReadReport m_report;
    store::ArchiveDates m_dates; // used by one read at a time
    // One reading thread that stays, so reads reuse its memory rather than each take a new arena.
    QThreadPool m_reader;
    bool m_reading = false;
    std::atomic<bool> m_stop = false;
    bool m_loading = false;
    QTimer m_look;
};

} // namespace history
