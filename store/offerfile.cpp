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
    if (!splitCsvLine(line, fields)
        || fields[std::size_t(OfferField::Version)] != QByteArray::number(offerFormatVersion))
        return std::nullopt;
    return fields;
}

bool isOfferHeader(QByteArrayView line)
{
    return withoutByteOrderMark(line).startsWith("Version,");
}

std::optional<std::vector<std::pair<std::string, double>>> offerNumbers(QByteArrayView field)
{
    std::vector<std::pair<std::string, double>> numbers;
    for (qsizetype start = 0; start < field.size();) {
        qsizetype end = field.indexOf(';', start);
        end = end < 0 ? field.size() : end;
        const QByteArrayView pair = field.sliced(start, end - start);
        const qsizetype equals = pair.indexOf('=');
        const std::optional<double> value = equals > 0 ? archivedNumber(pair.sliced(equals + 1)) : std::nullopt;
        if (!value)
            return std::nullopt;
        numbers.emplace_back(std::string(pair.data(), std::size_t(equals)), *value);
        start = end + 1;
        if (start == field.size())
            return std::nullopt; // a ";" that ends the field begins a pair that is not there
    }
    return numbers;
}

} // namespace store
