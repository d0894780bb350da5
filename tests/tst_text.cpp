// The text beneath the files: line ends, numbers and money as the files hold them, and a figure
// written in any locale read back.
#include <QTest>

#include "text/lines.h"
#include "text/numbers.h"

class TestText : public QObject
{
    Q_OBJECT

private slots:
    void lines_data();
    void lines();
    void plainNumber_data();
    void plainNumber();
    void figureWrittenInLocaleReadsBack_data();
    void figureWrittenInLocaleReadsBack();
    void moneyText_data();
    void moneyText();
};

void TestText::lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArrayList>("pieces"); // as the settings files are cut
    QTest::newRow("LF") << QByteArray("a\nb\n") << QByteArrayList {"a", "b"} << QByteArrayList {"a", "b", ""};
    QTest::newRow("CR LF, last without") << QByteArray("a\r\nb") << QByteArrayList {"a", "b"}
                                         << QByteArrayList {"a", "b"};
    QTest::newRow("lone CR") << QByteArray("a\rb\r") << QByteArrayList {"a", "b"} << QByteArrayList {"a", "b", ""};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QByteArrayList {"a", "", "b"}
                              << QByteArrayList {"a", "", "b"};
    QTest::newRow("empty") << QByteArray() << QByteArrayList {} << QByteArrayList {""};
}

void TestText::lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArrayList, pieces);
    QByteArrayList read;
    for (const QByteArrayView line : text::lineViews(bytes))
        read << line.toByteArray();
    QCOMPARE(read, lines);
    QCOMPARE(text::splitLines(bytes), pieces);
}

void TestText::plainNumber_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<double>("value"); // NaN: no number
    const double none = qQNaN();
    QTest::newRow("plain") << QByteArray(" 24.97 ") << 24.97;
    QTest::newRow("plus") << QByteArray("+1.5") << 1.5;
    QTest::newRow("LRM minus (Hebrew)") << QByteArray("\u200E-3.92") << -3.92;
    QTest::newRow("minus sign U+2212") << QByteArray("\u22123.92") << -3.92;
    QTest::newRow("ALM and RLM") << QByteArray("\u061C-3.92\u200F") << -3.92;
    QTest::newRow("comma") << QByteArray("3,92") << none;
    QTest::newRow("other letters") << QByteArray("\u00E93.92") << none;
    QTest::newRow("marks alone") << QByteArray("\u200E\u200F") << none;
    QTest::newRow("infinite") << QByteArray("1e999") << none;
}

void TestText::plainNumber()
{
    QFETCH(QByteArray, field);
    QFETCH(double, value);
    const std::optional<double> read = text::plainNumber(field);
    QCOMPARE(read.has_value(), !qIsNaN(value));
    if (read)
        QCOMPARE(*read, value);
}

// A result archived in the locale's own form comes back as the same figure: archived in ASCII where
// the locale has other digits or another decimal mark, and read back as an older archive holds it.
void TestText::figureWrittenInLocaleReadsBack_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("inAscii"); // other digits or another decimal mark are archived in ASCII
    QTest::newRow("he_IL") << "he_IL" << false;
    QTest::newRow("ur_PK") << "ur_PK" << false;
    QTest::newRow("ar_EG") << "ar_EG" << true;
    QTest::newRow("fa_IR") << "fa_IR" << true;
    QTest::newRow("ps_AF") << "ps_AF" << true;
    QTest::newRow("de_DE") << "de_DE" << true;
}

void TestText::figureWrittenInLocaleReadsBack()
{
    QFETCH(QString, locale);
    QFETCH(bool, inAscii);
    const QLocale written(locale);
    for (const double figure : {-3.92, 12.5, 0.0}) {
        const QString shown = written.toString(figure, 'f', 2);
        const QString archived = text::asciiFigure(shown, written);
        if (inAscii)
            QCOMPARE(archived, QString::number(figure, 'f', 2));
        QCOMPARE(text::plainNumber(archived.toUtf8()), std::optional(figure));
        if (written.decimalPoint() != QLatin1String(","))
            QCOMPARE(text::plainNumber(shown.toUtf8()), std::optional(figure)); // as an older archive holds it
    }
}

void TestText::moneyText_data()
{
    QTest::addColumn<qint64>("pennies");
    QTest::addColumn<QByteArray>("money");
    QTest::newRow("pounds") << qint64(1234) << QByteArray("12.34");
    QTest::newRow("pennies below") << qint64(-5) << QByteArray("-0.05");
    QTest::newRow("nothing") << qint64(0) << QByteArray("0.00");
    QTest::newRow("lowest") << std::numeric_limits<qint64>::min() << QByteArray("-92233720368547758.08");
}

void TestText::moneyText()
{
    QFETCH(qint64, pennies);
    QFETCH(QByteArray, money);
    QCOMPARE(text::moneyText(pennies), money);
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
