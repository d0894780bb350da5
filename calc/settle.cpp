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
    constexpr std::array<std::pair<std::string_view, std::string_view>, 5> pastTense {{{"does not win", "did not win"},
        {" wins", " won"}, {" loses", " lost"}, {" places", " placed"}, {" happens", " happened"}}};
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

namespace {

// The lay the calculator shows, to the penny as it is placed; nothing where the calculator gives no
// figures or the forfeit is more than the stake.
std::optional<MatchedBetFigures> placedMatchedBet(const MatchedBetInput &bet)
{
    if (checkRange(bet) != RangeProblem::None || bet.stakeForfeit > bet.stake)
        return std::nullopt;
    MatchedBetFigures figures = calculateMatchedBet(bet);
    if (!allFinite(figures))
        return std::nullopt;
    figures.layStake = roundedToPenny(figures.layStake);
    return figures;
}

Payout payoutOf(const SettledParts &parts)
{
    return {toPennies(parts.bookmaker), toPennies(parts.exchange)};
}

} // namespace

std::optional<Payout> matchedBetPayout(const MatchedBetInput &bet, std::string_view outcome)
{
    const std::optional<MatchedBetFigures> placed = placedMatchedBet(bet);
    if (!placed)
        return std::nullopt;
    const double ownStake = bet.stake - bet.stakeForfeit;
    if (outcome == "profitIfBackWins")
        return payoutOf({placed->backReturn - ownStake, -placed->layStake * (bet.layOdds - 1)});
    if (outcome == "profitIfLayWins")
        return payoutOf({-ownStake, placed->layStake * (100 - bet.layComm) / 100});
    return std::nullopt;
}

std::optional<OpenMoney> matchedBetOpenMoney(const MatchedBetInput &bet)
{
    const std::optional<MatchedBetFigures> placed = placedMatchedBet(bet);
    if (!placed)
        return std::nullopt;
    return OpenMoney {pennies(bet.stake - bet.stakeForfeit), pennies(placed->layStake * (bet.layOdds - 1))};
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

std::optional<Payout> offerPayout(
    BetKind kind, const OfferValues &inputs, const OfferValues &figures, std::string_view outcome)
{
    const OfferDefinition *offer = offerDefinition(kind);
    if (!offer || !figures.contains(std::string(outcome)))
        return std::nullopt;
    return payoutOf(offer->parts(inputs, figures, outcome));
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
    const OfferDefinition &offer = *offerDefinition(kind);
    if (offer.openMoney) {
        const OpenMoney open = offer.openMoney(inputs, figures);
        summary.open = {pennies(open.bookmaker), pennies(open.exchange)};
        return summary;
    }
    // The most the lays can lose over the outcomes. (A refund's settling as a free bet leaves the
    // lays as its cash settling does.)
    double exchangeLoss = 0;
    for (const OfferOutput &output : shape.outputs) {
        if (output.outcome)
            exchangeLoss = std::max(exchangeLoss, -offer.parts(inputs, figures, output.key).exchange);
    }
    summary.open = {pennies(summary.stake - summary.freeStake), pennies(exchangeLoss)};
    return summary;
}

Payout voidPayout()
{
    return {};
}

Payout otherPayout(Pennies atBookmaker, Pennies atExchange)
{
    return {atBookmaker, atExchange};
}

} // namespace calc
