#include "store/offerfile.h"

#include <algorithm>
#include <charconv>

#include <QStringList>

#include "store/archivereader.h"
#include "store/csvfield.h"
#include "store/datafolder.h"
#include "store/files.h"
#include "text/moments.h"
#include "text/numbers.h"

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
    return QByteArrayList {QByteArray::number(offerFormatVersion), text::isoDateTime(record.when),
        QByteArray::fromStdString(record.kind), csvField(record.event), csvField(record.bookmaker),
        exactNumber(record.stake), record.lowest, record.highest, pairs(record.inputs), pairs(record.figures)}
        .join(',');
}

void appendOffer(const QString &folder, const OfferRecord &record)
{
    files::makeSureOfFolder(folder);
    files::appendLines(offersPath(folder), {offerLine(record)}, offerHeader());
}

std::optional<OfferFields> splitOfferLine(QByteArrayView line)
{
    static const QByteArray version = QByteArray::number(offerFormatVersion);
    OfferFields fields;
    if (!splitCsvLine(line, fields) || fields[std::size_t(OfferField::Version)] != version)
        return std::nullopt;
    for (const OfferField numbers : {OfferField::Inputs, OfferField::Figures}) {
        if (fields[std::size_t(numbers)].size() > mostOfferValues * mostOfferValueBytes)
            return std::nullopt;
    }
    return fields;
}

bool isOfferHeader(QByteArrayView line)
{
    return withoutByteOrderMark(line).startsWith("Version,");
}

std::optional<std::vector<std::pair<std::string, double>>> offerNumbers(QByteArrayView field)
{
    // A million offers are read through here: one pass over the bytes, with no search per pair.
    std::vector<std::pair<std::string, double>> numbers;
    if (field.isEmpty())
        return numbers;
    const qsizetype pairs = std::count(field.begin(), field.end(), ';') + 1;
    if (pairs > mostOfferValues)
        return std::nullopt;
    numbers.reserve(std::size_t(pairs));
    const char *at = field.data();
    const char *const end = at + field.size();
    while (true) {
        const char *equals = at;
        while (equals != end && *equals != '=' && *equals != ';')
            ++equals;
        if (equals == at || equals == end || *equals != '=')
            return std::nullopt;
        const char *next = equals + 1;
        while (next != end && *next != ';')
            ++next;
        const std::optional<double> value = text::plainNumber(QByteArrayView(equals + 1, next));
        if (!value)
            return std::nullopt;
        numbers.emplace_back(std::string(at, equals), *value);
        if (next == end)
            return numbers;
        at = next + 1; // a ";" that ends the field begins a pair that is not there
    }
}

} // namespace store
