#include "ui/message.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace ui {

void showMessage(QWidget *parent, const MessageSink &sink, const QString &text)
{
    if (sink) {
        sink(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vantrel"), text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText); // messages quote paths and file text, which may look like markup
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void openMessage(QWidget *parent, const MessageSink &sink, const QString &text)
{
    if (sink) {
        sink(text);
        return;
    }
    // Without a parent, so that the window may close under it; Qt makes the active window its
    // transient parent, which keeps it above that window.
    auto *box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Vantrel"), text, QMessageBox::Ok);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (parent)
        box->move(parent->geometry().center() - box->rect().center());
    box->show();
}

std::optional<QString> askText(QWidget *parent, const AskSink &sink, const QString &question, const QString &initial)
{
    if (sink)
        return sink(question, initial);
    bool answered = false;
    const QString text
        = QInputDialog::getText(parent, QStringLiteral("Vantrel"), question, QLineEdit::Normal, initial, &answered);
    return answered ? std::optional(text) : std::nullopt;
}

std::optional<QStringList> askTexts(QWidget *parent, const AskSink &sink, const QList<AskedText> &asked, int maxLength)
{
    QStringList texts;
    if (sink) {
        for (const AskedText &each : asked) {
            const std::optional<QString> answer = sink(each.question, each.initial);
            if (!answer)
                return std::nullopt;
            texts << *answer;
        }
        return texts;
    }
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Vantrel"));
    auto *layout = new QFormLayout(&dialog);
    QList<QLineEdit *> edits;
    for (const AskedText &each : asked) {
        auto *edit = new QLineEdit(each.initial, &dialog);
        edit->setAccessibleName(each.question);
        edit->setMaxLength(maxLength);
        layout->addRow(each.question, edit);
        edits << edit;
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    for (const QLineEdit *edit : std::as_const(edits))
        texts << edit->text();
    return texts;
}

bool confirm(QWidget *parent, const ConfirmSink &sink, const QString &question)
{
    if (sink)
        return sink(question);
    QMessageBox box(
        QMessageBox::Question, QStringLiteral("Vantrel"), question, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

} // namespace ui
