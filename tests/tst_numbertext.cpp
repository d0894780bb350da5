// Number texts: what counts as a number in a locale, and how figures are shown.
#include <limits>

#include <QTest>

#include "calc/numbertext.h"

class TestNumberText : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void rejected_data();
    void rejected();
    void figure_data();
    void figure();
    void plain_data();
    void plain();
    void figureParsesBack_data();
    void figureParsesBack();
    void money_data();
    void money();
};

namespace {
const QLocale english(QLocale::English, QLocale::UnitedKingdom);
const QLocale german(QLocale::German, QLocale::Germany);
} // namespace

void TestNumberText::accepted_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");

    QTest::newRow("en plain") << english << "25" << 25.0;
    QTest::newRow("en blanks around") << english << "  2.05 " << 2.05;
    QTest::newRow("en grouping") << english << "1,000" << 1000.0;
    QTest::newRow("en grouped negative") << english << "-1,230.00" << -1230.0;
    QTest::newRow("en leading plus") << english << "+5" << 5.0;
    QTest::newRow("en exponent") << english << "1e3" << 1000.0;
    QTest::newRow("de comma decimal") << german << "1,5" << 1.5;
    QTest::newRow("de grouped") << german << "1.230,00" << 1230.0;
    // What German rejects is read with "." as the decimal mark, as the first-run defaults stand.
    QTest::newRow("de point decimal") << german << "1.5" << 1.5;
    QTest::newRow("de first-run default") << german << "6.4" << 6.4;
    QTest::newRow("de point grouping stays grouping") << german << "1.230" << 1230.0;
}

void TestNumberText::accepted()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(calc::parseNumber(text, locale), std::optional<double>(expected));
}

void TestNumberText::rejected_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty") << english << "";
    QTest::newRow("blanks only") << english << "   ";
    QTest::newRow("letters") << english << "abc";
    QTest::newRow("infinity word") << english << "inf";
    QTest::newRow("nan") << english << "nan";
    QTest::newRow("beyond double range") << english << "1e400";
    QTest::newRow("hexadecimal") << english << "0x10";
    QTest::newRow("misplaced grouping") << english << "1,2,3";
    QTest::newRow("NUL inside") << english << QStringLiteral("2") + QChar(0) + QStringLiteral("5");
    QTest::newRow("de both marks the English way") << german << "1,230.5";
}

void TestNumberText::rejected()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QCOMPARE(calc::parseNumber(text, locale), std::nullopt);
}

Q_DECLARE_METATYPE(calc::MoneyProblem)

void TestNumberText::money_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("pennies");
    QTest::addColumn<calc::MoneyProblem>("problem");

    using enum calc::MoneyProblem;
    QTest::newRow("en to the penny") << english << " 10.01 " << 1001LL << None;
    QTest::newRow("en grouped") << english << "1,000.50" << 100050LL << None;
    QTest::newRow("en one decimal") << english << "20.5" << 2050LL << None;
    QTest::newRow("en negative") << english << "-24.50" << -2450LL << None;
    QTest::newRow("en a tenth of a penny") << english << "0.001" << 0LL << TooManyDecimals;
    QTest::newRow("en a comma in the wrong place") << english << "1,5" << 0LL << NotAnAmount;
    QTest::newRow("en exponent") << english << "1e3" << 0LL << NotAnAmount;
    QTest::newRow("en point alone") << english << "5." << 0LL << NotAnAmount;
    QTest::newRow("en at the bound") << english << "1,000,000,000.00" << 100'000'000'000LL << None;
    QTest::newRow("en a penny beyond") << english << "1000000000.01" << 0LL << TooLarge;
    QTest::newRow("en 23 digits") << english << "10000000000000000000000" << 0LL << TooLarge;
    QTest::newRow("de comma decimal") << german << "1,5" << 150LL << None;
    QTest::newRow("de grouped by points") << german << "12.345" << 1234500LL << None;
    QTest::newRow("de grouped with decimals") << german << "1.000,50" << 100050LL << None;
    // "." groups in German: never a decimal mark as well.
    QTest::newRow("de point as a decimal") << german << "1.5" << 0LL << NotAnAmount;
    QTest::newRow("de a group after a zero") << german << "0.001" << 0LL << NotAnAmount;
    QTest::newRow("de three decimals") << german << "12,345" << 0LL << TooManyDecimals;
}

void TestNumberText::money()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    QFETCH(qint64, pennies);
    QFETCH(calc::MoneyProblem, problem);
    const calc::TypedMoney typed = calc::parseMoney(text, locale);
    QCOMPARE(typed.problem, problem);
    QCOMPARE(qint64(typed.pennies), pennies);
}

void TestNumberText::figure_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("en exact half away from zero") << english << 0.125 << "0.13";
    // 98 x 5.25 / 100 is 5.145 exactly; its double lies a hair below.
    QTest::newRow("en decimal half a hair low") << english << 98 * 5.25 / 100 << "5.15";
    QTest::newRow("en negative decimal half") << english << -(98 * 5.25 / 100) << "-5.15";
    QTest::newRow("en below half stays down") << english << 0.12499999999999 << "0.12";
    QTest::newRow("en half of a cent") << english << 0.005 << "0.01";
    QTest::newRow("en 15 digits make a half") << english << 212980.37499999974 << "212,980.38";
    QTest::newRow("en negative rounding to zero") << english << -0.004 << "-0.00";
    QTest::newRow("en large value as before") << english << 123456789012345.67 << "123,456,789,012,345.67";
    QTest::newRow("en negative half away from zero") << english << -0.125 << "-0.13";
    QTest::newRow("en grouping") << english << 1230.0 << "1,230.00";
    QTest::newRow("en leading zero") << english << 0.5 << "0.50";
    QTest::newRow("de grouping and comma") << german << 1230.0 << "1.230,00";
    QTest::newRow("de negative") << german << -24.966 << "-24,97";
    QTest::newRow("infinity") << english << qInf() << "too large";
    QTest::newRow("minus infinity") << english << -qInf() << "too large (negative)";
    QTest::newRow("NaN") << english << qQNaN() << "not a number";
    QTest::newRow("smallest subnormal") << english << 4.9406564584124654e-324 << "0.00";
    QTest::newRow("negative subnormal") << english << -4.9406564584124654e-324 << "-0.00";
}

void TestNumberText::figure()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(calc::formatFigure(value, locale), expected);
}

void TestNumberText::plain_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    QTest::newRow("quarter") << english << 2.25 << "2.25";
    QTest::newRow("whole without separator") << english << 3.0 << "3";
    QTest::newRow("fifteen digits") << english << 1.0 / 3 + 1 << "1.33333333333333";
    QTest::newRow("negative") << english << -0.25 << "-0.25";
    QTest::newRow("no grouping") << english << 1234567.0 << "1234567";
    QTest::newRow("de comma") << german << 3.5 << "3,5";
    QTest::newRow("de no grouping") << german << 1234567.5 << "1234567,5";
}

void TestNumberText::plain()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(calc::formatPlain(value, locale), expected);
}

void TestNumberText::figureParsesBack_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<double>("value");

    // Hebrew and Arabic write a direction mark before the minus sign (found by fuzzing).
    for (const QLocale &locale : {english, german, QLocale(QLocale::French, QLocale::France), QLocale::c(),
             QLocale(QLocale::Hebrew, QLocale::Israel), QLocale(QLocale::Arabic, QLocale::Egypt),
             QLocale(QLocale::Persian, QLocale::Iran)}) {
        for (double value : {-1234567.891, -0.004, 0.0, 95.004, 1039.585, -8.57206885748984e+303, 1e308,
                 std::numeric_limits<double>::max()}) {
            const QByteArray tag = locale.name().toLatin1() + ' ' + QByteArray::number(value);
            QTest::newRow(tag.constData()) << locale << value;
        }
    }
}

void TestNumberText::figureParsesBack()
{
    QFETCH(QLocale, locale);
    QFETCH(double, value);
    const QString shown = calc::formatFigure(value, locale);
    const std::optional<double> parsed = calc::parseNumber(shown, locale);
    QVERIFY2(parsed.has_value(), qPrintable(shown));
    QVERIFY2(qAbs(*parsed - value) <= 0.005 + 1e-9, qPrintable(shown));
}

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
