#include "store/csvfield.h"

namespace store {

QByteArray csvField(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"'))
        return bytes;
    return '"' + bytes.replace("\"", "\"\"") + '"';
}

bool splitCsvLine(QByteArrayView line, std::span<QByteArrayView> fields)
{
    qsizetype at = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const bool last = i + 1 == fields.size();
        qsizetype end = 0;
        if (at < line.size() && line[at] == '"') {
            // A quoted field ends at a quote that is not doubled.
            qsizetype close = at + 1;
            while ((close = line.indexOf('"', close)) >= 0 && close + 1 < line.size() && line[close + 1] == '"')
                close += 2;
            if (close < 0)
                return false;
            fields[i] = line.sliced(at + 1, close - at - 1);
            end = close + 1;
        } else {
            end = line.indexOf(',', at);
            end = end < 0 ? line.size() : end;
            fields[i] = line.sliced(at, end - at);
        }
        if (last ? end != line.size() : (end >= line.size() || line[end] != ','))
            return false;
        at = end + 1;
    }
    return true;
}

QString csvText(QByteArrayView field)
{
    return QString::fromUtf8(field).replace(QLatin1String("\"\""), QLatin1String("\""));
}

namespace {

bool startsAFormula(QStringView text)
{
    return !text.isEmpty() && QStringView(u"=+-@\t\r").contains(text.front());
}

} // namespace

QString inert(const QString &text)
{
    return startsAFormula(text) ? QLatin1Char('\'') + text : text;
}

QString withoutInertMark(const QString &text)
{
    return text.startsWith(QLatin1Char('\'')) && startsAFormula(QStringView(text).sliced(1)) ? text.mid(1) : text;
}

QByteArrayView withoutByteOrderMark(QByteArrayView line)
{
    return line.startsWith("\xEF\xBB\xBF") ? line.sliced(3) : line;
}

} // namespace store
