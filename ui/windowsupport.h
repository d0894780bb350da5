// Small helpers that the program's windows share: twips to pixels, the classic 8.25-point font,
// the keep-on-top request, unlimited text fields and background colours.
#pragma once

#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QValidator>

class QColor;
class QComboBox;
class QLineEdit;
class QWidget;

namespace ui {

// Layouts are given in twips; 15 twips are one pixel at 96 dots per inch.
constexpr int pixelsFromTwips(int twips)
{
    return twips / 15;
}

constexpr QRect rectFromTwips(int left, int top, int width, int height)
{
    return {pixelsFromTwips(left), pixelsFromTwips(top), pixelsFromTwips(width), pixelsFromTwips(height)};
}

// What every form does first: its name, caption and window flags, the keep-on-top request
// before the first show, and the classic font.
void prepareForm(QWidget *form, const QString &name, const QString &caption, Qt::WindowFlags flags);

// The labels' Tahoma, registered from Debian's fonts-wine when the system lacks it.
QFont labelFont(qreal pointSize, int weight);

// Keeps the window above all windows that are not themselves top-most, without moving,
// resizing or activating it. Call before the first show and on each activation.
void keepOnTop(QWidget *window);

// For windows beyond the two forms (history, offer calculators): kept above other windows like the
// forms, and brought to the front whenever activated. Call before the first show.
void keepAboveOthers(QWidget *window);

// Sizes a window beyond the two forms to the size it prefers, or less where the screen it opens on
// has less room, and places it within that screen's available area with room for its frame. What
// does not fit then scrolls inside it.
void fitIntoScreen(QWidget *window, QSize preferred);

// Places a window where it was (its frame's top left, its size) on the screen that holds the middle
// of that place, or the window's own: made smaller and moved where it would not fit.
void placeWithinScreen(QWidget *window, const QRect &place);

// A window that holds a million records frees blocks of megabytes as it sorts and counts them:
// have the C library give every such block back to the system at once, rather than keep it (glibc
// would, once a large block had been freed). Elsewhere nothing to do.
void returnLargeBlocksToTheSystem();

// Turns the line breaks of pasted text into spaces, as browsers' one-line fields do, so that a
// one-line field never puts a line break into a file.
class LineBreaksToSpaces final : public QValidator
{
    Q_OBJECT

public:
    explicit LineBreaksToSpaces(QObject *parent);
    State validate(QString &input, int &position) const override;
};

// A single-line field without Qt's default limit of 32,767 characters (no field limits its text)
// and without line breaks.
QLineEdit *newTextField(const QString &text, QWidget *parent);

// Makes the box editable as a one-line field of newTextField: no limit, no line breaks; what is
// typed never joins the list. The box and its line take the name for screen readers.
void makeTextBox(QComboBox *box, const QString &name);

void setBackground(QWidget *widget, QPalette::ColorRole role, const QColor &colour);

// The pink behind what needs a second look: a stale record, a field that was not taken.
QColor attentionPink();

} // namespace ui
