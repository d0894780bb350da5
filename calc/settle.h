// Settling a bet: the ways a record can be settled, what each pays, and where it is paid: the back
// bets' part at the bookmaker, the rest (the lays after commission) at the exchange, so the two
// parts always add up to the profit. And what an open bet ties up at each. Pure C++.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/offer.h"

namespace calc {

inline constexpr std::string_view voidOutcome = "void";
inline constexpr std::string_view otherOutcome = "other";

struct SettleOutcome
{
    std::string key; // the figure the outcome pays
    std::string caption; // "Back won", "Leg 2 lost"
};

// The figures of a calculator record as archived.
struct ArchivedMatchedBet
{
    double stake = 0;
    double stakeForfeit = 0;
    double backReturn = 0;
    double layRisk = 0;
    double backReturns = 0;
    double layReturns = 0;
};

struct Payout
{
    double profit = 0;
    double bookmaker = 0;
    double exchange() const { return profit - bookmaker; }
};

// What an open bet ties up: the user's own stake at the bookmaker, the most the lays can lose at the
// exchange.
struct OpenMoney
{
    double bookmaker = 0;
    double exchange = 0;
};

// The calculator's records: back won, then lay won.
std::vector<SettleOutcome> matchedBetOutcomes();
std::optional<Payout> matchedBetPayout(const ArchivedMatchedBet &bet, std::string_view outcome);
OpenMoney matchedBetOpenMoney(const ArchivedMatchedBet &bet);

// An offer's, in the order of its figures, from its inputs and the figures they give.
std::vector<SettleOutcome> offerOutcomes(BetKind kind, const OfferValues &inputs);
std::vector<SettleOutcome> offerOutcomes(BetKind kind, const OfferValues &inputs, const OfferShape &shape);
// The profit as archived where the record holds the figure, as worked out otherwise.
std::optional<Payout> offerPayout(BetKind kind, const OfferValues &inputs, const OfferValues &figures,
    const OfferValues &archived, std::string_view outcome);

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

// Void pays nothing; an amount typed (part lays, dead heats, Rule 4) counts at the bookmaker.
Payout voidPayout();
Payout otherPayout(double amount);

} // namespace calc
