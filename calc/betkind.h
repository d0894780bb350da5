// Kinds of bet, a value each, with the name the windows show and the token the offers file holds.
// Archived matched bets get theirs from how much of the stake was a free bet, offer records from
// their token; a token this program does not know is another kind, kept as it is. The offers' names
// and tokens come from the offer table (offertable.h). Pure C++.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace calc {

enum class BetKind : std::uint8_t {
    Qualifying,
    FreeBet,
    PartFreeBet,
    // The offers: each has its row in the offer table.
    Refund,
    EachWay,
    UnderlayOverlay,
    Accumulator,
    Dutching,
    EarlyPayout,
    PartLays,
    CasinoBonus,
    MultiLay,
    Other, // an offer record of a kind unknown here
};

// The calculator's kinds, the offers in the table's order, and Other.
std::vector<BetKind> allBetKinds();

// No forfeit (or none that is a number): a qualifying bet; a forfeit of the whole stake or more:
// a free bet; anything between: a part free bet.
BetKind kindOfMatchedBet(std::optional<double> stake, std::optional<double> stakeForfeit);

std::string_view betKindName(BetKind kind);

// The offers file's token of an offer kind ("refund", "each-way", ...); empty for the others.
std::string_view betKindToken(BetKind kind);
// The kind of a token; Other for one this program does not know.
BetKind betKindOfToken(std::string_view token);

} // namespace calc
