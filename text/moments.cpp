#include "text/moments.h"

#include <array>
#include <string_view>

namespace text {

namespace {

// The numbers of a text of that shape ('d' a digit, any other character itself), in the order
// they come; nothing when the text has another shape.
template<std::size_t Count>
std::optional<std::array<int, Count>> numbersOfShape(QByteArrayView text, std::string_view shape)
{
    if (text.size() != qsizetype(shape.size()))
        return std::nullopt;
    std::array<int, Count> numbers {};
    std::size_t at = 0;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const char c = text[qsizetype(i)];
        if (shape[i] != 'd') {
            if (c != shape[i])
                return std::nullopt;
            ++at;
        } else if (c < '0' || c > '9') {
            return std::nullopt;
        } else {
            numbers[at] = numbers[at] * 10 + (c - '0');
        }
    }
    return numbers;
}

} // namespace

std::optional<qint64> isoMoment(QByteArrayView text)
{
    const auto n = numbersOfShape<6>(text, "dddd-dd-ddTdd:dd:dd");
    if (!n)
        return std::nullopt;
    const QDate day((*n)[0], (*n)[1], (*n)[2]);
    const QTime time((*n)[3], (*n)[4], (*n)[5]);
    if (!day.isValid() || !time.isValid())
        return std::nullopt;
    return momentOf(day, time);
}

std::optional<QDate> isoDate(QByteArrayView text)
{
    const auto n = numbersOfShape<3>(text, "dddd-dd-dd");
    const QDate day = n ? QDate((*n)[0], (*n)[1], (*n)[2]) : QDate();
    return day.isValid() ? std::optional(day) : std::nullopt;
}

QByteArray isoDateText(QDate day)
{
    return day.toString(Qt::ISODate).toLatin1();
}

QByteArray isoDateTime(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1();
}

} // namespace text
