// Counts in words for the windows' status lines and messages.
#pragma once

#include <QString>

namespace text {

// "1 bet", "2 bets": the count in the locale's digits and the noun that goes with it.
QString counted(qint64 count, const QString &one, const QString &many);

} // namespace text
