#include "ui/message.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QVBoxLayout>
#include <QWindow>

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
    // Without a parent, so that the window may close under it; its transient parent keeps it above
    // that window while there is one (a window kept on top included).
    auto *box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Vantrel"), text, QMessageBox::Ok);
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (parent) {
        box->winId(); // its window exists from here on
        box->windowHandle()->setTransientParent(parent->window()->windowHandle());
        box->adjustSize();
        box->move(parent->window()->geometry().center() - box->rect().center());
    }
    box->show();
}

void openTexts(
    QWidget *parent, const AskSink &sink, const QList<AskedText> &asked, const TextsAnswered &answered, int maxLength)
{
    if (sink) {
        QStringList texts;
        for (const AskedText &each : asked) {
            const std::optional<QString> answer = sink(each.question, each.initial);
            if (!answer)
                return;
            texts << *answer;
        }
        return answered(texts);
    }
    auto *dialog = new QDialog(parent);
    dialog->setWindowTitle(QStringLiteral("Vantrel"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QFormLayout(dialog);
    QList<QLineEdit *> edits;
    for (const AskedText &each : asked) {
        auto *edit = new QLineEdit(each.initial, dialog);
        edit->setAccessibleName(each.question);
        edit->setMaxLength(maxLength);
        layout->addRow(each.question, edit);
        edits << edit;
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(dialog, &QDialog::accepted, dialog, [edits, answered] {
        QStringList texts;
        for (const QLineEdit *edit : edits)
            texts << edit->text();
        answered(texts);
    });
    dialog->show();
}

void openText(QWidget *parent, const AskSink &sink, const QString &question, const QString &initial,
    const std::function<void(const QString &)> &answered)
{
    openTexts(parent, sink, {{question, initial}}, [answered](const QStringList &texts) { answered(texts.front()); });
}

void openChoice(QWidget *parent, const AskSink &sink, const QString &question, const QStringList &items,
    const std::function<void(int)> &chosen)
{
    if (items.isEmpty())
        return;
    if (sink) {
        const std::optional<QString> answer = sink(question, items.front());
        if (const int index = answer ? int(items.indexOf(*answer)) : -1; index >= 0)
            chosen(index);
        return;
    }
    auto *dialog = new QDialog(parent);
    dialog->setWindowTitle(QStringLiteral("Vantrel"));
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(dialog);
    auto *label = new QLabel(question, dialog);
    label->setTextFormat(Qt::PlainText);
    auto *list = new QListWidget(dialog);
    list->addItems(items);
    list->setCurrentRow(0);
    list->setAccessibleName(question);
    label->setBuddy(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    layout->addWidget(label);
    layout->addWidget(list);
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemActivated, dialog, &QDialog::accept);
    QObject::connect(dialog, &QDialog::accepted, dialog, [list, chosen] {
        if (list->currentRow() >= 0)
            chosen(list->currentRow());
    });
    dialog->show();
}

void openConfirm(QWidget *parent, const ConfirmSink &sink, const QString &question, const std::function<void()> &yes)
{
    if (sink) {
        if (sink(question))
            yes();
        return;
    }
    auto *box = new QMessageBox(
        QMessageBox::Question, QStringLiteral("Vantrel"), question, QMessageBox::Yes | QMessageBox::No, parent);
    box->setTextFormat(Qt::PlainText);
    box->setDefaultButton(QMessageBox::No);
    box->setWindowModality(Qt::ApplicationModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box, [box, yes] {
        if (box->clickedButton() == box->button(QMessageBox::Yes))
            yes();
    });
    box->show();
}

} // namespace ui
