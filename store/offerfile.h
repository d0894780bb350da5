// The offers file: one CSV record per offer archived from the offer calculators, UTF-8, after a
// header row that names the columns. Every record has the same columns: the format's version, the
// date and time (ISO 8601, local time), the kind's token, the event, the bookmaker, the stake, the
// lowest and highest outcome profits, then every input and every figure as key=value pairs joined
// by ";", with "." numbers, so the record can be worked out again and read by any spreadsheet.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace store {

enum class OfferField { Version, DateTime, Kind, Event, Bookmaker, Stake, Lowest, Highest, Inputs, Figures };
constexpr int offerFieldCount = int(OfferField::Figures) + 1;
inline constexpr int offerFormatVersion = 1;

using NamedNumbers = std::vector<std::pair<std::string, double>>;
using NamedTexts = std::vector<std::pair<std::string, QByteArray>>;

// Money comes as the windows show it ("." and no grouping), so the file says what they say.
struct OfferRecord
{
    QDateTime when;
    std::string kind;
    QString event;
    QString bookmaker;
    double stake = 0;
    QByteArray lowest;
    QByteArray highest;
    NamedNumbers inputs; // as typed, to the last digit
    NamedTexts figures; // as shown, to the penny

    bool operator==(const OfferRecord &) const = default;
};

QByteArray offerHeader();
// The record's line, without a line end. Line breaks in the texts become spaces.
QByteArray offerLine(const OfferRecord &record);

// Appends the record, after the header when the file is new or empty. Throws FileError.
void appendOffer(const QString &folder, const OfferRecord &record);

// An offer holds a few dozen inputs and figures; a field of more than this many, or of more bytes
// than they could take, is none this program wrote, and the line is no record.
inline constexpr qsizetype mostOfferValues = 1000;
inline constexpr qsizetype mostOfferValueBytes = 64;

// The fields of a line as views into it (see csvfield.h). Nothing when the line is not a record of
// this format.
using OfferFields = std::array<QByteArrayView, offerFieldCount>;
std::optional<OfferFields> splitOfferLine(QByteArrayView line);
bool isOfferHeader(QByteArrayView line);
// The key=value pairs of the inputs or figures field; nothing when one is not a pair with a number.
std::optional<std::vector<std::pair<std::string, double>>> offerNumbers(QByteArrayView field);

} // namespace store
