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

// Whether the inputs are all the shape requires, each within its range; and the values that stand
// for inputs a record archived before they existed lacks.
bool inputsTaken(
    const OfferShape &shape, const OfferValues &inputs, std::vector<std::pair<std::string, double>> &missing)
{
    for (const OfferInput &input : shape.inputs) {
        const auto value = inputs.find(input.key);
        if (value == inputs.end()) {
            if (input.ifMissing)
                missing.emplace_back(input.key, *input.ifMissing);
            else if (input.whenEmpty.empty())
                return false;
            continue;
        }
        const bool outOfCount
            = input.kind == InputKind::Count && (value->second < input.low || value->second > input.high);
        const bool noOption = input.kind == InputKind::Choice && value->second >= double(input.options.size());
        if (outOfCount || noOption || inputProblem(input.kind, value->second))
            return false;
    }
    return true;
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

const OfferShape &ShapeCache::shape(BetKind kind, const OfferValues &values)
{
    const auto sameSettings = [&values](const Last &last) {
        return std::all_of(last.shape.inputs.begin(), last.shape.inputs.end(), [&](const OfferInput &input) {
            if (input.kind != InputKind::Count && input.kind != InputKind::Choice && input.kind != InputKind::Flag)
                return true;
            const auto now = values.find(input.key);
            const auto then = last.values.find(input.key);
            if ((now == values.end()) != (then == last.values.end()))
                return false;
            return now == values.end() || now->second == then->second;
        });
    };
    auto last = std::find_if(m_last.begin(), m_last.end(), [kind](const Last &entry) { return entry.kind == kind; });
    if (last != m_last.end() && sameSettings(*last))
        return last->shape;
    if (last == m_last.end())
        last = m_last.insert(m_last.end(), {kind, {}, {}});
    last->shape = offerShape(kind, values);
    last->values = values;
    return last->shape;
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
    case InputKind::Commission:
        return value >= 0 && value < 100 ? std::nullopt : std::optional<std::string>("must be 0 or more and below 100");
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
    return offerFigures(kind, inputs, offerShape(kind, inputs));
}

std::optional<OfferValues> offerFigures(BetKind kind, const OfferValues &inputs, const OfferShape &shape)
{
    const OfferDefinition *offer = offerDefinition(kind);
    if (!offer)
        return std::nullopt;
    std::vector<std::pair<std::string, double>> missing;
    if (!inputsTaken(shape, inputs, missing))
        return std::nullopt;
    OfferValues figures;
    if (missing.empty()) {
        figures = offer->figures(inputs);
    } else {
        OfferValues filled = inputs;
        for (const auto &[key, value] : missing)
            filled[key] = value;
        figures = offer->figures(filled);
    }
    for (auto &[key, figure] : figures) {
        if (!std::isfinite(figure))
            return std::nullopt;
        figure = pennies(figure);
    }
    return figures;
}

bool offerFiguresMatch(BetKind kind, const OfferValues &inputs, const OfferValues &archived)
{
    const OfferShape shape = offerShape(kind, inputs);
    const std::optional<OfferValues> figures = offerFigures(kind, inputs, shape);
    return figures && figuresMatch(shape, *figures, archived);
}

bool figuresMatch(const OfferShape &shape, const OfferValues &figures, const OfferValues &archived)
{
    bool any = false;
    for (const OfferOutput &output : shape.outputs) {
        const auto value = archived.find(output.key);
        if (value == archived.end())
            continue;
        any = true;
        // Both to the penny; a hair allows for the binary form of a decimal.
        if (std::fabs(value->second - figures.at(output.key)) > 1e-6)
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
    return outcomeRange(offerShape(kind, inputs), figures);
}

std::pair<double, double> outcomeRange(const OfferShape &shape, const OfferValues &figures)
{
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -lowest;
    for (const OfferOutput &output : shape.outputs) {
        if (!output.outcome)
            continue;
        const auto figure = figures.find(output.key);
        if (figure == figures.end())
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
