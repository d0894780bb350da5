// Hostile texts typed or pasted into both windows: each gives the right message or the right figure,
// and a rejected text changes nothing.
#include <QClipboard>
#include <QLabel>

#include "converter/frmfrac.h"
#include "mainwindowtest.h"

class TestBadInput : public MainWindowTest
{
    Q_OBJECT

private slots:
    void calculate_data();
    void calculate();
    void go_data();
    void go();
    void pastedLineBreaks_data();
    void pastedLineBreaks();

private:
    static void addRows();
};

namespace {
const QString notNumeric = QStringLiteral("Invalid input. Please ensure values are numeric.");
} // namespace

void TestBadInput::addRows()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks") << "   " << false;
    QTest::newRow("letters") << "ten" << false;
    QTest::newRow("inf") << "inf" << false;
    QTest::newRow("nan") << "nan" << false;
    QTest::newRow("1e400") << "1e400" << false;
    QTest::newRow("0x10") << "0x10" << false;
    QTest::newRow("1,2,3") << "1,2,3" << false;
    QTest::newRow("full-width digits") << QStringLiteral("\uff14") << false;
    QTest::newRow("100,000 digits") << QString(100'000, QLatin1Char('9')) << false;
    QTest::newRow("NUL character") << QStringLiteral("4") + QChar(0) << false;
    QTest::newRow("right-to-left mark") << QStringLiteral("\u200f4") << false;
    QTest::newRow("100,000 characters, a small number") << QString(99'999, QLatin1Char('0')) + QLatin1Char('4') << true;
    QTest::newRow("blanks around") << "  4  " << true;
}

void TestBadInput::calculate_data()
{
    addRows();
}

void TestBadInput::calculate()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    const QByteArray settingsBefore = m_ui->bytes(QStringLiteral("vantrel.ini"));
    // The text goes into the back odds: 4 there gives a back return of 25 x 4 = 100.00.
    m_ui->typeInputs({"25", "0", "", "2", "0", "0"});
    m_ui->field(QStringLiteral("txtBackOdds"))->setText(text);
    m_ui->press(QStringLiteral("Command1"));
    if (accepted) {
        QCOMPARE(m_ui->messages, QStringList());
        QCOMPARE(m_ui->field(QStringLiteral("txtBackReturn"))->text(), QStringLiteral("100.00"));
        return;
    }
    QCOMPARE(m_ui->messages, QStringList {notNumeric});
    QCOMPARE(m_ui->field(QStringLiteral("txtBackReturn"))->text(), QString());
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrel.ini")), settingsBefore);
    QCOMPARE(m_ui->field(QStringLiteral("txtBackOdds"))->text(), text);
}

void TestBadInput::go_data()
{
    addRows();
}

void TestBadInput::go()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QStringList messages;
    frmFrac converter([&messages](const QString &message) { messages << message; });
    converter.findChild<QLineEdit *>(QStringLiteral("txtDenom"))->setText(text);
    QTest::mouseClick(converter.findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    // 5 / 4 + 1 when the text is accepted as 4.
    QCOMPARE(converter.findChild<QLabel *>(QStringLiteral("Label1"))->text(), accepted ? "2.25" : "");
    QCOMPARE(messages, accepted ? QStringList() : QStringList {"Numberic values only please."});
}

void TestBadInput::pastedLineBreaks_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("shown");
    QTest::newRow("stake after LF") << "txtStake"
                                    << "\n25"
                                    << " 25";
    QTest::newRow("event over CR LF") << "txtEvent"
                                      << "Cup\r\nFinal"
                                      << "Cup Final";
    QTest::newRow("bookmaker before CR") << "cboBookies"
                                         << "Coral\r"
                                         << "Coral ";
}

void TestBadInput::pastedLineBreaks()
{
    QFETCH(QString, field);
    QFETCH(QString, pasted);
    QFETCH(QString, shown);
    QWidget *control = m_ui->window->findChild<QWidget *>(field);
    auto *edit
        = field == QLatin1String("cboBookies") ? m_ui->bookies()->lineEdit() : qobject_cast<QLineEdit *>(control);
    QApplication::clipboard()->setText(pasted);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), shown);

    m_ui->press(QStringLiteral("Command1"));
    m_ui->press(QStringLiteral("cmdArchive"));
    QCOMPARE(m_ui->messages, QStringList());
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrel.ini")).count('\n'), 7); // the header and six keys
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLog.txt")).count('\n'), 1); // one whole record
}

QTEST_MAIN(TestBadInput)
#include "tst_badinput.moc"
