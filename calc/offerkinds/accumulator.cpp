// An accumulator laid as it goes: each leg is laid only once the leg before it has won. The lay of
// a leg grows by (l - c) / (1 - c) over the one before, and the last balances every leg winning,
// so every way the bet can still end pays the same. A leg already laid keeps the stake placed; once
// a leg has won, the ways it could have lost are gone, and the liabilities of the lays lost count.
#include <algorithm>
#include <cmath>

#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc::offerkinds {

namespace {

constexpr int mostLegs = 10;

using offer::numbered;

int legsOf(const OfferValues &values)
{
    return offer::countOf(values, "legs", 2, 2, mostLegs);
}

// The last leg marked won; a leg can only have won once every leg before it has.
int legsWon(const OfferValues &values, int legs)
{
    int won = 0;
    for (int n = 1; n <= legs; ++n) {
        if (offer::isSet(values, numbered("leg", n, "Won")))
            won = n;
    }
    return won;
}

OfferShape shape(const OfferValues &settings)
{
    const int legs = legsOf(settings);
    const int won = legsWon(settings, legs);
    OfferShape shape {
        {offer::stake("backStake", "Back stake", "10"), offer::flag("freeBet", "Free bet (stake not returned)", "0"),
            offer::commission("0"), offer::count("legs", "Legs", 2, mostLegs, "2")},
        {{"accumulatorOdds", "Accumulator odds"}}, {},
        "Lay each leg only after the leg before it has won. Type the stake you laid once a lay is matched, "
        "and tick a leg once it has won: the later lays and the profits follow what was placed."};
    const char *backOdds[] = {"2", "3"};
    const char *layOdds[] = {"2.1", "3.2"};
    for (int n = 1; n <= legs; ++n) {
        shape.inputs.push_back(offer::odds(
            numbered("leg", n, "BackOdds"), numbered("Leg ", n, " back odds"), n <= 2 ? backOdds[n - 1] : "1.5"));
        shape.inputs.push_back(offer::odds(
            numbered("leg", n, "LayOdds"), numbered("Leg ", n, " lay odds"), n <= 2 ? layOdds[n - 1] : "1.55"));
        shape.inputs.push_back({numbered("leg", n, "LaidStake"), numbered("Leg ", n, " laid stake"), InputKind::Amount,
            "", "not laid yet, the calculated stake stands"});
        shape.inputs.push_back(offer::flag(numbered("leg", n, "Won"), numbered("Leg ", n, " won"), "0", 0));
        shape.outputs.push_back({numbered("leg", n, "LayStake"), numbered("Leg ", n, " lay stake")});
        shape.outputs.push_back({numbered("leg", n, "Liability"), numbered("Leg ", n, " liability")});
        if (n > won)
            shape.outputs.push_back(
                {numbered("profitIfLeg", n, "Loses"), numbered("Profit if leg ", n, " loses"), true});
    }
    shape.outputs.push_back({"profitIfEveryLegWins", "Profit if every leg wins", true});
    return shape;
}

// The balanced lay of every leg, from the last back to the first: the last lay balances every leg
// winning against the last leg losing, and each lay before is the next one shrunk by (1 - c) / (l - c).
std::vector<double> balancedLays(const OfferValues &in, int legs, double backOdds, bool freeBet, double c)
{
    std::vector<double> lays(std::size_t(legs) + 1);
    const double stake = in.at("backStake");
    double lay = stake * (freeBet ? backOdds - 1 : backOdds) / (in.at(numbered("leg", legs, "LayOdds")) - c);
    for (int n = legs; n >= 1; --n) {
        lays[std::size_t(n)] = lay;
        if (n > 1)
            lay *= (1 - c) / (in.at(numbered("leg", n - 1, "LayOdds")) - c);
    }
    return lays;
}

OfferValues figures(const OfferValues &in)
{
    const double stake = in.at("backStake");
    const bool freeBet = offer::isSet(in, "freeBet");
    const double c = offer::fraction(in, "layCommission");
    const int legs = int(in.at("legs"));
    double odds = 1;
    for (int n = 1; n <= legs; ++n)
        odds *= in.at(numbered("leg", n, "BackOdds"));
    const std::vector<double> balanced = balancedLays(in, legs, odds, freeBet, c);
    OfferValues figures {{"accumulatorOdds", odds}};
    double paid = 0; // the liabilities of the lays lost so far
    const double lost = freeBet ? 0 : -stake;
    for (int n = 1; n <= legs; ++n) {
        const double layOdds = in.at(numbered("leg", n, "LayOdds"));
        const auto laid = in.find(numbered("leg", n, "LaidStake"));
        const double lay = laid != in.end() ? roundedToPenny(laid->second) : roundedToPenny(balanced[std::size_t(n)]);
        figures[numbered("leg", n, "LayStake")] = lay;
        figures[numbered("leg", n, "Liability")] = lay * (layOdds - 1);
        figures[numbered("profitIfLeg", n, "Loses")] = lost - paid + lay * (1 - c);
        paid += lay * (layOdds - 1);
    }
    figures["profitIfEveryLegWins"] = stake * (odds - 1) - paid;
    return figures;
}

double liabilityOf(const OfferValues &in, const OfferValues &figures, int leg)
{
    return figures.at(numbered("leg", leg, "LayStake")) * (in.at(numbered("leg", leg, "LayOdds")) - 1);
}

// The lays are those the record holds: the laid stakes typed, the calculated ones where none was.
SettledParts parts(const OfferValues &in, const OfferValues &figures, std::string_view outcome)
{
    const int legs = int(in.at("legs"));
    double paid = 0; // the liabilities of the lays lost so far
    for (int n = 1; n <= legs; ++n) {
        if (outcome == numbered("profitIfLeg", n, "Loses")) {
            const double c = offer::fraction(in, "layCommission");
            return {offer::backLoss(in), -paid + figures.at(numbered("leg", n, "LayStake")) * (1 - c)};
        }
        paid += liabilityOf(in, figures, n);
    }
    double odds = 1;
    for (int n = 1; n <= legs; ++n)
        odds *= in.at(numbered("leg", n, "BackOdds"));
    return {in.at("backStake") * (odds - 1), -paid};
}

// Only the lays placed so far are at the exchange: the first leg's, and each later one whose
// stake was typed once the leg before it had won.
OpenMoney openMoney(const OfferValues &in, const OfferValues &figures)
{
    const int legs = int(in.at("legs"));
    const int laidUpTo = std::min(legs, legsWon(in, legs) + 1);
    double liabilities = liabilityOf(in, figures, 1);
    for (int n = 2; n <= laidUpTo; ++n) {
        if (in.contains(numbered("leg", n, "LaidStake")))
            liabilities += liabilityOf(in, figures, n);
    }
    return {-offer::backLoss(in), liabilities};
}

} // namespace

extern const OfferDefinition accumulator {BetKind::Accumulator, "accumulator", "Accumulator", "Accumulator", &shape,
    &figures, &offer::backStake, &parts, nullptr, nullptr, &openMoney};

} // namespace calc::offerkinds
