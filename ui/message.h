// The program's message box, and the way tests read its text instead.
#pragma once

#include <functional>
#include <optional>

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace ui {

// Where a window's messages go: the modal box by default, a recorder in tests.
using MessageSink = std::function<void(const QString &)>;

// Hands the text to the sink when a test gave one; otherwise shows a modal box with the text, an OK
// button only, no icon and the title "Vantrel", and returns when the user has closed it.
void showMessage(QWidget *parent, const MessageSink &sink, const QString &text);

// As showMessage, but returns at once, with no event loop of its own: the box stands until its OK
// is pressed, above every window of the program, and outlives the window that opened it, which may
// close meanwhile. For handlers that need not wait for the user.
void openMessage(QWidget *parent, const MessageSink &sink, const QString &text);

// Where a window's questions go: a modal box by default, a test's answers instead. An answer
// nothing stands for a press of Cancel.
using AskSink = std::function<std::optional<QString>(const QString &question, const QString &initial)>;

// Asks for a line of text in a modal box titled "Vantrel", with the initial text to edit.
std::optional<QString> askText(QWidget *parent, const AskSink &sink, const QString &question, const QString &initial);

// Asks for several lines of text in one modal box titled "Vantrel", a question and its initial text
// each, or of the sink one question after another; nothing when cancelled.
struct AskedText
{
    QString question;
    QString initial;
};
std::optional<QStringList> askTexts(
    QWidget *parent, const AskSink &sink, const QList<AskedText> &asked, int maxLength = 32767);

// Where a window's yes-or-no questions go: a modal box by default, a test's answer instead.
using ConfirmSink = std::function<bool(const QString &question)>;

// Asks a question in a modal box titled "Vantrel" with Yes and No, No the default; true for Yes.
bool confirm(QWidget *parent, const ConfirmSink &sink, const QString &question);

} // namespace ui
