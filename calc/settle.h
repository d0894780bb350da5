// Settling a bet: the ways a record can be settled, what each pays, and where it is paid: the back
// bets' part at the bookmaker, the lays' after commission at the exchange, each worked out from the
// inputs and the stakes placed and rounded to the penny on its own; the profit is their sum. And
// what an open bet ties up at each. Pure C++.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/matchedbet.h"
#include "calc/offer.h"
#include "calc/rounding.h"

namespace calc {

inline constexpr std::string_view voidOutcome = "void";
inline constexpr std::string_view otherOutcome = "other";
// A refund offer's lay won with the stake refunded as a free bet, which the ledger records as one.
inline constexpr std::string_view refundAsFreeBetOutcome = "layWonRefundAsFreeBet";

struct SettleOutcome
{
    std::string key; // the figure the outcome pays
    std::string caption; // "Back won", "Leg 2 lost"
};

// What settling pays at each account, in whole pennies: each account's own amount as it pays it,
// the profit their sum.
struct Payout
{
    Pennies bookmaker = 0;
    Pennies exchange = 0;
    Pennies profit() const { return bookmaker + exchange; }
};

// The calculator's records: back won, then lay won.
// Both are worked out from the inputs, the lay at the stake the calculator shows, to the penny.
// Nothing for inputs the calculator gives no figures for, or a stake forfeit above the stake.
std::vector<SettleOutcome> matchedBetOutcomes();
std::optional<Payout> matchedBetPayout(const MatchedBetInput &bet, std::string_view outcome);
std::optional<OpenMoney> matchedBetOpenMoney(const MatchedBetInput &bet);

// An offer's, in the order of its figures, from its inputs and the figures they give.
std::vector<SettleOutcome> offerOutcomes(BetKind kind, const OfferValues &inputs);
std::vector<SettleOutcome> offerOutcomes(BetKind kind, const OfferValues &inputs, const OfferShape &shape);
// Nothing for an outcome the figures do not have.
std::optional<Payout> offerPayout(
    BetKind kind, const OfferValues &inputs, const OfferValues &figures, std::string_view outcome);

// What a record of an offer says, worked out in one place for the window that archives it and the
// history that reads it back: the money it stakes (the free-bet part apart), what it locks in and
// may bring, and what it ties up while it is open.
struct OfferSummary
{
    double stake = 0;
    double freeStake = 0;
    double lowest = 0;
    double highest = 0;
    OpenMoney open;
};
OfferSummary summarizeOffer(BetKind kind, const OfferValues &inputs, const OfferValues &figures);
OfferSummary summarizeOffer(
    BetKind kind, const OfferValues &inputs, const OfferValues &figures, const OfferShape &shape);

// Void pays nothing; amounts typed (dead heats, Rule 4, a lay matched in part) are what came in at
// each account.
Payout voidPayout();
Payout otherPayout(Pennies atBookmaker, Pennies atExchange);

} // namespace calc
