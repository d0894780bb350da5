// What an archived bet says after the fact: its result, and whether its figures belong to its inputs.
// Pure C++ on doubles.
#pragma once

#include "calc/matchedbet.h"

namespace calc {

// Back returns less the user's own stake (stake less forfeit): what the bet returns beyond it.
double betResult(double stake, double stakeForfeit, double backReturns);

// True when the inputs pass the calculator's checks and give the figures to the cent, as the
// calculator shows them; false for figures archived after the inputs changed without a Calculate.
bool figuresMatchInputs(const MatchedBetInput &input, const MatchedBetFigures &archived);

} // namespace calc
