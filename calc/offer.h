// What describes an offer calculator: its inputs and figures, named by stable keys with the
// captions the window shows, and the definition that gathers an offer's name, token and
// arithmetic in one row of the offer table. Each offer defines itself in a file of its own in
// offerkinds/. Pure C++.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calc/backandlay.h"
#include "calc/betkind.h"
#include "calc/offervalues.h"

namespace calc {

// Values by key (offervalues.h): commissions and percentages in percent, flags 0 or 1.

enum class InputKind {
    Stake, // above 0
    Amount, // 0 or more
    Odds, // decimal, 1.01 or more
    Percent, // 0 to 100
    Commission, // 0 or more, below 100: at 100 % a lay wins nothing
    Terms, // a fraction of the odds, above 0 and at most 1
    Flag, // 0 or 1: a check box
    Choice, // one of the options: a radio button each
    Count, // a whole number from low to high
};

struct OfferInput
{
    std::string key;
    std::string caption;
    InputKind kind = InputKind::Amount;
    std::string initial; // the text a field starts with
    std::string whenEmpty; // an optional field: what an empty one stands for; empty for a required one
    std::vector<std::string> options = {}; // the captions of a Choice
    int low = 0; // the range of a Count
    int high = 0;
    // An input that came after the first offers were archived: what a record without it stood for.
    std::optional<double> ifMissing = std::nullopt;
};

struct OfferOutput
{
    std::string key;
    std::string caption;
    bool outcome = false; // a profit of one way the bet can still end
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

// What one way of ending moves at each account, before rounding: the bookmaker's part the back
// bets, the exchange's the lays after commission.
struct SettledParts
{
    double bookmaker = 0;
    double exchange = 0;
};

// What an open bet ties up: the user's own stake at the bookmaker, the most the lays placed can
// lose at the exchange.
struct OpenMoney
{
    double bookmaker = 0;
    double exchange = 0;
};

// One offer: a row of the offer table.
struct OfferDefinition
{
    BetKind kind;
    std::string_view token; // in the offers file; never changes
    std::string_view name; // in the history's kind column
    std::string_view tabTitle;
    // What the offer asks and shows; the counts, choices and flags among the values decide the
    // repeated rows and which figures there are.
    OfferShape (*shape)(const OfferValues &settings);
    // The figures by key from inputs that the shape accepts; stakes the user places rounded to the
    // penny, profits worked out from them. Rounded to the penny as shown by the caller.
    OfferValues (*figures)(const OfferValues &inputs);
    // The money the offer stakes at the bookmaker.
    double (*stake)(const OfferValues &inputs, const OfferValues &figures);
    // What an outcome moves at each account, from the inputs and the stakes placed; of the figures
    // only the stakes are read, which are whole pennies already, never a figure rounded for display.
    SettledParts (*parts)(const OfferValues &inputs, const OfferValues &figures, std::string_view outcome);
    // What the tab says about these figures besides its note; empty for nothing.
    std::string (*remark)(const OfferValues &inputs, const OfferValues &figures) = nullptr;
    // The ways a record of the offer can be settled where they are not simply its outcome figures:
    // (figure key, caption).
    std::vector<std::pair<std::string, std::string>> (*settleOutcomes)(const OfferValues &inputs) = nullptr;
    // What an open record ties up where that is not its own stake and the most its lays can lose
    // over its outcomes; unrounded.
    OpenMoney (*openMoney)(const OfferValues &inputs, const OfferValues &figures) = nullptr;
    // The offer as one back bet and one lay, as the export's back and lay columns show it, where it
    // is one; from the figures that figures() gives.
    BackAndLay (*backAndLay)(const OfferValues &inputs, const OfferValues &figures) = nullptr;
};

// Building blocks of the shapes and figures.
namespace offer {

OfferInput stake(const char *key, const char *caption, const char *initial);
OfferInput amount(const char *key, const char *caption, const char *initial);
OfferInput optionalAmount(const char *key, const char *caption, const char *whenEmpty);
OfferInput odds(const std::string &key, const std::string &caption, const char *initial);
OfferInput percent(const char *key, const char *caption, const char *initial);
OfferInput commission(const char *initial);
OfferInput flag(const std::string &key, const std::string &caption, const char *initial,
    std::optional<double> ifMissing = std::nullopt);
OfferInput choice(const char *key, const char *caption, std::vector<std::string> options, const char *initial);
OfferInput count(const char *key, const char *caption, int low, int high, const char *initial);

// "leg" 2 "LayOdds": "leg2LayOdds".
std::string numbered(const char *before, int n, const char *after = "");

// A count among the values, within its range; initial when it is missing or no number.
int countOf(const OfferValues &values, std::string_view key, int initial, int low, int high);
bool isSet(const OfferValues &values, std::string_view key);
// A percentage input as a fraction.
double fraction(const OfferValues &values, std::string_view key);

// The stake most offers place: the back stake.
double backStake(const OfferValues &inputs, const OfferValues &figures);

// What the back bet brings at the bookmaker when it wins (its winnings), and when it loses (the
// stake, unless it was a free bet's).
double backWinnings(const OfferValues &inputs);
double backLoss(const OfferValues &inputs);

// One back bet laid once: back wins, or the lay wins (any other outcome).
SettledParts backOrLay(const OfferValues &inputs, double layStake, std::string_view outcome);

} // namespace offer

} // namespace calc
