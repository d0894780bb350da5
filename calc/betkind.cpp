#include "calc/betkind.h"

namespace calc {

BetKind kindOfMatchedBet(std::optional<double> stake, std::optional<double> stakeForfeit)
{
    if (!stakeForfeit || *stakeForfeit <= 0)
        return BetKind::Qualifying;
    return stake && *stakeForfeit >= *stake ? BetKind::FreeBet : BetKind::PartFreeBet;
}

std::string_view betKindName(BetKind kind)
{
    switch (kind) {
    case BetKind::Qualifying:
        return "Qualifying bet";
    case BetKind::FreeBet:
        return "Free bet";
    case BetKind::PartFreeBet:
        return "Part free bet";
    }
    return {};
}

} // namespace calc
