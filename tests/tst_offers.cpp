// The offer calculators' arithmetic on worked examples: our own, and those published in public
// matched-betting guides (named with each row). Every row also checks the identities a balanced
// lay must keep: its outcome profits agree to within the pennies that rounding the stakes moves.
#include <cmath>

#include <QTest>

#include "calc/numbertext.h"
#include "calc/offers.h"
#include "calc/offertable.h"
#include "calc/settle.h"
#include "store/offerfile.h"

using calc::BetKind;
using calc::OfferValues;

Q_DECLARE_METATYPE(BetKind)
Q_DECLARE_METATYPE(OfferValues)

class TestOffers : public QObject
{
    Q_OBJECT

private slots:
    void valuesByKey();
    void valuesFoundByEveryByte();
    void figures_data();
    void figures();
    void figuresToThePenny_data();
    void figuresToThePenny();
    void breakEvenNeverBelowZero();
    void theBetAsPlaced_data();
    void theBetAsPlaced();
    void partLaysThatCoverTheBet();
    void contractOverTheTable();
    void refused_data();
    void refused();
    void tenLegsAndTheShapes();
};

namespace {

// The figures compared to the penny, as the window shows them; the spread of the outcome profits
// in pennies at the most (0: no identity to check), over the profits named, or all of them.
struct Expected
{
    OfferValues figures;
    int spreadInPennies = 0;
    std::vector<std::string> equalProfits = {};
};

} // namespace

Q_DECLARE_METATYPE(Expected)

void TestOffers::figures_data()
{
    QTest::addColumn<BetKind>("kind");
    QTest::addColumn<OfferValues>("inputs");
    QTest::addColumn<Expected>("expected");

    const OfferValues refund {
        {"backStake", 20}, {"backOdds", 5}, {"layOdds", 5.2}, {"layCommission", 2}, {"refund", 20}, {"retention", 75}};
    QTest::newRow("refund: our example") << BetKind::Refund << refund
                                         << Expected {{{"layStake", 16.41}, {"liability", 68.92},
                                                          {"profitIfBackWins", 11.08}, {"profitIfLayWins", 11.08}},
                                                1};
    OfferValues refundIsStake = refund;
    refundIsStake.erase("refund"); // an empty Refund field stands for the back stake
    QTest::newRow("refund: empty refund is the back stake")
        << BetKind::Refund << refundIsStake << Expected {{{"layStake", 16.41}}, 1};
    // theadvantagegambler.com, "Cash Refund on Lose / Risk Free bet": 25 at 2.0 / 2.0, no commission,
    // cash refund: lay 12.50 for 12.50 either way; at 7.0 / 7.0, lay 21.43.
    QTest::newRow("refund: cash, the advantage gambler")
        << BetKind::Refund
        << OfferValues {{"backStake", 25}, {"backOdds", 2}, {"layOdds", 2}, {"layCommission", 0}, {"retention", 100}}
        << Expected {{{"layStake", 12.50}, {"profitIfBackWins", 12.50}, {"profitIfLayWins", 12.50}}, 1};
    QTest::newRow("refund: cash at 7.0, the advantage gambler")
        << BetKind::Refund
        << OfferValues {{"backStake", 25}, {"backOdds", 7}, {"layOdds", 7}, {"layCommission", 0}, {"retention", 100}}
        << Expected {{{"layStake", 21.43}}, 1};
    // casinonewsblogger.com, Ladbrokes money back at Newbury: 10 at 7.0, lay 9.2 at 2 %, a 10 free
    // bet kept at 80 %: lay 6.75, liability 55.35, at least 4.61. The lay side is 4.615 exactly; the
    // guide shows 4.61 (its binary value rounded), halves away from zero give 4.62.
    QTest::newRow("refund: free bet at 80 %, casinonewsblogger")
        << BetKind::Refund
        << OfferValues {{"backStake", 10}, {"backOdds", 7}, {"layOdds", 9.2}, {"layCommission", 2}, {"refund", 10},
               {"retention", 80}}
        << Expected {
               {{"layStake", 6.75}, {"liability", 55.35}, {"profitIfBackWins", 4.65}, {"profitIfLayWins", 4.62}}, 4};
    QTest::newRow("refund larger than the back bet returns: no lay")
        << BetKind::Refund
        << OfferValues {{"backStake", 10}, {"backOdds", 1.5}, {"layOdds", 1.6}, {"layCommission", 2}, {"refund", 20},
               {"retention", 100}}
        << Expected {{{"layStake", 0}, {"profitIfBackWins", 5}, {"profitIfLayWins", 10}}, 0};

    // Place odds as gambledex.com ("Horse racing extra place offers") works them: 33/1 (34.0) at a
    // quarter of the odds places at 9.25; racing-systems.co.uk: 20/1 at a fifth places at 5.0. The
    // lays and profits are our own arithmetic.
    const OfferValues eachWay {{"backStake", 10}, {"backOdds", 34}, {"placeTerms", 0.25}, {"winLayOdds", 32},
        {"placeLayOdds", 7}, {"layCommission", 2}};
    QTest::newRow("each way: quarter odds, gambledex")
        << BetKind::EachWay << eachWay
        << Expected {{{"placeOdds", 9.25}, {"winLayStake", 10.63}, {"winLiability", 329.53}, {"placeLayStake", 13.25},
                         {"placeLiability", 79.50}, {"profitIfWins", 3.47}, {"profitIfPlaces", 3.42},
                         {"profitIfLoses", 3.40}, {"profitOnExtraPlace", 95.90}},
               // Half a penny of win lay moves a liability at 32.0 by up to 15 pennies; the extra
               // place is the one outcome that pays more.
               8, {"profitIfWins", "profitIfPlaces", "profitIfLoses"}};
    QTest::newRow("each way: a fifth of 20/1, racing-systems")
        << BetKind::EachWay
        << OfferValues {{"backStake", 10}, {"backOdds", 21}, {"placeTerms", 0.2}, {"winLayOdds", 22},
               {"placeLayOdds", 5.2}, {"layCommission", 0}}
        << Expected {{{"placeOdds", 5}, {"winLayStake", 9.55}, {"placeLayStake", 9.62}}, 0};

    // matchedbettingzest.com, "Overlaying and underlaying": 10 at 3.00 / 3.10 (2 %): standard lay 9.74
    // for a 0.45 loss either way.
    QTest::newRow("underlay: balanced, matchedbettingzest")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 10}, {"backOdds", 3}, {"layOdds", 3.1}, {"layCommission", 2}, {"freeBet", 0}}
        << Expected {{{"balancedLayStake", 9.74}, {"profitIfBackWins", -0.45}, {"profitIfLayWins", -0.45}}, 1};
    // gambledex.com, "Overlaying and underlaying": 10 at 6.0 / 6.0 (2 %): standard lay 10.03; lay 10.20
    // and a losing horse costs nothing, a winner costs 1.00. Laid, 10.20 leaves -0.004 if the lay
    // wins (shown -0.00); the button rounds up to 10.21, which breaks even or better (0.01).
    QTest::newRow("overlay: break even if the lay wins, gambledex")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 10}, {"backOdds", 6}, {"layOdds", 6}, {"layCommission", 2}, {"freeBet", 0},
               {"layStake", 10.20}}
        << Expected {{{"balancedLayStake", 10.03}, {"breakEvenIfLayWins", 10.21}, {"liability", 51},
                         {"profitIfBackWins", -1}, {"profitIfLayWins", -0.004}},
               0};
    // 50 / 5.2 is 9.615...: 9.62 to the nearest penny would lose 0.02 if the back bet wins; the
    // button rounds down, to 9.61, which wins 0.03.
    QTest::newRow("underlay: break even if the back bet wins")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 10}, {"backOdds", 6}, {"layOdds", 6.2}, {"layCommission", 2}, {"freeBet", 0},
               {"layStake", 9.61}}
        << Expected {{{"breakEvenIfBackWins", 9.61}, {"profitIfBackWins", 0.03}, {"profitIfLayWins", -0.58}}, 0};
    QTest::newRow("free bet: balanced without the stake")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 25}, {"backOdds", 7}, {"layOdds", 8}, {"layCommission", 5}, {"freeBet", 1}}
        << Expected {{{"balancedLayStake", 18.87}, {"breakEvenIfLayWins", 0}, {"profitIfBackWins", 17.91},
                         {"profitIfLayWins", 17.93}},
               2};
    QTest::newRow("accumulator: our example at 0 %")
        << BetKind::Accumulator
        << OfferValues {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 0}, {"legs", 2}, {"leg1BackOdds", 2},
               {"leg1LayOdds", 2.1}, {"leg2BackOdds", 3}, {"leg2LayOdds", 3.2}}
        << Expected {{{"accumulatorOdds", 6}, {"leg1LayStake", 8.93}, {"leg2LayStake", 18.75},
                         {"profitIfLeg1Loses", -1.07}, {"profitIfLeg2Loses", -1.07}, {"profitIfEveryLegWins", -1.07}},
               1};
    // backyourselfbetting.co.uk, "Sequential lay calculator": 10 on a treble at 4.41, lays 1.95, 1.54
    // and 1.87 at 2 %: lay stakes 7.80, 15.37 and 23.84, liabilities 7.41, 8.30 and 20.74, -2.35 on
    // every path (the guide's unrounded stakes; the rounded ones give -2.36 on the first path).
    QTest::newRow("accumulator: treble at 2 %, backyourselfbetting")
        << BetKind::Accumulator
        << OfferValues {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 2}, {"legs", 3}, {"leg1BackOdds", 2.1},
               {"leg1LayOdds", 1.95}, {"leg2BackOdds", 1.5}, {"leg2LayOdds", 1.54}, {"leg3BackOdds", 1.4},
               {"leg3LayOdds", 1.87}}
        << Expected {{{"leg1LayStake", 7.80}, {"leg2LayStake", 15.37}, {"leg3LayStake", 23.84}, {"leg1Liability", 7.41},
                         {"leg2Liability", 8.30}, {"leg3Liability", 20.74}, {"profitIfLeg1Loses", -2.36},
                         {"profitIfEveryLegWins", -2.35}},
               2};
    QTest::newRow("accumulator: free bet, legs at 1.01")
        << BetKind::Accumulator
        << OfferValues {{"backStake", 10}, {"freeBet", 1}, {"layCommission", 2}, {"legs", 2}, {"leg1BackOdds", 1.01},
               {"leg1LayOdds", 1.01}, {"leg2BackOdds", 1.01}, {"leg2LayOdds", 1.01}}
        << Expected {{{"accumulatorOdds", 1.0201}}, 2};

    // The accumulator's other lay modes on the same treble, by hand. Underlay 80 %: 0.8 of the
    // standard 7.804, 15.369 and 23.838 is 6.24, 12.30 and 19.07; leg 1 losing ends at
    // -10 + 6.24 x 0.98 = -3.88, every leg winning at 34.10 - (5.928 + 6.642 + 16.591) = +4.94.
    OfferValues treble {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 2}, {"legs", 3}, {"leg1BackOdds", 2.1},
        {"leg1LayOdds", 1.95}, {"leg2BackOdds", 1.5}, {"leg2LayOdds", 1.54}, {"leg3BackOdds", 1.4},
        {"leg3LayOdds", 1.87}, {"layMode", 1}, {"underlay", 80}};
    QTest::newRow("accumulator: underlay 80 %, by hand")
        << BetKind::Accumulator << treble
        << Expected {
               {{"leg1LayStake", 6.24}, {"leg2LayStake", 12.30}, {"leg3LayStake", 19.07}, {"profitIfLeg1Loses", -3.88},
                   {"profitIfLeg2Loses", -3.87}, {"profitIfLeg3Loses", -3.88}, {"profitIfEveryLegWins", 4.94}},
               0};
    // Locked in, by hand: 10 / 0.98 = 10.204 laid up to 10.21 (liability 9.6995); then
    // (10 + 9.6995) / 0.98 = 20.102, 20.11 (10.8594); then 30.5589 / 0.98 = 31.183, 31.19. Each
    // losing leg ends at +0.01; the acca's win pays 34.10 - 47.6942 = -13.59 at these lay prices.
    treble["layMode"] = 2;
    QTest::newRow("accumulator: locked in, by hand")
        << BetKind::Accumulator << treble
        << Expected {
               {{"leg1LayStake", 10.21}, {"leg2LayStake", 20.11}, {"leg3LayStake", 31.19}, {"profitIfLeg1Loses", 0.01},
                   {"profitIfLeg2Loses", 0.01}, {"profitIfLeg3Loses", 0.01}, {"profitIfEveryLegWins", -13.59}},
               0};
    // teamprofit.com, "Laying Accas": 20 on an acca at 6.0 laid at 5.2 without commission breaks
    // even if a leg loses and wins 16 if the acca comes in. Laid leg by leg at 2.0 and 2.6 (5.2 in
    // all), lock-in lays 20 and 40 for the same.
    QTest::newRow("accumulator: locked in, teamprofit")
        << BetKind::Accumulator
        << OfferValues {{"backStake", 20}, {"freeBet", 0}, {"layCommission", 0}, {"legs", 2}, {"leg1BackOdds", 2},
               {"leg1LayOdds", 2}, {"leg2BackOdds", 3}, {"leg2LayOdds", 2.6}, {"layMode", 2}}
        << Expected {{{"leg1LayStake", 20}, {"leg2LayStake", 40}, {"profitIfLeg1Loses", 0}, {"profitIfLeg2Loses", 0},
                         {"profitIfEveryLegWins", 16}},
               0};
    // Leg 2 laid at an exchange without commission: standard lays still come out even.
    QTest::newRow("accumulator: a leg's own commission")
        << BetKind::Accumulator
        << OfferValues {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 5}, {"legs", 3}, {"leg1BackOdds", 2.1},
               {"leg1LayOdds", 1.95}, {"leg2BackOdds", 1.5}, {"leg2LayOdds", 1.54}, {"leg2Commission", 0},
               {"leg3BackOdds", 1.4}, {"leg3LayOdds", 1.87}}
        << Expected {{}, 2};

    // The multi-lay worked example: 10 at 6.0 on "A or B", A laid at 9.0, B at 15.0, 2 %: lays
    // 60 / 8.98 and 60 / 14.98. In one market, a lay lost is set against the other's winnings
    // before commission: 50 - 53.44 + 4.01 = +0.57 if A happens.
    const OfferValues multiLay {{"backStake", 10}, {"backOdds", 6}, {"freeBet", 0}, {"lays", 2}, {"lay1Odds", 9},
        {"lay2Odds", 15}, {"layCommission", 2}, {"oneMarket", 0}};
    QTest::newRow("multi-lay: lay by lay")
        << BetKind::MultiLay << multiLay
        << Expected {{{"lay1Stake", 6.68}, {"lay2Stake", 4.01}, {"lay1Liability", 53.44}, {"totalLiability", 109.58},
                         {"profitIfLay1Happens", 0.49}, {"profitIfLay2Happens", 0.41}, {"profitIfNoneHappens", 0.48}},
               8};
    OfferValues oneMarket = multiLay;
    oneMarket["oneMarket"] = 1;
    QTest::newRow("multi-lay: in one market") << BetKind::MultiLay << oneMarket
                                              << Expected {{{"lay1Stake", 6.68}, {"profitIfLay1Happens", 0.57},
                                                     {"profitIfLay2Happens", 0.54}, {"profitIfNoneHappens", 0.48}}};
    OfferValues freeMultiLay = multiLay;
    freeMultiLay["freeBet"] = 1;
    QTest::newRow("multi-lay: a free bet")
        << BetKind::MultiLay << freeMultiLay
        << Expected {{{"lay1Stake", 5.57}, {"lay2Stake", 3.34}, {"profitIfLay1Happens", 8.71},
               {"profitIfLay2Happens", 8.70}, {"profitIfNoneHappens", 8.73}}};
    // Laid below the back odds, at 1.01 and without commission: a profit whatever happens.
    QTest::newRow("multi-lay: lays below the back odds, at 1.01")
        << BetKind::MultiLay
        << OfferValues {{"backStake", 10}, {"backOdds", 3}, {"freeBet", 0}, {"lays", 2}, {"lay1Odds", 1.01},
               {"lay2Odds", 2.5}, {"layCommission", 0}, {"oneMarket", 0}}
        << Expected {{{"lay1Stake", 29.70}, {"lay2Stake", 12}, {"profitIfLay1Happens", 31.70},
                         {"profitIfLay2Happens", 31.70}, {"profitIfNoneHappens", 31.70}},
               1};

    QTest::newRow("dutching: our example")
        << BetKind::Dutching
        << OfferValues {{"selections", 2}, {"fixTotal", 0}, {"stake", 20}, {"odds1", 2.5}, {"odds2", 4}}
        << Expected {{{"stake1", 20}, {"stake2", 12.50}, {"totalStake", 32.50}, {"profitIf1Wins", 17.50},
                         {"profitIf2Wins", 17.50}},
               0};
    QTest::newRow("dutching: the total fixed")
        << BetKind::Dutching
        << OfferValues {{"selections", 2}, {"fixTotal", 1}, {"stake", 32.50}, {"odds1", 2.5}, {"odds2", 4}}
        << Expected {{{"stake1", 20}, {"stake2", 12.50}, {"profitIf2Wins", 17.50}}, 0};
    QTest::newRow("dutching: three, one at 1.01, every outcome covered")
        << BetKind::Dutching
        << OfferValues {{"selections", 3}, {"fixTotal", 1}, {"stake", 100}, {"odds1", 1.01}, {"odds2", 50},
               {"odds3", 80}, {"coverEvery", 1}}
        << Expected {{{"stake1", 96.82}, {"stake2", 1.96}, {"stake3", 1.22}, {"totalStake", 100},
                         {"profitIf1Wins", -2.21}, {"profitIf2Wins", -2}, {"profitIf3Wins", -2.40}},
               // Half a penny of stake at 80.0 moves its return by up to 40 pennies.
               45};

    QTest::newRow("early payout: our example")
        << BetKind::EarlyPayout
        << OfferValues {{"backStake", 50}, {"backOdds", 3}, {"layOdds", 3.1}, {"layCommission", 2},
               {"exchangeBackOdds", 1.5}}
        << Expected {{{"layStake", 48.70}, {"closingStake", 100.65}, {"profitAfterClosing", 48.05},
                         {"openProfitIfWins", -2.27}, {"openProfitIfLoses", 147.73}},
               0};
    // The odds have drifted: the closed market is a net win, and commission is due on it.
    QTest::newRow("early payout: closed at a net win")
        << BetKind::EarlyPayout
        << OfferValues {{"backStake", 50}, {"backOdds", 3}, {"layOdds", 3.1}, {"layCommission", 2},
               {"exchangeBackOdds", 4}}
        << Expected {{{"closingStake", 37.74}, {"profitAfterClosing", 110.73}}, 0};
}

void TestOffers::figuresToThePenny_data()
{
    QTest::addColumn<BetKind>("kind");
    QTest::addColumn<OfferValues>("inputs");
    QTest::addColumn<Expected>("expected");

    // Figures exactly as a person works them out from the rounded stakes, halves away from zero.
    QTest::newRow("underlay: 9.54 x 6.75 is 64.395")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 5}, {"backOdds", 7.66}, {"layOdds", 7.75}, {"layCommission", 2}, {"freeBet", 0},
               {"layStake", 9.54}}
        << Expected {{{"liability", 64.40}, {"profitIfBackWins", -31.10}}};
    QTest::newRow("underlay: 2.0416 - 2.5666 is -0.525")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 6.38}, {"backOdds", 1.32}, {"layOdds", 1.41}, {"layCommission", 6.5},
               {"freeBet", 0}}
        << Expected {{{"balancedLayStake", 6.26}, {"profitIfBackWins", -0.53}}};
    QTest::newRow("refund: 9.296 - 9.291 is 0.005") << BetKind::Refund
                                                    << OfferValues {{"backStake", 2.80}, {"backOdds", 4.32},
                                                           {"layOdds", 4.26}, {"layCommission", 2}, {"retention", 0}}
                                                    << Expected {{{"layStake", 2.85}, {"profitIfBackWins", 0.01}}};
    QTest::newRow("dutching: stake 1 placed as 2.51 before the others follow it")
        << BetKind::Dutching
        << OfferValues {{"selections", 2}, {"fixTotal", 0}, {"stake", 2.505}, {"odds1", 101}, {"odds2", 1.5}}
        << Expected {{{"stake1", 2.51}, {"stake2", 169.01}, {"totalStake", 171.52}}};
    // README: 20 at 3.0 / 3.1 (2 %): 40 / 2.1 is 19.047...; 19.05 would lose 0.005 if the back bet wins.
    QTest::newRow("break even if back wins: rounded down")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 20}, {"backOdds", 3}, {"layOdds", 3.1}, {"layCommission", 2}, {"freeBet", 0},
               {"layStake", 19.04}}
        << Expected {{{"breakEvenIfBackWins", 19.04}, {"breakEvenIfLayWins", 20.41}, {"profitIfBackWins", 0.02}}};
}

void TestOffers::figuresToThePenny()
{
    figures();
}

void TestOffers::breakEvenNeverBelowZero()
{
    // The outcome a break-even button names comes out at 0.00 or above, never "-0.00", over a spread
    // of stakes, prices and commissions, free bets included.
    QStringList failures;
    for (const double stake : {5.0, 10.0, 19.99, 20.0, 33.33, 100.0}) {
        for (const double odds : {1.5, 2.0, 3.0, 4.33, 7.66}) {
            for (const double spread : {0.02, 0.1, 0.35}) {
                for (const double commission : {0.0, 2.0, 5.0, 6.5}) {
                    for (const double freeBet : {0.0, 1.0}) {
                        OfferValues inputs {{"backStake", stake}, {"backOdds", odds}, {"layOdds", odds + spread},
                            {"layCommission", commission}, {"freeBet", freeBet}};
                        const OfferValues plain = *calc::offerFigures(BetKind::UnderlayOverlay, inputs);
                        for (const auto &[button, outcome] : {std::pair {"breakEvenIfBackWins", "profitIfBackWins"},
                                 std::pair {"breakEvenIfLayWins", "profitIfLayWins"}}) {
                            inputs["layStake"] = plain.at(button);
                            const double profit = calc::offerFigures(BetKind::UnderlayOverlay, inputs)->at(outcome);
                            if (profit < 0 || std::signbit(profit))
                                failures << QStringLiteral("%1 at %2/%3, %4 %, free %5: %6 %7")
                                                .arg(stake)
                                                .arg(odds)
                                                .arg(odds + spread)
                                                .arg(commission)
                                                .arg(freeBet)
                                                .arg(outcome)
                                                .arg(profit);
                        }
                    }
                }
            }
        }
    }
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1Char('\n'))));
}

void TestOffers::theBetAsPlaced_data()
{
    QTest::addColumn<BetKind>("kind");
    QTest::addColumn<OfferValues>("inputs");
    QTest::addColumn<Expected>("expected");
    QTest::addColumn<QStringList>("outcomes"); // the ways it can still end, in the shape's order
    QTest::addColumn<double>("lowest");

    // Our own arithmetic throughout.
    const OfferValues threeWay {{"selections", 3}, {"fixTotal", 1}, {"stake", 30}, {"odds1", 3}, {"odds2", 4.5},
        {"odds3", 6}, {"coverEvery", 0}};
    QTest::newRow("dutching: three of a bigger field")
        << BetKind::Dutching << threeWay
        << Expected {{{"stake1", 13.85}, {"stake2", 9.23}, {"stake3", 6.92}, {"profitIf1Wins", 11.55},
               {"profitIfNoneWins", -30}}}
        << QStringList {"profitIf1Wins", "profitIf2Wins", "profitIf3Wins", "profitIfNoneWins"} << -30.0;
    OfferValues covered = threeWay;
    covered["coverEvery"] = 1;
    QTest::newRow("dutching: every outcome covered")
        << BetKind::Dutching << covered << Expected {}
        << QStringList {"profitIf1Wins", "profitIf2Wins", "profitIf3Wins"} << 11.52;

    const OfferValues double_ {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 0}, {"legs", 2},
        {"leg1BackOdds", 2}, {"leg1LayOdds", 2.1}, {"leg2BackOdds", 3}, {"leg2LayOdds", 3.5}};
    OfferValues laid = double_;
    laid["leg1LaidStake"] = 8.93; // laid at the stake worked out for a second lay price of 3.2
    QTest::newRow("accumulator: the first leg laid keeps its stake")
        << BetKind::Accumulator << laid
        << Expected {{{"leg1LayStake", 8.93}, {"leg2LayStake", 17.14}, {"profitIfLeg1Loses", -1.07},
               {"profitIfLeg2Loses", -2.68}, {"profitIfEveryLegWins", -2.67}}}
        << QStringList {"profitIfLeg1Loses", "profitIfLeg2Loses", "profitIfEveryLegWins"} << -2.68;
    laid["leg1Won"] = 1;
    QTest::newRow("accumulator: once it has won, it can no longer lose")
        << BetKind::Accumulator << laid << Expected {{{"leg2LayStake", 17.14}, {"profitIfEveryLegWins", -2.67}}}
        << QStringList {"profitIfLeg2Loses", "profitIfEveryLegWins"} << -2.68;

    const OfferValues eachWay {{"backStake", 10}, {"backOdds", 34}, {"placeTerms", 0.25}, {"winLayOdds", 32},
        {"placeLayOdds", 7}, {"layCommission", 2}, {"extraPlace", 0}};
    QTest::newRow("each way without an extra place")
        << BetKind::EachWay << eachWay << Expected {} << QStringList {"profitIfWins", "profitIfPlaces", "profitIfLoses"}
        << 3.40;

    const OfferValues payout {{"backStake", 50}, {"backOdds", 3}, {"layOdds", 3.1}, {"layCommission", 2},
        {"exchangeBackOdds", 1.5}, {"paidOut", 0}};
    QTest::newRow("early payout: not paid out, a plain matched bet")
        << BetKind::EarlyPayout << payout << Expected {{{"openProfitIfWins", -2.27}, {"openProfitIfLoses", -2.27}}}
        << QStringList {"openProfitIfWins", "openProfitIfLoses"} << -2.27;

    QTest::newRow("refund: the free bet's value named apart")
        << BetKind::Refund
        << OfferValues {{"backStake", 20}, {"backOdds", 5}, {"layOdds", 5.2}, {"layCommission", 2}, {"retention", 75}}
        << Expected {{{"profitIfLayWins", 11.08}, {"freeBetValue", 15}}}
        << QStringList {"profitIfBackWins", "profitIfLayWins"} << 11.08;

    const OfferValues partLays {{"backStake", 50}, {"backOdds", 4}, {"layCommission", 2}, {"freeBet", 0}, {"parts", 1},
        {"part1LayStake", 20}, {"part1LayOdds", 4.2}, {"layOddsNow", 4.5}};
    QTest::newRow("part lays: the rest laid now")
        << BetKind::PartLays << partLays
        << Expected {{{"layStakeNow", 25.98}, {"liabilityNow", 90.93}, {"totalLiability", 154.93},
               {"profitIfBackWins", -4.93}, {"profitIfLayWins", -4.94}}}
        << QStringList {"profitIfBackWins", "profitIfLayWins"} << -4.94;

    QTest::newRow("casino bonus: 35 times deposit and bonus")
        << BetKind::CasinoBonus
        << OfferValues {{"bonus", 50}, {"deposit", 50}, {"wagering", 35}, {"wagerOn", 1}, {"returnToPlayer", 96},
               {"weighting", 100}}
        << Expected {{{"amountToWager", 3500}, {"expectedLoss", 140}, {"expectedValue", -90}}}
        << QStringList {"expectedValue"} << -90.0;
}

void TestOffers::theBetAsPlaced()
{
    QFETCH(BetKind, kind);
    QFETCH(OfferValues, inputs);
    QFETCH(QStringList, outcomes);
    QFETCH(double, lowest);
    figures();
    QStringList shown;
    for (const calc::OfferOutput &output : calc::offerShape(kind, inputs).outputs) {
        if (output.outcome)
            shown << QString::fromStdString(output.key);
    }
    QCOMPARE(shown, outcomes);
    const OfferValues figures = *calc::offerFigures(kind, inputs);
    QCOMPARE(calc::outcomeRange(kind, inputs, figures).first, lowest);
}

void TestOffers::partLaysThatCoverTheBet()
{
    const OfferValues inputs {{"backStake", 50}, {"backOdds", 4}, {"layCommission", 2}, {"freeBet", 0}, {"parts", 2},
        {"part1LayStake", 30}, {"part1LayOdds", 4.2}, {"part2LayStake", 30}, {"part2LayOdds", 4.4},
        {"layOddsNow", 4.5}};
    const OfferValues figures = *calc::offerFigures(BetKind::PartLays, inputs);
    QCOMPARE(figures.at("layStakeNow"), 0.0);
    QCOMPARE(calc::offerRemark(BetKind::PartLays, inputs, figures),
        "The parts matched already cover the bet: nothing is left to lay.");
}

namespace {

// The inputs as their fields start, with a choice or flag set to another value where asked.
OfferValues startingInputs(BetKind kind, const std::string &changed = {}, double to = 0)
{
    OfferValues values;
    for (const calc::OfferInput &input : calc::offerShape(kind).inputs) {
        const QString initial = QString::fromStdString(input.initial);
        const QLocale c = QLocale::c();
        if (input.key == changed)
            values[input.key] = to;
        else if (input.kind == calc::InputKind::Odds)
            values[input.key] = *calc::parseOdds(initial, c);
        else if (input.kind == calc::InputKind::Terms)
            values[input.key] = *calc::parseFraction(initial, c);
        else if (!initial.isEmpty())
            values[input.key] = initial.toDouble();
    }
    // The rows a count or flag makes start as their fields do too.
    for (const calc::OfferInput &input : calc::offerShape(kind, values).inputs) {
        if (!values.contains(input.key) && !input.initial.empty() && input.kind == calc::InputKind::Odds)
            values[input.key] = *calc::parseOdds(QString::fromStdString(input.initial), QLocale::c());
        else if (!values.contains(input.key) && !input.initial.empty())
            values[input.key] = QString::fromStdString(input.initial).toDouble();
    }
    return values;
}

QString checkOffer(BetKind kind, const OfferValues &inputs)
{
    const std::optional<OfferValues> figures = calc::offerFigures(kind, inputs);
    if (!figures)
        return QStringLiteral("no figures");
    bool anyOutcome = false;
    store::NamedTexts shown;
    for (const calc::OfferOutput &output : calc::offerShape(kind, inputs).outputs) {
        if (!figures->contains(output.key))
            return QStringLiteral("no figure for ") + QString::fromStdString(output.key);
        anyOutcome = anyOutcome || output.outcome;
        shown.emplace_back(output.key, calc::formatMoney(figures->at(output.key)).toLatin1());
    }
    const auto [lowest, highest] = calc::outcomeRange(kind, inputs, *figures);
    if (!anyOutcome || !std::isfinite(lowest) || !std::isfinite(highest))
        return QStringLiteral("no finite outcome");
    if (!calc::offerFiguresMatch(kind, inputs, *figures))
        return QStringLiteral("its own figures do not match");
    // Through the offers file and back.
    const QByteArray line
        = store::offerLine({QDateTime(QDate(2026, 12, 8), QTime(14, 5)), std::string(calc::betKindToken(kind)), "Event",
            "Bookmaker", calc::offerStake(kind, inputs, *figures), calc::formatMoney(lowest).toLatin1(),
            calc::formatMoney(highest).toLatin1(), {inputs.begin(), inputs.end()}, shown});
    const std::optional<store::OfferFields> fields = store::splitOfferLine(line);
    if (!fields)
        return QStringLiteral("the offers file's line does not read back");
    const auto read = [&](store::OfferField field) {
        const auto numbers = *store::offerNumbers((*fields)[std::size_t(field)]);
        return OfferValues(numbers.begin(), numbers.end());
    };
    if (read(store::OfferField::Inputs) != inputs)
        return QStringLiteral("the inputs do not read back");
    if (!calc::offerFiguresMatch(kind, read(store::OfferField::Inputs), read(store::OfferField::Figures)))
        return QStringLiteral("the figures read back do not match");
    return {};
}

} // namespace

void TestOffers::contractOverTheTable()
{
    // Every offer of the table, as its fields start and with each choice and flag changed: every
    // output has a figure, its outcomes are finite, it matches its own figures, and it goes through
    // the offers file and back.
    QStringList tokens;
    for (const calc::OfferDefinition *offer : calc::offerTable()) {
        const QString token = QString::fromUtf8(offer->token);
        QVERIFY2(!token.isEmpty() && !tokens.contains(token), qPrintable(token));
        tokens << token;
        QCOMPARE(calc::betKindOfToken(offer->token), offer->kind);
        QCOMPARE(calc::betKindName(offer->kind), offer->name);
        std::vector<std::pair<std::string, double>> variants {{"", 0}};
        for (const calc::OfferInput &input : offer->shape({}).inputs) {
            if (input.kind == calc::InputKind::Flag || input.kind == calc::InputKind::Choice)
                variants.emplace_back(input.key, QString::fromStdString(input.initial).toDouble() == 0 ? 1 : 0);
        }
        for (const auto &[key, value] : variants) {
            const QString problem = checkOffer(offer->kind, startingInputs(offer->kind, key, value));
            QVERIFY2(
                problem.isEmpty(), qPrintable(token + QLatin1Char(' ') + QString::fromStdString(key) + ": " + problem));
        }
    }
}

void TestOffers::figures()
{
    QFETCH(BetKind, kind);
    QFETCH(OfferValues, inputs);
    QFETCH(Expected, expected);
    const std::optional<OfferValues> figures = calc::offerFigures(kind, inputs);
    QVERIFY(figures);
    for (const auto &[key, value] : expected.figures) {
        QVERIFY2(figures->contains(key), key.c_str());
        QVERIFY2(qAbs(figures->at(key) - value) < 0.005 + 1e-9,
            qPrintable(QString::fromStdString(key) + QLatin1String(" is ") + QString::number(figures->at(key))));
    }
    if (expected.spreadInPennies > 0) {
        auto [lowest, highest] = calc::outcomeRange(kind, inputs, *figures);
        if (!expected.equalProfits.empty()) {
            std::vector<double> profits;
            for (const std::string &key : expected.equalProfits)
                profits.push_back(figures->at(key));
            std::tie(lowest, highest) = std::pair(
                *std::min_element(profits.begin(), profits.end()), *std::max_element(profits.begin(), profits.end()));
        }
        QVERIFY2(highest - lowest <= expected.spreadInPennies * 0.01 + 1e-9,
            qPrintable(QString::number(lowest) + QLatin1String(" to ") + QString::number(highest)));
    }
}

void TestOffers::refused_data()
{
    QTest::addColumn<BetKind>("kind");
    QTest::addColumn<OfferValues>("inputs");

    const OfferValues refund {
        {"backStake", 20}, {"backOdds", 5}, {"layOdds", 5.2}, {"layCommission", 2}, {"retention", 75}};
    const auto with = [](OfferValues values, const char *key, double value) {
        values[key] = value;
        return values;
    };
    QTest::newRow("stake 0") << BetKind::Refund << with(refund, "backStake", 0);
    QTest::newRow("odds below 1.01") << BetKind::Refund << with(refund, "layOdds", 1.005);
    QTest::newRow("commission above 100") << BetKind::Refund << with(refund, "layCommission", 100.5);
    QTest::newRow("commission of 100: no lay wins anything") << BetKind::Refund << with(refund, "layCommission", 100);
    QTest::newRow("underlay at 100 %: no stake breaks even on the lay")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 10}, {"backOdds", 3}, {"layOdds", 3}, {"layCommission", 100}, {"freeBet", 0}};
    QTest::newRow("negative refund") << BetKind::Refund << with(refund, "refund", -1);
    QTest::newRow("odds missing") << BetKind::Refund
                                  << OfferValues {
                                         {"backStake", 20}, {"layOdds", 5.2}, {"layCommission", 2}, {"retention", 75}};
    QTest::newRow("place terms above 1") << BetKind::EachWay
                                         << OfferValues {{"backStake", 10}, {"backOdds", 9}, {"placeTerms", 4},
                                                {"winLayOdds", 9.4}, {"placeLayOdds", 3}, {"layCommission", 2}};
    QTest::newRow("multi-lay: one lay") << BetKind::MultiLay
                                        << OfferValues {{"backStake", 10}, {"backOdds", 6}, {"freeBet", 0}, {"lays", 1},
                                               {"lay1Odds", 9}, {"layCommission", 2}, {"oneMarket", 0}};
    QTest::newRow("multi-lay: commission of 100")
        << BetKind::MultiLay
        << OfferValues {{"backStake", 10}, {"backOdds", 6}, {"freeBet", 0}, {"lays", 2}, {"lay1Odds", 9},
               {"lay2Odds", 15}, {"layCommission", 100}, {"oneMarket", 0}};
    QTest::newRow("accumulator: a leg's commission of 100")
        << BetKind::Accumulator
        << OfferValues {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 2}, {"legs", 2}, {"leg1BackOdds", 2},
               {"leg1LayOdds", 2.1}, {"leg1Commission", 100}, {"leg2BackOdds", 3}, {"leg2LayOdds", 3.2}};
    QTest::newRow("accumulator: underlay below 50 %")
        << BetKind::Accumulator
        << OfferValues {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 2}, {"legs", 2}, {"leg1BackOdds", 2},
               {"leg1LayOdds", 2.1}, {"leg2BackOdds", 3}, {"leg2LayOdds", 3.2}, {"layMode", 1}, {"underlay", 40}};
    QTest::newRow("one leg") << BetKind::Accumulator
                             << OfferValues {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 2}, {"legs", 1},
                                    {"leg1BackOdds", 2}, {"leg1LayOdds", 2.1}};
}

void TestOffers::refused()
{
    QFETCH(BetKind, kind);
    QFETCH(OfferValues, inputs);
    QCOMPARE(calc::offerFigures(kind, inputs).has_value(), false);
}

void TestOffers::tenLegsAndTheShapes()
{
    OfferValues inputs {{"backStake", 5}, {"freeBet", 0}, {"layCommission", 2}, {"legs", 10}};
    for (int n = 1; n <= 10; ++n) {
        inputs["leg" + std::to_string(n) + "BackOdds"] = 1.3;
        inputs["leg" + std::to_string(n) + "LayOdds"] = 1.33;
    }
    const calc::OfferShape shape = calc::offerShape(BetKind::Accumulator, inputs);
    QCOMPARE(shape.inputs.size(), std::size_t(5 + 5 * 10));
    QCOMPARE(shape.inputs.back().caption, "Leg 10 won");
    const std::optional<OfferValues> figures = calc::offerFigures(BetKind::Accumulator, inputs);
    QVERIFY(figures);
    const auto [lowest, highest] = calc::outcomeRange(BetKind::Accumulator, inputs, *figures);
    QVERIFY2(highest - lowest <= 0.05, qPrintable(QString::number(highest - lowest)));
    QVERIFY(figures->at("leg10LayStake") > figures->at("leg1LayStake"));

    // Which stake is typed follows the choice; the other is worked out.
    QCOMPARE(calc::offerShape(BetKind::Dutching, {{"fixTotal", 1}}).inputs[2].caption, "Total stake");
    QCOMPARE(calc::offerShape(BetKind::Dutching, {{"fixTotal", 0}}).inputs[2].caption, "Stake 1");
}

void TestOffers::valuesByKey()
{
    // Keys compared byte by byte: a key is not found by its prefix or by a longer key, bytes above
    // 127 sort after letters, and of two equal keys the first given counts.
    const calc::OfferValues values {
        {"layStakes", 3}, {"\xC2\xA3", 5}, {"layStake", 1}, {"backOdds", 2}, {"layStake", 9}, {"lay", 4}};
    std::vector<std::string> keys;
    for (const auto &[key, value] : values)
        keys.push_back(key);
    QCOMPARE(keys, (std::vector<std::string> {"backOdds", "lay", "layStake", "layStakes", "\xC2\xA3"}));
    QCOMPARE(values.at("layStake"), 1.0);
    QCOMPARE(values.at("layStakes"), 3.0);
    QCOMPARE(values.at("lay"), 4.0);
    QCOMPARE(values.at("\xC2\xA3"), 5.0);
    QVERIFY(!values.contains("layStak"));
    QVERIFY(!values.contains("layStakesX"));
    QVERIFY(!values.contains("layStaKe"));
}

void TestOffers::valuesFoundByEveryByte()
{
    // Keys of every length up to twenty, each found in a short list and in a long one, and none found
    // by a key of its length with any one byte changed.
    const auto keyOf = [](std::size_t length) {
        std::string key;
        for (std::size_t i = 0; i < length; ++i)
            key += char('a' + i);
        return key;
    };
    std::vector<std::pair<std::string, double>> all;
    for (std::size_t length = 1; length <= 20; ++length)
        all.emplace_back(keyOf(length), double(length));
    const calc::OfferValues longList(all.begin(), all.end());
    for (std::size_t length = 1; length <= 20; ++length) {
        const std::string key = keyOf(length);
        const calc::OfferValues shortList {{key, double(length)}, {keyOf(length + 1), 0}, {"z", 0}};
        for (const calc::OfferValues *values : {&longList, &shortList}) {
            QCOMPARE(values->at(key), double(length));
            for (std::size_t changed = 0; changed < length; ++changed) {
                std::string other = key;
                other[changed] = 'Z';
                QVERIFY2(!values->contains(other), other.c_str());
            }
        }
    }
}

QTEST_GUILESS_MAIN(TestOffers)
#include "tst_offers.moc"
