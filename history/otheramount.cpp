#include "history/otheramount.h"

#include <QLocale>

#include "calc/numbertext.h"
#include "history/typedmoney.h"

namespace history {

namespace {

// "What came in at the bookmaker (a loss with a minus sign):", for each bet where there are several.
QString question(const QString &account, int bets)
{
    const QString each = bets > 1 ? QStringLiteral(", for each of the %1 bets").arg(bets) : QString();
    return QStringLiteral("What came in at the %1 (a loss with a minus sign)%2:").arg(account, each);
}

QString shown(calc::Pennies amount)
{
    return calc::formatPennies(amount, QLocale());
}

std::optional<calc::Pennies> amountOf(
    const QString &typed, const QString &account, const ui::MessageSink &show, QWidget *parent)
{
    return typedMoney(typed, QStringLiteral(" at the ") + account, QStringLiteral("nothing was settled"), show, parent);
}

// The parts typed, or nothing when one is no amount, which the message sink is told.
std::optional<calc::Payout> payoutOf(
    const QStringList &typed, const OtherAmountForm &form, const ui::MessageSink &show, QWidget *parent)
{
    const std::optional<calc::Pennies> bookmaker = amountOf(typed.at(0), QStringLiteral("bookmaker"), show, parent);
    if (!bookmaker)
        return std::nullopt;
    if (!form.exchangeToo)
        return calc::otherPayout(*bookmaker, 0);
    const std::optional<calc::Pennies> exchange = amountOf(typed.at(1), QStringLiteral("exchange"), show, parent);
    return exchange ? std::optional(calc::otherPayout(*bookmaker, *exchange)) : std::nullopt;
}

} // namespace

void openOtherAmounts(QWidget *parent, const ui::AskSink &ask, const ui::MessageSink &show, const OtherAmountForm &form,
    const std::function<void(const calc::Payout &)> &typed)
{
    QList<ui::AskedText> asked {{question(QStringLiteral("bookmaker"), form.bets), shown(form.initial.bookmaker)}};
    if (form.exchangeToo)
        asked.append({question(QStringLiteral("exchange"), form.bets), shown(form.initial.exchange)});
    ui::openTexts(parent, ask, asked, [parent, show, form, typed](const QStringList &texts) {
        if (const std::optional<calc::Payout> parts = payoutOf(texts, form, show, parent))
            typed(*parts);
    });
}

} // namespace history
