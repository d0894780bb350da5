// Kinds of bet, a value each, with the name the windows show in one place. Archived matched bets
// get theirs from how much of the stake was a free bet. Pure C++.
#pragma once

#include <optional>
#include <string_view>

namespace calc {

enum class BetKind { Qualifying, FreeBet, PartFreeBet };

inline constexpr BetKind allBetKinds[] = {BetKind::Qualifying, BetKind::FreeBet, BetKind::PartFreeBet};

// No forfeit (or none that is a number): a qualifying bet; a forfeit of the whole stake or more:
// a free bet; anything between: a part free bet.
BetKind kindOfMatchedBet(std::optional<double> stake, std::optional<double> stakeForfeit);

std::string_view betKindName(BetKind kind);

} // namespace calc
