#include "text/lines.h"

#include <algorithm>

namespace text {

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

qsizetype lineEndFrom(QByteArrayView bytes, qsizetype from)
{
    return std::find_if(bytes.begin() + from, bytes.end(), isLineEnd) - bytes.begin();
}

qsizetype afterLineEnd(QByteArrayView bytes, qsizetype end)
{
    const bool pair = end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n';
    return end + (pair ? 2 : 1);
}

bool Lines::next(QByteArrayView &line)
{
    if (m_at >= m_bytes.size())
        return false;
    const qsizetype end = lineEndFrom(m_bytes, m_at);
    line = m_bytes.sliced(m_at, end - m_at);
    m_at = afterLineEnd(m_bytes, end);
    return true;
}

QList<QByteArrayView> lineViews(QByteArrayView bytes)
{
    QList<QByteArrayView> views;
    Lines lines(bytes);
    for (QByteArrayView line; lines.next(line);)
        views << line;
    return views;
}

QList<QByteArray> splitLines(const QByteArray &text)
{
    QList<QByteArray> pieces;
    for (const QByteArrayView line : lineViews(text))
        pieces << line.toByteArray();
    if (text.isEmpty() || isLineEnd(text.back()))
        pieces << QByteArray();
    return pieces;
}

qsizetype completeLinesLength(QByteArrayView bytes, bool lineFeedBefore)
{
    const qsizetype lastFeed = bytes.lastIndexOf('\n');
    qsizetype lastReturn = bytes.lastIndexOf('\r');
    if (lastReturn >= 0 && lastReturn == bytes.size() - 1 && (lastFeed >= 0 || lineFeedBefore))
        lastReturn = bytes.first(lastReturn).lastIndexOf('\r');
    return std::max(lastFeed, lastReturn) + 1;
}

} // namespace text
