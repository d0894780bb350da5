// "Other amount...": what came in at the bookmaker and at the exchange when no outcome says it (a
// dead heat, a Rule 4 deduction, a lay matched in part), each account's part typed on its own.
#pragma once

#include <optional>

#include "calc/settle.h"
#include "ui/message.h"

class QWidget;

namespace history {

// The parts to start from, those of an outcome of the bet, so that a deduction is one edit; a bet
// with nothing at an exchange (a casino bonus) asks for the bookmaker's part alone.
struct OtherAmountForm
{
    calc::Payout initial;
    bool exchangeToo = true;
    int bets = 1; // each settled at the parts typed
};

// Asks for the parts in one box, or of the ask sink one question each. Nothing when cancelled, or
// when a part is no amount, which the message sink is told.
std::optional<calc::Payout> askOtherAmounts(
    QWidget *parent, const ui::AskSink &ask, const ui::MessageSink &show, const OtherAmountForm &form);

} // namespace history
