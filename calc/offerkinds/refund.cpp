// Money back if the bet loses: the bookmaker refunds the stake, in cash or as a free bet that is
// expected to keep a share of its value. The lay balances what the back bet wins against the lay's
// winnings and the refund's value.
#include <algorithm>

#include "calc/offer.h"
#include "calc/rounding.h"
#include "calc/settle.h"

namespace calc::offerkinds {

namespace {

OfferShape shape(const OfferValues &)
{
    return {{offer::stake("backStake", "Back stake", "20"), offer::odds("backOdds", "Back odds", "5"),
                offer::odds("layOdds", "Lay odds", "5.2"), offer::commission("2"),
                offer::optionalAmount("refund", "Refund", "the back stake"),
                offer::percent("retention", "Refund retention %", "75")},
        {{"layStake", "Lay stake"}, {"liability", "Liability"}, {"profitIfBackWins", "Profit if back wins", true},
            {"profitIfLayWins", "Profit if lay wins", true}, {"freeBetValue", "Free-bet value in it"}},
        {}, "When the refund is a free bet, Profit if lay wins counts the value you expect to keep from it, not cash."};
}

OfferValues figures(const OfferValues &in)
{
    const double stake = in.at("backStake");
    const double c = offer::fraction(in, "layCommission");
    const double kept = (in.contains("refund") ? in.at("refund") : stake) * offer::fraction(in, "retention");
    // A refund worth more than the back bet returns needs no lay at all.
    const double lay = std::max(0.0, roundedToPenny((stake * in.at("backOdds") - kept) / (in.at("layOdds") - c)));
    const double liability = lay * (in.at("layOdds") - 1);
    return {{"layStake", lay}, {"liability", liability},
        {"profitIfBackWins", stake * (in.at("backOdds") - 1) - liability},
        {"profitIfLayWins", -stake + lay * (1 - c) + kept}, {"freeBetValue", kept},
        // The free bet's profit counts when its own record comes in.
        {refundAsFreeBetOutcome, -stake + lay * (1 - c)}};
}

// Settled, the refund is cash or a free bet, never the value expected of one: a cash refund comes
// back whole at the bookmaker, a free bet's profit counts when its own record comes in.
SettledParts parts(const OfferValues &in, const OfferValues &figures, std::string_view outcome)
{
    SettledParts parts = offer::backOrLay(in, figures.at("layStake"), outcome);
    if (outcome == "profitIfLayWins")
        parts.bookmaker += in.contains("refund") ? in.at("refund") : in.at("backStake");
    return parts;
}

std::vector<std::pair<std::string, std::string>> settleOutcomes(const OfferValues &)
{
    return {{"profitIfBackWins", "Back won"}, {"profitIfLayWins", "Lay won, refund as cash"},
        {std::string(refundAsFreeBetOutcome), "Lay won, refund as a free bet"}};
}

BackAndLay backAndLay(const OfferValues &inputs, const OfferValues &figures)
{
    return singleLay(inputs, figures.at("layStake"));
}

} // namespace

extern const OfferDefinition refund {BetKind::Refund, "refund", "Refund", "Refund", &shape, &figures, &offer::backStake,
    &parts, nullptr, &settleOutcomes, nullptr, &backAndLay};

} // namespace calc::offerkinds
