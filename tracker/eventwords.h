// The words of bets' events and of statement lines as the matching compares them: letters and
// digits in one letter case, punctuation between them, "v" and "vs" left out; each word held as a
// 64-bit key, so that a million events cost no text of their own.
#pragma once

#include <vector>

#include <QString>

#include "tracker/columns.h"

namespace history {

using WordKey = quint64;
using WordKeys = std::vector<WordKey>;

// The keys of the text's words, in order.
WordKeys wordKeys(const QString &text);
// The keys of the words of a record's event (as mended, where it was): from its bytes alone where
// they are ASCII, as nearly all are.
WordKeys eventWordKeys(const HistoryView &view, qsizetype record);

} // namespace history
