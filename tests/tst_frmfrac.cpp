// The fraction converter window, driven on the offscreen platform.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "converter/frmfrac.h"
#include "converter/oddstable.h"

class TestFrmFrac : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layout_data();
    void layout();
    void initialState();
    void convert_data();
    void convert();
    void failedGoKeepsResult();
    void commaDecimalLocale();
    void focusSelectsWholeText_data();
    void focusSelectsWholeText();
    void activationResetsListAndPosition();
    void closingDiscardsWindow();

private:
    template<typename T = QLineEdit> T *control(const char *name) const
    {
        return m_window->findChild<T *>(QLatin1String(name));
    }
    void go(const QString &numerator, const QString &denominator);

    std::shared_ptr<ui::ActiveForm> m_activeForm; // shared by the forms of one program
    QPointer<frmFrac> m_window;
    QStringList m_messages;
};

void TestFrmFrac::init()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    m_messages.clear();
    m_activeForm = std::make_shared<ui::ActiveForm>();
    m_window = new frmFrac([this](const QString &text) { m_messages << text; }, m_activeForm);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestFrmFrac::cleanup()
{
    delete m_window;
}

void TestFrmFrac::go(const QString &numerator, const QString &denominator)
{
    for (const auto &[name, text] : {std::pair {"txtNum", numerator}, std::pair {"txtDenom", denominator}}) {
        control(name)->selectAll();
        QTest::keyClick(control(name), Qt::Key_Backspace);
        QTest::keyClicks(control(name), text);
    }
    QTest::mouseClick(control<QPushButton>("Command1"), Qt::LeftButton);
}

void TestFrmFrac::layout_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("txtNum") << "txtNum" << QRect(8, 8, 33, 19);
    QTest::newRow("txtDenom") << "txtDenom" << QRect(72, 8, 33, 19);
    QTest::newRow("Command1") << "Command1" << QRect(8, 40, 41, 25);
    QTest::newRow("Label1") << "Label1" << QRect(64, 40, 49, 17);
    QTest::newRow("txtOdds") << "txtOdds" << QRect(0, 72, 113, 417);
}

void TestFrmFrac::layout()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QCOMPARE(m_window->findChild<QWidget *>(name)->geometry(), pixels);
    QCOMPARE(m_window->size(), QSize(115, 489));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
}

void TestFrmFrac::initialState()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("FractionConverter"));
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(m_window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(m_window->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(control("txtNum")->text(), QStringLiteral("5"));
    QCOMPARE(control("txtDenom")->text(), QStringLiteral("4"));
    QCOMPARE(control<QLabel>("Label1")->text(), QString());
    QCOMPARE(control<QLabel>("Label1")->font().weight(), QFont::Bold);
    QCOMPARE(control<QLabel>("Label1")->font().pointSizeF(), 12.0);
    QVERIFY(!control<QPushButton>("Command1")->autoDefault());
    QVERIFY(control<QPlainTextEdit>("txtOdds")->isReadOnly());
    QCOMPARE(control<QPlainTextEdit>("txtOdds")->toPlainText(),
        converter::oddsReferenceText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    QCOMPARE(m_window->focusWidget(), control("txtNum"));
}

void TestFrmFrac::convert_data()
{
    QTest::addColumn<QString>("numerator");
    QTest::addColumn<QString>("denominator");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("message");

    const QString numeric = QStringLiteral("Numberic values only please.");
    const QString zero = QStringLiteral("Can't divide by zero");
    QTest::newRow("5/4") << "5"
                         << "4"
                         << "2.25"
                         << "";
    QTest::newRow("2/1 whole") << "2"
                               << "1"
                               << "3"
                               << "";
    QTest::newRow("1/3 fifteen digits") << "1"
                                        << "3"
                                        << "1.33333333333333"
                                        << "";
    QTest::newRow("100/30") << "100"
                            << "30"
                            << "4.33333333333333"
                            << "";
    QTest::newRow("negative numerator") << "-5"
                                        << "4"
                                        << "-0.25"
                                        << "";
    QTest::newRow("zero numerator") << "0"
                                    << "4"
                                    << "1"
                                    << "";
    QTest::newRow("denominator 0.6") << "3"
                                     << "0.6"
                                     << "6"
                                     << "";
    QTest::newRow("denominator 1.5 unrounded") << "3"
                                               << "1.5"
                                               << "3"
                                               << "";
    QTest::newRow("denominator beyond 16 bits") << "40000"
                                                << "40000"
                                                << "2"
                                                << "";
    QTest::newRow("denominator 0") << "5"
                                   << "0"
                                   << "" << zero;
    QTest::newRow("denominator 0.4") << "5"
                                     << "0.4"
                                     << "" << zero;
    QTest::newRow("denominator 0.5 ties to even") << "5"
                                                  << "0.5"
                                                  << "" << zero;
    QTest::newRow("denominator -0.5") << "5"
                                      << "-0.5"
                                      << "" << zero;
    QTest::newRow("empty numerator") << ""
                                     << "4"
                                     << "" << numeric;
    QTest::newRow("letters in denominator") << "5"
                                            << "abc"
                                            << "" << numeric;
    QTest::newRow("non-numeric beats zero") << "x"
                                            << "0"
                                            << "" << numeric;
    QTest::newRow("empty numerator over 0") << ""
                                            << "0"
                                            << "" << numeric;
    QTest::newRow("infinity word") << "inf"
                                   << "1"
                                   << "" << numeric;
    QTest::newRow("quotient beyond double range") << "1.7e308"
                                                  << "0.6"
                                                  << ""
                                                  << "No result can be calculated from these values.";
}

void TestFrmFrac::convert()
{
    QFETCH(QString, numerator);
    QFETCH(QString, denominator);
    QFETCH(QString, result);
    QFETCH(QString, message);
    go(numerator, denominator);
    QCOMPARE(control<QLabel>("Label1")->text(), result);
    // A screen reader hears the result with the label's name.
    QCOMPARE(control<QLabel>("Label1")->accessibleName(), QString(QStringLiteral("Decimal price ") + result).trimmed());
    QCOMPARE(m_messages, message.isEmpty() ? QStringList() : QStringList {message});
    QCOMPARE(control("txtNum")->text(), numerator);
    QCOMPARE(control("txtDenom")->text(), denominator);
}

void TestFrmFrac::failedGoKeepsResult()
{
    go(QStringLiteral("5"), QStringLiteral("4"));
    go(QStringLiteral("5"), QStringLiteral("0"));
    go(QStringLiteral("five"), QStringLiteral("4"));
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("2.25"));
    QCOMPARE(m_messages.size(), 2);
}

void TestFrmFrac::commaDecimalLocale()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    go(QStringLiteral("2,5"), QStringLiteral("1"));
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("3,5"));
    go(QStringLiteral("1234567"), QStringLiteral("1"));
    QCOMPARE(control<QLabel>("Label1")->text(), QStringLiteral("1234568"));
}

void TestFrmFrac::focusSelectsWholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("byClick");
    QTest::newRow("tab into denominator") << "4" << false;
    QTest::newRow("tab into empty denominator") << "" << false;
    QTest::newRow("click into denominator") << "12.5" << true;
}

void TestFrmFrac::focusSelectsWholeText()
{
    QFETCH(QString, text);
    QFETCH(bool, byClick);
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QLineEdit *denominator = control("txtDenom");
    denominator->setText(text);
    control("txtNum")->setFocus();
    if (byClick)
        QTest::mouseClick(denominator, Qt::LeftButton, {}, QPoint(2, 5));
    else
        QTest::keyClick(control("txtNum"), Qt::Key_Tab);
    QCoreApplication::processEvents();
    QVERIFY(denominator->hasFocus());
    QCOMPARE(denominator->selectionStart(), text.isEmpty() ? -1 : 0);
    QCOMPARE(denominator->selectedText(), text);
    QCOMPARE(denominator->cursorPosition(), text.size());
}

void TestFrmFrac::activationResetsListAndPosition()
{
    QPlainTextEdit *odds = control<QPlainTextEdit>("txtOdds");
    const auto switchTo = [](QWidget *window) {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    };
    QScrollBar *scroll = odds->verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    scroll->setValue(scroll->maximum());
    m_window->move(200, 150);

    // A window that is none of the program's forms stands for another application.
    QWidget otherApplication;
    QVERIFY(switchTo(&otherApplication));
    QVERIFY(switchTo(m_window));
    QCOMPARE(m_window->pos(), QPoint(200, 150));
    QCOMPARE(scroll->value(), scroll->maximum());

    // Another form of the program: coming back from it is an activation.
    frmFrac otherForm({}, m_activeForm);
    QVERIFY(switchTo(&otherForm));
    QVERIFY(switchTo(m_window));
    QCOMPARE(m_window->pos(), QPoint(0, 0));
    QCOMPARE(odds->toPlainText().size(), 788 - 70); // each CR LF becomes one line break in the editor
    QCOMPARE(scroll->value(), 0);
}

void TestFrmFrac::closingDiscardsWindow()
{
    QVERIFY(m_window->testAttribute(Qt::WA_DeleteOnClose));
    m_window->close();
    QTRY_VERIFY(m_window.isNull());
}

QTEST_MAIN(TestFrmFrac)
#include "tst_frmfrac.moc"
