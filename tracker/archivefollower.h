// Reads the archive, the offers file and the ledger and follows them: the first read on threads of
// its own (the records on one, the ledger beside them on another), in pieces, so the first rows
// show at once; then a look every half second that reads what was appended, and reads all three
// afresh when one was cut short, rewritten or replaced. A file that could not be read is read again
// once it has changed. The ledger's decisions are matched to the records they name off the
// window's thread too. No widgets: the window shows what this reports.
#pragma once

#include <array>
#include <atomic>
#include <vector>

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include "store/files.h"
#include "tracker/betrecords.h"
#include "tracker/ledgerbook.h"

namespace history {

// What the reads so far have found besides the records.
struct ReadReport
{
    UnreadLines unread;
    QString failure; // which file the last read failed on, and why; empty once a read works
};

class ArchiveFollower final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ArchiveFollower)

public:
    // dataFolder holds the archive, the offers file and the ledger.
    explicit ArchiveFollower(const QString &dataFolder, QObject *parent = nullptr);
    ~ArchiveFollower() override;

    // Reads the files from their start, then follows them.
    void start();
    // Looks at the files now, as the half-second look does.
    void follow();

    const QString &archivePath() const { return m_files[archiveFile].path; }
    const QString &offersPath() const { return m_files[offersFile].path; }
    const QString &ledgerPath() const { return m_files[ledgerFile].path; }
    bool offersFileExists() const { return m_files[offersFile].stamp.exists; }
    bool ledgerExists() const { return m_files[ledgerFile].stamp.exists; }
    const BetRecords &records() const { return m_records; }
    const LedgerBook &ledger() const { return m_ledger; }
    LedgerBook &ledger() { return m_ledger; }
    const ReadReport &report() const { return m_report; }
    // True while the files are being read from their start.
    bool isLoading() const { return m_loading; }
    // True while the files are read, before the ledger's decisions are matched to the records.
    bool isReading() const { return m_reading; }

signals:
    void cleared(); // the records are gone; the files are read afresh
    void added(qsizetype first); // records from the index on are new
    void settlementsChanged(); // the ledger's decisions about records or accounts changed
    void progress(int permille); // of a read from the start
    void loaded(); // a read from the start has ended, its decisions matched
    void reportChanged();

private:
    static constexpr std::size_t archiveFile = 0;
    static constexpr std::size_t offersFile = 1;
    static constexpr std::size_t ledgerFile = 2;

    struct FollowedFile
    {
        QString path;
        qint64 readTo = 0; // the byte after the last complete line read
        qint64 lines = 0;
        QByteArray tail; // the last bytes read, which an append leaves as they are
        std::vector<std::pair<qint64, QByteArray>> samples; // bytes read at a few places from the start, likewise
        quint64 digest = 0; // of every byte read, while digestWhole
        bool digestWhole = true; // false once a line too long to keep was passed over
        store::files::FileStamp stamp; // when the last read began
    };
    using Files = std::array<FollowedFile, 3>;
    // Where each file's read starts: the byte and the line.
    using ReadStarts = std::array<std::pair<qint64, qint64>, 3>;

    static FollowedFile followed(const QString &path);
    bool appendedOnly(const FollowedFile &file, const store::files::FileStamp &now) const;
    static void keepSample(FollowedFile &file, qint64 at, const QByteArray &bytes);
    void readOn();
    void readAfresh();
    // Reads one file from where the last read ended; false when it failed.
    bool readFile(std::size_t file, std::pair<qint64, qint64> start, std::atomic<qint64> &done, qint64 size,
        QStringList &failures);
    void took(std::size_t file, qint64 end, qint64 linesRead, const QByteArray &bytes);
    void take(std::size_t file, ArchiveBatch &&batch);
    void takeLedger(LedgerBatch &&batch);
    // Gives a batch read to the window's thread, its offers' figures worked out again first.
    void handOver(std::size_t file, ArchiveBatch &&batch);
    void matchLedger();
    // Decisions wait to be matched, or bets not found may be among records that came since.
    bool matchDue() const;
    // One of the two reads (the records', the ledger's) has ended.
    void readEnded(std::size_t part, const QStringList &failures);

    Files m_files;
    BetRecords m_records;
    LedgerBook m_ledger;
    ReadReport m_report;
    store::ArchiveDates m_dates; // used by one read at a time
    BookmakerNumbers m_bookmakers; // likewise
    DecisionsRead m_decisionsRead; // used by the ledger's read alone
    // Two reading threads that stay, so reads reuse their memory rather than each take a new arena:
    // the records are read on one while the ledger is read on the other.
    QThreadPool m_reader;
    // One thread more, that works the offers' figures out again in the order they were read while
    // the next are read.
    QThreadPool m_offerFigures;
    bool m_reading = false;
    int m_readsRunning = 0;
    std::array<QStringList, 2> m_readFailures; // the records', the ledger's
    bool m_matching = false;
    bool m_matchAgain = false;
    qsizetype m_matchedRecords = 0; // the records the latest match looked at
    int m_generation = 0; // a match begun before the files were read afresh is out of date
    std::atomic<bool> m_stop = false;
    bool m_loading = false;
    QTimer m_look;
};

} // namespace history
