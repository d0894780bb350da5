#include "calc/backandlay.h"

#include "calc/offertable.h"
#include "calc/rounding.h"

namespace calc {

std::optional<BackAndLay> backAndLay(BetKind kind, const OfferValues &inputs, const OfferValues &figures)
{
    const OfferDefinition *offer = offerDefinition(kind);
    if (!offer || !offer->backAndLay)
        return std::nullopt;
    return offer->backAndLay(inputs, figures);
}

BackAndLay singleLay(const OfferValues &inputs, double layStake)
{
    return {inputs.at("backOdds"), inputs.at("layOdds"), layStake, pennies(layStake * (inputs.at("layOdds") - 1))};
}

} // namespace calc
