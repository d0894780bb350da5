// Dutching: several selections in one market, staked so that whichever of them wins returns the
// same. Unless they cover every outcome, the market can also go to none of them, which loses every
// stake.
#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc::offerkinds {

namespace {

using offer::numbered;

OfferShape shape(const OfferValues &settings)
{
    const int selections = offer::countOf(settings, "selections", 2, 2, 3);
    const bool fixTotal = offer::isSet(settings, "fixTotal");
    OfferShape shape {{offer::count("selections", "Selections", 2, 3, "2"),
                          offer::choice("fixTotal", "Stake to fix", {"Fix stake 1", "Fix total stake"}, "0"),
                          offer::stake("stake", fixTotal ? "Total stake" : "Stake 1", "20"),
                          // Offers archived before the box existed were all of two-way markets.
                          offer::flag("coverEvery", "The selections cover every outcome", "0", 1)},
        {}, {}, "Every winning selection returns the same."};
    const char *odds[] = {"2.5", "4", "6"};
    for (int n = 1; n <= selections; ++n) {
        shape.inputs.push_back(offer::odds(numbered("odds", n), numbered("Odds ", n), odds[n - 1]));
        if (n > 1 || fixTotal)
            shape.outputs.push_back({numbered("stake", n), numbered("Stake ", n)});
    }
    if (!fixTotal)
        shape.outputs.push_back({"totalStake", "Total stake"});
    for (int n = 1; n <= selections; ++n)
        shape.outputs.push_back({numbered("profitIf", n, "Wins"), numbered("Profit if ", n, " wins"), true});
    if (!offer::isSet(settings, "coverEvery"))
        shape.outputs.push_back({"profitIfNoneWins", "Profit if none wins", true});
    return shape;
}

OfferValues figures(const OfferValues &in)
{
    const int selections = int(in.at("selections"));
    const bool fixTotal = offer::isSet(in, "fixTotal");
    double inverseSum = 0;
    for (int n = 1; n <= selections; ++n)
        inverseSum += 1 / in.at(numbered("odds", n));
    // The typed stake 1 is placed to the penny, and the others return what it returns.
    const double firstReturn = roundedToPenny(in.at("stake")) * in.at("odds1");
    OfferValues figures;
    double total = 0;
    for (int n = 1; n <= selections; ++n) {
        const double odds = in.at(numbered("odds", n));
        const double stake = roundedToPenny(fixTotal ? in.at("stake") / (odds * inverseSum) : firstReturn / odds);
        figures[numbered("stake", n)] = stake;
        total += stake;
    }
    figures["totalStake"] = total;
    for (int n = 1; n <= selections; ++n)
        figures[numbered("profitIf", n, "Wins")] = figures[numbered("stake", n)] * in.at(numbered("odds", n)) - total;
    figures["profitIfNoneWins"] = -total;
    return figures;
}

double totalStake(const OfferValues &, const OfferValues &figures)
{
    return figures.at("totalStake");
}

// Every bet is at the bookmaker: the winner's return less every stake.
SettledParts parts(const OfferValues &in, const OfferValues &figures, std::string_view outcome)
{
    const double total = figures.at("totalStake");
    for (int n = 1; n <= int(in.at("selections")); ++n) {
        if (outcome == numbered("profitIf", n, "Wins"))
            return {figures.at(numbered("stake", n)) * in.at(numbered("odds", n)) - total, 0};
    }
    return {-total, 0};
}

} // namespace

extern const OfferDefinition dutching {
    BetKind::Dutching, "dutching", "Dutching", "Dutching", &shape, &figures, &totalStake, &parts};

} // namespace calc::offerkinds
