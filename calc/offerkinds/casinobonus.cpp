// A casino bonus wagered through: the amount to wager is the requirement times the base (the bonus,
// or deposit and bonus), more where the game counts only in part; the game keeps its edge of every
// amount wagered, on average, and the bonus is worth what is left of it after that.
#include "calc/offer.h"

namespace calc::offerkinds {

namespace {

OfferShape shape(const OfferValues &)
{
    return {{offer::amount("bonus", "Bonus", "50"), offer::amount("deposit", "Deposit", "50"),
                offer::amount("wagering", "Wagering requirement (times)", "35"),
                offer::choice("wagerOn", "Wagering on", {"Wager on bonus", "Wager on deposit and bonus"}, "1"),
                offer::percent("returnToPlayer", "Game return to player %", "96"),
                offer::percent("weighting", "Game weighting %", "100")},
        {{"amountToWager", "Amount to wager"}, {"expectedLoss", "Expected loss while wagering"},
            {"expectedValue", "Expected value", true}},
        {}, "What a bonus is worth on average: a single session may end far above or below it."};
}

OfferValues figures(const OfferValues &in)
{
    const double base = in.at("bonus") + (offer::isSet(in, "wagerOn") ? in.at("deposit") : 0);
    const double amount = in.at("wagering") * base / offer::fraction(in, "weighting");
    const double loss = amount * (1 - offer::fraction(in, "returnToPlayer"));
    return {{"amountToWager", amount}, {"expectedLoss", loss}, {"expectedValue", in.at("bonus") - loss}};
}

double deposit(const OfferValues &inputs, const OfferValues &)
{
    return inputs.at("deposit");
}

// All of it at the casino, on paper: the expected value is no way a session ends.
SettledParts parts(const OfferValues &, const OfferValues &figures, std::string_view)
{
    return {figures.at("expectedValue"), 0};
}

// What came in is typed as an amount: the window offers no outcome to settle as.
std::vector<std::pair<std::string, std::string>> settleOutcomes(const OfferValues &)
{
    return {};
}

} // namespace

extern const OfferDefinition casinoBonus {BetKind::CasinoBonus, "casino", "Casino bonus", "Casino bonus", &shape,
    &figures, &deposit, &parts, nullptr, &settleOutcomes};

} // namespace calc::offerkinds
