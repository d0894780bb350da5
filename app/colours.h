// The main window's own colours, and the one way it sets a control's background.
#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace colours {

inline const QColor outputYellow(255, 255, 192);
inline const QColor commissionPeach(255, 224, 192);
inline const QColor buttonGrey(192, 192, 192);
inline const QColor closenessGreen(128, 255, 128);

inline void setBackground(QWidget *widget, QPalette::ColorRole role, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(role, colour);
    widget->setPalette(palette);
}

} // namespace colours
