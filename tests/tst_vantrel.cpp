// The main window driven as a user drives it: typing into the fields, pressing Calculate,
// and reading the figures, the colour, the messages and the settings file.
#include <QAccessible>
#include <QLabel>

#include "mainwindowtest.h"

namespace {

const QColor outputYellow(255, 255, 192);
const QColor closenessGreen(128, 255, 128);
const QStringList figureNames {
    "txtBackReturn", "txtLayStake", "txtLayRisk", "txtLayReturns", "txtBackReturns", "txtCloseness"};

} // namespace

class TestVantrel : public MainWindowTest
{
    Q_OBJECT

private slots:
    void controlGeometry_data();
    void controlGeometry();
    void labels();
    void initialLook();
    void tabCycle();
    void calculate_data();
    void calculate();
    void rejected_data();
    void rejected();
    void colourFollowsShownFigure_data();
    void colourFollowsShownFigure();
    void inputsSavedAsTyped();
    void enterPressesCalculate_data();
    void enterPressesCalculate();
    void escapeKeepsWindowOpen();
    void unwritableSettingsReported();
    void screenReaderNames_data();
    void screenReaderNames();

private:
    QLineEdit *field(const QString &name) const { return m_ui->field(name); }
    QStringList figures() const;
    QColor closenessColour() const;
    QByteArray settingsBytes() const { return m_ui->bytes(QStringLiteral("vantrel.ini")); }
};

QStringList TestVantrel::figures() const
{
    QStringList texts;
    for (const QString &name : figureNames)
        texts << field(name)->text();
    return texts;
}

QColor TestVantrel::closenessColour() const
{
    return field(QStringLiteral("txtCloseness"))->palette().color(QPalette::Base);
}

void TestVantrel::controlGeometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("pixels");

    QTest::newRow("txtStake") << "txtStake" << QRect(80, 8, 57, 19);
    QTest::newRow("txtStakeForfeit") << "txtStakeForfeit" << QRect(216, 8, 57, 19);
    QTest::newRow("txtBackReturn") << "txtBackReturn" << QRect(344, 8, 65, 19);
    QTest::newRow("txtBackOdds") << "txtBackOdds" << QRect(80, 32, 57, 19);
    QTest::newRow("txtBackComm") << "txtBackComm" << QRect(216, 32, 57, 19);
    QTest::newRow("txtLayRisk") << "txtLayRisk" << QRect(344, 32, 65, 19);
    QTest::newRow("txtLayOdds") << "txtLayOdds" << QRect(80, 56, 57, 19);
    QTest::newRow("txtLayComm") << "txtLayComm" << QRect(216, 56, 57, 19);
    QTest::newRow("Command1") << "Command1" << QRect(280, 56, 129, 41);
    QTest::newRow("txtBackReturns") << "txtBackReturns" << QRect(80, 80, 57, 19);
    QTest::newRow("txtLayReturns") << "txtLayReturns" << QRect(216, 80, 57, 19);
    QTest::newRow("txtLayStake") << "txtLayStake" << QRect(80, 104, 57, 19);
    QTest::newRow("Command2") << "Command2" << QRect(152, 104, 49, 17);
    QTest::newRow("cmdArchive") << "cmdArchive" << QRect(216, 104, 49, 17);
    QTest::newRow("txtCloseness") << "txtCloseness" << QRect(344, 104, 65, 19);
    QTest::newRow("txtEvent") << "txtEvent" << QRect(80, 128, 193, 21);
    QTest::newRow("cboBookies") << "cboBookies" << QRect(280, 128, 129, 21);
    QTest::newRow("txtStatus") << "txtStatus" << QRect(8, 152, 401, 19);
}

void TestVantrel::controlGeometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, pixels);
    QWidget *control = m_ui->window->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), pixels);
    // Resizing the window moves nothing.
    m_ui->window->resize(700, 400);
    QCOMPARE(control->geometry(), pixels);
}

void TestVantrel::labels()
{
    const QStringList captions {"Stake", "Back Odds", "Lay Odds", "Back Returns", "Lay Stake", "Stake Forfeit",
        "Back Comm.", "Lay Comm.", "Lay Returns", "Back Return", "Lay Risk", "Closeness %", "Event"};
    for (qsizetype i = 0; i < captions.size(); ++i) {
        const QLabel *label = m_ui->window->findChild<QLabel *>(QStringLiteral("Label1_%1").arg(i));
        QVERIFY(label);
        QCOMPARE(label->text(), captions[i]);
        QCOMPARE(label->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
        // No caption may be clipped by its box, nor its ink reach under the field it names.
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        const int inkRight = label->x() + label->fontMetrics().tightBoundingRect(label->text()).right();
        QVERIFY2(needed <= label->width() && inkRight < label->buddy()->x(),
            qPrintable(QStringLiteral("%1: %2 px in %3 %4 pt, %5 px up to its field")
                           .arg(captions[i])
                           .arg(needed)
                           .arg(QFontInfo(label->font()).family())
                           .arg(label->font().pointSizeF())
                           .arg(label->buddy()->x() - label->x())));
    }
}

void TestVantrel::initialLook()
{
    QCOMPARE(m_ui->window->windowTitle(), QStringLiteral("Vantrel - The Matched Betting Toolkit v1.3"));
    QCOMPARE(m_ui->window->size(), QSize(416, 178));
    QCOMPARE(m_ui->window->findChild<QComboBox *>(QStringLiteral("cboBookies"))->currentText(),
        QStringLiteral("Select Bookie..."));
    QCOMPARE(field(QStringLiteral("txtStatus"))->text(), QStringLiteral("Text1"));
    QVERIFY(field(QStringLiteral("txtStatus"))->isReadOnly());
    QCOMPARE(field(QStringLiteral("txtLayComm"))->palette().color(QPalette::Base), QColor(255, 224, 192));
    for (const QString &name : figureNames) {
        QVERIFY(field(name)->isReadOnly());
        QVERIFY(field(name)->text().isEmpty());
        QCOMPARE(field(name)->palette().color(QPalette::Base), outputYellow);
    }
    QVERIFY(m_ui->window->findChild<QPushButton *>(QStringLiteral("Command1"))->isDefault());
    QCOMPARE(m_ui->window->findChild<QPushButton *>(QStringLiteral("Command1"))->palette().color(QPalette::Button),
        QColor(192, 192, 192));
    QCOMPARE(m_ui->window->focusWidget(), field(QStringLiteral("txtStake")));
}

void TestVantrel::tabCycle()
{
    const QStringList cycle {"txtStake", "txtBackOdds", "txtLayOdds", "txtStakeForfeit", "txtBackComm", "txtLayComm",
        "txtEvent", "cboBookies", "Command1", "txtStatus", "txtStake"};
    m_ui->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_ui->window.get()));
    field(QStringLiteral("txtStake"))->setFocus();
    for (const QString &name : cycle.mid(1)) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), name);
    }
    for (qsizetype i = cycle.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), cycle[i]);
    }
}

void TestVantrel::calculate_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<QColor>("colour");

    const QLocale en(QLocale::English, QLocale::UnitedKingdom);
    const QLocale de(QLocale::German, QLocale::Germany);
    QTest::newRow("en evens") << en << QStringList {"25", "0", "2", "2.05", "0", "4.75"}
                              << QStringList {"50.00", "24.97", "26.22", "23.78", "23.78", "95.13"} << closenessGreen;
    QTest::newRow("en free bet") << en << QStringList {"200", "50", "6.4", "6.2", "0", "4.75"}
                                 << QStringList {"1,230.00", "199.92", "1,039.58", "190.42", "190.42", "95.21"}
                                 << closenessGreen;
    QTest::newRow("en forfeit equals stake")
        << en << QStringList {"10", "10", "5", "5.5", "0", "5"}
        << QStringList {"40.00", "7.34", "33.03", "6.97", "6.97", "69.72"} << outputYellow;
    QTest::newRow("en odds exactly 1") << en << QStringList {"10", "0", "1", "1", "0", "0"}
                                       << QStringList {"10.00", "10.00", "0.00", "10.00", "10.00", "100.00"}
                                       << closenessGreen;
    QTest::newRow("de evens") << de << QStringList {"25", "0", "2", "2,05", "0", "4,75"}
                              << QStringList {"50,00", "24,97", "26,22", "23,78", "23,78", "95,13"} << closenessGreen;
    QTest::newRow("de free bet") << de << QStringList {"200", "50", "6,4", "6,2", "0", "4,75"}
                                 << QStringList {"1.230,00", "199,92", "1.039,58", "190,42", "190,42", "95,21"}
                                 << closenessGreen;
    // Lay returns are 98 x 5.25 / 100 = 5.145 exactly, shown as a spreadsheet shows them.
    QTest::newRow("en decimal half") << en << QStringList {"5", "0", "1.05", "1.02", "0", "2"}
                                     << QStringList {"5.25", "5.25", "0.11", "5.15", "5.15", "102.90"}
                                     << closenessGreen;
    // The first-run defaults, stored with ".", calculate in a comma-decimal locale.
    QTest::newRow("de first-run texts") << de << QStringList {"200", "50", "6.4", "6.2", "0", "4.75"}
                                        << QStringList {"1.230,00", "199,92", "1.039,58", "190,42", "190,42", "95,21"}
                                        << closenessGreen;
}

void TestVantrel::calculate()
{
    QFETCH(QLocale, locale);
    QFETCH(QStringList, inputs);
    QFETCH(QStringList, expected);
    QFETCH(QColor, colour);
    QLocale::setDefault(locale);

    m_ui->typeInputs(inputs);
    m_ui->press(QStringLiteral("Command1"));

    QCOMPARE(m_ui->messages, QStringList());
    QCOMPARE(figures(), expected);
    QCOMPARE(closenessColour(), colour);
    const QString saved = QStringLiteral("[Default]\r\nStake=%1\r\nStakeForfeit=%2\r\nBackOdds=%3\r\nLayOdds=%4\r\n"
                                         "BackComm=%5\r\nLayComm=%6\r\n")
                              .arg(inputs[0], inputs[1], inputs[2], inputs[3], inputs[4], inputs[5]);
    QCOMPARE(settingsBytes(), saved.toLatin1());
}

void TestVantrel::rejected_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("message");

    const QString numeric = QStringLiteral("Invalid input. Please ensure values are numeric.");
    QTest::newRow("empty field") << QStringList {"", "0", "2", "2.05", "0", "4.75"} << numeric;
    QTest::newRow("letters") << QStringList {"25", "0", "2", "abc", "0", "4.75"} << numeric;
    QTest::newRow("letters beat range") << QStringList {"0", "0", "0.5", "2", "0", "x"} << numeric;
    QTest::newRow("infinity") << QStringList {"25", "0", "2", "2.05", "0", "inf"} << numeric;
    QTest::newRow("zero stake") << QStringList {"0", "0", "2", "2.05", "0", "4.75"} << "Please enter a stake > 0.";
    QTest::newRow("zero stake, odds below 1")
        << QStringList {"0", "0", "0.5", "2.05", "0", "4.75"} << "Odds must be 1 or greater.";
    QTest::newRow("lay odds below 1") << QStringList {"25", "0", "2", "0.99", "0", "4.75"}
                                      << "Odds must be 1 or greater.";
    QTest::newRow("lay odds equal commission / 100")
        << QStringList {"25", "0", "2", "2", "0", "200"} << "No result can be calculated from these values.";
    QTest::newRow("overflow") << QStringList {"1e300", "0", "1e300", "2", "0", "0"}
                              << "No result can be calculated from these values.";
}

void TestVantrel::rejected()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, message);

    m_ui->typeInputs({"25", "0", "2", "2.05", "0", "4.75"});
    m_ui->press(QStringLiteral("Command1"));
    const QStringList before = figures();
    const QByteArray settingsBefore = settingsBytes();

    m_ui->typeInputs(inputs);
    m_ui->press(QStringLiteral("Command1"));

    QCOMPARE(m_ui->messages, QStringList {message});
    QCOMPARE(figures(), before);
    QCOMPARE(closenessColour(), closenessGreen);
    QCOMPARE(settingsBytes(), settingsBefore);
    QCOMPARE(field(QStringLiteral("txtStake"))->text(), inputs[0]);
}

void TestVantrel::colourFollowsShownFigure_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("closeness");
    QTest::addColumn<QColor>("colour");

    // With no commissions the closeness is back odds / lay odds * 100, less the forfeit's share.
    QTest::newRow("exactly 95 stays yellow")
        << QStringList {"100", "0", "1.9", "2", "0", "0"} << "95.00" << outputYellow;
    QTest::newRow("95.004 shown as 95.00 stays yellow")
        << QStringList {"100", "0", "1.90008", "2", "0", "0"} << "95.00" << outputYellow;
    QTest::newRow("95.01 turns green") << QStringList {"100", "0", "1.9002", "2", "0", "0"} << "95.01"
                                       << closenessGreen;
    QTest::newRow("forfeit 0.00 counts as zero")
        << QStringList {"100", "0.00", "1.8", "2", "0", "0"} << "90.00" << outputYellow;
    QTest::newRow("forfeit threshold 85") << QStringList {"100", "14", "1", "1", "0", "0"} << "86.00" << closenessGreen;
    QTest::newRow("forfeit 85.00 yellow") << QStringList {"100", "15", "1", "1", "0", "0"} << "85.00" << outputYellow;
}

void TestVantrel::colourFollowsShownFigure()
{
    QFETCH(QStringList, inputs);
    QFETCH(QString, closeness);
    QFETCH(QColor, colour);
    m_ui->typeInputs(inputs);
    m_ui->press(QStringLiteral("Command1"));
    QCOMPARE(field(QStringLiteral("txtCloseness"))->text(), closeness);
    QCOMPARE(closenessColour(), colour);
}

void TestVantrel::inputsSavedAsTyped()
{
    m_ui->typeInputs({"1,000", "0.00", "2", "2.05", "0", "4.750"});
    m_ui->press(QStringLiteral("Command1"));
    QCOMPARE(m_ui->messages, QStringList());
    QCOMPARE(field(QStringLiteral("txtStake"))->text(), QStringLiteral("1,000"));
    QVERIFY(settingsBytes().contains("Stake=1,000\r\n"));
    QVERIFY(settingsBytes().contains("LayComm=4.750\r\n"));
    QVERIFY(settingsBytes().contains("StakeForfeit=0.00\r\n"));
}

void TestVantrel::enterPressesCalculate_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("event field") << "txtEvent";
    QTest::newRow("stake field") << "txtStake";
    QTest::newRow("status field") << "txtStatus";
    QTest::newRow("bookmaker box") << "cboBookies";
}

void TestVantrel::enterPressesCalculate()
{
    QFETCH(QString, name);
    m_ui->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_ui->window.get()));
    QWidget *control = m_ui->window->findChild<QWidget *>(name);
    control->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(field(QStringLiteral("txtBackReturn"))->text(), QStringLiteral("1,230.00"));
    QCOMPARE(m_ui->window->findChild<QComboBox *>(QStringLiteral("cboBookies"))->count(), 25);
    QCOMPARE(m_ui->window->findChild<QComboBox *>(QStringLiteral("cboBookies"))->currentText(),
        QStringLiteral("Select Bookie..."));
    QVERIFY(m_ui->window->isVisible());
}

void TestVantrel::escapeKeepsWindowOpen()
{
    QTest::keyClick(field(QStringLiteral("txtStake")), Qt::Key_Escape);
    QVERIFY(m_ui->window->isVisible());
}

void TestVantrel::unwritableSettingsReported()
{
    // A directory in the settings file's place cannot be replaced, even by root.
    QVERIFY(QFile::remove(m_ui->path(QStringLiteral("vantrel.ini"))));
    QVERIFY(QDir().mkpath(m_ui->path(QStringLiteral("vantrel.ini"))));
    m_ui->press(QStringLiteral("Command1"));
    m_ui->verifyOneErrorMessage();
    QCOMPARE(figures(), QStringList({"1,230.00", "199.92", "1,039.58", "190.42", "190.42", "95.21"}));
}

void TestVantrel::screenReaderNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("spoken");
    QTest::addColumn<QString>("value");
    QTest::newRow("output field") << "txtLayStake"
                                  << "Lay Stake"
                                  << "24.97";
    QTest::newRow("closeness") << "txtCloseness"
                               << "Closeness %"
                               << "95.13";
    QTest::newRow("input field") << "txtLayComm"
                                 << "Lay Comm."
                                 << "4.75";
    QTest::newRow("event") << "txtEvent"
                           << "Event"
                           << "Liverpool v Man U Correct Score 2-1";
    QTest::newRow("status") << "txtStatus"
                            << "Help"
                            << "Text1";
    QTest::newRow("button") << "Command2"
                            << "a / b"
                            << "";
}

void TestVantrel::screenReaderNames()
{
    QFETCH(QString, name);
    QFETCH(QString, spoken);
    QFETCH(QString, value);
    m_ui->typeInputs({"25", "0", "2", "2.05", "0", "4.75"});
    m_ui->press(QStringLiteral("Command1"));
    QAccessibleInterface *control = QAccessible::queryAccessibleInterface(m_ui->window->findChild<QWidget *>(name));
    QVERIFY(control);
    QCOMPARE(control->text(QAccessible::Name), spoken);
    QCOMPARE(control->text(QAccessible::Value), value);
}

QTEST_MAIN(TestVantrel)
#include "tst_vantrel.moc"
