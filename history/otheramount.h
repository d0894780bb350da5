// "Other amount...": what came in at the bookmaker and at the exchange when no outcome says it (a
// dead heat, a Rule 4 deduction, a lay matched in part), each account's part typed on its own.
#pragma once

#include <functional>

#include "calc/settle.h"
#include "tracker/betdecisions.h"
#include "ui/message.h"

class QWidget;

namespace history {

// Asks for the parts in one box, or of the ask sink one question each, as ui::openTexts does, and
// hands them to typed. Nothing when cancelled, or when a part is no amount, which the message sink
// is told.
void openOtherAmounts(QWidget *parent, const ui::AskSink &ask, const ui::MessageSink &show, const OtherAmountForm &form,
    const std::function<void(const calc::Payout &)> &typed);

} // namespace history
