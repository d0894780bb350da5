// The offer calculators' arithmetic on worked examples: our own, and those published in public
// matched-betting guides (named with each row). Every row also checks the identities a balanced
// lay must keep: its outcome profits agree to within the pennies that rounding the stakes moves.
#include <QTest>

#include "calc/offers.h"

using calc::BetKind;
using calc::OfferValues;

Q_DECLARE_METATYPE(BetKind)
Q_DECLARE_METATYPE(OfferValues)

class TestOffers : public QObject
{
    Q_OBJECT

private slots:
    void figures_data();
    void figures();
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
    // and a losing horse costs nothing, a winner costs 1.00.
    QTest::newRow("overlay: break even if the lay wins, gambledex")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 10}, {"backOdds", 6}, {"layOdds", 6}, {"layCommission", 2}, {"freeBet", 0},
               {"layStake", 10.20}}
        << Expected {{{"balancedLayStake", 10.03}, {"breakEvenIfLayWins", 10.20}, {"liability", 51},
                         {"profitIfBackWins", -1}, {"profitIfLayWins", -0.004}},
               0};
    QTest::newRow("underlay: break even if the back bet wins")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 10}, {"backOdds", 6}, {"layOdds", 6.2}, {"layCommission", 2}, {"freeBet", 0},
               {"layStake", 9.62}}
        << Expected {{{"breakEvenIfBackWins", 9.62}, {"profitIfBackWins", -0.02}, {"profitIfLayWins", -0.57}}, 0};
    QTest::newRow("free bet: balanced without the stake")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 25}, {"backOdds", 7}, {"layOdds", 8}, {"layCommission", 5}, {"freeBet", 1}}
        << Expected {{{"balancedLayStake", 18.87}, {"breakEvenIfLayWins", 0}, {"profitIfBackWins", 17.91},
                         {"profitIfLayWins", 17.93}},
               2};
    QTest::newRow("commission 100 %: no stake breaks even on the lay")
        << BetKind::UnderlayOverlay
        << OfferValues {{"backStake", 10}, {"backOdds", 3}, {"layOdds", 3}, {"layCommission", 100}, {"freeBet", 0}}
        << Expected {{{"balancedLayStake", 15}, {"profitIfLayWins", -10}}, 0};

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
    QTest::newRow("dutching: three, one at 1.01")
        << BetKind::Dutching
        << OfferValues {{"selections", 3}, {"fixTotal", 1}, {"stake", 100}, {"odds1", 1.01}, {"odds2", 50},
               {"odds3", 80}}
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
    QTest::newRow("negative refund") << BetKind::Refund << with(refund, "refund", -1);
    QTest::newRow("odds missing") << BetKind::Refund
                                  << OfferValues {
                                         {"backStake", 20}, {"layOdds", 5.2}, {"layCommission", 2}, {"retention", 75}};
    QTest::newRow("place terms above 1") << BetKind::EachWay
                                         << OfferValues {{"backStake", 10}, {"backOdds", 9}, {"placeTerms", 4},
                                                {"winLayOdds", 9.4}, {"placeLayOdds", 3}, {"layCommission", 2}};
    QTest::newRow("one leg") << BetKind::Accumulator
                             << OfferValues {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 2}, {"legs", 1},
                                    {"leg1BackOdds", 2}, {"leg1LayOdds", 2.1}};
    // A lay stake that grows by (l - c) / (1 - c) has no size when the exchange keeps everything.
    QTest::newRow("accumulator at 100 % commission")
        << BetKind::Accumulator
        << OfferValues {{"backStake", 10}, {"freeBet", 0}, {"layCommission", 100}, {"legs", 2}, {"leg1BackOdds", 2},
               {"leg1LayOdds", 2.1}, {"leg2BackOdds", 3}, {"leg2LayOdds", 3.2}};
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
    QCOMPARE(shape.inputs.size(), std::size_t(4 + 2 * 10));
    QCOMPARE(shape.inputs.back().caption, "Leg 10 lay odds");
    const std::optional<OfferValues> figures = calc::offerFigures(BetKind::Accumulator, inputs);
    QVERIFY(figures);
    const auto [lowest, highest] = calc::outcomeRange(BetKind::Accumulator, inputs, *figures);
    QVERIFY2(highest - lowest <= 0.05, qPrintable(QString::number(highest - lowest)));
    QVERIFY(figures->at("leg10LayStake") > figures->at("leg1LayStake"));

    // Which stake is typed follows the choice; the other is worked out.
    QCOMPARE(calc::offerShape(BetKind::Dutching, {{"fixTotal", 1}}).inputs[2].caption, "Total stake");
    QCOMPARE(calc::offerShape(BetKind::Dutching, {{"fixTotal", 0}}).inputs[2].caption, "Stake 1");
}

QTEST_GUILESS_MAIN(TestOffers)
#include "tst_offers.moc"
