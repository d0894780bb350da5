// Reads the archive into records and follows it: the first read on a thread of its own, in pieces,
// so the first rows show at once; then a look every half second that reads what was appended, and
// reads the archive afresh when it was cut short, rewritten or replaced. No widgets: the window
// shows what this reports.
#pragma once

#include <atomic>

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include "history/betrecords.h"
#include "store/files.h"

namespace history {

// What the reads so far have found besides the records.
struct ReadReport
{
    qint64 lines = 0;
    qint64 unreadCount = 0; // lines that are no records
    QStringList unreadSamples; // the first few of them
    QString failure; // why the last read failed; empty once a read works
};

class ArchiveFollower final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ArchiveFollower)

public:
    explicit ArchiveFollower(const QString &archivePath, QObject *parent = nullptr);
    ~ArchiveFollower() override;

    // Reads the archive from its start, then follows it.
    void start();
    // Looks at the archive now, as the half-second look does.
    void follow();

    const QString &path() const { return m_path; }
    const BetRecords &records() const { return m_records; }
    const ReadReport &report() const { return m_report; }
    // True while the archive is being read from its start.
    bool isLoading() const { return m_loading; }

signals:
    void cleared(); // the records are gone; the archive is read afresh
    void added(qsizetype first); // records from the index on are new
    void progress(int permille); // of a read from the start
    void loaded(); // a read from the start has ended
    void reportChanged();

private:
    void readFrom(qint64 from);
    void readAfresh();
    void take(ArchiveBatch &&batch);
    void readEnded(const QString &failure);
    bool tailUnchanged() const;

    QString m_path;
    BetRecords m_records;
    ReadReport m_report;
    store::ArchiveDates m_dates; // used by one read at a time
    // One reading thread that stays, so reads reuse its memory rather than each take a new arena.
    QThreadPool m_reader;
    bool m_reading = false;
    std::atomic<bool> m_stop = false;
    bool m_loading = false;
    qint64 m_readTo = 0; // the byte after the last complete line read
    QByteArray m_tail; // the last bytes read, which an append leaves as they are
    store::files::FileStamp m_stamp; // of the archive when the last read began
    QTimer m_look;
};

} // namespace history
