#include "history/typedmoney.h"

#include <QLocale>

#include "calc/numbertext.h"

namespace history {

std::optional<calc::Pennies> typedMoney(
    const QString &typed, const QString &where, const QString &undone, const ui::MessageSink &show, QWidget *parent)
{
    if (typed.trimmed().isEmpty()) {
        ui::openMessage(parent, show, QStringLiteral("Type an amount%1; %2.").arg(where, undone));
        return std::nullopt;
    }
    const QLocale locale;
    const calc::TypedMoney amount = calc::parseMoney(typed, locale);
    QString problem;
    switch (amount.problem) {
    case calc::MoneyProblem::None:
        return amount.pennies;
    case calc::MoneyProblem::NotAnAmount:
        problem = QStringLiteral("is not an amount");
        break;
    case calc::MoneyProblem::TooManyDecimals:
        problem = QStringLiteral("has more than two decimals");
        break;
    case calc::MoneyProblem::TooLarge:
        problem = QStringLiteral("is more than %1").arg(calc::formatPennies(calc::largestMoney, locale));
        break;
    }
    ui::openMessage(parent, show, QStringLiteral("%1 %2%3; %4.").arg(typed.trimmed(), problem, where, undone));
    return std::nullopt;
}

} // namespace history
