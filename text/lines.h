// The lines of a file's text. Every file of ours ends a line the same way: at LF, at CR LF, or at a
// CR alone as old Mac files do.
#pragma once

#include <QByteArray>
#include <QList>

namespace text {

bool isLineEnd(char c);
// Where the line that starts at the position ends: at its CR or LF, or at the end of the bytes.
qsizetype lineEndFrom(QByteArrayView bytes, qsizetype from);
// Where the next line starts after the line end at the position: a CR LF pair is one line end.
qsizetype afterLineEnd(QByteArrayView bytes, qsizetype end);

// The lines one after another, without their ends. A line end at the very end starts no line.
class Lines
{
public:
    explicit Lines(QByteArrayView bytes)
        : m_bytes(bytes)
    { }
    // False after the last line.
    bool next(QByteArrayView &line);

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// The lines as Lines reads them, as views into the bytes.
QList<QByteArrayView> lineViews(QByteArrayView bytes);

// The text cut at each line end: a text that ends with a line end ends with an empty piece, so that
// the pieces joined by one kind of line end give the text back with its line ends made alike.
QList<QByteArray> splitLines(const QByteArray &text);

// How many bytes at the start of a read are complete lines. A CR as the last byte read ends a line
// only in a file of CR line ends: where neither the read nor the line end before it holds an LF.
// Elsewhere its LF may be on its way.
qsizetype completeLinesLength(QByteArrayView bytes, bool lineFeedBefore);

} // namespace text
