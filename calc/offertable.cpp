#include "calc/offertable.h"

#include <algorithm>
#include <array>

namespace calc {

namespace offerkinds {
extern const OfferDefinition refund;
extern const OfferDefinition eachWay;
extern const OfferDefinition underlayOverlay;
extern const OfferDefinition accumulator;
extern const OfferDefinition dutching;
extern const OfferDefinition earlyPayout;
extern const OfferDefinition partLays;
extern const OfferDefinition casinoBonus;
extern const OfferDefinition multiLay;
} // namespace offerkinds

namespace {

const auto table = std::to_array<const OfferDefinition *>({&offerkinds::refund, &offerkinds::eachWay,
    &offerkinds::underlayOverlay, &offerkinds::accumulator, &offerkinds::dutching, &offerkinds::earlyPayout,
    &offerkinds::partLays, &offerkinds::casinoBonus, &offerkinds::multiLay});

} // namespace

std::span<const OfferDefinition *const> offerTable()
{
    return table;
}

const OfferDefinition *offerDefinition(BetKind kind)
{
    const auto row = std::find_if(
        table.begin(), table.end(), [kind](const OfferDefinition *offer) { return offer->kind == kind; });
    return row == table.end() ? nullptr : *row;
}

} // namespace calc
