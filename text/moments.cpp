#include "text/moments.h"

#include <string_view>

namespace text {

std::optional<qint64> isoMoment(QByteArrayView text)
{
    // yyyy-MM-ddTHH:mm:ss: digits everywhere but at the separators.
    constexpr std::string_view shape = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != qsizetype(shape.size()))
        return std::nullopt;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const char c = text[qsizetype(i)];
        if (shape[i] == 'd' ? (c < '0' || c > '9') : c != shape[i])
            return std::nullopt;
    }
    const auto number = [&text](qsizetype at, qsizetype digits) {
        int value = 0;
        for (qsizetype i = at; i < at + digits; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    const QDate day(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    if (!day.isValid() || !time.isValid())
        return std::nullopt;
    return momentOf(day, time);
}

QByteArray isoDateTime(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1();
}

} // namespace text
