// An accumulator laid as it goes: each leg is laid only once the leg before it has won. Laid the
// standard way, the lay of a leg grows by (l - c) / (1 - c') over the one before, and the last
// balances every leg winning, so every way the bet can still end pays the same. An underlay lays a
// share of those stakes, keeping more if the acca comes in; locking in lays each leg so that its
// losing ends at zero, which leaves everything else to the acca's win. Each leg may be laid at an
// exchange of its own commission. A leg already laid keeps the stake placed; once a leg has won,
// the ways it could have lost are gone, and the liabilities of the lays lost count.
#include <algorithm>
#include <cmath>

#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc::offerkinds {

namespace {

constexpr int mostLegs = 10;

enum LayMode { Standard, Underlay, LockIn };

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

LayMode layModeOf(const OfferValues &values)
{
    return LayMode(offer::countOf(values, "layMode", Standard, Standard, LockIn));
}

OfferInput layMode()
{
    OfferInput mode
        = offer::choice("layMode", "Lay mode", {"Standard", "Underlay %", "Lock in when the acca wins"}, "0");
    mode.ifMissing = Standard; // offers archived before the modes were all laid the standard way
    return mode;
}

OfferShape shape(const OfferValues &settings)
{
    const int legs = legsOf(settings);
    const int won = legsWon(settings, legs);
    OfferShape shape {
        {offer::stake("backStake", "Back stake", "10"), offer::flag("freeBet", "Free bet (stake not returned)", "0"),
            offer::commission("0"), offer::count("legs", "Legs", 2, mostLegs, "2"), layMode()},
        {{"accumulatorOdds", "Accumulator odds"}}, {},
        "Lay each leg only after the leg before it has won. Type the stake you laid once a lay is matched, "
        "and tick a leg once it has won: the later lays and the profits follow what was placed."};
    if (layModeOf(settings) == Underlay)
        shape.inputs.push_back(offer::count("underlay", "Underlay %", 50, 100, "80"));
    const char *backOdds[] = {"2", "3"};
    const char *layOdds[] = {"2.1", "3.2"};
    for (int n = 1; n <= legs; ++n) {
        shape.inputs.push_back(offer::odds(
            numbered("leg", n, "BackOdds"), numbered("Leg ", n, " back odds"), n <= 2 ? backOdds[n - 1] : "1.5"));
        shape.inputs.push_back(offer::odds(
            numbered("leg", n, "LayOdds"), numbered("Leg ", n, " lay odds"), n <= 2 ? layOdds[n - 1] : "1.55"));
        shape.inputs.push_back({numbered("leg", n, "Commission"), numbered("Leg ", n, " commission %"),
            InputKind::Commission, "", "the lay commission above"});
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

// A leg's commission as a fraction: its own, or the one for every leg.
double commissionOf(const OfferValues &in, int leg)
{
    const auto own = in.find(numbered("leg", leg, "Commission"));
    return (own != in.end() ? own->second : in.at("layCommission")) / 100;
}

double accumulatorOdds(const OfferValues &in, int legs)
{
    double odds = 1;
    for (int n = 1; n <= legs; ++n)
        odds *= in.at(numbered("leg", n, "BackOdds"));
    return odds;
}

// The standard lay of every leg, from the last back to the first: the last lay balances every leg
// winning against the last leg losing, and each lay before is the next one shrunk by
// (1 - c') / (l - c), c' the next leg's commission and l, c this leg's odds and commission.
std::vector<double> balancedLays(const OfferValues &in, int legs)
{
    std::vector<double> lays(std::size_t(legs) + 1);
    const double odds = accumulatorOdds(in, legs);
    const double backReturn = in.at("backStake") * (offer::isSet(in, "freeBet") ? odds - 1 : odds);
    double lay = backReturn / (in.at(numbered("leg", legs, "LayOdds")) - commissionOf(in, legs));
    for (int n = legs; n >= 1; --n) {
        lays[std::size_t(n)] = lay;
        if (n > 1)
            lay *= (1 - commissionOf(in, n)) / (in.at(numbered("leg", n - 1, "LayOdds")) - commissionOf(in, n - 1));
    }
    return lays;
}

// The lay a leg takes in the mode chosen, to the penny; `paid` is what the lays before it lose
// once their legs have won. Locked in, the lay's winnings after commission cover the stake and
// those losses, rounded up so that the leg losing ends at zero or just above.
double calculatedLay(const OfferValues &in, const std::vector<double> &balanced, int leg, double paid)
{
    switch (layModeOf(in)) {
    case Underlay:
        return roundedToPenny(balanced[std::size_t(leg)] * in.at("underlay") / 100);
    case LockIn:
        return penniesUp((paid - offer::backLoss(in)) / (1 - commissionOf(in, leg)));
    case Standard:
        break;
    }
    return roundedToPenny(balanced[std::size_t(leg)]);
}

OfferValues figures(const OfferValues &in)
{
    const double stake = in.at("backStake");
    const int legs = int(in.at("legs"));
    const double odds = accumulatorOdds(in, legs);
    const std::vector<double> balanced = balancedLays(in, legs);
    OfferValues figures {{"accumulatorOdds", odds}};
    double paid = 0; // the liabilities of the lays lost so far
    for (int n = 1; n <= legs; ++n) {
        const double layOdds = in.at(numbered("leg", n, "LayOdds"));
        const auto laid = in.find(numbered("leg", n, "LaidStake"));
        const double lay = laid != in.end() ? roundedToPenny(laid->second) : calculatedLay(in, balanced, n, paid);
        figures[numbered("leg", n, "LayStake")] = lay;
        figures[numbered("leg", n, "Liability")] = lay * (layOdds - 1);
        figures[numbered("profitIfLeg", n, "Loses")] = offer::backLoss(in) - paid + lay * (1 - commissionOf(in, n));
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
        if (outcome == numbered("profitIfLeg", n, "Loses"))
            return {
                offer::backLoss(in), -paid + figures.at(numbered("leg", n, "LayStake")) * (1 - commissionOf(in, n))};
        paid += liabilityOf(in, figures, n);
    }
    return {in.at("backStake") * (accumulatorOdds(in, legs) - 1), -paid};
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
