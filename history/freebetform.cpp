#include "history/freebetform.h"

#include <QLocale>

#include "calc/numbertext.h"
#include "history/betedit.h"
#include "history/typedmoney.h"

namespace history {

namespace {

const QString notRecorded = QStringLiteral("nothing was recorded");

std::optional<FreeBetForm> formOf(const QStringList &typed, const ui::MessageSink &show, QWidget *parent)
{
    const auto refuse = [&](const QString &why) {
        ui::openMessage(parent, show, why + QStringLiteral("; ") + notRecorded + QLatin1Char('.'));
        return std::nullopt;
    };
    FreeBetForm form;
    form.bookmaker = typed.at(0).trimmed();
    form.note = typed.at(4).trimmed();
    if (form.bookmaker.isEmpty())
        return refuse(QStringLiteral("Type the bookmaker"));
    if (form.bookmaker.size() > longestEditedText || form.note.size() > longestEditedText)
        return refuse(
            QStringLiteral("The bookmaker and the note take at most %1 characters each").arg(longestEditedText));
    const std::optional<calc::Pennies> amount = typedMoney(typed.at(1), {}, notRecorded, show, parent);
    if (!amount)
        return std::nullopt;
    if (*amount <= 0)
        return refuse(QStringLiteral("A free bet is worth more than 0"));
    form.amount = *amount;
    const QString kind = typed.at(2).trimmed().toUpper();
    if (kind != QLatin1String("SNR") && kind != QLatin1String("SR"))
        return refuse(QStringLiteral("Type SNR (stake not returned) or SR (stake returned) for the kind"));
    form.stakeReturned = kind == QLatin1String("SR");
    const std::optional<QDate> expires = typedDate(typed.at(3));
    if (!expires)
        return refuse(QStringLiteral("%1 is not a date").arg(typed.at(3).trimmed()));
    form.expires = *expires;
    return form;
}

} // namespace

std::optional<QDate> typedDate(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return QDate();
    QDate day = QDate::fromString(text, Qt::ISODate);
    if (!day.isValid())
        day = QLocale().toDate(text, QLocale::ShortFormat);
    return day.isValid() ? std::optional(day) : std::nullopt;
}

void openFreeBetForm(QWidget *parent, const ui::AskSink &ask, const ui::MessageSink &show, const FreeBetForm &initial,
    const std::function<void(const FreeBetForm &)> &entered)
{
    const QList<ui::AskedText> asked {{QStringLiteral("Bookmaker:"), initial.bookmaker},
        {QStringLiteral("Amount:"), initial.amount > 0 ? calc::formatPennies(initial.amount, QLocale()) : QString()},
        {QStringLiteral("Kind, SNR (stake not returned) or SR (stake returned):"),
            initial.stakeReturned ? QStringLiteral("SR") : QStringLiteral("SNR")},
        {QStringLiteral("Expires (such as 2026-12-15; blank for never):"),
            initial.expires.isValid() ? initial.expires.toString(Qt::ISODate) : QString()},
        {QStringLiteral("Note (minimum odds, terms):"), initial.note}};
    ui::openTexts(parent, ask, asked, [parent, show, entered](const QStringList &texts) {
        if (const std::optional<FreeBetForm> form = formOf(texts, show, parent))
            entered(*form);
    });
}

} // namespace history
