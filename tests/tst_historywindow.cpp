// The bet-history window on a small archive: its totals and filters, the keyboard, the way the
// calculator opens it, records the calculator appends while it is open, and an archive replaced
// under it.
#include <QAccessible>
#include <QAction>
#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QTabWidget>
#include <QWindow>

#include "calc/numbertext.h"
#include "calc/offers.h"
#include "history/historywindow.h"
#include "historywindowtest.h"
#include "store/filelock.h"
#include "store/ledger.h"
#include "store/offerfile.h"
#include "ui/message.h"

class TestHistoryWindow : public HistoryWindowTest
{
    Q_OBJECT

private slots:
    void totalsAndFilters();
    void messageOutlivesItsWindow();
    void answerLooksTheBetsUpAgain();
    void emptyArchiveExplained();
    void opensFromTheCalculatorAndFollowsAppends_data();
    void opensFromTheCalculatorAndFollowsAppends();
    void replacedArchiveShowsAsInAFreshWindow();
    void keyboard();
    void typedDateFilters();
    void hostileArchive();
    void offersCountedByKind();
    void settleFromTheKeyboard();
    void settleReopenRemoveRestore();
    void accountsThroughTheForm();
    void ledgerLockedByAnotherProgram();
    void windowPlaceRemembered();
    void byteOrderMarkKeepsSettlements();
    void dataFolderThatIsAFile();
    void otherAmountForSeveralBets();
    void accountsInWholePennies();
    void hostileLedger();
    void tabWalksTheWindow();
    void laysAtTheirExchange();
    void menuActsOnTheBetsItOpenedOn();
    void editKeepsTheSettlement();
    void settlementsWithoutABet();
    void exportNeverReplacesKeptFiles_data();
    void exportNeverReplacesKeptFiles();
};

namespace {

const QByteArray threeBets
    = "01/11/2026 19:45:02,Arsenal v Chelsea,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n"
      "old|=@=|record\r\n"
      "08/11/2026 15:00:10,Leeds free bet,Coral,200,50,6.4,6.2,1039.58,199.92,0,4.75,1230.00,190.42,190.42,95.21\r\n"
      "03/12/2026 12:30:00,Cheltenham,SkyBet,10,10,5,5.5,33.03,7.34,0,5,40.00,6.97,6.97,69.72\r\n";

} // namespace

void TestHistoryWindow::totalsAndFilters()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    QCOMPARE(rows(*window), 3);
    QCOMPARE(text(*window, "summary"),
        "3 bets: 0.00 settled (0 bets), 1,273.83 in open bets (3 bets); expected result 46.17; 175.00 of your own "
        "money staked, 60.00 in free-bet stakes, average closeness 86.69 %");
    const QString status = text(*window, "status");
    QVERIFY2(status.startsWith("3 records from ") && status.contains("1 line could not be read")
            && status.contains("line 2: old|=@=|record"),
        qPrintable(status));
    auto *byMonth = window->findChild<QTableView *>(QStringLiteral("Per month"));
    QCOMPARE(byMonth->model()->rowCount(), 2);
    QCOMPARE(shown(byMonth, 0, 0), "November 2026");
    QCOMPARE(shown(byMonth, 0, 4), "39.20"); // -1.22 + 40.42
    auto *byKind = window->findChild<QTableView *>(QStringLiteral("Per kind"));
    QCOMPARE(byKind->model()->rowCount(), 3);

    auto *bookmaker = window->findChild<QComboBox *>(QStringLiteral("bookmakerFilter"));
    bookmaker->setCurrentIndex(bookmaker->findText(QStringLiteral("Coral")));
    QTRY_COMPARE(text(*window, "summary"),
        "2 bets: 0.00 settled (0 bets), 1,240.80 in open bets (2 bets); expected result 39.20; 175.00 of your own "
        "money staked, 50.00 in free-bet stakes, average closeness 95.17 %");
    auto *kind = window->findChild<QComboBox *>(QStringLiteral("kindFilter"));
    kind->setCurrentIndex(kind->findText(QStringLiteral("Part free bet")));
    QTRY_COMPARE(rows(*window), 1);
    kind->setCurrentIndex(0);
    QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("eventSearch")), QStringLiteral("FREE"));
    QTRY_COMPARE(text(*window, "summary"),
        "1 bet: 0.00 settled (0 bets), 1,189.58 in open bets (1 bet); expected result 40.42; 150.00 of your own "
        "money staked, 50.00 in free-bet stakes, average closeness 95.21 %");
    QCOMPARE(rows(*window), 1);
    // With no bet shown there is no closeness to speak of.
    QTest::keyClicks(window->findChild<QLineEdit *>(QStringLiteral("eventSearch")), QStringLiteral("nothing"));
    QTRY_COMPARE(text(*window, "summary"),
        "0 bets: 0.00 settled (0 bets), 0.00 in open bets (0 bets); expected result 0.00; 0.00 of your own money "
        "staked, 0.00 in free-bet stakes");
}

void TestHistoryWindow::emptyArchiveExplained()
{
    const auto window = openHistory();
    QCOMPARE(rows(*window), 0);
    QVERIFY(text(*window, "status").startsWith(QStringLiteral("No bets archived")));
    QCOMPARE(m_ui->messages, QStringList());
}

void TestHistoryWindow::opensFromTheCalculatorAndFollowsAppends_data()
{
    QTest::addColumn<bool>("byShortcut");
    QTest::newRow("Archive's context menu") << false;
    QTest::newRow("Ctrl+H") << true;
}

void TestHistoryWindow::opensFromTheCalculatorAndFollowsAppends()
{
    QFETCH(bool, byShortcut);
    m_ui->press(QStringLiteral("Command1"));
    m_ui->press(QStringLiteral("cmdArchive"));
    auto *archive = m_ui->window->findChild<QPushButton *>(QStringLiteral("cmdArchive"));
    QCOMPARE(archive->contextMenuPolicy(), Qt::ActionsContextMenu);
    if (byShortcut)
        QTest::keyClick(m_ui->window.get(), Qt::Key_H, Qt::ControlModifier);
    else
        archive->findChild<QAction *>(QStringLiteral("showHistory"))->trigger();
    const QList<history::HistoryWindow *> open = openWindows<history::HistoryWindow>();
    QCOMPARE(open.size(), 1);
    history::HistoryWindow &window = *open.first();
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    waitForLoad(window);
    QCOMPARE(rows(window), 1);

    m_ui->press(QStringLiteral("cmdArchive")); // the calculator appends while the history is open
    QTRY_COMPARE(rows(window), 2);
    QTRY_COMPARE(text(window, "summary"),
        "2 bets: 0.00 settled (0 bets), 2,379.16 in open bets (2 bets); expected result 80.84; 300.00 of your own "
        "money staked, 100.00 in free-bet stakes, average closeness 95.21 %");
}

void TestHistoryWindow::replacedArchiveShowsAsInAFreshWindow()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    auto *bookmaker = window->findChild<QComboBox *>(QStringLiteral("bookmakerFilter"));
    bookmaker->setCurrentIndex(bookmaker->findText(QStringLiteral("SkyBet")));
    QTRY_COMPARE(rows(*window), 1);

    // A backup restored over it: shorter, other bookmakers, the chosen one among them.
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"),
        "02/10/2026 10:00:00,Wolves,Bet365,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n"
        "03/10/2026 10:00:00,Spurs,SkyBet,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n");
    QSignalSpy loaded(window.get(), &history::HistoryWindow::loaded);
    QVERIFY(loaded.wait());
    QCOMPARE(items(*window, "bookmakerFilter"), QStringList({"All bookmakers", "Bet365", "SkyBet"}));
    QCOMPARE(bookmaker->currentText(), "SkyBet");
    QCOMPARE(rows(*window), 1);
    bookmaker->setCurrentIndex(0);
    QTRY_COMPARE(rows(*window), 2);

    const auto fresh = openHistory();
    QCOMPARE(items(*window, "bookmakerFilter"), items(*fresh, "bookmakerFilter"));
    QCOMPARE(text(*window, "summary"), text(*fresh, "summary"));
    QCOMPARE(text(*window, "status"), text(*fresh, "status"));

    // A choice that the archive read afresh no longer has goes back to all bookmakers.
    bookmaker->setCurrentIndex(bookmaker->findText(QStringLiteral("SkyBet")));
    QTRY_COMPARE(rows(*window), 1);
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets.left(threeBets.indexOf("03/12/2026")));
    QVERIFY(loaded.wait());
    QCOMPARE(items(*window, "bookmakerFilter"), QStringList({"All bookmakers", "Coral"}));
    QTRY_COMPARE(rows(*window), 2);
}

void TestHistoryWindow::keyboard()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    QApplication::setActiveWindow(window.get());
    auto *from = window->findChild<QLineEdit *>(QStringLiteral("From"));
    auto *table = window->findChild<QTableView *>(QStringLiteral("records"));
    auto *search = window->findChild<QLineEdit *>(QStringLiteral("eventSearch"));

    from->setFocus();
    QTest::keyClick(from, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), window->findChild<QLineEdit *>(QStringLiteral("To")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), from);

    table->setFocus();
    table->setCurrentIndex(table->model()->index(0, 0));
    QTest::keyClick(table, Qt::Key_Tab);
    QVERIFY(window->findChild<QTabWidget *>(QStringLiteral("totalsTabs"))->isAncestorOf(QApplication::focusWidget()));

    QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), search);
    QTest::keyClicks(search, QStringLiteral("leeds"));
    QTRY_COMPARE(rows(*window), 1);
    QTest::keyClick(search, Qt::Key_Escape);
    QCOMPARE(search->text(), QString());
    QTRY_COMPARE(rows(*window), 3);
}

void TestHistoryWindow::tabWalksTheWindow()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    QApplication::setActiveWindow(window.get());
    const QStringList order {"From", "To", "kindFilter", "statusFilter", "bookmakerFilter", "eventSearch", "saveAsCsv",
        "records", "qt_tabwidget_tabbar", "Per bookmaker", "From"};
    window->findChild<QLineEdit *>(QStringLiteral("From"))->setFocus();
    QStringList walked {QApplication::focusWidget()->objectName()};
    while (walked.size() < order.size()) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(walked, order);

    // Each filter box is spoken by its name, then its value.
    const QList<std::pair<QString, QString>> boxes {
        {"kindFilter", "Kind"}, {"statusFilter", "Status"}, {"bookmakerFilter", "Bookmaker"}};
    for (const auto &[box, name] : boxes) {
        auto *control = window->findChild<QComboBox *>(box);
        QCOMPARE(spokenName(control), name);
        QCOMPARE(QAccessible::queryAccessibleInterface(control)->text(QAccessible::Value), control->currentText());
    }
    // The headings that need it say what they mean, to the mouse and to a screen reader.
    const QAbstractItemModel *model = window->findChild<QTableView *>(QStringLiteral("records"))->model();
    for (const history::Column column : {history::Column::Kind, history::Column::Result, history::Column::Highest,
             history::Column::Status, history::Column::Actual}) {
        const QVariant tip = model->headerData(int(column), Qt::Horizontal, Qt::ToolTipRole);
        QVERIFY(!tip.toString().isEmpty());
        QCOMPARE(model->headerData(int(column), Qt::Horizontal, Qt::AccessibleDescriptionRole), tip);
    }
    QCOMPARE(model->headerData(int(history::Column::Result), Qt::Horizontal, Qt::ToolTipRole).toString(),
        "What the bet locked in: the lowest of its outcomes");
    QVERIFY(!model->headerData(history::columnCount - 1, Qt::Horizontal, Qt::ToolTipRole).toString().isEmpty());
}

void TestHistoryWindow::typedDateFilters()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    auto *from = window->findChild<QLineEdit *>(QStringLiteral("From"));
    // The calendar opens at the latest bet's month, not at some fixed date.
    QApplication::setActiveWindow(window.get());
    from->setFocus();
    QTest::keyClick(from, Qt::Key_F4);
    auto *calendar = window->findChild<QCalendarWidget *>();
    QTRY_VERIFY(calendar->isVisible());
    QCOMPARE(QDate(calendar->yearShown(), calendar->monthShown(), 1), QDate(2026, 12, 1));
    QTest::keyClick(calendar, Qt::Key_Escape);

    MainWindowFixture::typeInto(from, QStringLiteral("05/11/2026"));
    QTest::keyClick(from, Qt::Key_Return);
    QTRY_COMPARE(rows(*window), 2);
    MainWindowFixture::typeInto(from, QStringLiteral("not a date"));
    QTest::keyClick(from, Qt::Key_Return);
    QCOMPARE(rows(*window), 2); // refused, the range stays
    MainWindowFixture::typeInto(from, QString());
    QTest::keyClick(from, Qt::Key_Return);
    QTRY_COMPARE(rows(*window), 3);
}

void TestHistoryWindow::hostileArchive()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"),
        "<h1>ARCHIVE DAMAGED</h1>\r\n"
        "07/12/2026 09:15:30,Race,Coral,1e308,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n"
        "07/12/2026 09:16:30,Race,Coral,1e308,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n");
    history::HistoryWindow window(m_ui->folder());
    // Saving waits for the whole archive, so that an export never holds part of it.
    auto *save = window.findChild<QPushButton *>(QStringLiteral("saveAsCsv"));
    QVERIFY(window.isLoading());
    QVERIFY(!save->isEnabled());
    QVERIFY(save->toolTip().contains(QStringLiteral("waits")));
    waitForLoad(window);
    QVERIFY(save->isEnabled());

    // A line from the file is quoted as the text it is, never run as markup.
    const auto *status = window.findChild<QLabel *>(QStringLiteral("status"));
    QCOMPARE(status->textFormat(), Qt::PlainText);
    QVERIFY2(status->text().contains(QStringLiteral("line 1: <h1>ARCHIVE DAMAGED</h1>")), qPrintable(status->text()));
    // Sums beyond the range of numbers say so instead of showing a plausible figure.
    QCOMPARE(text(window, "summary"),
        "2 bets: 0.00 settled (0 bets), too large in open bets (2 bets); expected result too large (negative); too "
        "large of your own money staked, 0.00 in free-bet stakes, average "
        "closeness 95.13 %");
}

void TestHistoryWindow::offersCountedByKind()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    // Offers as the offer calculators archive them, one of a kind this program does not know, and
    // one whose figures were changed by hand.
    archiveRefundOffer();
    QFile file(m_ui->path(QStringLiteral("vantrelOffers.csv")));
    QVERIFY(file.open(QIODevice::Append));
    file.write("1,2026-11-05T10:00:00,lucky-dip,Derby,SkyBet,5,-1.00,40.00,stake=5,profit=-1\r\n"
               "1,2026-12-06T10:00:00,refund,Leeds,Coral,20,11.08,11.08,backOdds=5;backStake=20;layCommission=2;"
               "layOdds=5.2;retention=75,layStake=16.00;liability=68.92;profitIfBackWins=11.08;"
               "profitIfLayWins=11.08\r\n");
    file.close();

    const auto window = openHistory();
    QCOMPARE(rows(*window), 6);
    QVERIFY(text(*window, "status")
                .startsWith(QStringLiteral("6 records from %1 and %2.")
                                .arg(QDir::toNativeSeparators(m_ui->path("vantrelLog.txt")),
                                    QDir::toNativeSeparators(m_ui->path("vantrelOffers.csv")))));
    // Newest first across both files: each offer among the archive's bets by its date.
    const QAbstractItemModel *table = window->findChild<QTableView *>(QStringLiteral("records"))->model();
    const auto cell
        = [&](int row, history::Column column) { return table->data(table->index(row, int(column))).toString(); };
    QCOMPARE(cell(0, history::Column::Kind), "Refund");
    QCOMPARE(cell(0, history::Column::Event), "Leeds");
    // Offers' dates shown as the calculator's are, in the locale's short date and the time.
    QCOMPARE(cell(0, history::Column::Date), "06/12/2026 10:00:00");
    QCOMPARE(cell(2, history::Column::Date), "03/12/2026 12:30:00");
    QVERIFY(table->data(table->index(0, 0), Qt::ToolTipRole).isValid()); // its figures are not its inputs'
    QCOMPARE(cell(1, history::Column::Kind), "Refund");
    QCOMPARE(cell(1, history::Column::Result), "11.08");
    QCOMPARE(cell(1, history::Column::Highest), "11.08");
    QCOMPARE(cell(1, history::Column::Stake), "20");
    QVERIFY(!table->data(table->index(1, 0), Qt::ToolTipRole).isValid());
    QCOMPARE(cell(2, history::Column::Event), "Cheltenham");
    QCOMPARE(cell(3, history::Column::Event), "Leeds free bet");
    QCOMPARE(cell(4, history::Column::Kind), "lucky-dip");
    QCOMPARE(cell(4, history::Column::Result), "-1.00");
    QCOMPARE(cell(4, history::Column::Highest), "40.00");
    QCOMPARE(cell(5, history::Column::Event), "Arsenal v Chelsea");

    auto *kind = window->findChild<QComboBox *>(QStringLiteral("kindFilter"));
    kind->setCurrentIndex(kind->findText(QStringLiteral("Refund")));
    QTRY_COMPARE(rows(*window), 2);
    auto *byKind = window->findChild<QTableView *>(QStringLiteral("Per kind"));
    QCOMPARE(byKind->model()->rowCount(), 1);
    QCOMPARE(shown(byKind, 0, 0), "Refund");
    QCOMPARE(shown(byKind, 0, 4), "22.16");
}

void TestHistoryWindow::settleFromTheKeyboard()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    QApplication::setActiveWindow(window.get());
    // With no exchange named yet, settling asks where the lays are.
    QStringList asked;
    window->setAsk([&asked](const QString &question, const QString &) {
        asked << question;
        return std::optional<QString>("Betfair");
    });
    auto *table = window->findChild<QTableView *>(QStringLiteral("records"));
    table->setFocus();
    table->selectRow(0); // Cheltenham, a free bet
    // The Menu key opens the menu; Down and Right enter "Settle as", whose first outcome is Back won.
    QTest::keyClick(table, Qt::Key_Menu);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Right);
    QTRY_COMPARE(QApplication::activePopupWidget()->actions().first()->text(), "Back won");
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
    QTRY_COMPARE(cell(*window, 0, history::Column::Status), "Back won");
    QCOMPARE(cell(*window, 0, history::Column::Actual), "6.97");
    QCOMPARE(asked, QStringList {"The exchange the lays are at:"});
    QCOMPARE(cell(*window, 0, history::Column::Exchange), "Betfair");
    const QByteArray ledger = m_ui->bytes(QStringLiteral("vantrelLedger.csv"));
    QVERIFY2(
        ledger.startsWith(store::ledgerHeader() + "\r\n") && ledger.contains(",profitIfBackWins,6.97,Betfair,\r\n"),
        ledger.constData());
}

void TestHistoryWindow::settleReopenRemoveRestore()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    window->setAsk([](const QString &question, const QString &) {
        if (question.startsWith("The exchange"))
            return std::optional<QString>("Betfair");
        return std::optional<QString>(question.contains("at the exchange") ? "0" : "3.5");
    });
    choose(*window, {0}, "Exchange");
    choose(*window, {0, 1}, "Settle as/Lay won");
    QCOMPARE(cell(*window, 0, history::Column::Status), "Lay won");
    QCOMPARE(cell(*window, 1, history::Column::Actual), "40.42");
    QTRY_COMPARE(text(*window, "summary"),
        "3 bets: 47.39 settled (2 bets), 51.22 in open bets (1 bet); expected result 46.17; 175.00 of your own money "
        "staked, 60.00 in free-bet stakes, average closeness 86.69 %");
    choose(*window, {1}, "Reopen");
    QCOMPARE(cell(*window, 1, history::Column::Status), "Open");
    QCOMPARE(cell(*window, 1, history::Column::Actual), "");
    choose(*window, {2}, "Settle as/Other amount");
    QCOMPARE(cell(*window, 2, history::Column::Status), "Other amount");
    QCOMPARE(cell(*window, 2, history::Column::Actual), "3.50");

    // A bet archived twice by mistake goes from every count, and comes back.
    choose(*window, {2}, "Remove from history");
    QTRY_COMPARE(rows(*window), 2);
    auto *status = window->findChild<QComboBox *>(QStringLiteral("statusFilter"));
    status->setCurrentIndex(status->findText(QStringLiteral("Removed")));
    QTRY_COMPARE(rows(*window), 1);
    QCOMPARE(cell(*window, 0, history::Column::Status), "Removed");
    choose(*window, {0}, "Restore");
    QTRY_COMPARE(rows(*window), 0);
    status->setCurrentIndex(status->findText(QStringLiteral("Settled")));
    QTRY_COMPARE(rows(*window), 2);
    const QList<QByteArray> lines = m_ui->bytes(QStringLiteral("vantrelLedger.csv")).split('\n');
    QCOMPARE(lines.size(), 1 + 1 + 6 + 1); // the header, the exchange named, six decisions
    QVERIFY(lines[1].contains(",exchange,log:") && lines[1].endsWith(",,,Betfair,\r"));
    QVERIFY(lines[2].contains(",Betfair,"));

    // Another window reads the same decisions.
    const auto second = openHistory();
    QTRY_COMPARE(cell(*second, 0, history::Column::Status), "Lay won");
    QCOMPARE(cell(*second, 2, history::Column::Status), "Other amount");
    QCOMPARE(cell(*second, 2, history::Column::Actual), "3.50");
}

void TestHistoryWindow::accountsThroughTheForm()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    auto *accounts = window->findChild<QTableView *>(QStringLiteral("Accounts"));
    const auto row = [accounts](const QString &name) {
        for (int i = 0; i < accounts->model()->rowCount(); ++i) {
            if (shown(accounts, i, 0) == name)
                return i;
        }
        return -1;
    };
    const auto field = [&](const char *name) {
        for (QWidget *widget : window->findChildren<QWidget *>()) {
            if (widget->accessibleName() == QLatin1String(name) && accounts->parentWidget()->isAncestorOf(widget))
                return widget;
        }
        return static_cast<QWidget *>(nullptr);
    };
    static_cast<QComboBox *>(field("Account"))->setEditText(QStringLiteral("Coral"));
    MainWindowFixture::typeInto(static_cast<QLineEdit *>(field("Amount")), QStringLiteral("100"));
    QTest::keyClick(field("Amount"), Qt::Key_Return); // no button pressed, nothing recorded
    QVERIFY(!QFile::exists(m_ui->path(QStringLiteral("vantrelLedger.csv"))));
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        if (button->text() == "Deposit")
            button->click();
    }
    auto *status = static_cast<QComboBox *>(field("Status"));
    status->setCurrentIndex(status->findText(QStringLiteral("Limited")));
    for (QPushButton *button : window->findChildren<QPushButton *>()) {
        if (button->text() == "Set status")
            button->click();
    }
    // Coral: 100 deposited; in open bets its two bets' own stakes (25 and 150).
    // The deposit and the status are two lines, which may be read back one at a time.
    QTRY_COMPARE(shown(accounts, std::max(0, row("Coral")), 3), "100.00");
    QTRY_COMPARE(shown(accounts, std::max(0, row("Coral")), 2), "Limited");
    const int coral = row("Coral");
    QCOMPARE(shown(accounts, coral, 6), "175.00");
    QCOMPARE(shown(accounts, coral, 7), "100.00");
    QCOMPARE(shown(accounts, coral, 8), "-75.00");
    // No exchange was ever named: the lays are at none, and no account is made up for them.
    QCOMPARE(row("Exchange"), -1);
    QCOMPARE(m_ui->messages, QStringList());

    // A withdrawal beyond the balance is asked about; declined, nothing is written.
    QStringList asked;
    bool withdraw = false;
    window->setConfirm([&](const QString &question) {
        asked << question;
        return withdraw;
    });
    const auto press = [&](const QString &caption) {
        for (QPushButton *button : window->findChildren<QPushButton *>()) {
            if (button->text() == caption)
                button->click();
        }
    };
    accounts->clicked(accounts->model()->index(row("SkyBet"), 0)); // names SkyBet in the form
    QCOMPARE(static_cast<QComboBox *>(field("Account"))->currentText(), "SkyBet");
    MainWindowFixture::typeInto(static_cast<QLineEdit *>(field("Amount")), QStringLiteral("30"));
    press("Withdraw");
    QCOMPARE(
        asked, QStringList {"30.00 is more than the balance at SkyBet (0.00). Record the withdrawal all the same?"});
    withdraw = true;
    MainWindowFixture::typeInto(static_cast<QLineEdit *>(field("Note")), QStringLiteral("to my bank"));
    press("Withdraw");
    QTRY_COMPARE(shown(accounts, row("SkyBet"), 4), "30.00");
    // The total row adds every account up; the entries list the latest first, with its note.
    QCOMPARE(shown(accounts, row("Total"), 7), "70.00");
    auto *entries = window->findChild<QTableView *>(QStringLiteral("Account entries"));
    QCOMPARE(entries->model()->rowCount(), 3);
    QCOMPARE(
        shown(entries, 0, 1) + "|" + shown(entries, 0, 2) + "|" + shown(entries, 0, 3) + "|" + shown(entries, 0, 4),
        "SkyBet|Withdrawal|to my bank|30.00");
    QCOMPARE(shown(entries, 1, 2), "Status: Limited");
    // The latest entry reversed: its opposite appended.
    entries->setCurrentIndex(entries->model()->index(0, 0));
    press("Reverse");
    QTRY_COMPARE(entries->model()->rowCount(), 4);
    QCOMPARE(shown(entries, 0, 2) + "|" + shown(entries, 0, 3), "Deposit|Reverses: Withdrawal");
    QCOMPARE(shown(accounts, row("SkyBet"), 7), "0.00");
}

void TestHistoryWindow::ledgerLockedByAnotherProgram()
{
    // Another program holds the ledger's lock: a deposit waits for it off the window's thread, the
    // status says so, and the deposit is written once the lock is let go.
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    m_ui->writeBytes(QStringLiteral("vantrelLedger.csv"), store::ledgerHeader() + "\r\n");
    auto window = openHistory();
    QFile held(m_ui->path(QStringLiteral("vantrelLedger.csv")));
    QVERIFY(held.open(QIODevice::ReadWrite));
    auto lock = std::make_unique<store::files::FileLock>(held, held.fileName());
    window->findChild<QComboBox *>(QStringLiteral("account"))->setEditText(QStringLiteral("Coral"));
    auto *amount = window->findChild<QLineEdit *>(QStringLiteral("amount"));
    MainWindowFixture::typeInto(amount, QStringLiteral("10"));
    window->findChild<QPushButton *>(QStringLiteral("deposit"))->click();
    QTRY_VERIFY(text(*window, "status").contains("Waiting for another program to let go of"));
    MainWindowFixture::typeInto(amount, QStringLiteral("20"));
    window->findChild<QPushButton *>(QStringLiteral("deposit"))->click();
    QCOMPARE(m_ui->messages.size(), 1);
    QVERIFY2(m_ui->messages.first().startsWith("Nothing was recorded: Vantrel is still waiting"),
        qPrintable(m_ui->messages.first()));
    lock.reset();
    auto *accounts = window->findChild<QTableView *>(QStringLiteral("Accounts"));
    QTRY_COMPARE(shown(accounts, 0, 3), "10.00");
    QVERIFY(!text(*window, "status").contains("Waiting"));

    // Closed while a deposit waits: the window stays until it is written, then goes.
    lock = std::make_unique<store::files::FileLock>(held, held.fileName());
    window->findChild<QPushButton *>(QStringLiteral("deposit"))->click();
    QTRY_VERIFY(text(*window, "status").contains("Waiting for another program"));
    window->close();
    QVERIFY(window->isVisible());
    QVERIFY(text(*window, "status").contains("and the window closes then"));
    lock.reset();
    QTRY_VERIFY(!window->isVisible());
    QVERIFY(m_ui->bytes(QStringLiteral("vantrelLedger.csv")).contains(",deposit,,,20.00,Coral,"));
}

void TestHistoryWindow::windowPlaceRemembered()
{
    // Size, place, splitter and tab come back at the next start, in a file of the history's own;
    // a place off every screen is brought back onto the screen.
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const QByteArray settings = m_ui->bytes(QStringLiteral("vantrel.ini"));
    auto window = openHistory();
    const QRect available = window->screen()->availableGeometry();
    window->resize(window->minimumSizeHint() + QSize(0, 20));
    window->move(available.topLeft() + QPoint(0, 20));
    const QRect placed(window->pos(), window->size());
    auto *tabs = window->findChild<QTabWidget *>();
    tabs->setCurrentIndex(2);
    auto *split = window->findChild<QSplitter *>();
    split->setSizes({300, 200});
    const QList<int> sizes = split->sizes();
    window->close();
    window = openHistory();
    QCOMPARE(QRect(window->pos(), window->size()), placed);
    QCOMPARE(window->findChild<QTabWidget *>()->currentIndex(), 2);
    // Laid out again at the same size: to the pixel, give or take the rounding of the share.
    const QList<int> restored = window->findChild<QSplitter *>()->sizes();
    QCOMPARE(restored.size(), sizes.size());
    for (qsizetype i = 0; i < sizes.size(); ++i)
        QVERIFY2(
            qAbs(restored[i] - sizes[i]) <= 1, qPrintable(QStringLiteral("%1 for %2").arg(restored[i]).arg(sizes[i])));
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrel.ini")), settings);

    m_ui->writeBytes(QStringLiteral("vantrelHistory.ini"), "[Window]\r\ngeometry=99999,-5000,900,600\r\ntab=99\r\n");
    window = openHistory();
    QVERIFY(available.contains(window->geometry()));
    QCOMPARE(window->findChild<QTabWidget *>()->currentIndex(), window->findChild<QTabWidget *>()->count() - 1);
}

void TestHistoryWindow::byteOrderMarkKeepsSettlements()
{
    // An editor saves the archive with a byte-order mark: the first bet is the same bet, settled.
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    auto window = openHistory();
    choose(*window, {0, 1, 2}, "Settle as/Void");
    const QString firstDate = cell(*window, 2, history::Column::Date);
    window.reset();
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), "\xEF\xBB\xBF" + threeBets);
    window = openHistory();
    for (int row = 0; row < 3; ++row)
        QCOMPARE(cell(*window, row, history::Column::Status), "Void");
    QCOMPARE(cell(*window, 2, history::Column::Date), firstDate);
}

void TestHistoryWindow::dataFolderThatIsAFile()
{
    // A file where the data folder should be: the window says so, and a deposit names it too.
    const QString folder = m_ui->path(QStringLiteral("notAFolder"));
    m_ui->writeBytes(QStringLiteral("notAFolder"), "text");
    history::HistoryWindow window(folder, [this](const QString &text) { m_ui->messages << text; });
    window.show();
    const QString named = QDir::toNativeSeparators(folder) + " is a file, not a folder";
    QTRY_VERIFY2(text(window, "status").contains(named), qPrintable(text(window, "status")));
    window.findChild<QComboBox *>(QStringLiteral("account"))->setEditText(QStringLiteral("Coral"));
    MainWindowFixture::typeInto(window.findChild<QLineEdit *>(QStringLiteral("amount")), QStringLiteral("10"));
    window.findChild<QPushButton *>(QStringLiteral("deposit"))->click();
    QCOMPARE(m_ui->messages.size(), 1);
    QVERIFY2(m_ui->messages.first().endsWith(named), qPrintable(m_ui->messages.first()));
    QCOMPARE(m_ui->bytes(QStringLiteral("notAFolder")), "text");
}

void TestHistoryWindow::otherAmountForSeveralBets()
{
    // Three bets at once: the questions say the parts are each bet's, and the total is confirmed
    // before anything is written.
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    auto window = openHistory();
    QStringList asked;
    window->setAsk([&](const QString &question, const QString &) {
        asked << question;
        return std::optional<QString>(question.startsWith("The exchange") ? "Betfair"
                : question.contains("bookmaker")                          ? "30"
                                                                          : "-5.5");
    });
    QStringList confirmed;
    bool settle = false;
    window->setConfirm([&](const QString &question) {
        confirmed << question;
        return settle;
    });
    choose(*window, {0, 1, 2}, "Settle as/Other amount");
    QCOMPARE(asked.first(), "What came in at the bookmaker (a loss with a minus sign), for each of the 3 bets:");
    QCOMPARE(confirmed,
        QStringList {
            "Settle each of the 3 bets at 24.50 (30.00 at the bookmaker, -5.50 at the exchange), 73.50 in all?"});
    QVERIFY(!QFile::exists(m_ui->path(QStringLiteral("vantrelLedger.csv"))));
    settle = true;
    choose(*window, {0, 1, 2}, "Settle as/Other amount");
    QTRY_COMPARE(cell(*window, 2, history::Column::Actual), "24.50");
    QCOMPARE(cell(*window, 0, history::Column::Actual), "24.50");
}

void TestHistoryWindow::accountsInWholePennies()
{
    // A mistyped deposit withdrawn again, as hand-edited lines: both are beyond any amount and are
    // counted unread; what is left adds up to the penny.
    const QByteArray day = "1,2026-12-09T10:00:00,";
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    m_ui->writeBytes(QStringLiteral("vantrelLedger.csv"),
        store::ledgerHeader() + "\r\n" + day + "deposit,,,100.00,Coral,\r\n" + day
            + "deposit,,,10000000000000000000000,Coral,\r\n" + day + "withdraw,,,10000000000000000000000,Coral,\r\n"
            + day + "deposit,,,10.01,Coral,\r\n" + day + "deposit,,,20.02,Coral,\r\n");
    auto window = openHistory();
    auto *accounts = window->findChild<QTableView *>(QStringLiteral("Accounts"));
    QTRY_VERIFY(accounts->model()->rowCount() > 0);
    QCOMPARE(shown(accounts, 0, 0), "Coral");
    QTRY_COMPARE(shown(accounts, 0, 3), "130.03");
    const QString status = text(*window, "status");
    QVERIFY2(status.contains("ledger line 3: ") && status.contains("ledger line 4: "), qPrintable(status));

    // The form refuses what is no amount to the penny, says why, and writes nothing.
    const QByteArray before = m_ui->bytes(QStringLiteral("vantrelLedger.csv"));
    auto *amount = window->findChild<QLineEdit *>(QStringLiteral("amount"));
    auto *problem = window->findChild<QLabel *>(QStringLiteral("accountProblem"));
    window->findChild<QComboBox *>(QStringLiteral("account"))->setEditText(QStringLiteral("Coral"));
    for (const auto &[typed, said] :
        {std::pair {"10000000000000000000000", "Amount: must be at most 1,000,000,000.00."},
            std::pair {"0.001", "Amount: has more than two decimals; type it to the penny."},
            std::pair {"1e22", "Amount: is not an amount such as 1,234.56."},
            std::pair {"", "Amount: type an amount."}}) {
        MainWindowFixture::typeInto(amount, QString::fromLatin1(typed));
        window->findChild<QPushButton *>(QStringLiteral("deposit"))->click();
        QCOMPARE(problem->text(), QString::fromLatin1(said));
    }
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLedger.csv")), before);
}

void TestHistoryWindow::hostileLedger()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    QVERIFY(QDir().mkpath(m_ui->path(QStringLiteral("vantrelLedger.csv"))));
    auto window = std::make_unique<history::HistoryWindow>(
        m_ui->folder(), [this](const QString &text) { m_ui->messages << text; });
    window->show();
    waitForLoad(*window);
    QCOMPARE(rows(*window), 3); // every bet still shows
    const QString ledger = QDir::toNativeSeparators(m_ui->path(QStringLiteral("vantrelLedger.csv")));
    QVERIFY2(text(*window, "status").contains("Could not read " + ledger + ": "), qPrintable(text(*window, "status")));
    choose(*window, {0}, "Settle as/Void");
    QCOMPARE(m_ui->messages.size(), 1);
    QVERIFY2(m_ui->messages.first().startsWith("Error: nothing was recorded, " + ledger + " could not be written: ")
            && m_ui->messages.first().contains("folder"),
        qPrintable(m_ui->messages.first()));
    QCOMPARE(cell(*window, 0, history::Column::Status), "Open");
}

void TestHistoryWindow::laysAtTheirExchange()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    auto window = openHistory();
    window->setClock([] { return QDateTime(QDate(2026, 12, 9), QTime(12, 0)); });
    QStringList answers {"Smarkets", "Betfair", "20", "-24.50"};
    window->setAsk([&answers](const QString &, const QString &) { return std::optional(answers.takeFirst()); });
    choose(*window, {0}, "Exchange"); // Cheltenham's lays
    choose(*window, {1}, "Exchange"); // Leeds's, and the exchange remembered for bets never given one
    // A Rule 4 on Arsenal: 20.00 in at Coral, 24.50 lost at the exchange.
    choose(*window, {2}, "Settle as/Other amount");
    QVERIFY(answers.isEmpty());
    QCOMPARE(cell(*window, 2, history::Column::Actual), "-4.50");
    QCOMPARE(cell(*window, 2, history::Column::Exchange), "Betfair");

    // Reopened in a new window: each bet's exchange, and the money at each account.
    window.reset();
    window = openHistory();
    QCOMPARE(cell(*window, 0, history::Column::Exchange), "Smarkets");
    QCOMPARE(cell(*window, 1, history::Column::Exchange), "Betfair");
    QCOMPARE(cell(*window, 2, history::Column::Status), "Other amount");
    QCOMPARE(cell(*window, 2, history::Column::Actual), "-4.50");
    auto *accounts = window->findChild<QTableView *>(QStringLiteral("Accounts"));
    QStringList rows;
    for (int row = 0; row < accounts->model()->rowCount(); ++row)
        rows << QStringList {shown(accounts, row, 0), shown(accounts, row, 1), shown(accounts, row, 5),
            shown(accounts, row, 6)}
                    .join(QLatin1Char(' '));
    // Cheltenham's liability (7.34 laid at 5.5) at Smarkets, Leeds's (199.92 at 6.2) at Betfair.
    QCOMPARE(rows,
        QStringList({"Coral Bookmaker 20.00 150.00", "SkyBet Bookmaker 0.00 0.00", "Betfair Exchange -24.50 1,039.58",
            "Smarkets Exchange 0.00 33.03", "Total  -4.50 1,222.61"}));
    // The running result: the money settled by the day it came in, and the bets' expected results.
    const QString running = window->findChild<QWidget *>(QStringLiteral("resultChart"))->accessibleDescription();
    QVERIFY2(
        running.contains("Settled ends at -4.50") && running.contains("Expected ends at 46.17"), qPrintable(running));
    const QString expected = window->findChild<QWidget *>(QStringLiteral("expectedChart"))->accessibleDescription();
    QVERIFY2(expected.contains("Actual ends at -4.50") && expected.contains("Locked in ends at -1.22"),
        qPrintable(expected));
    QCOMPARE(window->findChild<QWidget *>(QStringLiteral("monthChart"))->accessibleDescription(),
        "Result per month: November 2026: settled 0.00, expected 39.20; December 2026: settled -4.50, expected 6.97.");
    // The next bet settled with no exchange of its own goes to the one last named.
    window->setAsk([](const QString &, const QString &) { return std::nullopt; });
    QCOMPARE(menuAction(*window, {0}, "Exchange")->text(), "&Exchange... (Betfair)");
}

void TestHistoryWindow::menuActsOnTheBetsItOpenedOn()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    window->setAsk([](const QString &, const QString &) { return std::optional<QString>("Betfair"); });
    // The archive is restored from a backup without the Leeds bet while the menu is open on it and
    // on Cheltenham: nothing is written for bets that are gone, nor for others in their places.
    QAction *backWon = menuAction(*window, {0, 1}, "Settle as/Back won");
    QVERIFY(backWon);
    QByteArray withoutLeeds = threeBets;
    withoutLeeds.remove(
        withoutLeeds.indexOf("08/11/2026"), withoutLeeds.indexOf("03/12/2026") - withoutLeeds.indexOf("08/11/2026"));
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), withoutLeeds);
    QTRY_COMPARE(rows(*window), 2);
    backWon->trigger();
    QCOMPARE(m_ui->messages,
        QStringList {"The bets chosen are no longer in the files as they were; nothing was "
                     "recorded. Choose them again."});
    QVERIFY(!QFile::exists(m_ui->path(QStringLiteral("vantrelLedger.csv"))));
    window->findChild<QMenu *>(QStringLiteral("betMenu"))->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    // The menu on Arsenal while Cheltenham's line goes: Arsenal is settled, now in another row.
    QAction *layWon = menuAction(*window, {1}, "Settle as/Lay won");
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets.first(threeBets.indexOf("old|=@=|")));
    QTRY_COMPARE(rows(*window), 1);
    layWon->trigger();
    QCOMPARE(cell(*window, 0, history::Column::Event), "Arsenal v Chelsea");
    QCOMPARE(cell(*window, 0, history::Column::Status), "Lay won");

    // A removed bet is restored before it can be settled.
    choose(*window, {0}, "Remove from history");
    auto *status = window->findChild<QComboBox *>(QStringLiteral("statusFilter"));
    status->setCurrentIndex(status->findText(QStringLiteral("Removed")));
    QTRY_COMPARE(rows(*window), 1);
    QVERIFY(!menuAction(*window, {0}, "Settle as")->isEnabled());
}

void TestHistoryWindow::editKeepsTheSettlement()
{
    // "Edit..." mends a settled bet over its archived line: the settlement stays, its money moves to
    // the bookmaker and exchange mended, and a window opened afresh shows the same.
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    auto window = openHistory();
    window->setAsk([](const QString &, const QString &) { return std::optional<QString>("Betfair"); });
    choose(*window, {0}, "Settle as/Back won"); // Cheltenham, a 10.00 free bet at SkyBet
    QStringList asked;
    QStringList answers {" Cheltenham Gold Cup ", "Bet365", "Smarkets", "boosted"};
    window->setAsk([&](const QString &question, const QString &initial) {
        asked << question + initial;
        return std::optional(answers.takeFirst());
    });
    choose(*window, {0}, "Edit");
    QCOMPARE(asked, QStringList({"Event:Cheltenham", "Bookmaker:SkyBet", "Exchange:Betfair", "Note:"}));
    for (int fresh = 0; fresh < 2; ++fresh) {
        if (fresh)
            window = openHistory();
        QCOMPARE(cell(*window, 0, history::Column::Event), "Cheltenham Gold Cup");
        QCOMPARE(cell(*window, 0, history::Column::Bookmaker), "Bet365");
        QCOMPARE(cell(*window, 0, history::Column::Exchange), "Smarkets");
        QCOMPARE(cell(*window, 0, history::Column::Status), "Back won");
        const auto *accounts = window->findChild<QTableView *>(QStringLiteral("Accounts"));
        const auto accountRows = [accounts] {
            QStringList rows;
            for (int row = 0; row < accounts->model()->rowCount(); ++row)
                rows << QStringList {shown(accounts, row, 0), shown(accounts, row, 5), shown(accounts, row, 6)}.join(
                    ' ');
            return rows;
        };
        // 40.00 won at the bookmaker, the 33.03 liability lost at the exchange; the two open bets'
        // lays at the exchange last named.
        QTRY_COMPARE(accountRows(),
            QStringList({"Bet365 40.00 0.00", "Coral 0.00 175.00", "Smarkets -33.03 1,065.80", "Total 6.97 1,240.80"}));
    }
    window->findChild<QLineEdit *>(QStringLiteral("eventSearch"))->setText(QStringLiteral("gold"));
    QTRY_COMPARE(rows(*window), 1);
    QCOMPARE(m_ui->bytes(QStringLiteral("vantrelLog.txt")), threeBets);

    // An amend added by hand without a bookmaker mends the event alone.
    const QByteArray ledger = m_ui->bytes(QStringLiteral("vantrelLedger.csv"));
    const qsizetype record = ledger.indexOf(",amend,") + 7;
    m_ui->writeBytes(QStringLiteral("vantrelLedger.csv"),
        ledger + "1,2026-12-09T10:00:00,amend," + ledger.mid(record, ledger.indexOf(',', record) - record)
            + ",Cheltenham Gold,,,\r\n");
    QTRY_COMPARE(cell(*window, 0, history::Column::Event), "Cheltenham Gold");
    QCOMPARE(cell(*window, 0, history::Column::Bookmaker), "SkyBet");
}

void TestHistoryWindow::settlementsWithoutABet()
{
    // Three settled bets lose their lines by hand: the second of two identical lines goes with the
    // first deleted, one is deleted, one edited. The first is re-attached from the bet's menu, the
    // others from the Without a bet tab: one to the edited line, one dropped.
    const QList<QByteArray> lines = threeBets.split('\n');
    const QByteArray arsenal = lines[0] + '\n';
    const QByteArray leeds = lines[2] + '\n';
    const QByteArray cheltenham = lines[3] + '\n';
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), arsenal + arsenal + leeds + cheltenham);
    auto window = openHistory();
    window->setAsk([](const QString &, const QString &) { return std::optional<QString>("Betfair"); });
    window->setConfirm([](const QString &) { return true; });
    choose(*window, {0}, "Settle as/Back won"); // Cheltenham
    choose(*window, {1}, "Settle as/Void"); // Leeds
    choose(*window, {2}, "Settle as/Lay won"); // the second Arsenal
    QByteArray edited = cheltenham;
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), arsenal + edited.replace("Cheltenham", "Cheltenham Gold Cup"));
    QTRY_VERIFY(text(*window, "status").contains("3 settlements whose bets are no longer archived"));
    QVERIFY(!menuAction(*window, {0}, "Re-attach")->isEnabled()); // nothing was settled for that line
    window->findChild<QMenu *>(QStringLiteral("betMenu"))->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    choose(*window, {1}, "Re-attach");
    QCOMPARE(cell(*window, 1, history::Column::Status), "Lay won");

    auto *orphans = window->findChild<QListWidget *>(QStringLiteral("withoutBet"));
    QTRY_COMPARE(orphans->count(), 2);
    const auto *totalsTabs = window->findChild<QTabWidget *>(QStringLiteral("totalsTabs"));
    QCOMPARE(totalsTabs->tabText(totalsTabs->indexOf(orphans->parentWidget())), "Without a bet");
    const bool voidFirst = orphans->item(0)->text().endsWith("void, lays at Betfair");
    orphans->setCurrentRow(voidFirst ? 0 : 1);
    window->findChild<QPushButton *>(QStringLiteral("dropOrphan"))->click();
    QTRY_COMPARE(orphans->count(), 1);
    QVERIFY2(orphans->item(0)->text().contains("6.97"), qPrintable(orphans->item(0)->text()));
    orphans->setCurrentRow(0);
    window->findChild<QTableView *>(QStringLiteral("records"))->selectRow(0);
    window->findChild<QPushButton *>(QStringLiteral("reattach"))->click();
    QCOMPARE(cell(*window, 0, history::Column::Status), "Back won");
    QTRY_COMPARE(orphans->count(), 0);
    QCOMPARE(totalsTabs->indexOf(orphans->parentWidget()), -1); // the tab goes with the last of them
    QVERIFY(!text(*window, "status").contains("no longer archived"));
    QCOMPARE(m_ui->messages, QStringList());
}

void TestHistoryWindow::exportNeverReplacesKeptFiles_data()
{
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QString>("spelled"); // the name chosen in the save dialog, in the data folder called *

    QTest::newRow("the ledger") << "vantrelLedger.csv"
                                << "vantrelLedger.csv";
    QTest::newRow("the archive, by a roundabout way") << "vantrelLog.txt"
                                                      << "../*/./vantrelLog.txt";
    QTest::newRow("the offers file") << "vantrelOffers.csv"
                                     << "vantrelOffers.csv";
    QTest::newRow("the settings, before they exist") << "vantrelOffers.ini"
                                                     << "vantrelOffers.ini";
}

void TestHistoryWindow::exportNeverReplacesKeptFiles()
{
    QFETCH(QString, kept);
    QFETCH(QString, spelled);
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    m_ui->writeBytes(QStringLiteral("vantrelLedger.csv"), store::ledgerHeader() + "\r\n");
    m_ui->writeBytes(QStringLiteral("vantrelOffers.csv"), "1,2026-12-06T10:00:00,refund,Race,Coral,20,,,,\r\n");
    const QByteArray before = QFile::exists(m_ui->path(kept)) ? m_ui->bytes(kept) : QByteArray();
    const auto window = openHistory();
    spelled.replace(QLatin1Char('*'), QFileInfo(m_ui->folder()).fileName());
    window->setChooseSavePath([&] { return m_ui->folder() + "/" + spelled; });
    window->findChild<QPushButton *>(QStringLiteral("saveAsCsv"))->click();
    QCOMPARE(m_ui->messages,
        QStringList {QDir::toNativeSeparators(m_ui->path(kept))
            + " is one of the files Vantrel keeps your bets and settings in; nothing was saved. Choose another name."});
    QCOMPARE(QFile::exists(m_ui->path(kept)) ? m_ui->bytes(kept) : QByteArray(), before);
    // Any other name is written.
    m_ui->messages.clear();
    window->setChooseSavePath([&] { return m_ui->folder() + "/bets.csv"; });
    window->findChild<QPushButton *>(QStringLiteral("saveAsCsv"))->click();
    QTRY_VERIFY(QFile::exists(m_ui->path(QStringLiteral("bets.csv"))));
    QVERIFY(m_ui->bytes(QStringLiteral("bets.csv")).startsWith("\xEF\xBB\xBF"));
    QCOMPARE(m_ui->messages, QStringList());
}

// A message that the history and the offer calculators show without waiting for it stands above
// the program until its OK is pressed, though the window that showed it closes meanwhile (a ledger
// write that failed as the window closed).
void TestHistoryWindow::messageOutlivesItsWindow()
{
    auto window = std::make_unique<QWidget>();
    window->show();
    ui::openMessage(window.get(), {}, QStringLiteral("Error: nothing was recorded"));
    const QPointer box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Error: nothing was recorded"));
    QCOMPARE(box->windowTitle(), QStringLiteral("Vantrel"));
    QCOMPARE(box->windowHandle()->transientParent(), window->windowHandle()); // kept above it
    window.reset();
    QVERIFY(box && box->isVisible());
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!box);
}

// A question does not hold the window in a loop of its own: the files are read afresh while it is
// up (a record inserted at the start renumbers every record), and the answer goes to the bet that
// was chosen, looked up again, not to the record that now has its old number.
void TestHistoryWindow::answerLooksTheBetsUpAgain()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), threeBets);
    const auto window = openHistory();
    QCOMPARE(cell(*window, 1, history::Column::Event), "Leeds free bet");
    choose(*window, {1}, "Exchange");
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    QVERIFY(dialog);

    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"),
        "30/10/2026 10:00:00,Inserted by hand,Coral,5,0,2,2.1,5.28,4.76,0,5,10.00,0.28,0.28,90.00\r\n" + threeBets);
    QTRY_COMPARE(rows(*window), 4);
    dialog->findChild<QLineEdit *>()->setText(QStringLiteral("Smarkets"));
    QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok), Qt::LeftButton);

    QTRY_COMPARE(cell(*window, 1, history::Column::Exchange), "Smarkets");
    QCOMPARE(cell(*window, 1, history::Column::Event), "Leeds free bet");
    for (const int other : {0, 2, 3})
        QCOMPARE(cell(*window, other, history::Column::Exchange), "");
}

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
