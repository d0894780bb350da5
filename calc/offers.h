// The offer calculators' arithmetic: refund if the bet loses, each way with extra places, underlay
// and overlay, accumulators laid as they go, dutching and early payouts. Each offer is described
// once, its inputs and figures named by stable keys with the captions the window shows, so the
// window, the offers file and the history all go by the same description. Stakes the user places
// are rounded to the penny first, and every profit is worked out from the rounded stakes, as
// published calculators do. Pure C++.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "calc/betkind.h"

namespace calc {

// Values by key; commissions and retention in percent, flags 0 or 1.
using OfferValues = std::map<std::string, double>;

enum class InputKind {
    Stake, // above 0
    Amount, // 0 or more
    Odds, // decimal, 1.01 or more
    Percent, // 0 to 100
    Terms, // a fraction of the odds, above 0 and at most 1
    Flag, // 0 or 1: a check box
    Choice, // 0 or 1: one of two options
    Count, // a whole number from low to high
};

struct OfferInput
{
    std::string key;
    std::string caption;
    InputKind kind;
    std::string initial; // the text a field starts with
    std::string whenEmpty; // an optional field: what an empty one stands for; empty for a required one
    std::vector<std::string> options = {}; // the captions of a Choice
    int low = 0; // the range of a Count
    int high = 0;
};

struct OfferOutput
{
    std::string key;
    std::string caption;
    bool outcome = false; // a profit of one way the bet can end
};

// A button that sets an input to one of the figures.
struct OfferButton
{
    std::string caption;
    std::string input;
    std::string figure;
};

struct OfferShape
{
    std::vector<OfferInput> inputs;
    std::vector<OfferOutput> outputs;
    std::vector<OfferButton> buttons;
    std::string note; // said on the tab
};

// The offers, in the order of the window's tabs.
inline constexpr BetKind offerKinds[] = {BetKind::Refund, BetKind::EachWay, BetKind::UnderlayOverlay,
    BetKind::Accumulator, BetKind::Dutching, BetKind::EarlyPayout};

// What the offer asks and shows. Counts and choices among the values decide the repeated rows
// (legs, selections) and which stake is typed.
OfferShape offerShape(BetKind kind, const OfferValues &values = {});

// Why a value cannot be taken for an input of the kind; nothing when it can.
std::optional<std::string> inputProblem(InputKind kind, double value);

// The figures by key, with the stakes rounded to the penny and the profits worked out from them;
// nothing when an input the shape requires is missing or out of range, or a figure is not finite.
std::optional<OfferValues> offerFigures(BetKind kind, const OfferValues &inputs);

// True when the figures an offer was archived with are those its inputs give, to the penny.
bool offerFiguresMatch(BetKind kind, const OfferValues &inputs, const OfferValues &archived);

// The money the offer stakes at the bookmaker: both parts of an each-way bet, every selection
// dutched, the back stake of the others.
double offerStake(BetKind kind, const OfferValues &inputs, const OfferValues &figures);

// The lowest and the highest of the outcome profits among the figures: what the offer locks in,
// and what it may bring.
std::pair<double, double> outcomeRange(BetKind kind, const OfferValues &inputs, const OfferValues &figures);

} // namespace calc
