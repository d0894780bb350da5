// The program's message box, and the way tests read its text instead.
#pragma once

#include <functional>

#include <QString>

class QWidget;

namespace ui {

// Where a window's messages go: the modal box by default, a recorder in tests.
using MessageSink = std::function<void(const QString &)>;

// Hands the text to the sink when a test gave one; otherwise shows a modal box with the text, an OK
// button only, no icon and the title "Vantrel", and returns when the user has closed it.
void showMessage(QWidget *parent, const MessageSink &sink, const QString &text);

} // namespace ui
