#include "tracker/unreadlines.h"

#include <algorithm>

namespace history {

void UnreadLines::add(
    const QString &where, qint64 number, QByteArrayView line, QString (*decode)(QByteArrayView), const QString &note)
{
    ++count;
    if (samples.size() >= keptSamples)
        return;
    constexpr qsizetype shown = 60;
    const QString start = decode(line.first(std::min(line.size(), shown)));
    samples << QStringLiteral("%1line %2: %3%4%5")
                   .arg(where)
                   .arg(number)
                   .arg(note, start, line.size() > shown ? QStringLiteral("...") : QString());
}

void UnreadLines::add(const UnreadLines &later)
{
    count += later.count;
    samples += later.samples.first(std::min(later.samples.size(), keptSamples - samples.size()));
}

} // namespace history
