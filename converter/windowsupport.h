// Small window helpers that both of the program's windows share: twips to pixels, the classic
// 8.25-point font, the keep-on-top request and the program's message box. They live beside the
// converter because the main window depends on the converter, never the other way round.
#pragma once

#include <functional>

#include <QFont>
#include <QRect>
#include <QString>

class QLineEdit;
class QWidget;

namespace converter {

// Where a window's messages go: the modal box by default, a recorder in tests.
using MessageSink = std::function<void(const QString &)>;

// Layouts are given in twips; 15 twips are one pixel at 96 dots per inch.
constexpr int pixelsFromTwips(int twips)
{
    return twips / 15;
}

constexpr QRect rectFromTwips(int left, int top, int width, int height)
{
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width), pixelsFromTwips(height)};
}

// The platform's user-interface font at 8.25 points, so texts fit the fixed field heights.
void useClassicFont(QWidget *window);

// The labels' Tahoma, registered from Debian's fonts-wine when the system lacks it.
QFont labelFont(qreal pointSize, int weight);

// Keeps the window above all windows that are not themselves top-most, without moving,
// resizing or activating it. Call before the first show and on each activation.
void keepOnTop(QWidget *window);

// True when the window takes over from another of the program's windows as the active one, or
// is the first: the program's idea of activation. Returning from another application is none.
bool becomesActiveForm(QWidget *window);

// A single-line field without Qt's default limit of 32,767 characters: no field limits its text.
QLineEdit *newTextField(const QString &text, QWidget *parent);

// Selects the whole text of a field that has just gained the focus. After a click, it selects
// again once the click has placed the caret, which would otherwise undo the selection.
void selectWholeTextOnFocus(QLineEdit *field, Qt::FocusReason reason);

// Hands the text to the sink when a test gave one; otherwise shows a modal box with the text, an OK
// button only, no icon and the title "Vantrel", and returns when the user has closed it.
void showMessage(QWidget *parent, const MessageSink &sink, const QString &text);

} // namespace converter
