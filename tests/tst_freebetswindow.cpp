// The free bets in the bet history, on the worked example: a refund at Coral settled "Lay won, refund
// as a free bet" leaves a free bet held, which the calculator's free-bet record then uses, and what
// the offer made adds up; left unused past its expiry it expires. Free bets added by hand are linked
// by amount and bookmaker (the one expiring first of several), or not at all, and unlinked.
//
// The free-bet figures follow the SNR formula the guides give, lay = F (b - 1) / (l - c)
// (calculator-free.com/bet-calculator/matched-betting, bettorstack.com/bonus-bet-calculator):
// 20 x 5 / 6.18 = 16.18 laid, 16.18 x 0.98 = 15.86 either way; the refund's qualifier lays
// (100 - 15) / 5.18 = 16.41 and loses 20 - 16.41 x 0.98 = 3.92 when the lay wins.
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QTableView>
#include <QTabWidget>

#include "historywindowtest.h"
#include "store/ledger.h"
#include "store/sha256.h"

class TestFreeBetsWindow : public HistoryWindowTest
{
    Q_OBJECT

private slots:
    void refundToFreeBetToProfit();
    void expiredUnused();
    void linkingByAmountAndBookmaker();
    void addedInTheFormBox();
    void earnedByAnOpenBet();
    void hostileFreeBetLines();

private:
    // The history on a fixed day, answering the exchange and the free bet's expiry.
    std::unique_ptr<history::HistoryWindow> openOn(QDate today, const QString &expires = QStringLiteral("2026-12-15"));
    // Archives a free-bet record of 20 at 6.0 laid at 6.2, as the calculator does.
    void archiveFreeBetRecord(const QString &event, const QString &bookmaker) const;
    static QStringList freeBetRow(const history::HistoryWindow &window, int row);
    static QStringList offerRow(const history::HistoryWindow &window, int row);
};

namespace {

QStringList rowOf(const QTableView *table, int row)
{
    QStringList cells;
    for (int column = 0; column < table->model()->columnCount(); ++column)
        cells << shown(table, row, column);
    return cells;
}

QString day(QDate date)
{
    return QLocale().toString(date, QLocale::ShortFormat);
}

} // namespace

std::unique_ptr<history::HistoryWindow> TestFreeBetsWindow::openOn(QDate today, const QString &expires)
{
    auto window = openHistory();
    window->setClock([today] { return QDateTime(today, QTime(12, 0)); });
    window->setAsk([expires](const QString &question, const QString &) {
        return std::optional<QString>(question.startsWith("The exchange") ? "Betfair" : expires);
    });
    return window;
}

void TestFreeBetsWindow::archiveFreeBetRecord(const QString &event, const QString &bookmaker) const
{
    m_ui->typeInputs({"20", "20", "6.0", "6.2", "0", "2"});
    MainWindowFixture::typeInto(m_ui->field(QStringLiteral("txtEvent")), event);
    m_ui->bookies()->setEditText(bookmaker);
    m_ui->press(QStringLiteral("Command1"));
    QCOMPARE(m_ui->field(QStringLiteral("txtLayStake"))->text(), "16.18");
    m_ui->press(QStringLiteral("cmdArchive"));
}

QStringList TestFreeBetsWindow::freeBetRow(const history::HistoryWindow &window, int row)
{
    return rowOf(window.findChild<QTableView *>(QStringLiteral("Free bets")), row);
}

QStringList TestFreeBetsWindow::offerRow(const history::HistoryWindow &window, int row)
{
    return rowOf(window.findChild<QTableView *>(QStringLiteral("By offer")), row);
}

void TestFreeBetsWindow::refundToFreeBetToProfit()
{
    archiveRefundOffer();
    const auto window = openOn(QDate(2026, 12, 9));
    choose(*window, {0}, "Settle as/Lay won, refund as a free bet");
    QCOMPARE(cell(*window, 0, history::Column::Actual), "-3.92");
    const QString received = history::shownMoment(text::momentOf(QDate(2026, 12, 9), QTime(12, 0)), QLocale());
    QTRY_COMPARE(freeBetRow(*window, 0),
        QStringList(
            {"Coral", "20.00", "SNR", received, day(QDate(2026, 12, 15)), "Held", "6", "Ascot 3:35", "", "", ""}));
    QCOMPARE(
        offerRow(*window, 0), QStringList({"Coral", "Ascot 3:35", "-3.92", "20.00", "15.00", "11.08", "75.0", "Held"}));
    QVERIFY2(text(*window, "status").startsWith("1 free bet held (20.00). "), qPrintable(text(*window, "status")));
    const QByteArray ledger = m_ui->bytes(QStringLiteral("vantrelLedger.csv"));
    QVERIFY2(ledger.contains(",layWonRefundAsFreeBet,-3.92,Betfair,\r\n2,2026-12-09T12:00:00,freebet,offers:")
            && ledger.contains(":0,snr,20.00,Coral,refund,2026-12-15\r\n"),
        ledger.constData());

    // Used in the calculator, it is linked by its amount and bookmaker, and keeps what the record locks in.
    archiveFreeBetRecord(QStringLiteral("Chelsea v Spurs"), QStringLiteral("Coral"));
    QTRY_COMPARE(
        freeBetRow(*window, 0).mid(5), QStringList({"Used", "", "Ascot 3:35", "Chelsea v Spurs", "15.86", "79.3"}));
    QCOMPARE(offerRow(*window, 0).mid(2), QStringList({"-3.92", "20.00", "15.86", "11.94", "79.3", "Used"}));
    QVERIFY(m_ui->bytes(QStringLiteral("vantrelLedger.csv")).contains(",usefreebet,log:"));
    QVERIFY2(text(*window, "summary").endsWith("; free bets held 0.00, average retention 79.3 %"),
        qPrintable(text(*window, "summary")));

    // Settled, it keeps what came in; the offer's totals row adds the two up.
    const int freeBetRecord = cell(*window, 0, history::Column::Event) == "Chelsea v Spurs" ? 0 : 1;
    choose(*window, {freeBetRecord}, "Settle as/Back won");
    QTRY_COMPARE(offerRow(*window, 1), QStringList({"Total", "", "-3.92", "", "15.86", "11.94", "79.3", ""}));

    // The export says which bet earned the free bet and which used it.
    const QString saved = m_ui->path(QStringLiteral("bets.csv"));
    window->setChooseSavePath([saved] { return saved; });
    window->findChild<QPushButton *>(QStringLiteral("saveAsCsv"))->click();
    QTRY_VERIFY(QFile::exists(saved));
    const QByteArray csv = fileBytes(saved);
    QVERIFY2(csv.contains(",earned 20.00\r\n") && csv.contains(",used 20.00\r\n"), csv.constData());
}

void TestFreeBetsWindow::expiredUnused()
{
    archiveRefundOffer();
    const auto window = openOn(QDate(2026, 12, 9));
    choose(*window, {0}, "Settle as/Lay won, refund as a free bet");
    QTRY_COMPARE(freeBetRow(*window, 0).value(5), "Held");
    window->setClock([] { return QDateTime(QDate(2026, 12, 16), QTime(9, 0)); });
    QTRY_COMPARE(freeBetRow(*window, 0).mid(5), QStringList({"Expired", "", "Ascot 3:35", "", "0.00", "0.0"}));
    QCOMPARE(offerRow(*window, 0).mid(2), QStringList({"-3.92", "20.00", "0.00", "-3.92", "0.0", "Expired"}));
    QVERIFY2(text(*window, "status").startsWith("0 free bets held (0.00), expired unused: 20.00. "),
        qPrintable(text(*window, "status")));
}

void TestFreeBetsWindow::linkingByAmountAndBookmaker()
{
    const auto window = openOn(QDate(2026, 12, 9));
    // Three free bets at Coral from no bet, added by hand: two of 20, the later-expiring first.
    QStringList answers {"Coral", "20", "snr", "2026-12-20", "", "Coral", "20", "SNR", "10/12/2026", "min odds 2.0",
        "Coral", "10", "SR", "", ""};
    window->setAsk([&answers](const QString &, const QString &) { return std::optional(answers.takeFirst()); });
    auto *add = window->findChild<QPushButton *>(QStringLiteral("addFreeBet"));
    for (int i = 0; i < 3; ++i)
        add->click();
    QTRY_COMPARE(window->findChild<QTableView *>(QStringLiteral("Free bets"))->model()->rowCount(), 3);
    // Held, soonest expiry first; the one due tomorrow is counted in the status line.
    QCOMPARE(freeBetRow(*window, 0).mid(0, 7),
        QStringList({"Coral", "20.00", "SNR", freeBetRow(*window, 0).value(3), day(QDate(2026, 12, 10)), "Held", "1"}));
    QVERIFY(text(*window, "status").startsWith("3 free bets held (50.00), 1 expiring within two days. "));

    // Of two that fit, the one expiring first; a record at a bookmaker with none stays unlinked.
    archiveFreeBetRecord(QStringLiteral("Leeds v Hull"), QStringLiteral("Coral"));
    archiveFreeBetRecord(QStringLiteral("Bath v Leicester"), QStringLiteral("SkyBet"));
    QTRY_COMPARE(
        freeBetRow(*window, 2).mid(4, 5), QStringList({day(QDate(2026, 12, 10)), "Used", "", "", "Leeds v Hull"}));
    QCOMPARE(freeBetRow(*window, 0).value(5), "Held");
    QCOMPARE(freeBetRow(*window, 1).value(5), "Held");
    QCOMPARE(rows(*window), 2);
    const int leeds = cell(*window, 0, history::Column::Event) == "Leeds v Hull" ? 0 : 1;
    QVERIFY(!menuAction(*window, {1 - leeds}, "Unlink free bet")->isEnabled());
    closeBetMenu(*window);

    // Unlinked, it is held again and the record is never linked again but by the user, who then
    // chooses among the free bets held at its bookmaker.
    choose(*window, {leeds}, "Unlink free bet");
    QTRY_COMPARE(freeBetRow(*window, 0).value(4), day(QDate(2026, 12, 10)));
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLedger.csv")).count(",usefreebet,"), 2);
    QStringList offered;
    window->setAsk([&offered](const QString &question, const QString &initial) {
        offered << question << initial;
        return std::optional(initial);
    });
    choose(*window, {leeds}, "Uses free bet");
    QCOMPARE(offered.value(0), "The free bet at Coral that the bet used:");
    QVERIFY2(
        offered.value(1).startsWith("20.00 SNR, expires " + day(QDate(2026, 12, 10))), qPrintable(offered.value(1)));
    QTRY_COMPARE(freeBetRow(*window, 2).value(8), "Leeds v Hull");

    // The free bet of 10, taken back by the bookmaker, is given up with the reason.
    auto *freeBets = window->findChild<QTableView *>(QStringLiteral("Free bets"));
    auto *giveUp = window->findChild<QPushButton *>(QStringLiteral("giveUpFreeBet"));
    freeBets->setCurrentIndex(freeBets->model()->index(2, 0)); // used: nothing to give up
    QVERIFY(!giveUp->isEnabled());
    const int ten = freeBetRow(*window, 0).value(1) == "10.00" ? 0 : 1;
    freeBets->setCurrentIndex(freeBets->model()->index(ten, 0));
    window->setAsk([](const QString &, const QString &) { return std::optional<QString>("taken back"); });
    giveUp->click();
    QTRY_COMPARE(
        freeBetRow(*window, 2).mid(1, 5), QStringList({"10.00", "SR", freeBetRow(*window, 2).value(3), "", "Dropped"}));
    QVERIFY(m_ui->bytes(QStringLiteral("vantrelLedger.csv")).endsWith(",,,taken back,\r\n"));
}

void TestFreeBetsWindow::addedInTheFormBox()
{
    // No test's answers: the real box opens, its expiry picked with the calendar's date field.
    const auto window = openHistory();
    window->findChild<QPushButton *>(QStringLiteral("addFreeBet"))->click();
    QTRY_VERIFY(QApplication::activeModalWidget());
    QWidget *box = QApplication::activeModalWidget();
    MainWindowFixture::typeInto(box->findChild<QLineEdit *>(QStringLiteral("bookmaker")), QStringLiteral("Bet365"));
    MainWindowFixture::typeInto(box->findChild<QLineEdit *>(QStringLiteral("amount")), QStringLiteral("1,000.5"));
    box->findChild<QComboBox *>(QStringLiteral("kind"))->setCurrentIndex(1);
    auto *expiry = box->findChild<QDateEdit *>(QStringLiteral("expiry"));
    QVERIFY(expiry->calendarPopup());
    expiry->setDate(QDate(2027, 1, 31));
    MainWindowFixture::typeInto(box->findChild<QLineEdit *>(QStringLiteral("note")), QStringLiteral("=min odds 1.5"));
    box->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    QTRY_COMPARE(freeBetRow(*window, 0).value(4), day(QDate(2027, 1, 31)));
    QCOMPARE(freeBetRow(*window, 0).mid(0, 3), QStringList({"Bet365", "1,000.50", "SR"}));
    // The note a spreadsheet would run as a formula stays text in the ledger.
    QVERIFY(m_ui->bytes(QStringLiteral("vantrelLedger.csv"))
                .endsWith(",freebet,,sr,1000.50,Bet365,'=min odds 1.5,2027-01-31\r\n"));
}

void TestFreeBetsWindow::earnedByAnOpenBet()
{
    // Recorded when the qualifying bet is placed, the free bet is awaited until that bet settles.
    archiveRefundOffer();
    const QDate tomorrow = QDate::currentDate().addDays(1);
    auto window = openHistory();
    QStringList asked;
    window->setAsk([&asked, tomorrow](const QString &question, const QString &initial) {
        asked << question + " " + initial;
        const QStringList answers {"Bookmaker:", "Coral", "Amount:", "20", "Expires", tomorrow.toString(Qt::ISODate)};
        const qsizetype at = answers.indexOf(question.section(QLatin1Char(' '), 0, 0));
        return std::optional(at >= 0 ? answers.value(at + 1) : initial);
    });
    choose(*window, {0}, "Free bet earned");
    QCOMPARE(asked.value(0), "Bookmaker: Coral"); // the bet's bookmaker filled in
    QTRY_COMPARE(offerRow(*window, 0).value(7), "Awaiting free bet");
    window->setAsk([](const QString &, const QString &) { return std::optional<QString>("Betfair"); });
    choose(*window, {0}, "Settle as/Back won");
    QTRY_COMPARE(offerRow(*window, 0).value(7), "Held");
    // One expiring tomorrow: the history opens on the Free bets tab.
    window.reset();
    window = openHistory();
    QCOMPARE(window->findChild<QTabWidget *>(QStringLiteral("totalsTabs"))->currentWidget()->objectName(), "freeBets");
}

void TestFreeBetsWindow::hostileFreeBetLines()
{
    // Hand-edited free-bet lines: each counted and named, nothing dropped from the file, the rest read.
    const QByteArray day = "2,2026-12-08T14:05:00,";
    const QByteArray good = day + "freebet,,snr,20.00,Coral,,2026-12-15";
    const QByteArray goodId = store::freeBetIdText({store::sha256(good), 0});
    const QByteArray bet = "log:" + QByteArray(64, 'a') + ":0,";
    const QByteArray ledger = store::ledgerHeader() + "\r\n" + good + "\r\n" + day + "freebet,,snr,,Coral,,\r\n" + day
        + "freebet,,snr,-5.00,Coral,,\r\n" + day + "freebet,,snr,five,Coral,,\r\n" + day
        + "freebet,,snr,5.00,Coral,,soon\r\n" + day + "usefreebet," + bet + "free:" + QByteArray(64, 'b') + ":0,,,,\r\n"
        + day + "usefreebet," + bet + goodId + ",,,,\r\n" + day + "usefreebet,log:" + QByteArray(64, 'c') + ":0,"
        + goodId + ",,,,\r\n";
    m_ui->writeBytes(QStringLiteral("vantrelLedger.csv"), ledger);
    const auto window = openOn(QDate(2026, 12, 9));
    const QString status = text(*window, "status");
    QVERIFY2(status.contains("6 lines could not be read as records and are left out: ledger line 3: 2,2026")
            && status.contains("ledger line 7: names a free bet that no line before it holds; ledger line 9: a "
                               "second bet uses a free bet that another bet uses"),
        qPrintable(status));
    QCOMPARE(freeBetRow(*window, 0).mid(0, 2), QStringList({"Coral", "20.00"}));
    QCOMPARE(freeBetRow(*window, 0).value(5), "Used");
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLedger.csv")), ledger);
}

QTEST_MAIN(TestFreeBetsWindow)
#include "tst_freebetswindow.moc"
