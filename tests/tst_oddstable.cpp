// The odds reference text, exactly as the converter window shows it.
#include <QTest>

#include "converter/oddstable.h"

class TestOddsTable : public QObject
{
    Q_OBJECT

private slots:
    void shape();
    void rows_data();
    void rows();
    void pricesRunStrictlyDownwards();
};

void TestOddsTable::shape()
{
    const QString text = converter::oddsReferenceText();
    QCOMPARE(text.size(), 788);
    QVERIFY(text.startsWith(QStringLiteral("10/1\t11.00\r\n")));
    QVERIFY(text.endsWith(QStringLiteral("\r\n1/5\t1.20")));
    QCOMPARE(text.count(QLatin1Char('\t')), 71);
    QCOMPARE(text.count(QStringLiteral("\r\n")), 70);
    QCOMPARE(text.count(QLatin1Char('\r')), 70);
    QCOMPARE(text.count(QLatin1Char('\n')), 70);
    for (const QString &row : text.split(QStringLiteral("\r\n")))
        QCOMPARE(row.count(QLatin1Char('\t')), 1);
}

void TestOddsTable::rows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::newRow("7") << 7 << "13/2\t7.50";
    QTest::newRow("15 not reduced") << 15 << "100/30\t4.333";
    QTest::newRow("32 trailing blank") << 32 << "9/5\t2.80 ";
    QTest::newRow("35 trailing blank") << 35 << "13/8\t2.625 ";
    QTest::newRow("37 not reduced") << 37 << "6/4\t2.50";
    QTest::newRow("56 trailing blank") << 56 << "3/5\t1.60 ";
    QTest::newRow("60") << 60 << "40/85\t1.471";
    QTest::newRow("62 trailing blank") << 62 << "4/9\t1.444 ";
    QTest::newRow("67") << 67 << "30/100\t1.30";
}

void TestOddsTable::rows()
{
    QFETCH(int, row);
    QFETCH(QString, expected);
    QCOMPARE(converter::oddsReferenceText().split(QStringLiteral("\r\n")).at(row - 1), expected);
}

void TestOddsTable::pricesRunStrictlyDownwards()
{
    double previous = 1e9;
    int blanks = 0;
    for (const QString &row : converter::oddsReferenceText().split(QStringLiteral("\r\n"))) {
        const QString decimal = row.section(QLatin1Char('\t'), 1);
        blanks += decimal.endsWith(QLatin1Char(' ')) ? 1 : 0;
        bool ok = false;
        const double price = decimal.trimmed().toDouble(&ok);
        QVERIFY2(ok && price < previous, qPrintable(row));
        // Each decimal is the fraction's price, to the three decimals the list gives at most.
        const QStringList fraction = row.section(QLatin1Char('\t'), 0, 0).split(QLatin1Char('/'));
        QVERIFY2(qAbs(fraction[0].toDouble() / fraction[1].toDouble() + 1 - price) < 0.0005, qPrintable(row));
        previous = price;
    }
    QCOMPARE(blanks, 4);
}

QTEST_GUILESS_MAIN(TestOddsTable)
#include "tst_oddstable.moc"
