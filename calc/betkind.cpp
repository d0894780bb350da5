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
    case BetKind::Refund:
        return "Refund";
    case BetKind::EachWay:
        return "Each way";
    case BetKind::UnderlayOverlay:
        return "Underlay/overlay";
    case BetKind::Accumulator:
        return "Accumulator";
    case BetKind::Dutching:
        return "Dutching";
    case BetKind::EarlyPayout:
        return "Early payout";
    case BetKind::Other:
        return "Other offer";
    }
    return {};
}

std::string_view betKindToken(BetKind kind)
{
    switch (kind) {
    case BetKind::Refund:
        return "refund";
    case BetKind::EachWay:
        return "each-way";
    case BetKind::UnderlayOverlay:
        return "underlay-overlay";
    case BetKind::Accumulator:
        return "accumulator";
    case BetKind::Dutching:
        return "dutching";
    case BetKind::EarlyPayout:
        return "early-payout";
    default:
        return {};
    }
}

BetKind betKindOfToken(std::string_view token)
{
    for (const BetKind kind : allBetKinds) {
        if (!token.empty() && betKindToken(kind) == token)
            return kind;
    }
    return BetKind::Other;
}

} // namespace calc
