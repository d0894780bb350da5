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
    const auto afterCommission = [c](double net) { return net > 0 ? net * (1 - c) : net; };
    const double ifWins = afterCommission(-lay * (layOdds - 1) + close * (exchangeOdds - 1));
    const double ifLoses = afterCommission(lay - close);
    return {{"layStake", lay}, {"closingStake", close}, {"profitAfterClosing", won + std::min(ifWins, ifLoses)},
        {"openProfitIfWins", won - lay * (layOdds - 1)},
        // Paid out, the back bet has won whatever the selection does.
        {"openProfitIfLoses", (offer::isSet(in, "paidOut") ? won : -stake) + lay * (1 - c)}};
}

double bookmakerPart(const OfferValues &in, const OfferValues &, std::string_view outcome)
{
    // Paid out early, the back bet has won whatever the selection does.
    const bool backWon = outcome != "openProfitIfLoses" || offer::isSet(in, "paidOut");
    return backWon ? offer::backWinnings(in) : -in.at("backStake");
}

} // namespace

extern const OfferDefinition earlyPayout {BetKind::EarlyPayout, "early-payout", "Early payout", "Early payout", &shape,
    &figures, &offer::backStake, &bookmakerPart};

} // namespace calc::offerkinds
