// Multi-lay: one back bet that wins on several outcomes (a bet builder, a correct score, "win or
// each way"), each outcome laid on its own. Every lay balances the back bet's return against its
// own odds, so whichever outcome happens, or none of them, pays about the same. An exchange charges
// commission on a market's net winnings: when the lays share a market, the lays lost are set
// against the lays won before commission is taken.
#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc::offerkinds {

namespace {

constexpr int mostLays = 10;

using offer::numbered;

OfferShape shape(const OfferValues &settings)
{
    const int lays = offer::countOf(settings, "lays", 2, 2, mostLays);
    OfferShape shape {{offer::stake("backStake", "Back stake", "10"), offer::odds("backOdds", "Back odds", "6"),
                          offer::flag("freeBet", "Free bet (stake not returned)", "0"),
                          offer::count("lays", "Lays", 2, mostLays, "2")},
        {}, {},
        "Lay each outcome the back bet wins on. Tick \"Lays in one market\" when they are all in one exchange "
        "market: commission is then charged on the market's net winnings, as the exchange charges it."};
    const char *layOdds[] = {"9", "15"};
    for (int n = 1; n <= lays; ++n) {
        shape.inputs.push_back(
            offer::odds(numbered("lay", n, "Odds"), numbered("Lay ", n, " odds"), n <= 2 ? layOdds[n - 1] : "20"));
    }
    shape.inputs.push_back(offer::commission("2"));
    shape.inputs.push_back(offer::flag("oneMarket", "Lays in one market", "0"));
    for (int n = 1; n <= lays; ++n) {
        shape.outputs.push_back({numbered("lay", n, "Stake"), numbered("Lay ", n, " stake")});
        shape.outputs.push_back({numbered("lay", n, "Liability"), numbered("Lay ", n, " liability")});
    }
    shape.outputs.push_back({"totalLiability", "Total liability"});
    for (int n = 1; n <= lays; ++n) {
        shape.outputs.push_back(
            {numbered("profitIfLay", n, "Happens"), numbered("Profit if lay ", n, "'s outcome happens"), true});
    }
    shape.outputs.push_back({"profitIfNoneHappens", "Profit if none happens", true});
    return shape;
}

// What the lays bring at the exchange when the outcome of lay `happened` happens (0: none does):
// that lay loses its liability, every other wins its stake. Commission is taken lay by lay, or in
// one market on the net winnings only.
double exchangePart(const OfferValues &in, const OfferValues &figures, int happened)
{
    const int lays = int(in.at("lays"));
    const double keep = 1 - offer::fraction(in, "layCommission");
    double won = 0;
    double lost = 0;
    for (int n = 1; n <= lays; ++n) {
        const double stake = figures.at(numbered("lay", n, "Stake"));
        if (n == happened)
            lost += stake * (in.at(numbered("lay", n, "Odds")) - 1);
        else
            won += stake;
    }
    if (!offer::isSet(in, "oneMarket"))
        return won * keep - lost;
    const double net = won - lost;
    return net > 0 ? net * keep : net;
}

OfferValues figures(const OfferValues &in)
{
    const int lays = int(in.at("lays"));
    const double stake = in.at("backStake");
    const double backOdds = in.at("backOdds");
    const double balanced = stake * (offer::isSet(in, "freeBet") ? backOdds - 1 : backOdds);
    const double c = offer::fraction(in, "layCommission");
    OfferValues figures;
    double totalLiability = 0;
    for (int n = 1; n <= lays; ++n) {
        const double odds = in.at(numbered("lay", n, "Odds"));
        const double lay = roundedToPenny(balanced / (odds - c));
        figures[numbered("lay", n, "Stake")] = lay;
        figures[numbered("lay", n, "Liability")] = lay * (odds - 1);
        totalLiability += lay * (odds - 1);
    }
    figures["totalLiability"] = totalLiability;
    for (int n = 1; n <= lays; ++n)
        figures[numbered("profitIfLay", n, "Happens")] = offer::backWinnings(in) + exchangePart(in, figures, n);
    figures["profitIfNoneHappens"] = offer::backLoss(in) + exchangePart(in, figures, 0);
    return figures;
}

SettledParts parts(const OfferValues &in, const OfferValues &figures, std::string_view outcome)
{
    for (int n = 1; n <= int(in.at("lays")); ++n) {
        if (outcome == numbered("profitIfLay", n, "Happens"))
            return {offer::backWinnings(in), exchangePart(in, figures, n)};
    }
    return {offer::backLoss(in), exchangePart(in, figures, 0)};
}

} // namespace

extern const OfferDefinition multiLay {
    BetKind::MultiLay, "multi-lay", "Multi-lay", "Multi-lay", &shape, &figures, &offer::backStake, &parts};

} // namespace calc::offerkinds
