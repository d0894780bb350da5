#include "calc/offers.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "calc/offertable.h"
#include "calc/rounding.h"

namespace calc {

namespace {

const OfferDefinition &definition(BetKind kind)
{
    return *offerDefinition(kind);
}

// The inputs as the offer's arithmetic takes them: those a record archived before they existed
// lacks stand for what it meant. Nothing when a required one is missing or one is out of range.
std::optional<OfferValues> checkedInputs(const OfferShape &shape, const OfferValues &inputs)
{
    OfferValues checked = inputs;
    for (const OfferInput &input : shape.inputs) {
        const auto value = inputs.find(input.key);
        if (value == inputs.end()) {
            if (input.ifMissing)
                checked[input.key] = *input.ifMissing;
            else if (input.whenEmpty.empty())
                return std::nullopt;
            continue;
        }
        const bool outOfCount
            = input.kind == InputKind::Count && (value->second < input.low || value->second > input.high);
        const bool noOption = input.kind == InputKind::Choice && value->second >= double(input.options.size());
        if (outOfCount || noOption || inputProblem(input.kind, value->second))
            return std::nullopt;
    }
    return checked;
}

} // namespace

std::vector<BetKind> offerKinds()
{
    std::vector<BetKind> kinds;
    for (const OfferDefinition *offer : offerTable())
        kinds.push_back(offer->kind);
    return kinds;
}

std::string_view offerTabTitle(BetKind kind)
{
    return definition(kind).tabTitle;
}

OfferShape offerShape(BetKind kind, const OfferValues &values)
{
    const OfferDefinition *offer = offerDefinition(kind);
    return offer ? offer->shape(values) : OfferShape {};
}

std::optional<std::string> inputProblem(InputKind kind, double value)
{
    switch (kind) {
    case InputKind::Stake:
        return value > 0 ? std::nullopt : std::optional<std::string>("must be above 0");
    case InputKind::Amount:
        return value >= 0 ? std::nullopt : std::optional<std::string>("must be 0 or more");
    case InputKind::Odds:
        return value >= 1.01 ? std::nullopt : std::optional<std::string>("must be 1.01 or more");
    case InputKind::Percent:
        return value >= 0 && value <= 100 ? std::nullopt : std::optional<std::string>("must be from 0 to 100");
    case InputKind::Terms:
        return value > 0 && value <= 1 ? std::nullopt
                                       : std::optional<std::string>("must be a fraction of the odds such as 1/4");
    case InputKind::Flag:
        return value == 0 || value == 1 ? std::nullopt : std::optional<std::string>("must be 0 or 1");
    case InputKind::Choice:
    case InputKind::Count:
        return value >= 0 && value == std::floor(value) ? std::nullopt
                                                        : std::optional<std::string>("must be a whole number");
    }
    return std::nullopt;
}

std::optional<OfferValues> offerFigures(BetKind kind, const OfferValues &inputs)
{
    const OfferDefinition *offer = offerDefinition(kind);
    if (!offer)
        return std::nullopt;
    const std::optional<OfferValues> checked = checkedInputs(offer->shape(inputs), inputs);
    if (!checked)
        return std::nullopt;
    OfferValues figures = offer->figures(*checked);
    for (auto &[key, figure] : figures) {
        if (!std::isfinite(figure))
            return std::nullopt;
        figure = pennies(figure);
    }
    return figures;
}

bool offerFiguresMatch(BetKind kind, const OfferValues &inputs, const OfferValues &archived)
{
    const std::optional<OfferValues> figures = offerFigures(kind, inputs);
    if (!figures)
        return false;
    bool any = false;
    for (const OfferOutput &output : offerShape(kind, inputs).outputs) {
        const auto value = archived.find(output.key);
        if (value == archived.end())
            continue;
        any = true;
        // Both to the penny; a hair allows for the binary form of a decimal.
        if (std::fabs(value->second - figures->at(output.key)) > 1e-6)
            return false;
    }
    return any;
}

double offerStake(BetKind kind, const OfferValues &inputs, const OfferValues &figures)
{
    return definition(kind).stake(inputs, figures);
}

std::pair<double, double> outcomeRange(BetKind kind, const OfferValues &inputs, const OfferValues &figures)
{
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (const OfferOutput &output : offerShape(kind, inputs).outputs) {
        const auto figure = figures.find(output.key);
        if (!output.outcome || figure == figures.end())
            continue;
        lowest = std::min(lowest, figure->second);
        highest = std::max(highest, figure->second);
    }
    return {lowest, highest};
}

std::string offerRemark(BetKind kind, const OfferValues &inputs, const OfferValues &figures)
{
    const OfferDefinition &offer = definition(kind);
    return offer.remark ? offer.remark(inputs, figures) : std::string();
}

} // namespace calc
