// The lines of the files that are no records or ledger entries: how many, and the first few as the
// status line names them.
#pragma once

#include <QByteArrayView>
#include <QStringList>

namespace history {

struct UnreadLines
{
    static constexpr int keptSamples = 10;

    qint64 count = 0;
    QStringList samples; // "line 2: ...", "ledger line 7: (a later version) ..."

    // Counts a line; while there are few, keeps "<where>line <number>: <note><the start of its
    // text>", the text decoded as its file is.
    void add(const QString &where, qint64 number, QByteArrayView line, QString (*decode)(QByteArrayView),
        const QString &note = {});
    // Counts the lines of a later read after these.
    void add(const UnreadLines &later);
};

} // namespace history
