// Underlay and overlay: a lay stake below or above the balanced one, so that one way the bet ends
// brings more than the other. The buttons set the stake that breaks even one way.
#include <cmath>

#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc::offerkinds {

namespace {

OfferShape shape(const OfferValues &)
{
    return {{offer::stake("backStake", "Back stake", "20"), offer::odds("backOdds", "Back odds", "3"),
                offer::odds("layOdds", "Lay odds", "3.1"), offer::commission("2"),
                offer::flag("freeBet", "Free bet (stake not returned)", "0"),
                offer::optionalAmount("layStake", "Lay stake", "the balanced stake")},
        {{"balancedLayStake", "Balanced lay stake"}, {"liability", "Liability"},
            {"profitIfBackWins", "Profit if back wins", true}, {"profitIfLayWins", "Profit if lay wins", true}},
        {{"Balanced", "layStake", "balancedLayStake"}, {"Break even if back wins", "layStake", "breakEvenIfBackWins"},
            {"Break even if lay wins", "layStake", "breakEvenIfLayWins"}},
        ""};
}

OfferValues figures(const OfferValues &in)
{
    const double stake = in.at("backStake");
    const double odds = in.at("backOdds");
    const double layOdds = in.at("layOdds");
    const double c = offer::fraction(in, "layCommission");
    const bool freeBet = offer::isSet(in, "freeBet");
    const double balanced = roundedToPenny(stake * (freeBet ? odds - 1 : odds) / (layOdds - c));
    const double lay = in.contains("layStake") ? roundedToPenny(in.at("layStake")) : balanced;
    const double liability = lay * (layOdds - 1);
    OfferValues figures {{"balancedLayStake", balanced}, {"liability", liability},
        {"profitIfBackWins", stake * (odds - 1) - liability},
        {"profitIfLayWins", (freeBet ? 0 : -stake) + lay * (1 - c)}};
    // The stakes the buttons set, rounded the way that keeps the outcome they name at 0.00 or above:
    // down where laying less is what wins, up where laying more is. At 100 % commission no stake
    // breaks even on the lay. A free bet's lay wins lose nothing, so none is needed there.
    if (const double backWins = stake * (odds - 1) / (layOdds - 1); std::isfinite(backWins))
        figures["breakEvenIfBackWins"] = penniesDown(backWins);
    if (const double layWins = freeBet ? 0 : stake / (1 - c); std::isfinite(layWins))
        figures["breakEvenIfLayWins"] = penniesUp(layWins);
    return figures;
}

SettledParts parts(const OfferValues &in, const OfferValues &figures, std::string_view outcome)
{
    const double lay = in.contains("layStake") ? roundedToPenny(in.at("layStake")) : figures.at("balancedLayStake");
    return offer::backOrLay(in, lay, outcome);
}

BackAndLay backAndLay(const OfferValues &inputs, const OfferValues &figures)
{
    return singleLay(
        inputs, inputs.contains("layStake") ? roundedToPenny(inputs.at("layStake")) : figures.at("balancedLayStake"));
}

} // namespace

extern const OfferDefinition underlayOverlay {BetKind::UnderlayOverlay, "underlay-overlay", "Underlay/overlay",
    "Underlay / overlay", &shape, &figures, &offer::backStake, &parts, nullptr, nullptr, nullptr, &backAndLay};

} // namespace calc::offerkinds
