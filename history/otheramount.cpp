#include "history/otheramount.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>

#include "calc/numbertext.h"

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

// The typed texts, the exchange's empty when it is not asked; nothing when cancelled.
std::optional<std::pair<QString, QString>> typedParts(QWidget *parent, const OtherAmountForm &form)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Vantrel"));
    auto *layout = new QFormLayout(&dialog);
    const auto field = [&](const QString &question, calc::Pennies initial) {
        auto *edit = new QLineEdit(shown(initial), &dialog);
        edit->setAccessibleName(question);
        layout->addRow(question, edit);
        return edit;
    };
    QLineEdit *bookmaker = field(question(QStringLiteral("bookmaker"), form.bets), form.initial.bookmaker);
    QLineEdit *exchange
        = form.exchangeToo ? field(question(QStringLiteral("exchange"), form.bets), form.initial.exchange) : nullptr;
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::pair(bookmaker->text(), exchange ? exchange->text() : QString());
}

std::optional<calc::Pennies> amountOf(
    const QString &typed, const QString &account, const ui::MessageSink &show, QWidget *parent)
{
    if (typed.trimmed().isEmpty()) {
        ui::showMessage(parent, show, QStringLiteral("Type an amount at the %1; nothing was settled.").arg(account));
        return std::nullopt;
    }
    const calc::TypedMoney amount = calc::parseMoney(typed, QLocale());
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
        problem = QStringLiteral("is more than %1").arg(shown(calc::largestMoney));
        break;
    }
    ui::showMessage(
        parent, show, QStringLiteral("%1 %2 at the %3; nothing was settled.").arg(typed.trimmed(), problem, account));
    return std::nullopt;
}

} // namespace

std::optional<calc::Payout> askOtherAmounts(
    QWidget *parent, const ui::AskSink &ask, const ui::MessageSink &show, const OtherAmountForm &form)
{
    std::optional<std::pair<QString, QString>> typed;
    if (!ask) {
        typed = typedParts(parent, form);
    } else if (const auto atBookmaker
        = ask(question(QStringLiteral("bookmaker"), form.bets), shown(form.initial.bookmaker))) {
        const auto atExchange = form.exchangeToo
            ? ask(question(QStringLiteral("exchange"), form.bets), shown(form.initial.exchange))
            : std::optional(QString());
        if (atExchange)
            typed = std::pair(*atBookmaker, *atExchange);
    }
    if (!typed)
        return std::nullopt;
    const std::optional<calc::Pennies> bookmaker = amountOf(typed->first, QStringLiteral("bookmaker"), show, parent);
    if (!bookmaker)
        return std::nullopt;
    if (!form.exchangeToo)
        return calc::otherPayout(*bookmaker, 0);
    const std::optional<calc::Pennies> exchange = amountOf(typed->second, QStringLiteral("exchange"), show, parent);
    return exchange ? std::optional(calc::otherPayout(*bookmaker, *exchange)) : std::nullopt;
}

} // namespace history
