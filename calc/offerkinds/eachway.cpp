// Each way, with the bookmaker's extra places: a win bet and a place bet of the same stake, laid in
// the exchange's win and place markets. A horse that finishes in a place the bookmaker pays and the
// exchange does not wins the place bet and both lays.
#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc::offerkinds {

namespace {

OfferShape shape(const OfferValues &settings)
{
    OfferShape shape {
        {offer::stake("backStake", "Back stake (each part)", "10"), offer::odds("backOdds", "Back odds", "9"),
            {"placeTerms", "Place terms", InputKind::Terms, "1/4", ""},
            offer::odds("winLayOdds", "Win lay odds", "9.4"), offer::odds("placeLayOdds", "Place lay odds", "3"),
            offer::commission("2"),
            // Offers archived before the box existed all counted the extra place.
            offer::flag("extraPlace", "Extra place offered", "0", 1)},
        {{"placeOdds", "Place odds"}, {"winLayStake", "Win lay stake"}, {"winLiability", "Win liability"},
            {"placeLayStake", "Place lay stake"}, {"placeLiability", "Place liability"},
            {"profitIfWins", "Profit if it wins", true}, {"profitIfPlaces", "Profit if it places", true},
            {"profitIfLoses", "Profit if it loses", true}},
        {}, ""};
    if (offer::isSet(settings, "extraPlace"))
        shape.outputs.push_back({"profitOnExtraPlace", "Profit on an extra place", true});
    return shape;
}

OfferValues figures(const OfferValues &in)
{
    const double stake = in.at("backStake");
    const double odds = in.at("backOdds");
    const double c = offer::fraction(in, "layCommission");
    const double placeOdds = 1 + (odds - 1) * in.at("placeTerms");
    const double winLay = roundedToPenny(stake * odds / (in.at("winLayOdds") - c));
    const double placeLay = roundedToPenny(stake * placeOdds / (in.at("placeLayOdds") - c));
    const double winLiability = winLay * (in.at("winLayOdds") - 1);
    const double placeLiability = placeLay * (in.at("placeLayOdds") - 1);
    const double placeWins = stake * (placeOdds - 1);
    OfferValues figures {{"placeOdds", placeOdds}, {"winLayStake", winLay}, {"winLiability", winLiability},
        {"placeLayStake", placeLay}, {"placeLiability", placeLiability},
        {"profitIfWins", stake * (odds - 1) + placeWins - winLiability - placeLiability},
        {"profitIfPlaces", -stake + placeWins + winLay * (1 - c) - placeLiability},
        {"profitIfLoses", -2 * stake + (winLay + placeLay) * (1 - c)}};
    // The bookmaker pays the place and the exchange does not: both lays win too.
    if (offer::isSet(in, "extraPlace"))
        figures["profitOnExtraPlace"] = -stake + placeWins + (winLay + placeLay) * (1 - c);
    return figures;
}

SettledParts parts(const OfferValues &in, const OfferValues &figures, std::string_view outcome)
{
    const double stake = in.at("backStake");
    const double placeWins = stake * (in.at("backOdds") - 1) * in.at("placeTerms");
    const double c = offer::fraction(in, "layCommission");
    const double winLay = figures.at("winLayStake");
    const double placeLay = figures.at("placeLayStake");
    const double winLiability = winLay * (in.at("winLayOdds") - 1);
    const double placeLiability = placeLay * (in.at("placeLayOdds") - 1);
    if (outcome == "profitIfWins")
        return {offer::backWinnings(in) + placeWins, -winLiability - placeLiability};
    if (outcome == "profitIfPlaces")
        return {-stake + placeWins, winLay * (1 - c) - placeLiability};
    if (outcome == "profitIfLoses")
        return {-2 * stake, (winLay + placeLay) * (1 - c)};
    return {-stake + placeWins, (winLay + placeLay) * (1 - c)}; // an extra place
}

double bothParts(const OfferValues &inputs, const OfferValues &)
{
    return 2 * inputs.at("backStake");
}

} // namespace

extern const OfferDefinition eachWay {
    BetKind::EachWay, "each-way", "Each way", "Each way", &shape, &figures, &bothParts, &parts};

} // namespace calc::offerkinds
