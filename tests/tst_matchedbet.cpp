// The matched-bet arithmetic and its range test, checked against worked examples.
#include <QTest>

#include "calc/matchedbet.h"
#include "calc/numbertext.h"

using calc::MatchedBetInput;

Q_DECLARE_METATYPE(calc::MatchedBetInput)
Q_DECLARE_METATYPE(calc::RangeProblem)

class TestMatchedBet : public QObject
{
    Q_OBJECT

private slots:
    void figures_data();
    void figures();
    void range_data();
    void range();
    void noResult_data();
    void noResult();
};

void TestMatchedBet::figures_data()
{
    QTest::addColumn<MatchedBetInput>("input");
    QTest::addColumn<QStringList>("expected"); // back return, lay stake, lay risk, lay returns, back returns, closeness

    QTest::newRow("evens stake 25") << MatchedBetInput {25, 0, 2, 2.05, 0, 4.75}
                                    << QStringList {"50.00", "24.97", "26.22", "23.78", "23.78", "95.13"};
    QTest::newRow("free bet forfeit 50, grouped") << MatchedBetInput {
        200, 50, 6.4, 6.2, 0, 4.75} << QStringList {"1,230.00", "199.92", "1,039.58", "190.42", "190.42", "95.21"};
    QTest::newRow("forfeit equals stake")
        << MatchedBetInput {10, 10, 5, 5.5, 0, 5} << QStringList {"40.00", "7.34", "33.03", "6.97", "6.97", "69.72"};
    QTest::newRow("odds of exactly 1") << MatchedBetInput {10, 0, 1, 1, 0, 0}
                                       << QStringList {"10.00", "10.00", "0.00", "10.00", "10.00", "100.00"};
    // R = 10*3 - 2*10*5/100 - 0 = 29; LS = 29 / 3 = 9.666..; LR = 19.33; LT = 9.67; BT = 9.67; C = 96.67
    QTest::newRow("back commission") << MatchedBetInput {10, 0, 3, 3, 5, 0}
                                     << QStringList {"29.00", "9.67", "19.33", "9.67", "9.67", "96.67"};
}

void TestMatchedBet::figures()
{
    QFETCH(MatchedBetInput, input);
    QFETCH(QStringList, expected);

    const QLocale english(QLocale::English, QLocale::UnitedKingdom);
    const calc::MatchedBetFigures f = calc::calculateMatchedBet(input);
    const QStringList shown {calc::formatFigure(f.backReturn, english), calc::formatFigure(f.layStake, english),
        calc::formatFigure(f.layRisk, english), calc::formatFigure(f.layReturns, english),
        calc::formatFigure(f.backReturns, english), calc::formatFigure(f.closeness, english)};
    QCOMPARE(shown, expected);
    QVERIFY(calc::allFinite(f));
}

void TestMatchedBet::range_data()
{
    QTest::addColumn<MatchedBetInput>("input");
    QTest::addColumn<calc::RangeProblem>("expected");

    QTest::newRow("valid") << MatchedBetInput {25, 0, 2, 2.05, 0, 4.75} << calc::RangeProblem::None;
    QTest::newRow("odds exactly 1") << MatchedBetInput {25, 0, 1, 1, 0, 0} << calc::RangeProblem::None;
    QTest::newRow("zero stake") << MatchedBetInput {0, 0, 2, 2, 0, 0} << calc::RangeProblem::StakeNotPositive;
    QTest::newRow("negative stake") << MatchedBetInput {-5, 0, 2, 2, 0, 0} << calc::RangeProblem::StakeNotPositive;
    QTest::newRow("back odds below 1") << MatchedBetInput {25, 0, 0.99, 2, 0, 0} << calc::RangeProblem::OddsBelowOne;
    QTest::newRow("lay odds below 1") << MatchedBetInput {25, 0, 2, 0.5, 0, 0} << calc::RangeProblem::OddsBelowOne;
    QTest::newRow("odds message wins over stake")
        << MatchedBetInput {0, 0, 0.5, 2, 0, 0} << calc::RangeProblem::OddsBelowOne;
    QTest::newRow("forfeit and commissions unchecked")
        << MatchedBetInput {25, -10, 2, 2, -5, 150} << calc::RangeProblem::None;
}

void TestMatchedBet::range()
{
    QFETCH(MatchedBetInput, input);
    QFETCH(calc::RangeProblem, expected);
    QCOMPARE(calc::checkRange(input), expected);
}

void TestMatchedBet::noResult_data()
{
    QTest::addColumn<MatchedBetInput>("input");
    QTest::newRow("lay odds equal lay commission / 100") << MatchedBetInput {25, 0, 2, 2, 0, 200};
    QTest::newRow("overflow") << MatchedBetInput {1e300, 0, 1e10, 2, 0, 0};
}

void TestMatchedBet::noResult()
{
    QFETCH(MatchedBetInput, input);
    QVERIFY(!calc::allFinite(calc::calculateMatchedBet(input)));
}

QTEST_GUILESS_MAIN(TestMatchedBet)
#include "tst_matchedbet.moc"
