// Settling: what each outcome moves at the bookmaker and at the exchange, each part to the penny as
// that account pays it, the profit their sum; and what an open bet ties up. Worked examples by hand,
// and random bets against an exact rational formula of the test's own.
#include <QRandomGenerator>
#include <QTest>

#include "calc/offers.h"
#include "calc/settle.h"

using calc::BetKind;
using calc::OfferValues;

Q_DECLARE_METATYPE(BetKind)
Q_DECLARE_METATYPE(OfferValues)

class TestSettle : public QObject
{
    Q_OBJECT

private slots:
    void parts_data();
    void parts();
    void noMoneyForImpossibleBets();
    void casinoBonusSettlesOnlyByAmount();
    void multiLaySettlesByWhatHappened();
    void openMoney_data();
    void openMoney();
    void randomMatchedBets();
    void randomRefunds();
    void randomMultiLays();
    void randomAccumulatorModes();
};

namespace {

// A calculator record's inputs: stake, forfeit, back odds, lay odds, back and lay commission.
OfferValues matched(double s, double f, double b, double l, double bc, double lc)
{
    return {{"stake", s}, {"forfeit", f}, {"backOdds", b}, {"layOdds", l}, {"backComm", bc}, {"layComm", lc}};
}

std::optional<calc::Payout> payoutOf(BetKind kind, const OfferValues &in, const std::string &outcome)
{
    if (kind == BetKind::Qualifying)
        return calc::matchedBetPayout({in.at("stake"), in.at("forfeit"), in.at("backOdds"), in.at("layOdds"),
                                          in.at("backComm"), in.at("layComm")},
            outcome);
    const std::optional<OfferValues> figures = calc::offerFigures(kind, in);
    return figures ? calc::offerPayout(kind, in, *figures, outcome) : std::nullopt;
}

const OfferValues refund {
    {"backStake", 20}, {"backOdds", 5}, {"layOdds", 5.2}, {"layCommission", 2}, {"retention", 75}};

// Exact money: a ratio of whole numbers rounded to the penny, halves away from zero.
qint64 rounded(qint64 numerator, qint64 denominator)
{
    const bool negative = (numerator < 0) != (denominator < 0);
    const qint64 n = numerator < 0 ? -numerator : numerator;
    const qint64 d = denominator < 0 ? -denominator : denominator;
    const qint64 magnitude = (2 * n + d) / (2 * d);
    return qint64(negative ? -magnitude : magnitude);
}

} // namespace

void TestSettle::parts_data()
{
    QTest::addColumn<BetKind>("kind");
    QTest::addColumn<OfferValues>("inputs");
    QTest::addColumn<QString>("outcome");
    QTest::addColumn<qint64>("atBookmaker"); // pennies
    QTest::addColumn<qint64>("atExchange");

    const OfferValues evens = matched(25, 0, 2, 2.05, 0, 4.75);
    QTest::newRow("evens, lay won") << BetKind::Qualifying << evens << "profitIfLayWins" << -2500LL << 2378LL;
    QTest::newRow("evens, back won") << BetKind::Qualifying << evens << "profitIfBackWins" << 2500LL << -2622LL;
    QTest::newRow("a free bet that loses costs the bookmaker nothing")
        << BetKind::Qualifying << matched(10, 10, 5, 5.5, 0, 5) << "profitIfLayWins" << 0LL << 697LL;
    QTest::newRow("part free bet, back won")
        << BetKind::Qualifying << matched(200, 50, 6.4, 6.2, 0, 4.75) << "profitIfBackWins" << 108000LL << -103958LL;
    // 33/1: the calculator's lay stake is 322.365..., placed as 322.37; its liability 11,331.31.
    QTest::newRow("33/1, back won: the liability of the stake laid")
        << BetKind::Qualifying << matched(342.75, 0, 34, 36.15, 0, 0) << "profitIfBackWins" << 1131075LL << -1133131LL;

    QTest::newRow("refund, back won") << BetKind::Refund << refund << "profitIfBackWins" << 8000LL << -6892LL;
    QTest::newRow("refund as cash: the stake back at the bookmaker")
        << BetKind::Refund << refund << "profitIfLayWins" << 0LL << 1608LL;
    QTest::newRow("refund as a free bet: the cash alone")
        << BetKind::Refund << refund << "layWonRefundAsFreeBet" << -2000LL << 1608LL;
    // The tab shows Liability 286.76 and Profit if back wins -6.61; the exchange charges 286.76.
    QTest::newRow("refund, back won: the liability as shown")
        << BetKind::Refund
        << OfferValues {{"backStake", 237.42}, {"backOdds", 2.18}, {"layOdds", 2.23}, {"layCommission", 1},
               {"retention", 0}}
        << "profitIfBackWins" << 28016LL << -28676LL;

    const OfferValues eachWay {{"backStake", 10}, {"backOdds", 9}, {"placeTerms", 0.25}, {"winLayOdds", 9.4},
        {"placeLayOdds", 3}, {"layCommission", 2}, {"extraPlace", 1}};
    QTest::newRow("each way, lost: both parts") << BetKind::EachWay << eachWay << "profitIfLoses" << -2000LL << 1927LL;
    // Lays of 9.59 at 9.4 and 10.07 at 3 both lose: 80.556 + 20.14.
    QTest::newRow("each way, won: both lays lose")
        << BetKind::EachWay << eachWay << "profitIfWins" << 10000LL << -10070LL;
    QTest::newRow("each way, extra place: the place paid")
        << BetKind::EachWay << eachWay << "profitOnExtraPlace" << 1000LL << 1927LL;
    // Place odds 2.875, not the 2.88 shown: 100 x 1.875 - 100 at the bookmaker; the win lay of 94.65
    // wins 92.76 after commission, the place lay of 96.48 loses 192.96.
    QTest::newRow("each way at 8.5, placed: place odds unrounded")
        << BetKind::EachWay
        << OfferValues {{"backStake", 100}, {"backOdds", 8.5}, {"placeTerms", 0.25}, {"winLayOdds", 9},
               {"placeLayOdds", 3}, {"layCommission", 2}, {"extraPlace", 0}}
        << "profitIfPlaces" << 8750LL << -10020LL;

    // Odds 7.756125, not the 7.76 shown. Lays 91.79, 176.10, 391.72 at 1.9, 2.2, 2.0 (by hand).
    const OfferValues treble {{"backStake", 100}, {"freeBet", 0}, {"layCommission", 2}, {"legs", 3},
        {"leg1BackOdds", 1.85}, {"leg1LayOdds", 1.9}, {"leg2BackOdds", 2.15}, {"leg2LayOdds", 2.2},
        {"leg3BackOdds", 1.95}, {"leg3LayOdds", 2.0}};
    QTest::newRow("treble, every leg won: odds unrounded")
        << BetKind::Accumulator << treble << "profitIfEveryLegWins" << 67561LL << -68565LL;
    QTest::newRow("treble, leg 2 lost: the first lay lost, the second won")
        << BetKind::Accumulator << treble << "profitIfLeg2Loses" << -10000LL << 8997LL;
    OfferValues laid = treble;
    laid["leg1LaidStake"] = 90;
    laid["leg1Won"] = 1;
    QTest::newRow("treble, leg 2 lost after 90.00 was laid on leg 1")
        << BetKind::Accumulator << laid << "profitIfLeg2Loses" << -10000LL << qint64(-8100 + 17258);
    QTest::newRow("accumulator, a free bet's leg 1 lost")
        << BetKind::Accumulator
        << OfferValues {{"backStake", 10}, {"freeBet", 1}, {"layCommission", 0}, {"legs", 2}, {"leg1BackOdds", 2},
               {"leg1LayOdds", 2.1}, {"leg2BackOdds", 3}, {"leg2LayOdds", 3.2}}
        << "profitIfLeg1Loses" << 0LL << 744LL;
    // The balanced lay of 19.48 at 3.1: 40.908 lost, or 19.0904 won after 2 %.
    const OfferValues underlay {
        {"backStake", 20}, {"backOdds", 3}, {"layOdds", 3.1}, {"layCommission", 2}, {"freeBet", 0}};
    QTest::newRow("underlay, back won") << BetKind::UnderlayOverlay << underlay << "profitIfBackWins" << 4000LL
                                        << -4091LL;
    QTest::newRow("underlay, lay won") << BetKind::UnderlayOverlay << underlay << "profitIfLayWins" << -2000LL
                                       << 1909LL;
    // 20.00 matched at 4.2, the rest 25.98 at 4.5: 64.00 + 90.93 lost, or 45.98 x 0.98 won.
    const OfferValues partLays {{"backStake", 50}, {"backOdds", 4}, {"layCommission", 2}, {"freeBet", 0}, {"parts", 1},
        {"part1LayStake", 20}, {"part1LayOdds", 4.2}, {"layOddsNow", 4.5}};
    QTest::newRow("part lays, back won") << BetKind::PartLays << partLays << "profitIfBackWins" << 15000LL << -15493LL;
    QTest::newRow("part lays, lay won") << BetKind::PartLays << partLays << "profitIfLayWins" << -5000LL << 4506LL;
    // Not paid out: a plain matched bet, 48.70 laid at 3.1.
    const OfferValues notPaidOut {{"backStake", 50}, {"backOdds", 3}, {"layOdds", 3.1}, {"layCommission", 2},
        {"paidOut", 0}, {"exchangeBackOdds", 1.5}};
    QTest::newRow("early payout, not paid out, it wins")
        << BetKind::EarlyPayout << notPaidOut << "openProfitIfWins" << 10000LL << -10227LL;
    QTest::newRow("early payout, not paid out, it loses")
        << BetKind::EarlyPayout << notPaidOut << "openProfitIfLoses" << -5000LL << 4773LL;
    QTest::newRow("dutching, the first wins: 20 x 2.5 less 32.50")
        << BetKind::Dutching
        << OfferValues {{"selections", 2}, {"fixTotal", 0}, {"stake", 20}, {"odds1", 2.5}, {"odds2", 4}}
        << "profitIf1Wins" << 1750LL << 0LL;
    QTest::newRow("dutching: all at the bookmaker")
        << BetKind::Dutching
        << OfferValues {{"selections", 2}, {"fixTotal", 0}, {"stake", 20}, {"odds1", 2.5}, {"odds2", 4}}
        << "profitIfNoneWins" << -3250LL << 0LL;
    // Lays of 6.68 at 9.0 and 4.01 at 15.0 in one market: A happening sets the 4.01 won against the
    // 53.44 lost, and no commission is due on the market's net loss of 49.43.
    const OfferValues multiLay {{"backStake", 10}, {"backOdds", 6}, {"freeBet", 0}, {"lays", 2}, {"lay1Odds", 9},
        {"lay2Odds", 15}, {"layCommission", 2}, {"oneMarket", 1}};
    QTest::newRow("multi-lay in one market, A happened: netted")
        << BetKind::MultiLay << multiLay << "profitIfLay1Happens" << 5000LL << -4943LL;
    QTest::newRow("multi-lay, none happened: both lays won after commission")
        << BetKind::MultiLay << multiLay << "profitIfNoneHappens" << -1000LL << 1048LL;
    // Paid out: 50 x 2 at the bookmaker; the lay of 48.70 at 3.1 closed by 100.65 at 1.5 loses
    // 102.27 - 50.325 = 51.945 if it wins, 100.65 - 48.70 = 51.95 if not (no commission on a loss).
    QTest::newRow("early payout, closed") << BetKind::EarlyPayout
                                          << OfferValues {{"backStake", 50}, {"backOdds", 3}, {"layOdds", 3.1},
                                                 {"layCommission", 2}, {"paidOut", 1}, {"exchangeBackOdds", 1.5}}
                                          << "profitAfterClosing" << 10000LL << -5195LL;
}

void TestSettle::parts()
{
    QFETCH(BetKind, kind);
    QFETCH(OfferValues, inputs);
    QFETCH(QString, outcome);
    QFETCH(qint64, atBookmaker);
    QFETCH(qint64, atExchange);
    const std::optional<calc::Payout> payout = payoutOf(kind, inputs, outcome.toStdString());
    QVERIFY(payout);
    QCOMPARE(qint64(payout->bookmaker), atBookmaker);
    QCOMPARE(qint64(payout->exchange), atExchange);
    QCOMPARE(payout->profit(), payout->bookmaker + payout->exchange);
    if (kind != BetKind::Qualifying) {
        const std::vector<calc::SettleOutcome> offered = calc::offerOutcomes(kind, inputs);
        QVERIFY(
            std::any_of(offered.begin(), offered.end(), [&](const auto &o) { return o.key == outcome.toStdString(); }));
    }
}

void TestSettle::noMoneyForImpossibleBets()
{
    // The calculator takes a forfeit above the stake; no bookmaker does.
    QVERIFY(!payoutOf(BetKind::Qualifying, matched(10, 15, 3, 3.2, 0, 2), "profitIfBackWins"));
    QVERIFY(!calc::matchedBetOpenMoney({10, 15, 3, 3.2, 0, 2}));
    QVERIFY(!payoutOf(BetKind::Qualifying, matched(10, 0, 0.5, 3.2, 0, 2), "profitIfLayWins"));
    // A lay commission of 100 % wins nothing on any lay: refused like any input out of range.
    OfferValues allCommission = refund;
    allCommission["layCommission"] = 100;
    QVERIFY(!calc::offerFigures(BetKind::Refund, allCommission));
    QCOMPARE(calc::inputProblem(calc::InputKind::Commission, 100),
        std::optional<std::string>("must be 0 or more and below 100"));
    QCOMPARE(calc::inputProblem(calc::InputKind::Commission, 99.99), std::nullopt);
}

void TestSettle::casinoBonusSettlesOnlyByAmount()
{
    const OfferValues bonus {
        {"bonus", 50}, {"deposit", 50}, {"wagering", 35}, {"wagerOn", 1}, {"returnToPlayer", 96}, {"weighting", 100}};
    QVERIFY(calc::offerFigures(BetKind::CasinoBonus, bonus));
    QVERIFY(calc::offerOutcomes(BetKind::CasinoBonus, bonus).empty());
    const calc::Payout typed = calc::otherPayout(2345, 0);
    QCOMPARE(typed.profit(), 2345);
}

void TestSettle::multiLaySettlesByWhatHappened()
{
    const OfferValues threeLays {{"backStake", 10}, {"backOdds", 6}, {"freeBet", 0}, {"lays", 3}, {"lay1Odds", 9},
        {"lay2Odds", 15}, {"lay3Odds", 20}, {"layCommission", 2}, {"oneMarket", 0}};
    QStringList captions;
    for (const calc::SettleOutcome &outcome : calc::offerOutcomes(BetKind::MultiLay, threeLays))
        captions << QString::fromStdString(outcome.caption);
    QCOMPARE(captions,
        QStringList(
            {"Lay 1's outcome happened", "Lay 2's outcome happened", "Lay 3's outcome happened", "None happened"}));
}

void TestSettle::openMoney_data()
{
    QTest::addColumn<BetKind>("kind");
    QTest::addColumn<OfferValues>("inputs");
    QTest::addColumn<double>("atBookmaker");
    QTest::addColumn<double>("atExchange");

    const OfferValues treble {{"backStake", 100}, {"freeBet", 0}, {"layCommission", 2}, {"legs", 3},
        {"leg1BackOdds", 1.85}, {"leg1LayOdds", 1.9}, {"leg2BackOdds", 2.15}, {"leg2LayOdds", 2.2},
        {"leg3BackOdds", 1.95}, {"leg3LayOdds", 2.0}};
    // 91.79 x 0.9 = 82.611: only the first leg is laid before it is played.
    QTest::newRow("accumulator, nothing won yet: the first lay alone")
        << BetKind::Accumulator << treble << 100.0 << 82.61;
    OfferValues second = treble;
    second["leg1LaidStake"] = 90;
    second["leg1Won"] = 1;
    second["leg2LaidStake"] = 170;
    QTest::newRow("accumulator, leg 1 won, leg 2 laid: both lays")
        << BetKind::Accumulator << second << 100.0 << 81.0 + 204.0;
    OfferValues notLaidYet = second;
    notLaidYet.erase("leg2LaidStake");
    QTest::newRow("accumulator, leg 1 won, leg 2 not laid yet") << BetKind::Accumulator << notLaidYet << 100.0 << 81.0;
    const OfferValues early {
        {"backStake", 50}, {"backOdds", 3}, {"layOdds", 3.1}, {"layCommission", 2}, {"exchangeBackOdds", 1.5}};
    OfferValues paidOut = early;
    paidOut["paidOut"] = 1;
    QTest::newRow("early payout, open: the stake and the liability")
        << BetKind::EarlyPayout << OfferValues(early) << 50.0 << 102.27;
    QTest::newRow("early payout, paid out: no stake left at the bookmaker")
        << BetKind::EarlyPayout << paidOut << 0.0 << 51.95;
}

void TestSettle::openMoney()
{
    QFETCH(BetKind, kind);
    QFETCH(OfferValues, inputs);
    QFETCH(double, atBookmaker);
    QFETCH(double, atExchange);
    if (!inputs.contains("paidOut") && kind == BetKind::EarlyPayout)
        inputs["paidOut"] = 0;
    const std::optional<OfferValues> figures = calc::offerFigures(kind, inputs);
    QVERIFY(figures);
    const calc::OfferSummary summary = calc::summarizeOffer(kind, inputs, *figures);
    QCOMPARE(summary.open.bookmaker, atBookmaker);
    QCOMPARE(summary.open.exchange, atExchange);
}

// Stakes in pennies, odds in hundredths and commissions in hundredths of a percent: every part is a
// rational number, rounded here without a double.
void TestSettle::randomMatchedBets()
{
    QRandomGenerator random(20261209);
    for (int i = 0; i < 5000; ++i) {
        const qint64 s = random.bounded(100, 100'000'00);
        const qint64 f = random.bounded(3) == 0 ? s : random.bounded(2) == 0 ? 0 : random.bounded(s);
        const qint64 b = random.bounded(101, 5001);
        const qint64 l = std::max<qint64>(101, b + random.bounded(-50, 300));
        const qint64 bc = random.bounded(4) == 0 ? random.bounded(1000) : 0;
        const qint64 lc = random.bounded(4) * 125 + (random.bounded(2) == 0 ? 75 : 0);
        // The back return times 10^8: S x B - (B - 1) x S x BC / 100 - F.
        const qint64 r = s * b * 10000 - (b - 100) * s * bc - f * 1'000'000;
        const qint64 lay = rounded(r, 100 * (l * 100 - lc));
        const qint64 own = s - f;
        const calc::MatchedBetInput in {s / 100.0, f / 100.0, b / 100.0, l / 100.0, bc / 100.0, lc / 100.0};
        const auto backWon = calc::matchedBetPayout(in, "profitIfBackWins");
        const auto layWon = calc::matchedBetPayout(in, "profitIfLayWins");
        const auto at = QStringLiteral("S %1 F %2 B %3 L %4 BC %5 LC %6").arg(s).arg(f).arg(b).arg(l).arg(bc).arg(lc);
        QVERIFY2(backWon && layWon, qPrintable(at));
        QVERIFY2(backWon->bookmaker == rounded(r - own * 1'000'000, 1'000'000), qPrintable(at));
        QVERIFY2(backWon->exchange == rounded(-lay * (l - 100), 100), qPrintable(at));
        QVERIFY2(layWon->bookmaker == -own, qPrintable(at));
        QVERIFY2(layWon->exchange == rounded(lay * (10000 - lc), 10000), qPrintable(at));
    }
}

void TestSettle::randomRefunds()
{
    QRandomGenerator random(9122026);
    for (int i = 0; i < 5000; ++i) {
        const qint64 s = random.bounded(100, 1'000'00);
        const qint64 b = random.bounded(120, 2001);
        const qint64 l = b + random.bounded(0, 100);
        const qint64 c = random.bounded(6) * 100; // 0 to 5 %
        const qint64 refundPennies = random.bounded(1, s + 1);
        const qint64 retention = random.bounded(0, 101);
        // The lay: (S x B - refund x retention) / (L - c), to the penny, never below 0.
        const qint64 balance = s * b * 100 - refundPennies * retention * 100;
        const qint64 lay = std::max<qint64>(0, rounded(balance, l * 100 - c));
        const OfferValues in {{"backStake", s / 100.0}, {"backOdds", b / 100.0}, {"layOdds", l / 100.0},
            {"layCommission", c / 100.0}, {"refund", refundPennies / 100.0}, {"retention", double(retention)}};
        const auto at = QStringLiteral("S %1 B %2 L %3 c %4 refund %5 retention %6")
                            .arg(s)
                            .arg(b)
                            .arg(l)
                            .arg(c)
                            .arg(refundPennies)
                            .arg(retention);
        const auto backWon = payoutOf(BetKind::Refund, in, "profitIfBackWins");
        const auto cash = payoutOf(BetKind::Refund, in, "profitIfLayWins");
        const auto free = payoutOf(BetKind::Refund, in, "layWonRefundAsFreeBet");
        QVERIFY2(backWon && cash && free, qPrintable(at));
        QVERIFY2(backWon->bookmaker == rounded(s * (b - 100), 100), qPrintable(at));
        QVERIFY2(backWon->exchange == rounded(-lay * (l - 100), 100), qPrintable(at));
        const qint64 layWins = rounded(lay * (10000 - c), 10000);
        QVERIFY2(cash->bookmaker == refundPennies - s && cash->exchange == layWins, qPrintable(at));
        QVERIFY2(free->bookmaker == -s && free->exchange == layWins, qPrintable(at));
    }
}

namespace {

// Odds in hundredths as the offer's input, and a stake figure back in pennies.
double hundredths(qint64 value)
{
    return double(value) / 100;
}

qint64 stakeIn(const OfferValues &figures, const std::string &key)
{
    return calc::toPennies(figures.at(key));
}

} // namespace

void TestSettle::randomMultiLays()
{
    QRandomGenerator random(38);
    for (int i = 0; i < 3000; ++i) {
        const qint64 s = random.bounded(100, 1'000'00);
        const qint64 b = random.bounded(150, 3001);
        const int lays = random.bounded(2, 11);
        const qint64 c = random.bounded(6) * 100;
        const bool freeBet = random.bounded(2) == 1;
        const bool oneMarket = random.bounded(2) == 1;
        OfferValues in {{"backStake", hundredths(s)}, {"backOdds", hundredths(b)}, {"freeBet", double(freeBet)},
            {"lays", double(lays)}, {"layCommission", hundredths(c)}, {"oneMarket", double(oneMarket)}};
        std::vector<qint64> odds(std::size_t(lays) + 1);
        for (int n = 1; n <= lays; ++n)
            in["lay" + std::to_string(n) + "Odds"] = hundredths(odds[std::size_t(n)] = random.bounded(101, 5001));
        const OfferValues figures = *calc::offerFigures(BetKind::MultiLay, in);
        const QString at = QStringLiteral("S %1 B %2 lays %3 c %4 free %5 one market %6")
                               .arg(s)
                               .arg(b)
                               .arg(lays)
                               .arg(c)
                               .arg(freeBet)
                               .arg(oneMarket);
        // Each lay: the back return over (L - c), to the penny.
        std::vector<qint64> stakes(std::size_t(lays) + 1);
        for (int n = 1; n <= lays; ++n) {
            stakes[std::size_t(n)] = rounded(s * (freeBet ? b - 100 : b) * 100, odds[std::size_t(n)] * 100 - c);
            QVERIFY2(stakeIn(figures, "lay" + std::to_string(n) + "Stake") == stakes[std::size_t(n)], qPrintable(at));
        }
        // Outcome 0 is none: every lay wins. In pennies x 100: the lays won and lost.
        for (int happened = 0; happened <= lays; ++happened) {
            qint64 won = 0;
            qint64 lost = 0;
            for (int n = 1; n <= lays; ++n) {
                if (n == happened)
                    lost = stakes[std::size_t(n)] * (odds[std::size_t(n)] - 100);
                else
                    won += stakes[std::size_t(n)] * 100;
            }
            const qint64 exchange = !oneMarket ? rounded(won * (10000 - c) - lost * 10000, 1'000'000)
                : won > lost                   ? rounded((won - lost) * (10000 - c), 1'000'000)
                                               : rounded(won - lost, 100);
            const qint64 bookmaker = happened > 0 ? rounded(s * (b - 100), 100) : (freeBet ? 0 : -s);
            const std::string outcome
                = happened > 0 ? "profitIfLay" + std::to_string(happened) + "Happens" : "profitIfNoneHappens";
            const auto payout = calc::offerPayout(BetKind::MultiLay, in, figures, outcome);
            QVERIFY2(payout && payout->bookmaker == bookmaker && payout->exchange == exchange,
                qPrintable(at + QStringLiteral(", outcome %1").arg(happened)));
            QVERIFY2(qAbs(stakeIn(figures, outcome) - payout->profit()) <= 1, qPrintable(at));
        }
    }
}

void TestSettle::randomAccumulatorModes()
{
    // Every path from the stakes placed, exactly: leg n losing wins its lay after that leg's
    // commission and loses the liabilities of the lays before. Locked in, each losing path ends at
    // 0.00 or a penny above; underlaid, each lay is the share of the standard one.
    QRandomGenerator random(3838);
    for (int i = 0; i < 3000; ++i) {
        const int legs = random.bounded(2, 5);
        const qint64 s = random.bounded(100, 1'000'00);
        const bool freeBet = random.bounded(2) == 1;
        const int mode = random.bounded(3);
        const int share = random.bounded(50, 101);
        OfferValues in {{"backStake", hundredths(s)}, {"freeBet", double(freeBet)}, {"layCommission", 2},
            {"legs", double(legs)}, {"layMode", double(mode)}, {"underlay", double(share)}};
        std::vector<qint64> layOdds(std::size_t(legs) + 1);
        std::vector<qint64> commissions(std::size_t(legs) + 1, 200);
        for (int n = 1; n <= legs; ++n) {
            const std::string leg = "leg" + std::to_string(n);
            const qint64 back = random.bounded(110, 501);
            in[leg + "BackOdds"] = hundredths(back);
            in[leg + "LayOdds"] = hundredths(layOdds[std::size_t(n)] = back + random.bounded(0, 40));
            if (random.bounded(2) == 1)
                in[leg + "Commission"] = hundredths(commissions[std::size_t(n)] = random.bounded(6) * 100);
        }
        const OfferValues figures = *calc::offerFigures(BetKind::Accumulator, in);
        OfferValues standardIn = in;
        standardIn["layMode"] = 0;
        const OfferValues standard = *calc::offerFigures(BetKind::Accumulator, standardIn);
        const QString at = QStringLiteral("case %1, mode %2").arg(i).arg(mode);
        qint64 paid = 0; // pennies x 100
        for (int n = 1; n <= legs; ++n) {
            const std::string leg = "leg" + std::to_string(n);
            const qint64 lay = stakeIn(figures, leg + "LayStake");
            const auto payout
                = calc::offerPayout(BetKind::Accumulator, in, figures, "profitIfLeg" + std::to_string(n) + "Loses");
            QVERIFY2(payout && payout->bookmaker == (freeBet ? 0 : -s), qPrintable(at));
            QVERIFY2(payout->exchange == rounded(lay * (10000 - commissions[std::size_t(n)]) - paid * 100, 10000),
                qPrintable(at));
            if (mode == 2)
                QVERIFY2(payout->profit() >= 0 && payout->profit() <= 1, qPrintable(at));
            if (mode == 1)
                QVERIFY2(qAbs(lay * 100 - stakeIn(standard, leg + "LayStake") * share) <= 100, qPrintable(at));
            paid += lay * (layOdds[std::size_t(n)] - 100);
        }
        const auto everyLeg = calc::offerPayout(BetKind::Accumulator, in, figures, "profitIfEveryLegWins");
        QVERIFY2(everyLeg && everyLeg->exchange == rounded(-paid, 100), qPrintable(at));
    }
}

QTEST_GUILESS_MAIN(TestSettle)
#include "tst_settle.moc"
