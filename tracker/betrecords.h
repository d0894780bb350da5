// The records as the history holds them: the bytes of each line, kept in the chunks they were read
// in, and per record its row (recordrow.h). Records are only
// ever added, into pages that never move, so a RecordsView taken on the user-interface thread can
// be read on another thread while more records arrive.
#pragma once

#include <limits>
#include <memory>
#include <vector>

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include "tracker/recordrow.h"
#include "tracker/unreadlines.h"

namespace history {

// What one read of the archive brought: the records of its complete lines, and the count of lines
// that are no records with the first few of them quoted. Built off the user-interface thread.
struct ArchiveBatch
{

    QByteArray bytes;
    std::vector<BetRecord> records; // chunk left 0; set when added
    QStringList bookmakers; // names as shown, in order of first appearance in this batch
    UnreadLines unread;
    qint64 end = 0;
    qint64 linesRead = 0;
};

// Reads the archive or the offers file from a byte on into a batch; firstLine is the number of the
// first line read; its offers have only their dates and kinds until fillOffers. Throws
// store::FileError.
ArchiveBatch readBatch(RecordSource source, const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes,
    store::ArchiveDates &dates);

// Fills in the batch's offers (fillOffer in recordrow.h): the larger part of reading an
// offers file, done apart so that it can run beside the reading of the next batch.
void fillOffers(ArchiveBatch &batch);

// Numbers bookmakers as a whole history does, the first seen first. Kept by the thread that reads,
// so that adding a batch of a hundred thousand new names costs the window nothing.
class BookmakerNumbers
{
public:
    // Turns the batch's bookmaker numbers into the history's; its list keeps only the names new to
    // the history, in the order of their numbers.
    void number(ArchiveBatch &batch);

private:
    QHash<QString, int> m_numbers;
};

// The bookmaker as the history shows it: the bookmaker box's prompt, or nothing, is no bookmaker.
QString shownBookmaker(const QString &archived);

// The first records of a history, up to a count; cheap to copy, and safe to read on any thread.
class RecordsView
{
public:
    qsizetype size() const { return m_count; }
    const BetRecord &at(qsizetype index) const
    {
        // data(), not operator[]: the page's size may be growing on another thread.
        return m_pages[std::size_t(index / pageSize)]->data()[index % pageSize];
    }
    QByteArrayView line(qsizetype index) const;
    QString field(qsizetype index, store::ArchiveField field) const;
    QByteArrayView fieldBytes(qsizetype index, store::ArchiveField field) const;
    // The kind's name; an offer of a kind unknown here by its own token.
    QString kindText(qsizetype index) const;
    const QStringList &bookmakers() const { return m_bookmakers; }

protected:
    static constexpr qsizetype pageSize = 16384;
    using Page = std::vector<BetRecord>; // its capacity reserved once: it never moves

    std::vector<std::shared_ptr<Page>> m_pages;
    std::vector<QByteArray> m_chunks;
    QStringList m_bookmakers;
    qsizetype m_count = 0;
};

class BetRecords : public RecordsView
{
public:
    // Adds the batch's records after those already held; BookmakerNumbers numbered it.
    void add(ArchiveBatch &&batch);
    RecordsView view() const { return *this; }
};

} // namespace history
