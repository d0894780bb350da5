// The main window's own colours.
#pragma once

#include <QColor>

namespace colours {

inline const QColor outputYellow(255, 255, 192);
inline const QColor commissionPeach(255, 224, 192);
inline const QColor buttonGrey(192, 192, 192);
inline const QColor closenessGreen(128, 255, 128);

} // namespace colours
