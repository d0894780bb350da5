// The offer calculators' arithmetic, for every offer in the offer table: refunds, each way with
// extra places, underlay and overlay, accumulators laid as they go, dutching, early payouts, lays
// matched in parts and casino bonuses. Stakes the user places are rounded to the penny first,
// every profit is worked out from the rounded stakes, and every figure is the one a person gets by
// hand to the penny. Pure C++.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calc/offer.h"

namespace calc {

// The offers, in the order of the window's tabs.
std::vector<BetKind> offerKinds();
std::string_view offerTabTitle(BetKind kind);

// What the offer asks and shows. Counts, choices and flags among the values decide the repeated
// rows (legs, selections, parts), which stake is typed and which outcomes there are.
OfferShape offerShape(BetKind kind, const OfferValues &values = {});

// Lays out the shapes of many records: a record whose counts, choices and flags are those of the
// last one of its kind gets that one's shape, which stays until the next call for the kind.
class ShapeCache
{
public:
    const OfferShape &shape(BetKind kind, const OfferValues &values);

private:
    struct Last
    {
        BetKind kind;
        OfferShape shape;
        OfferValues values; // those it was laid out for
    };
    std::vector<Last> m_last;
};

// Why a value cannot be taken for an input of the kind; nothing when it can.
std::optional<std::string> inputProblem(InputKind kind, double value);

// The figures by key, to the penny; nothing when an input the shape requires is missing or out of
// range, or a figure is not finite. An input that came after a record was archived stands for what
// the record meant.
std::optional<OfferValues> offerFigures(BetKind kind, const OfferValues &inputs);
// The same with the shape for these inputs already at hand: reading many records, each shape is
// laid out once.
std::optional<OfferValues> offerFigures(BetKind kind, const OfferValues &inputs, const OfferShape &shape);

// True when the figures an offer was archived with are those its inputs give, to the penny. A
// figure that came after the record was archived is not asked for.
bool offerFiguresMatch(BetKind kind, const OfferValues &inputs, const OfferValues &archived);
bool figuresMatch(const OfferShape &shape, const OfferValues &figures, const OfferValues &archived);

// The money the offer stakes at the bookmaker: both parts of an each-way bet, every selection
// dutched, the deposit of a casino bonus, the back stake of the others.
double offerStake(BetKind kind, const OfferValues &inputs, const OfferValues &figures);

// The lowest and the highest of the profits of the ways the offer can still end: what the offer
// locks in, and what it may bring.
std::pair<double, double> outcomeRange(BetKind kind, const OfferValues &inputs, const OfferValues &figures);
std::pair<double, double> outcomeRange(const OfferShape &shape, const OfferValues &figures);

// What the tab says about these figures; empty for nothing.
std::string offerRemark(BetKind kind, const OfferValues &inputs, const OfferValues &figures);

} // namespace calc
