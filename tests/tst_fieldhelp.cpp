// The help line under the mouse and the selection of a field's text when it gains the focus.
#include "mainwindowtest.h"

class TestFieldHelp : public MainWindowTest
{
    Q_OBJECT

private slots:
    void helpText_data();
    void helpText();
    void noHelpKeepsLastText_data();
    void noHelpKeepsLastText();
    void backgroundClears();
    void focusSelectsWholeText_data();
    void focusSelectsWholeText();
    void outputFieldKeepsToolkitSelection();

private:
    void windowOpened() override;
    QString status() const { return m_ui->field(QStringLiteral("txtStatus"))->text(); }
    void hover(const QString &name) const;
};

void TestFieldHelp::windowOpened()
{
    m_ui->window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_ui->window.get()));
}

void TestFieldHelp::hover(const QString &name) const
{
    QWidget *control = name.isEmpty() ? m_ui->window.get() : m_ui->window->findChild<QWidget *>(name);
    QVERIFY(control);
    // Over the window itself, a point between the first two rows of controls.
    const QPoint point = name.isEmpty() ? QPoint(20, 29) : control->rect().center();
    QTest::mouseMove(control, point);
    QTest::mouseMove(control, point + QPoint(1, 0));
}

void TestFieldHelp::helpText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("txtStake") << "txtStake"
                              << "Amount of bet placed with a bookmaker.";
    QTest::newRow("txtStakeForfeit") << "txtStakeForfeit"
                                     << "The amount of the bet which is stake non returned..";
    QTest::newRow("txtBackOdds") << "txtBackOdds"
                                 << "The odds offered for the back bet (Usually at the bookmakers).";
    QTest::newRow("txtBackComm") << "txtBackComm"
                                 << "The commision rate for your back stake.  Usually 0 at bookmakers.";
    QTest::newRow("txtLayOdds") << "txtLayOdds"
                                << "Odds availible on the lay side at Betfair.";
    QTest::newRow("txtLayComm") << "txtLayComm"
                                << "The commision rate for your lay stake (Betfair etc).";
    QTest::newRow("txtLayStake") << "txtLayStake"
                                 << "Amount of money to request at betfair (Backer's Stake).";
    QTest::newRow("txtLayRisk") << "txtLayRisk"
                                << "Amount of money needed in Betfair incase your lay loses (Liability).";
    QTest::newRow("txtBackReturns") << "txtBackReturns"
                                    << "The guaranteed retuns from the back bet (bookmakers).";
    QTest::newRow("txtLayReturns") << "txtLayReturns"
                                   << "The guaranteed retuns from the lay bet (Betfair).";
    QTest::newRow("txtCloseness") << "txtCloseness"
                                  << "Percentage of your original stake returned.";
    QTest::newRow("Command2") << "Command2"
                              << "Convert fractional odds to decimal.";
}

void TestFieldHelp::helpText()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QCOMPARE(status(), QStringLiteral("Text1"));
    hover(name);
    QCOMPARE(status(), text);
}

void TestFieldHelp::noHelpKeepsLastText_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("label Stake") << "Label1_0";
    QTest::newRow("label Closeness") << "Label1_11";
    QTest::newRow("Back Return field") << "txtBackReturn";
    QTest::newRow("event field") << "txtEvent";
    QTest::newRow("bookmaker box") << "cboBookies";
    QTest::newRow("Calculate") << "Command1";
    QTest::newRow("status field") << "txtStatus";
}

void TestFieldHelp::noHelpKeepsLastText()
{
    QFETCH(QString, name);
    hover(QStringLiteral("cmdArchive"));
    const QString archiveHelp = QStringLiteral("Archive current figures to a csv file (%1)")
                                    .arg(QDir::toNativeSeparators(m_ui->path(QStringLiteral("vantrelLog.txt"))));
    QCOMPARE(status(), archiveHelp);
    hover(name);
    QCOMPARE(status(), archiveHelp);
}

void TestFieldHelp::backgroundClears()
{
    hover(QStringLiteral("txtStake"));
    hover(QStringLiteral("Label1_0"));
    QCOMPARE(status(), QStringLiteral("Amount of bet placed with a bookmaker."));
    hover(QString());
    QCOMPARE(status(), QString());
}

void TestFieldHelp::focusSelectsWholeText_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("byClick");

    QTest::newRow("tab into lay odds") << "txtBackOdds"
                                       << "txtLayOdds"
                                       << "2.05" << false;
    QTest::newRow("tab into empty stake") << "txtStatus"
                                          << "txtStake"
                                          << "" << false;
    QTest::newRow("tab into event") << "txtLayComm"
                                    << "txtEvent"
                                    << "Liverpool v Man U Correct Score 2-1" << false;
    QTest::newRow("click into event") << "txtStake"
                                      << "txtEvent"
                                      << "Liverpool v Man U Correct Score 2-1" << true;
    QTest::newRow("click into back commission") << "txtStake"
                                                << "txtBackComm"
                                                << "12.5" << true;
}

void TestFieldHelp::focusSelectsWholeText()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, text);
    QFETCH(bool, byClick);
    QLineEdit *target = m_ui->field(to);
    target->setText(text);
    m_ui->window->findChild<QWidget *>(from)->setFocus();
    if (byClick)
        QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(3, 5));
    else
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCoreApplication::processEvents();
    QVERIFY(target->hasFocus());
    QCOMPARE(target->selectedText(), text);
    QCOMPARE(target->cursorPosition(), text.size());
    if (text.isEmpty())
        QCOMPARE(target->cursorPosition(), 0);
}

void TestFieldHelp::outputFieldKeepsToolkitSelection()
{
    m_ui->press(QStringLiteral("Command1"));
    QLineEdit *output = m_ui->field(QStringLiteral("txtLayStake"));
    QTest::mouseClick(output, Qt::LeftButton, {}, QPoint(3, 5));
    QCoreApplication::processEvents();
    QVERIFY(output->hasFocus());
    QCOMPARE(output->selectedText(), QString());
    QTest::keyClicks(output, QStringLiteral("99"));
    QCOMPARE(output->text(), QStringLiteral("199.92"));
}

QTEST_MAIN(TestFieldHelp)
#include "tst_fieldhelp.moc"
