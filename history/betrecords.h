// The archive's records as the history holds them: the bytes of each line, kept in the chunks they
// were read in, and per record what the table, the filters and the totals need.
#pragma once

#include <deque>
#include <limits>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "store/archivereader.h"

namespace history {

constexpr qint64 noDate = std::numeric_limits<qint64>::min();

struct BetRecord
{
    int chunk = 0;
    int offset = 0; // of the line in its chunk
    int length = 0;
    int bookmaker = 0; // index into BetRecords::bookmakers()
    qint64 when = noDate; // seconds from the start of the Julian calendar, local time
    double stake = 0; // 0 when the field is no number
    double result = std::numeric_limits<double>::quiet_NaN(); // NaN: the texts are no numbers
    double closeness = std::numeric_limits<double>::quiet_NaN();
    bool stale = true; // the figures are not those that the inputs give
};

// A line that is no record: its number in the archive (from 1) and its start.
struct UnreadLine
{
    qint64 number = 0;
    QString start;
};

// What one read of the archive brought: the records of its complete lines and the lines that are
// no records. Built off the user-interface thread.
struct ArchiveBatch
{
    QByteArray bytes;
    std::vector<BetRecord> records; // chunk left 0; set when added
    QStringList bookmakers; // names, in order of first appearance in this batch
    QList<UnreadLine> unread;
    qint64 end = 0;
    qint64 linesRead = 0;
};

// Reads the archive from a byte on into a batch; firstLine is the number of the first line read.
ArchiveBatch readBatch(const QString &path, qint64 from, qint64 firstLine, qint64 maxBytes, store::ArchiveDates &dates);

class BetRecords
{
public:
    // Adds the batch's records, after those already held.
    void add(ArchiveBatch &&batch);
    qsizetype size() const { return qsizetype(m_records.size()); }
    const BetRecord &at(qsizetype index) const { return m_records[std::size_t(index)]; }
    // The fifteen fields of a record as text.
    QStringList fields(qsizetype index) const;
    QString field(qsizetype index, int field) const;
    const QStringList &bookmakers() const { return m_bookmakers; }

private:
    store::ArchiveFields split(qsizetype index) const;

    std::vector<QByteArray> m_chunks;
    std::deque<BetRecord> m_records; // no copying of all records as they grow
    QStringList m_bookmakers;
    QHash<QString, int> m_bookmakerIndex;
};

} // namespace history
