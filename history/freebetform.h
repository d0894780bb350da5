// "Free bet earned..." and "Add free bet...": a free bet's bookmaker, amount, kind (stake not
// returned or returned), expiry and note, asked in one box.
#pragma once

#include <functional>

#include <QDate>

#include "calc/rounding.h"
#include "ui/message.h"

class QWidget;

namespace history {

struct FreeBetForm
{
    QString bookmaker;
    calc::Pennies amount = 0;
    bool stakeReturned = false;
    QDate expires; // none: no expiry
    QString note;
};

// Asks for the five in one box, the expiry picked from a calendar, or of the ask sink one question
// each, starting from initial (an amount of 0 starts blank), without an event loop of its own, and
// hands the free bet to entered. Nothing when cancelled, or when a field is refused, which the
// message sink is told.
void openFreeBetForm(QWidget *parent, const ui::AskSink &ask, const ui::MessageSink &show, const FreeBetForm &initial,
    const std::function<void(const FreeBetForm &)> &entered);

// The expiry typed: 2026-12-15, or a date as the user's locale writes it short; a blank is none.
std::optional<QDate> typedDate(const QString &typed);

} // namespace history
