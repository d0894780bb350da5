// The history's rows as CSV for any spreadsheet: a header row, then one row per record in the
// window's order of rows and columns, with the kind, whether the record is stale and the free bets
// it earned or used. Dates that
// were read stand as yyyy-MM-dd HH:mm:ss, others as written; results as the window rounds them,
// with "." and no grouping. Fields are quoted where they hold a comma, a quote or a line break, and
// a text that a spreadsheet would run as a formula starts with an apostrophe. UTF-8, CR LF.
#pragma once

#include <QByteArray>

namespace history {

class HistoryModel;

QByteArray csvOf(const HistoryModel &rows);

} // namespace history
