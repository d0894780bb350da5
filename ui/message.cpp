#include "ui/message.h"

#include <QInputDialog>
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

std::optional<QString> askText(QWidget *parent, const AskSink &sink, const QString &question, const QString &initial)
{
    if (sink)
        return sink(question, initial);
    bool answered = false;
    const QString text
        = QInputDialog::getText(parent, QStringLiteral("Vantrel"), question, QLineEdit::Normal, initial, &answered);
    return answered ? std::optional(text) : std::nullopt;
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
