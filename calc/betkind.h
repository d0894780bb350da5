// Kinds of bet, a value each, with the name the windows show and the token the offers file holds,
// in one place. Archived matched bets get theirs from how much of the stake was a free bet, offer
// records from their token; a token this program does not know is another kind, kept as it is.
// Pure C++.
#pragma once

#include <optional>
#include <string_view>

namespace calc {

enum class BetKind {
    Qualifying,
    FreeBet,
    PartFreeBet,
    Refund,
    EachWay,
    UnderlayOverlay,
    Accumulator,
    Dutching,
    EarlyPayout,
    Other, // an offer record of a kind unknown here
};

inline constexpr BetKind allBetKinds[]
    = {BetKind::Qualifying, BetKind::FreeBet, BetKind::PartFreeBet, BetKind::Refund, BetKind::EachWay,
        BetKind::UnderlayOverlay, BetKind::Accumulator, BetKind::Dutching, BetKind::EarlyPayout, BetKind::Other};

// No forfeit (or none that is a number): a qualifying bet; a forfeit of the whole stake or more:
// a free bet; anything between: a part free bet.
BetKind kindOfMatchedBet(std::optional<double> stake, std::optional<double> stakeForfeit);

std::string_view betKindName(BetKind kind);

// The offers file's token of an offer kind ("refund", "each-way", ...); empty for the others.
std::string_view betKindToken(BetKind kind);
// The kind of a token; Other for one this program does not know.
BetKind betKindOfToken(std::string_view token);

} // namespace calc
