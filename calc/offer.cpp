#include "calc/offer.h"

#include <algorithm>
#include <cmath>

namespace calc::offer {

OfferInput stake(const char *key, const char *caption, const char *initial)
{
    return {key, caption, InputKind::Stake, initial, ""};
}

OfferInput amount(const char *key, const char *caption, const char *initial)
{
    return {key, caption, InputKind::Amount, initial, ""};
}

OfferInput optionalAmount(const char *key, const char *caption, const char *whenEmpty)
{
    return {key, caption, InputKind::Amount, "", whenEmpty};
}

OfferInput odds(const std::string &key, const std::string &caption, const char *initial)
{
    return {key, caption, InputKind::Odds, initial, ""};
}

OfferInput percent(const char *key, const char *caption, const char *initial)
{
    return {key, caption, InputKind::Percent, initial, ""};
}

OfferInput commission(const char *initial)
{
    return {"layCommission", "Lay commission %", InputKind::Commission, initial, ""};
}

OfferInput flag(
    const std::string &key, const std::string &caption, const char *initial, std::optional<double> ifMissing)
{
    OfferInput input {key, caption, InputKind::Flag, initial, ""};
    input.ifMissing = ifMissing;
    return input;
}

OfferInput choice(const char *key, const char *caption, std::vector<std::string> options, const char *initial)
{
    return {key, caption, InputKind::Choice, initial, "", std::move(options)};
}

OfferInput count(const char *key, const char *caption, int low, int high, const char *initial)
{
    return {key, caption, InputKind::Count, initial, "", {}, low, high};
}

std::string numbered(const char *before, int n, const char *after)
{
    return before + std::to_string(n) + after;
}

int countOf(const OfferValues &values, std::string_view key, int initial, int low, int high)
{
    // Clamped as a double: a hostile 1e308 has no int to become.
    const auto found = values.find(key);
    if (found == values.end() || std::isnan(found->second))
        return initial;
    return int(std::clamp(found->second, double(low), double(high)));
}

bool isSet(const OfferValues &values, std::string_view key)
{
    const auto found = values.find(key);
    return found != values.end() && found->second != 0;
}

double fraction(const OfferValues &values, std::string_view key)
{
    return values.at(key) / 100;
}

double backStake(const OfferValues &inputs, const OfferValues &)
{
    return inputs.at("backStake");
}

double backWinnings(const OfferValues &inputs)
{
    return inputs.at("backStake") * (inputs.at("backOdds") - 1);
}

double backLoss(const OfferValues &inputs)
{
    return isSet(inputs, "freeBet") ? 0 : -inputs.at("backStake");
}

SettledParts backOrLay(const OfferValues &inputs, double layStake, std::string_view outcome)
{
    const double layOdds = inputs.at("layOdds");
    if (outcome == "profitIfBackWins")
        return {backWinnings(inputs), -layStake * (layOdds - 1)};
    return {backLoss(inputs), layStake * (1 - fraction(inputs, "layCommission"))};
}

} // namespace calc::offer
