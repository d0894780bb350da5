// A lay matched in parts at several prices, as exchanges match them: what is still to lay at the
// price now so that both outcomes come out the same, R = (S x B - sum of s x (o - c)) / (now - c),
// with S x (B - 1) in place of S x B for a free bet.
#include <algorithm>

#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc::offerkinds {

namespace {

using offer::numbered;

OfferShape shape(const OfferValues &settings)
{
    const int parts = offer::countOf(settings, "parts", 1, 1, 5);
    OfferShape shape {{offer::stake("backStake", "Back stake", "50"), offer::odds("backOdds", "Back odds", "4"),
                          offer::commission("2"), offer::flag("freeBet", "Free bet (stake not returned)", "0"),
                          offer::count("parts", "Parts", 1, 5, "1")},
        {{"layStakeNow", "Lay stake now"}, {"liabilityNow", "Liability now"}, {"totalLiability", "Total liability"},
            {"profitIfBackWins", "Profit if back wins", true}, {"profitIfLayWins", "Profit if lay wins", true}},
        {}, "Type each part of the lay the exchange has matched; the rest is laid at the odds now."};
    for (int n = 1; n <= parts; ++n) {
        shape.inputs.push_back(offer::amount(
            numbered("part", n, "LayStake").c_str(), numbered("Part ", n, " lay stake").c_str(), n == 1 ? "20" : "0"));
        shape.inputs.push_back(offer::odds(numbered("part", n, "LayOdds"), numbered("Part ", n, " lay odds"), "4.2"));
    }
    shape.inputs.push_back(offer::odds("layOddsNow", "Lay odds now", "4.5"));
    return shape;
}

// The parts the exchange has matched so far, each stake placed to the penny.
struct Matched
{
    double stakes = 0;
    double liability = 0;
    double winnings = 0; // the sum of s x (o - c)
};

Matched matchedSoFar(const OfferValues &in, double c)
{
    Matched matched;
    for (int n = 1; n <= int(in.at("parts")); ++n) {
        const double part = roundedToPenny(in.at(numbered("part", n, "LayStake")));
        const double partOdds = in.at(numbered("part", n, "LayOdds"));
        matched.stakes += part;
        matched.liability += part * (partOdds - 1);
        matched.winnings += part * (partOdds - c);
    }
    return matched;
}

OfferValues figures(const OfferValues &in)
{
    const double stake = in.at("backStake");
    const double odds = in.at("backOdds");
    const double c = offer::fraction(in, "layCommission");
    const bool freeBet = offer::isSet(in, "freeBet");
    const Matched matched = matchedSoFar(in, c);
    const double now = in.at("layOddsNow");
    // Parts that already cover the bet leave nothing to lay.
    const double rest
        = std::max(0.0, roundedToPenny((stake * (freeBet ? odds - 1 : odds) - matched.winnings) / (now - c)));
    const double totalLiability = matched.liability + rest * (now - 1);
    return {{"layStakeNow", rest}, {"liabilityNow", rest * (now - 1)}, {"totalLiability", totalLiability},
        {"profitIfBackWins", stake * (odds - 1) - totalLiability},
        {"profitIfLayWins", (freeBet ? 0 : -stake) + (matched.stakes + rest) * (1 - c)}};
}

SettledParts parts(const OfferValues &in, const OfferValues &figures, std::string_view outcome)
{
    const double c = offer::fraction(in, "layCommission");
    const Matched matched = matchedSoFar(in, c);
    const double now = in.at("layOddsNow");
    const double rest = figures.at("layStakeNow");
    if (outcome == "profitIfBackWins")
        return {offer::backWinnings(in), -(matched.liability + rest * (now - 1))};
    return {offer::backLoss(in), (matched.stakes + rest) * (1 - c)};
}

std::string remark(const OfferValues &, const OfferValues &figures)
{
    return figures.at("layStakeNow") == 0 ? "The parts matched already cover the bet: nothing is left to lay." : "";
}

// A lay matched in parts as one lay of all its stakes at the odds that give their whole liability.
BackAndLay backAndLay(const OfferValues &inputs, const OfferValues &figures)
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

extern const OfferDefinition partLays {BetKind::PartLays, "part-lays", "Part lays", "Part lays", &shape, &figures,
    &offer::backStake, &parts, &remark, nullptr, nullptr, &backAndLay};

} // namespace calc::offerkinds
