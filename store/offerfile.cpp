#include "store/offerfile.h"

#include <charconv>

#include <QStringList>

#include "store/archivereader.h"
#include "store/csvfield.h"
#include "store/datafolder.h"
#include "store/files.h"

namespace store {

namespace {

// The shortest text that reads back as the same double.
QByteArray exactNumber(double value)
{
    char text[32];
    return QByteArray(text, std::to_chars(text, text + sizeof text, value).ptr - text);
}

QByteArray pairs(const NamedNumbers &numbers)
{
    QByteArrayList texts;
    for (const auto &[key, value] : numbers)
        texts << QByteArray::fromStdString(key) + '=' + exactNumber(value);
    return texts.join(';');
}

QByteArray pairs(const NamedTexts &texts)
{
    QByteArrayList joined;
    for (const auto &[key, text] : texts)
        joined << QByteArray::fromStdString(key) + '=' + text;
    return joined.join(';');
}

} // namespace

QByteArray offerHeader()
{
    return "Version,Date,Kind,Event,Bookmaker,Stake,Lowest profit,Highest profit,Inputs,Figures";
}

QByteArray offerLine(const OfferRecord &record)
{
    return QByteArrayList {QByteArray::number(offerFormatVersion),
        record.when.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1(), QByteArray::fromStdString(record.kind),
        csvField(record.event), csvField(record.bookmaker), exactNumber(record.stake), record.lowest, record.highest,
        pairs(record.inputs), pairs(record.figures)}
        .join(',');
}

void appendOffer(const QString &folder, const OfferRecord &record)
{
    files::makeSureOfFolder(folder);
    files::appendLines(offersPath(folder), {offerLine(record)}, offerHeader());
}

std::optional<OfferFields> splitOfferLine(QByteArrayView line)
{
    OfferFields fields;
    qsizetype at = 0;
    for (int i = 0; i < offerFieldCount; ++i) {
        const bool last = i == offerFieldCount - 1;
        qsizetype end = 0;
        if (at < line.size() && line[at] == '"') {
            // A quoted field ends at a quote that is not doubled.
            qsizetype close = at + 1;
            while ((close = line.indexOf('"', close)) >= 0 && close + 1 < line.size() && line[close + 1] == '"')
                close += 2;
            if (close < 0)
                return std::nullopt;
            fields[std::size_t(i)] = line.sliced(at + 1, close - at - 1);
            end = close + 1;
        } else {
            end = line.indexOf(',', at);
            end = end < 0 ? line.size() : end;
            fields[std::size_t(i)] = line.sliced(at, end - at);
        }
        if (last ? end != line.size() : (end >= line.size() || line[end] != ','))
            return std::nullopt;
        at = end + 1;
    }
    if (fields[std::size_t(OfferField::Version)] != QByteArray::number(offerFormatVersion))
        return std::nullopt;
    return fields;
}

bool isOfferHeader(QByteArrayView line)
{
    // A spreadsheet that saved the file may have put a byte-order mark before it.
    return line.startsWith("Version,") || line.startsWith("\xEF\xBB\xBFVersion,");
}

QString offerText(QByteArrayView field)
{
    return QString::fromUtf8(field).replace(QLatin1String("\"\""), QLatin1String("\""));
}

std::optional<std::vector<std::pair<std::string, double>>> offerNumbers(QByteArrayView field)
{
    std::vector<std::pair<std::string, double>> numbers;
    if (field.isEmpty())
        return numbers;
    for (const QByteArray &pair : field.toByteArray().split(';')) {
        const qsizetype equals = pair.indexOf('=');
        const std::optional<double> value
            = equals > 0 ? archivedNumber(QByteArrayView(pair).sliced(equals + 1)) : std::nullopt;
        if (!value)
            return std::nullopt;
        numbers.emplace_back(pair.first(equals).toStdString(), *value);
    }
    return numbers;
}

} // namespace store
