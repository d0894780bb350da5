// Early payout: a bet that the bookmaker pays out as a winner once the selection leads, whatever
// happens after. Until then it is a plain matched bet with its two open outcomes; once paid out,
// backing the selection at the exchange closes the lay.
#include <algorithm>

#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc::offerkinds {

namespace {

OfferShape shape(const OfferValues &settings)
{
    const bool paidOut = offer::isSet(settings, "paidOut");
    OfferShape shape {{offer::stake("backStake", "Back stake", "50"), offer::odds("backOdds", "Back odds", "3"),
                          offer::odds("layOdds", "Lay odds", "3.1"), offer::commission("2"),
                          // Offers archived before the box existed were all of bets paid out.
                          offer::flag("paidOut", "Paid out early", "0", 1),
                          offer::odds("exchangeBackOdds", "Exchange back odds", "1.5")},
        {{"layStake", "Lay stake"}}, {},
        "Once the bookmaker has paid the bet out early, backing the selection at the exchange closes the lay. "
        "Exchange commission is charged on the market's net winnings only, so none is due when closing "
        "leaves the market at a loss, as it does once the odds have shortened."};
    if (paidOut) {
        shape.outputs.push_back({"closingStake", "Back stake to close"});
        shape.outputs.push_back({"profitAfterClosing", "Profit after closing", true});
    }
    // Before the payout these are the bet's two outcomes; after it, what leaving the lay open brings.
    shape.outputs.push_back({"openProfitIfWins",
        paidOut ? "Profit if left open and the selection wins" : "Profit if the selection wins", !paidOut});
    shape.outputs.push_back({"openProfitIfLoses",
        paidOut ? "Profit if left open and it does not win" : "Profit if it does not win", !paidOut});
    return shape;
}

// What the lay and the back bet that closes it bring at the exchange, whichever way the selection
// ends: commission is charged on the market's net winnings only.
struct Closed
{
    double ifWins = 0;
    double ifLoses = 0;
    double worst() const { return std::min(ifWins, ifLoses); }
};

Closed closed(const OfferValues &in, double lay, double close)
{
    const double c = offer::fraction(in, "layCommission");
    const double layOdds = in.at("layOdds");
    const double exchangeOdds = in.at("exchangeBackOdds");
    const auto afterCommission = [c](double net) { return net > 0 ? net * (1 - c) : net; };
    return {afterCommission(-lay * (layOdds - 1) + close * (exchangeOdds - 1)), afterCommission(lay - close)};
}

OfferValues figures(const OfferValues &in)
{
    const double stake = in.at("backStake");
    const double layOdds = in.at("layOdds");
    const double exchangeOdds = in.at("exchangeBackOdds");
    const double c = offer::fraction(in, "layCommission");
    const double won = stake * (in.at("backOdds") - 1); // paid out early: the back bet has won
    const double lay = roundedToPenny(stake * in.at("backOdds") / (layOdds - c));
    // Backing L x O / Ob at the exchange makes the market's net the same whichever way it ends.
    const double close = roundedToPenny(lay * layOdds / exchangeOdds);
    return {{"layStake", lay}, {"closingStake", close}, {"profitAfterClosing", won + closed(in, lay, close).worst()},
        {"openProfitIfWins", won - lay * (layOdds - 1)},
        // Paid out, the back bet has won whatever the selection does.
        {"openProfitIfLoses", (offer::isSet(in, "paidOut") ? won : -stake) + lay * (1 - c)}};
}

SettledParts parts(const OfferValues &in, const OfferValues &figures, std::string_view outcome)
{
    const double lay = figures.at("layStake");
    if (outcome == "profitAfterClosing")
        return {offer::backWinnings(in), closed(in, lay, figures.at("closingStake")).worst()};
    // Paid out early, the back bet has won whatever the selection does.
    const bool backWon = outcome != "openProfitIfLoses" || offer::isSet(in, "paidOut");
    const double bookmaker = backWon ? offer::backWinnings(in) : -in.at("backStake");
    if (outcome == "openProfitIfWins")
        return {bookmaker, -lay * (in.at("layOdds") - 1)};
    return {bookmaker, lay * (1 - offer::fraction(in, "layCommission"))};
}

// Paid out, the stake is back at the bookmaker with the winnings, and the lay is all that is
// still open.
OpenMoney openMoney(const OfferValues &in, const OfferValues &figures)
{
    const bool paidOut = offer::isSet(in, "paidOut");
    const double worst
        = paidOut ? parts(in, figures, "profitAfterClosing").exchange : parts(in, figures, "openProfitIfWins").exchange;
    return {paidOut ? 0 : in.at("backStake"), std::max(0.0, -worst)};
}

BackAndLay backAndLay(const OfferValues &inputs, const OfferValues &figures)
{
    return singleLay(inputs, figures.at("layStake"));
}

} // namespace

extern const OfferDefinition earlyPayout {BetKind::EarlyPayout, "early-payout", "Early payout", "Early payout", &shape,
    &figures, &offer::backStake, &parts, nullptr, nullptr, &openMoney, &backAndLay};

} // namespace calc::offerkinds
