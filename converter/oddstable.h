// The reference list of common fractional prices and their decimal equivalents that the
// converter window shows. A constant text: nothing computes, sorts or reads it back.
#pragma once

#include <QString>

namespace converter {

// 71 rows of fraction, tab, decimal, joined by CR LF with none after the last row.
QString oddsReferenceText();

} // namespace converter
