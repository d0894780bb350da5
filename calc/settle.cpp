#include "calc/settle.h"

#include <algorithm>
#include <array>
#include <tuple>

#include "calc/offers.h"
#include "calc/offertable.h"
#include "calc/rounding.h"

namespace calc {

namespace {

// "Profit if leg 2 loses" becomes "Leg 2 lost": what happened, as the history's status says it.
std::string settledCaption(std::string caption)
{
    for (const std::string_view prefix : {"Profit if ", "Profit "}) {
        if (caption.starts_with(prefix)) {
            caption.erase(0, prefix.size());
            break;
        }
    }
    constexpr std::array<std::pair<std::string_view, std::string_view>, 4> pastTense {
        {{"does not win", "did not win"}, {" wins", " won"}, {" loses", " lost"}, {" places", " placed"}}};
    for (const auto &[present, past] : pastTense) {
        if (const std::size_t at = caption.rfind(present); at != std::string::npos) {
            caption.replace(at, present.size(), past);
            break;
        }
    }
    if (!caption.empty() && caption.front() >= 'a' && caption.front() <= 'z')
        caption.front() = char(caption.front() - 'a' + 'A');
    return caption;
}

} // namespace

std::vector<SettleOutcome> matchedBetOutcomes()
{
    return {{"profitIfBackWins", "Back won"}, {"profitIfLayWins", "Lay won"}};
}

std::optional<Payout> matchedBetPayout(const ArchivedMatchedBet &bet, std::string_view outcome)
{
    const double ownStake = bet.stake - bet.stakeForfeit;
    if (outcome == "profitIfBackWins")
        return Payout {pennies(bet.backReturns - ownStake), pennies(bet.backReturn - ownStake)};
    if (outcome == "profitIfLayWins")
        return Payout {pennies(bet.layReturns - ownStake), pennies(-ownStake)};
    return std::nullopt;
}

OpenMoney matchedBetOpenMoney(const ArchivedMatchedBet &bet)
{
    return {pennies(bet.stake - bet.stakeForfeit), pennies(bet.layRisk)};
}

std::vector<SettleOutcome> offerOutcomes(BetKind kind, const OfferValues &inputs)
{
    return offerOutcomes(kind, inputs, offerShape(kind, inputs));
}

std::vector<SettleOutcome> offerOutcomes(BetKind kind, const OfferValues &inputs, const OfferShape &shape)
{
    const OfferDefinition *offer = offerDefinition(kind);
    if (!offer)
        return {};
    std::vector<SettleOutcome> outcomes;
    if (offer->settleOutcomes) {
        for (auto &[key, caption] : offer->settleOutcomes(inputs))
            outcomes.push_back({std::move(key), std::move(caption)});
        return outcomes;
    }
    for (const OfferOutput &output : shape.outputs) {
        if (output.outcome)
            outcomes.push_back({output.key, settledCaption(output.caption)});
    }
    return outcomes;
}

std::optional<Payout> offerPayout(BetKind kind, const OfferValues &inputs, const OfferValues &figures,
    const OfferValues &archived, std::string_view outcome)
{
    const OfferDefinition *offer = offerDefinition(kind);
    const std::string key(outcome);
    if (!offer || !figures.contains(key))
        return std::nullopt;
    const auto held = archived.find(key);
    const double profit = held != archived.end() ? held->second : figures.at(key);
    return Payout {pennies(profit), pennies(offer->bookmakerPart(inputs, figures, outcome))};
}

OfferSummary summarizeOffer(BetKind kind, const OfferValues &inputs, const OfferValues &figures)
{
    return summarizeOffer(kind, inputs, figures, offerShape(kind, inputs));
}

OfferSummary summarizeOffer(
    BetKind kind, const OfferValues &inputs, const OfferValues &figures, const OfferShape &shape)
{
    OfferSummary summary;
    summary.stake = offerStake(kind, inputs, figures);
    summary.freeStake = offer::isSet(inputs, "freeBet") ? summary.stake : 0;
    std::tie(summary.lowest, summary.highest) = outcomeRange(shape, figures);
    // The most the lays can lose: over the outcomes, what is not the bookmaker's part. (A refund's
    // settling as a free bet leaves the lays as its cash settling does.)
    const OfferDefinition &offer = *offerDefinition(kind);
    double exchangeLoss = 0;
    for (const OfferOutput &output : shape.outputs) {
        if (output.outcome)
            exchangeLoss
                = std::max(exchangeLoss, offer.bookmakerPart(inputs, figures, output.key) - figures.at(output.key));
    }
    summary.open = {pennies(summary.stake - summary.freeStake), pennies(exchangeLoss)};
    return summary;
}

Payout voidPayout()
{
    return {};
}

Payout otherPayout(double amount)
{
    return {pennies(amount), pennies(amount)};
}

} // namespace calc
