#include "history/freebetform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
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

const QString kindQuestion = QStringLiteral("Kind, SNR (stake not returned) or SR (stake returned):");

QString amountText(calc::Pennies amount)
{
    return amount > 0 ? calc::formatPennies(amount, QLocale()) : QString();
}

QString kindText(bool stakeReturned)
{
    return stakeReturned ? QStringLiteral("SR") : QStringLiteral("SNR");
}

// The form in a box of its own, the expiry picked from a calendar; its fields are handed over as
// the texts the questions would have brought.
void openFormBox(QWidget *parent, const FreeBetForm &initial, const ui::TextsAnswered &typed)
{
    auto *dialog = new QDialog(parent);
    dialog->setWindowTitle(QStringLiteral("Vantrel - Free bet"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto *bookmaker = new QLineEdit(initial.bookmaker);
    auto *amount = new QLineEdit(amountText(initial.amount));
    auto *kind = new QComboBox;
    kind->addItems({QStringLiteral("SNR (stake not returned)"), QStringLiteral("SR (stake returned)")});
    kind->setCurrentIndex(initial.stakeReturned ? 1 : 0);
    auto *expires = new QCheckBox(QStringLiteral("E&xpires on"));
    expires->setChecked(true);
    auto *expiry = new QDateEdit(initial.expires.isValid() ? initial.expires : QDate::currentDate().addDays(7));
    expiry->setCalendarPopup(true);
    expiry->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    expiry->setAccessibleName(QStringLiteral("Expiry date"));
    QObject::connect(expires, &QCheckBox::toggled, expiry, &QWidget::setEnabled);
    auto *note = new QLineEdit(initial.note);
    for (QLineEdit *field : {bookmaker, note})
        field->setMaxLength(int(longestEditedText));
    const std::pair<QWidget *, const char *> names[] {{bookmaker, "bookmaker"}, {amount, "amount"}, {kind, "kind"},
        {expires, "expires"}, {expiry, "expiry"}, {note, "note"}};
    for (const auto &[field, name] : names)
        field->setObjectName(QLatin1String(name));
    auto *expiryRow = new QHBoxLayout;
    expiryRow->addWidget(expires);
    expiryRow->addWidget(expiry, 1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto *layout = new QFormLayout(dialog);
    layout->addRow(QStringLiteral("&Bookmaker:"), bookmaker);
    layout->addRow(QStringLiteral("&Amount:"), amount);
    layout->addRow(QStringLiteral("&Kind:"), kind);
    layout->addRow(QStringLiteral("Expiry:"), expiryRow);
    layout->addRow(QStringLiteral("&Note (minimum odds, terms):"), note);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(dialog, &QDialog::accepted, dialog, [=] {
        typed({bookmaker->text(), amount->text(), kindText(kind->currentIndex() == 1),
            expires->isChecked() ? expiry->date().toString(Qt::ISODate) : QString(), note->text()});
    });
    dialog->show();
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
    const auto typed = [parent, show, entered](const QStringList &texts) {
        if (const std::optional<FreeBetForm> form = formOf(texts, show, parent))
            entered(*form);
    };
    if (!ask)
        return openFormBox(parent, initial, typed);
    const QList<ui::AskedText> asked {{QStringLiteral("Bookmaker:"), initial.bookmaker},
        {QStringLiteral("Amount:"), amountText(initial.amount)}, {kindQuestion, kindText(initial.stakeReturned)},
        {QStringLiteral("Expires (such as 2026-12-15; blank for never):"),
            initial.expires.isValid() ? initial.expires.toString(Qt::ISODate) : QString()},
        {QStringLiteral("Note (minimum odds, terms):"), initial.note}};
    ui::openTexts(parent, ask, asked, typed);
}

} // namespace history
