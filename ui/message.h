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

// Where a window's questions go: a box by default, a test's answers instead. An answer nothing
// stands for a press of Cancel.
using AskSink = std::function<std::optional<QString>(const QString &question, const QString &initial)>;
// Where a window's yes-or-no questions go: a box by default, a test's answer instead.
using ConfirmSink = std::function<bool(const QString &question)>;

// The questions open their box without an event loop of their own and return at once: answered is
// called once the user answers, never when Cancel or No is pressed; a test's sink answers before
// they return. The box is modal to the whole program and goes with its parent window, which
// cannot close while the box is up.

// Several lines of text in one box titled "Vantrel", a question and its initial text each, or of
// the sink one question after another.
struct AskedText
{
    QString question;
    QString initial;
};
using TextsAnswered = std::function<void(const QStringList &)>;
void openTexts(QWidget *parent, const AskSink &sink, const QList<AskedText> &asked, const TextsAnswered &answered,
    int maxLength = 32767);

// A line of text, with the initial text to edit.
void openText(QWidget *parent, const AskSink &sink, const QString &question, const QString &initial,
    const std::function<void(const QString &)> &answered);

// One of several items, in a list with the first chosen; chosen is called with the index of the
// one taken. A test's sink answers with the item's text.
void openChoice(QWidget *parent, const AskSink &sink, const QString &question, const QStringList &items,
    const std::function<void(int)> &chosen);

// A question with Yes and No, No the default; yes is called for Yes.
void openConfirm(QWidget *parent, const ConfirmSink &sink, const QString &question, const std::function<void()> &yes);

} // namespace ui
