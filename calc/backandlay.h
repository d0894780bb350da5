// An offer seen as the calculator's own bets are: one back bet and one lay. Refunds, underlays and
// overlays and early payouts are such bets; a lay matched in parts counts as one lay of all its
// stakes at the odds that give their whole liability. Pure C++.
#pragma once

#include <optional>

#include "calc/betkind.h"
#include "calc/offervalues.h"

namespace calc {

struct BackAndLay
{
    double backOdds = 0;
    double layOdds = 0;
    double layStake = 0;
    double layRisk = 0; // the lay's liability
};

// Nothing for the offers that are several bets (each way, accumulator, dutching) or none (a casino
// bonus), whose rows in the offer table give no way to see them so; figures are those offerFigures
// gives for the inputs.
std::optional<BackAndLay> backAndLay(BetKind kind, const OfferValues &inputs, const OfferValues &figures);

// One back bet at backOdds and one lay at layOdds of the stake given, its liability to the penny.
BackAndLay singleLay(const OfferValues &inputs, double layStake);

} // namespace calc
