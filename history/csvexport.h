// The filtered history as CSV for any spreadsheet: a header row, then one row per record, fields
// quoted where they hold a comma, a quote or a line break; UTF-8 with CR LF line ends.
#pragma once

#include <QByteArray>

namespace history {

class HistoryFilter;

QByteArray csvOf(const HistoryFilter &rows);

} // namespace history
