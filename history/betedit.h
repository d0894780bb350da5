// "Edit...": a bet's event, bookmaker, exchange and note, mended in the ledger over its archived
// line, which stays as written.
#pragma once

#include <functional>

#include "tracker/settlements.h"
#include "ui/message.h"

class QWidget;

namespace history {

struct BetEdit
{
    Mending mending;
    QString exchange; // where the lays are; empty: never named
};

// The longest text each field takes: a ledger line stays well within what the history reads.
inline constexpr qsizetype longestEditedText = 200;

// Asks for the four in one box, or of the ask sink one question each, starting from the bet as it
// stands, as ui::openTexts does, and hands the edit to edited. Nothing when cancelled, when nothing
// changed, or when a field is refused, which the message sink is told.
void openBetEdit(QWidget *parent, const ui::AskSink &ask, const ui::MessageSink &show, const BetEdit &initial,
    const std::function<void(const BetEdit &)> &edited);

} // namespace history
