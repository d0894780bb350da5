#include "calc/backandlay.h"

#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc {

namespace {

BackAndLay partLays(const OfferValues &inputs, const OfferValues &figures)
{
    double stake = figures.at("layStakeNow");
    for (int n = 1; n <= int(inputs.at("parts")); ++n)
        stake += roundedToPenny(inputs.at(offer::numbered("part", n, "LayStake")));
    const double risk = figures.at("totalLiability");
    // Exchanges quote odds to two decimals; the mean of several is given so too.
    const double odds = stake > 0 ? roundedToPenny(1 + risk / stake) : inputs.at("layOddsNow");
    return {inputs.at("backOdds"), odds, stake, risk};
}

} // namespace

std::optional<BackAndLay> backAndLay(BetKind kind, const OfferValues &inputs, const OfferValues &figures)
{
    const auto single = [&](double layStake) {
        return BackAndLay {
            inputs.at("backOdds"), inputs.at("layOdds"), layStake, pennies(layStake * (inputs.at("layOdds") - 1))};
    };
    switch (kind) {
    case BetKind::Refund:
    case BetKind::EarlyPayout:
        return single(figures.at("layStake"));
    case BetKind::UnderlayOverlay:
        return single(
            inputs.contains("layStake") ? roundedToPenny(inputs.at("layStake")) : figures.at("balancedLayStake"));
    case BetKind::PartLays:
        return partLays(inputs, figures);
    default:
        return std::nullopt;
    }
}

} // namespace calc
