#include "calc/offers.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/rounding.h"

namespace calc {

namespace {

using Inputs = OfferValues;

std::string numbered(const char *before, int n, const char *after)
{
    return before + std::to_string(n) + after;
}

int countOf(const OfferValues &values, const std::string &key, int initial, int low, int high)
{
    // Clamped as a double: a hostile 1e308 has no int to become.
    const auto found = values.find(key);
    if (found == values.end() || std::isnan(found->second))
        return initial;
    return int(std::clamp(found->second, double(low), double(high)));
}

bool flag(const OfferValues &values, const std::string &key)
{
    const auto found = values.find(key);
    return found != values.end() && found->second != 0;
}

OfferInput stakeInput(const char *caption, const char *initial)
{
    return {"backStake", caption, InputKind::Stake, initial, ""};
}

OfferInput commissionInput(const char *initial)
{
    return {"layCommission", "Lay commission %", InputKind::Percent, initial, ""};
}

OfferShape refundShape()
{
    return {{stakeInput("Back stake", "20"), {"backOdds", "Back odds", InputKind::Odds, "5", ""},
                {"layOdds", "Lay odds", InputKind::Odds, "5.2", ""}, commissionInput("2"),
                {"refund", "Refund", InputKind::Amount, "", "the back stake"},
                {"retention", "Refund retention %", InputKind::Percent, "75", ""}},
        {{"layStake", "Lay stake"}, {"liability", "Liability"}, {"profitIfBackWins", "Profit if back wins", true},
            {"profitIfLayWins", "Profit if lay wins", true}},
        {}, ""};
}

OfferShape eachWayShape()
{
    return {{stakeInput("Back stake (each part)", "10"), {"backOdds", "Back odds", InputKind::Odds, "9", ""},
                {"placeTerms", "Place terms", InputKind::Terms, "1/4", ""},
                {"winLayOdds", "Win lay odds", InputKind::Odds, "9.4", ""},
                {"placeLayOdds", "Place lay odds", InputKind::Odds, "3", ""}, commissionInput("2")},
        {{"placeOdds", "Place odds"}, {"winLayStake", "Win lay stake"}, {"winLiability", "Win liability"},
            {"placeLayStake", "Place lay stake"}, {"placeLiability", "Place liability"},
            {"profitIfWins", "Profit if it wins", true}, {"profitIfPlaces", "Profit if it places", true},
            {"profitIfLoses", "Profit if it loses", true}, {"profitOnExtraPlace", "Profit on an extra place", true}},
        {}, ""};
}

OfferShape underlayShape()
{
    return {{stakeInput("Back stake", "20"), {"backOdds", "Back odds", InputKind::Odds, "3", ""},
                {"layOdds", "Lay odds", InputKind::Odds, "3.1", ""}, commissionInput("2"),
                {"freeBet", "Free bet (stake not returned)", InputKind::Flag, "0", ""},
                {"layStake", "Lay stake", InputKind::Amount, "", "the balanced stake"}},
        {{"balancedLayStake", "Balanced lay stake"}, {"liability", "Liability"},
            {"profitIfBackWins", "Profit if back wins", true}, {"profitIfLayWins", "Profit if lay wins", true}},
        {{"Balanced", "layStake", "balancedLayStake"}, {"Break even if back wins", "layStake", "breakEvenIfBackWins"},
            {"Break even if lay wins", "layStake", "breakEvenIfLayWins"}},
        ""};
}

OfferShape accumulatorShape(const OfferValues &values)
{
    const int legs = countOf(values, "legs", 2, 2, 10);
    OfferShape shape {
        {stakeInput("Back stake", "10"), {"freeBet", "Free bet (stake not returned)", InputKind::Flag, "0", ""},
            commissionInput("0"), {"legs", "Legs", InputKind::Count, "2", "", {}, 2, 10}},
        {{"accumulatorOdds", "Accumulator odds"}}, {}, "Lay each leg only after the leg before it has won."};
    const char *backOdds[] = {"2", "3"};
    const char *layOdds[] = {"2.1", "3.2"};
    for (int n = 1; n <= legs; ++n) {
        shape.inputs.push_back({numbered("leg", n, "BackOdds"), numbered("Leg ", n, " back odds"), InputKind::Odds,
            n <= 2 ? backOdds[n - 1] : "1.5", ""});
        shape.inputs.push_back({numbered("leg", n, "LayOdds"), numbered("Leg ", n, " lay odds"), InputKind::Odds,
            n <= 2 ? layOdds[n - 1] : "1.55", ""});
        shape.outputs.push_back({numbered("leg", n, "LayStake"), numbered("Leg ", n, " lay stake")});
        shape.outputs.push_back({numbered("leg", n, "Liability"), numbered("Leg ", n, " liability")});
        shape.outputs.push_back({numbered("profitIfLeg", n, "Loses"), numbered("Profit if leg ", n, " loses"), true});
    }
    shape.outputs.push_back({"profitIfEveryLegWins", "Profit if every leg wins", true});
    return shape;
}

OfferShape dutchingShape(const OfferValues &values)
{
    const int selections = countOf(values, "selections", 2, 2, 3);
    const bool fixTotal = flag(values, "fixTotal");
    OfferShape shape {{{"selections", "Selections", InputKind::Count, "2", "", {}, 2, 3},
                          {"fixTotal", "Stake to fix", InputKind::Choice, "0", "", {"Fix stake 1", "Fix total stake"}},
                          {"stake", fixTotal ? "Total stake" : "Stake 1", InputKind::Stake, "20", ""}},
        {}, {}, "Every winning selection returns the same."};
    const char *odds[] = {"2.5", "4", "6"};
    for (int n = 1; n <= selections; ++n) {
        shape.inputs.push_back({numbered("odds", n, ""), numbered("Odds ", n, ""), InputKind::Odds, odds[n - 1], ""});
        if (n > 1 || fixTotal)
            shape.outputs.push_back({numbered("stake", n, ""), numbered("Stake ", n, "")});
    }
    if (!fixTotal)
        shape.outputs.push_back({"totalStake", "Total stake"});
    for (int n = 1; n <= selections; ++n)
        shape.outputs.push_back({numbered("profitIf", n, "Wins"), numbered("Profit if ", n, " wins"), true});
    return shape;
}

OfferShape earlyPayoutShape()
{
    return {{stakeInput("Back stake", "50"), {"backOdds", "Back odds", InputKind::Odds, "3", ""},
                {"layOdds", "Lay odds", InputKind::Odds, "3.1", ""}, commissionInput("2"),
                {"exchangeBackOdds", "Exchange back odds", InputKind::Odds, "1.5", ""}},
        {{"layStake", "Lay stake"}, {"closingStake", "Back stake to close"},
            {"profitAfterClosing", "Profit after closing", true},
            {"openProfitIfWins", "Profit if left open and the selection wins"},
            {"openProfitIfLoses", "Profit if left open and it does not win"}},
        {},
        "The bookmaker has paid the bet out early; backing the selection at the exchange closes the lay. "
        "Exchange commission is charged on the market's net winnings only, so none is due when closing "
        "leaves the market at a loss, as it does once the odds have shortened."};
}

double fraction(const Inputs &in, const char *key)
{
    return in.at(key) / 100;
}

OfferValues refund(const Inputs &in)
{
    const double stake = in.at("backStake");
    const double c = fraction(in, "layCommission");
    const double kept = (in.contains("refund") ? in.at("refund") : stake) * fraction(in, "retention");
    // A refund worth more than the back bet returns needs no lay at all.
    const double lay = std::max(0.0, roundedToPenny((stake * in.at("backOdds") - kept) / (in.at("layOdds") - c)));
    const double liability = lay * (in.at("layOdds") - 1);
    return {{"layStake", lay}, {"liability", liability},
        {"profitIfBackWins", stake * (in.at("backOdds") - 1) - liability},
        {"profitIfLayWins", -stake + lay * (1 - c) + kept}};
}

OfferValues eachWay(const Inputs &in)
{
    const double stake = in.at("backStake");
    const double odds = in.at("backOdds");
    const double c = fraction(in, "layCommission");
    const double placeOdds = 1 + (odds - 1) * in.at("placeTerms");
    const double winLay = roundedToPenny(stake * odds / (in.at("winLayOdds") - c));
    const double placeLay = roundedToPenny(stake * placeOdds / (in.at("placeLayOdds") - c));
    const double winLiability = winLay * (in.at("winLayOdds") - 1);
    const double placeLiability = placeLay * (in.at("placeLayOdds") - 1);
    const double placeWins = stake * (placeOdds - 1);
    return {{"placeOdds", placeOdds}, {"winLayStake", winLay}, {"winLiability", winLiability},
        {"placeLayStake", placeLay}, {"placeLiability", placeLiability},
        {"profitIfWins", stake * (odds - 1) + placeWins - winLiability - placeLiability},
        {"profitIfPlaces", -stake + placeWins + winLay * (1 - c) - placeLiability},
        {"profitIfLoses", -2 * stake + (winLay + placeLay) * (1 - c)},
        // The bookmaker pays the place and the exchange does not: both lays win too.
        {"profitOnExtraPlace", -stake + placeWins + (winLay + placeLay) * (1 - c)}};
}

OfferValues underlay(const Inputs &in)
{
    const double stake = in.at("backStake");
    const double odds = in.at("backOdds");
    const double layOdds = in.at("layOdds");
    const double c = fraction(in, "layCommission");
    const bool freeBet = in.at("freeBet") != 0;
    const double balanced = roundedToPenny(stake * (freeBet ? odds - 1 : odds) / (layOdds - c));
    const double lay = in.contains("layStake") ? roundedToPenny(in.at("layStake")) : balanced;
    const double liability = lay * (layOdds - 1);
    OfferValues figures {{"balancedLayStake", balanced}, {"liability", liability},
        {"profitIfBackWins", stake * (odds - 1) - liability},
        {"profitIfLayWins", (freeBet ? 0 : -stake) + lay * (1 - c)}};
    // The stakes the buttons set, where there are such stakes (none breaks even at 100 % commission).
    for (const auto &[key, value] : {std::pair {"breakEvenIfBackWins", stake * (odds - 1) / (layOdds - 1)},
             std::pair {"breakEvenIfLayWins", freeBet ? 0 : stake / (1 - c)}}) {
        if (std::isfinite(value))
            figures[key] = roundedToPenny(value);
    }
    return figures;
}

OfferValues accumulator(const Inputs &in)
{
    const double stake = in.at("backStake");
    const bool freeBet = in.at("freeBet") != 0;
    const double c = fraction(in, "layCommission");
    const int legs = int(in.at("legs"));
    double odds = 1;
    double layProduct = 1;
    for (int n = 1; n <= legs; ++n) {
        odds *= in.at(numbered("leg", n, "BackOdds"));
        layProduct *= in.at(numbered("leg", n, "LayOdds")) - c;
    }
    // Every path pays the same when each lay grows by (l - c) / (1 - c) over the one before, and the
    // first makes losing at leg 1 pay what every leg winning pays.
    double exact = stake * (freeBet ? odds - 1 : odds) * std::pow(1 - c, legs - 1) / layProduct;
    OfferValues figures {{"accumulatorOdds", odds}};
    double paid = 0; // liabilities of the lays lost so far
    const double lost = freeBet ? 0 : -stake;
    for (int n = 1; n <= legs; ++n) {
        const double layOdds = in.at(numbered("leg", n, "LayOdds"));
        const double lay = roundedToPenny(exact);
        figures[numbered("leg", n, "LayStake")] = lay;
        figures[numbered("leg", n, "Liability")] = lay * (layOdds - 1);
        figures[numbered("profitIfLeg", n, "Loses")] = lost - paid + lay * (1 - c);
        paid += lay * (layOdds - 1);
        exact *= (layOdds - c) / (1 - c);
    }
    figures["profitIfEveryLegWins"] = stake * (odds - 1) - paid;
    return figures;
}

OfferValues dutching(const Inputs &in)
{
    const int selections = int(in.at("selections"));
    const bool fixTotal = in.at("fixTotal") != 0;
    double inverseSum = 0;
    for (int n = 1; n <= selections; ++n)
        inverseSum += 1 / in.at(numbered("odds", n, ""));
    const double firstOdds = in.at("odds1");
    OfferValues figures;
    double total = 0;
    for (int n = 1; n <= selections; ++n) {
        const double odds = in.at(numbered("odds", n, ""));
        const double stake = fixTotal ? in.at("stake") / (odds * inverseSum) : in.at("stake") * firstOdds / odds;
        figures[numbered("stake", n, "")] = roundedToPenny(stake);
        total += roundedToPenny(stake);
    }
    figures["totalStake"] = total;
    for (int n = 1; n <= selections; ++n)
        figures[numbered("profitIf", n, "Wins")]
            = figures[numbered("stake", n, "")] * in.at(numbered("odds", n, "")) - total;
    return figures;
}

OfferValues earlyPayout(const Inputs &in)
{
    const double stake = in.at("backStake");
    const double layOdds = in.at("layOdds");
    const double exchangeOdds = in.at("exchangeBackOdds");
    const double c = fraction(in, "layCommission");
    const double won = stake * (in.at("backOdds") - 1); // paid out early: the back bet has won
    const double lay = roundedToPenny(stake * in.at("backOdds") / (layOdds - c));
    // Backing L x O / Ob at the exchange makes the market's net the same whichever way it ends.
    const double close = roundedToPenny(lay * layOdds / exchangeOdds);
    const auto afterCommission = [c](double net) { return net > 0 ? net * (1 - c) : net; };
    const double ifWins = afterCommission(-lay * (layOdds - 1) + close * (exchangeOdds - 1));
    const double ifLoses = afterCommission(lay - close);
    return {{"layStake", lay}, {"closingStake", close}, {"profitAfterClosing", won + std::min(ifWins, ifLoses)},
        {"openProfitIfWins", won - lay * (layOdds - 1)}, {"openProfitIfLoses", won + lay * (1 - c)}};
}

} // namespace

OfferShape offerShape(BetKind kind, const OfferValues &values)
{
    switch (kind) {
    case BetKind::Refund:
        return refundShape();
    case BetKind::EachWay:
        return eachWayShape();
    case BetKind::UnderlayOverlay:
        return underlayShape();
    case BetKind::Accumulator:
        return accumulatorShape(values);
    case BetKind::Dutching:
        return dutchingShape(values);
    case BetKind::EarlyPayout:
        return earlyPayoutShape();
    default:
        return {};
    }
}

std::optional<std::string> inputProblem(InputKind kind, double value)
{
    switch (kind) {
    case InputKind::Stake:
        return value > 0 ? std::nullopt : std::optional<std::string>("must be above 0");
    case InputKind::Amount:
        return value >= 0 ? std::nullopt : std::optional<std::string>("must be 0 or more");
    case InputKind::Odds:
        return value >= 1.01 ? std::nullopt : std::optional<std::string>("must be 1.01 or more");
    case InputKind::Percent:
        return value >= 0 && value <= 100 ? std::nullopt : std::optional<std::string>("must be from 0 to 100");
    case InputKind::Terms:
        return value > 0 && value <= 1 ? std::nullopt
                                       : std::optional<std::string>("must be a fraction of the odds such as 1/4");
    case InputKind::Flag:
    case InputKind::Choice:
        return value == 0 || value == 1 ? std::nullopt : std::optional<std::string>("must be 0 or 1");
    case InputKind::Count:
        return value == std::floor(value) ? std::nullopt : std::optional<std::string>("must be a whole number");
    }
    return std::nullopt;
}

std::optional<OfferValues> offerFigures(BetKind kind, const OfferValues &inputs)
{
    const OfferShape shape = offerShape(kind, inputs);
    if (shape.inputs.empty())
        return std::nullopt;
    for (const OfferInput &input : shape.inputs) {
        const auto value = inputs.find(input.key);
        if (value == inputs.end()) {
            if (input.whenEmpty.empty())
                return std::nullopt;
            continue;
        }
        const bool outOfCount
            = input.kind == InputKind::Count && (value->second < input.low || value->second > input.high);
        if (outOfCount || inputProblem(input.kind, value->second))
            return std::nullopt;
    }
    OfferValues figures;
    switch (kind) {
    case BetKind::Refund:
        figures = refund(inputs);
        break;
    case BetKind::EachWay:
        figures = eachWay(inputs);
        break;
    case BetKind::UnderlayOverlay:
        figures = underlay(inputs);
        break;
    case BetKind::Accumulator:
        figures = accumulator(inputs);
        break;
    case BetKind::Dutching:
        figures = dutching(inputs);
        break;
    case BetKind::EarlyPayout:
        figures = earlyPayout(inputs);
        break;
    default:
        return std::nullopt;
    }
    const bool finite
        = std::all_of(figures.begin(), figures.end(), [](const auto &figure) { return std::isfinite(figure.second); });
    return finite ? std::optional(figures) : std::nullopt;
}

bool offerFiguresMatch(BetKind kind, const OfferValues &inputs, const OfferValues &archived)
{
    const std::optional<OfferValues> figures = offerFigures(kind, inputs);
    if (!figures)
        return false;
    for (const OfferOutput &output : offerShape(kind, inputs).outputs) {
        const auto value = archived.find(output.key);
        // The file holds two decimals; a hair more allows for halves rounded either way.
        if (value == archived.end() || std::fabs(value->second - figures->at(output.key)) > 0.005 + 1e-9)
            return false;
    }
    return true;
}

double offerStake(BetKind kind, const OfferValues &inputs, const OfferValues &figures)
{
    switch (kind) {
    case BetKind::EachWay:
        return 2 * inputs.at("backStake");
    case BetKind::Dutching:
        return figures.at("totalStake");
    default:
        return inputs.at("backStake");
    }
}

std::pair<double, double> outcomeRange(BetKind kind, const OfferValues &inputs, const OfferValues &figures)
{
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (const OfferOutput &output : offerShape(kind, inputs).outputs) {
        const auto figure = figures.find(output.key);
        if (!output.outcome || figure == figures.end())
            continue;
        lowest = std::min(lowest, figure->second);
        highest = std::max(highest, figure->second);
    }
    return {lowest, highest};
}

} // namespace calc
