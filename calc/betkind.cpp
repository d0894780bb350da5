#include "calc/betkind.h"

#include "calc/offertable.h"

namespace calc {

std::vector<BetKind> allBetKinds()
{
    std::vector<BetKind> kinds {BetKind::Qualifying, BetKind::FreeBet, BetKind::PartFreeBet};
    for (const OfferDefinition *offer : offerTable())
        kinds.push_back(offer->kind);
    kinds.push_back(BetKind::Other);
    return kinds;
}

BetKind kindOfMatchedBet(std::optional<double> stake, std::optional<double> stakeForfeit)
{
    if (!stakeForfeit || *stakeForfeit <= 0)
        return BetKind::Qualifying;
    return stake && *stakeForfeit >= *stake ? BetKind::FreeBet : BetKind::PartFreeBet;
}

std::string_view betKindName(BetKind kind)
{
    if (const OfferDefinition *offer = offerDefinition(kind))
        return offer->name;
    switch (kind) {
    case BetKind::Qualifying:
        return "Qualifying bet";
    case BetKind::FreeBet:
        return "Free bet";
    case BetKind::PartFreeBet:
        return "Part free bet";
    default:
        return "Other offer";
    }
}

std::string_view betKindToken(BetKind kind)
{
    const OfferDefinition *offer = offerDefinition(kind);
    return offer ? offer->token : std::string_view();
}

BetKind betKindOfToken(std::string_view token)
{
    for (const OfferDefinition *offer : offerTable()) {
        if (offer->token == token)
            return offer->kind;
    }
    return BetKind::Other;
}

} // namespace calc
