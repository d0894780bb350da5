// Every figure the display produces must be recognised as a number and parse back to its
// rounded value, in every locale; infinities and NaN are named in words; no text at all may crash
// the recogniser; and an amount of money read from any text is within the bound, and an amount the
// display shows reads back to the same pennies.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <QLocale>

#include "calc/numbertext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QLocale locales[]
        = {QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::German, QLocale::Germany),
            QLocale(QLocale::French, QLocale::France), QLocale(QLocale::Arabic, QLocale::Egypt), QLocale::c()};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QLocale &locale : locales) {
        if (const std::optional<double> value = calc::parseNumber(text, locale); value && !std::isfinite(*value))
            std::abort();
        const calc::TypedMoney money = calc::parseMoney(text, locale);
        if (money.problem == calc::MoneyProblem::None && std::llabs(money.pennies) > calc::largestMoney)
            std::abort();
    }
    if (size < sizeof(double))
        return 0;
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    for (const QLocale &locale : locales) {
        // Every double is shown without undefined behaviour; one without digits says so in words.
        if (!std::isfinite(value)) {
            const QString shown = calc::formatFigure(value, locale);
            if (shown
                != QLatin1String(std::isnan(value) ? "not a number"
                        : value > 0                ? "too large"
                                                   : "too large (negative)"))
                std::abort();
            continue;
        }
        const calc::Pennies pennies = calc::toPennies(value);
        if (std::llabs(pennies) <= calc::largestMoney) {
            const calc::TypedMoney money = calc::parseMoney(calc::formatPennies(pennies, locale), locale);
            if (money.problem != calc::MoneyProblem::None || money.pennies != pennies)
                std::abort();
        }
        const std::optional<double> parsed = calc::parseNumber(calc::formatFigure(value, locale), locale);
        // Half a cent, plus what rounding to 15 significant digits first may add (found by fuzzing:
        // 212980.37499999974 reads as 212980.375 and shows 212980.38, as a spreadsheet shows it).
        if (!parsed || std::fabs(*parsed - value) > 0.005 + std::fabs(value) * 1e-14)
            std::abort();
    }
    return 0;
}
