// The offer table: a row per offer, in the order of the offer window's tabs. The kinds of offer,
// their names, tokens and tabs all come from here; a new offer is a file in offerkinds/ and a row.
#pragma once

#include <span>

#include "calc/offer.h"

namespace calc {

std::span<const OfferDefinition *const> offerTable();

// The row of an offer kind; nothing for the calculator's own kinds and for Other.
const OfferDefinition *offerDefinition(BetKind kind);

} // namespace calc
