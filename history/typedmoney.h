// An amount of money the user typed into one of the history's boxes, read in the user's locale.
#pragma once

#include <optional>

#include <QString>

#include "calc/rounding.h"
#include "ui/message.h"

class QWidget;

namespace history {

// The amount typed; nothing for a blank or what is no amount, which the message sink is told with
// where it was typed (" at the bookmaker", or nothing) and what was left undone ("nothing was
// settled").
std::optional<calc::Pennies> typedMoney(
    const QString &typed, const QString &where, const QString &undone, const ui::MessageSink &show, QWidget *parent);

} // namespace history
