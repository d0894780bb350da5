// Exchange statements in the bet-history window: imported with "Import statement..." from the
// Accounts tab, shown in the Statements tab with what each line matched, and what a line proves
// recorded with "Settle as proposed": the two worked examples (a lay that won 23.78, and two lays
// netted to -19.00 in one market) and a deposit the ledger lacked.
#include <QDir>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

#include "historywindowtest.h"
#include "store/datafolder.h"
#include "store/statementfolder.h"

namespace {

const QByteArray qualifier
    = "13/12/2026 17:00:00,Liverpool v Everton,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50,-1.22,-1.22,100\r\n";
const QByteArray freeBet
    = "13/12/2026 17:05:00,Liverpool v Everton,Bet365,10,10,4,4.2,23.10,7.22,0,4.75,30,6.9,6.88,100\r\n";
const QByteArray market = "Football / Premier League / Liverpool v Everton : Match Odds";

QByteArray profitAndLoss(const char *amount)
{
    return "Market,Start time,Settled date,Profit/Loss (GBP)\n" + market + ",13-Dec-26 17:30,13-Dec-26 19:25," + amount
        + '\n';
}

} // namespace

class TestStatementsWindow : public HistoryWindowTest
{
    Q_OBJECT

private slots:
    void settleAsProposed_data();
    void settleAsProposed();
    void depositTheLedgerLacksIsRecorded();
    void fileThatIsNoStatementIsNotImported();
    void statementCopiedIntoTheFolderIsRead();
    void eitherWayIsChosen();
    void refundChosenAsAFreeBetAsksItsExpiry();
    void filesDroppedOnTheWindowAreImported();
    void fileWhereTheFolderShouldBeIsNamed();

private:
    // Opens the history on the archive and imports the statement from the Accounts tab, naming the
    // account its format is for as the answer says when asked.
    std::unique_ptr<history::HistoryWindow> importInto(
        const QByteArray &archive, const QByteArray &statement, const QString &account = QStringLiteral("Betfair"));
    static QTableView *lines(history::HistoryWindow &window);
    // Chooses the first line and presses "Settle as proposed", saying yes.
    static void settleFirstLine(history::HistoryWindow &window);

    QStringList m_asked;
    QString m_way; // the answer to which way the bets ended
};

std::unique_ptr<history::HistoryWindow> TestStatementsWindow::importInto(
    const QByteArray &archive, const QByteArray &statement, const QString &account)
{
    m_asked.clear();
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), archive);
    const QString path = m_ui->folder() + QStringLiteral("/statement.csv");
    writeFileBytes(path, statement);
    std::unique_ptr<history::HistoryWindow> window = openHistory();
    window->setChooseStatements([path] { return QStringList {path}; });
    window->setConfirm([](const QString &) { return true; });
    window->setAsk([this, account](const QString &question, const QString &) {
        m_asked << question;
        if (question.startsWith(QLatin1String("The free bet's expiry")))
            return std::optional(QStringLiteral("2026-12-20"));
        return std::optional(question.startsWith(QLatin1String("Which way")) ? m_way : account);
    });
    window->findChild<QPushButton *>(QStringLiteral("importStatementFromAccounts"))->click();
    const auto *tabs = window->findChild<QTabWidget *>(QStringLiteral("totalsTabs"));
    if (!QTest::qWaitFor([tabs] { return tabs->tabText(tabs->currentIndex()) == QLatin1String("Statements"); }))
        qWarning("the Statements tab is not shown after an import");
    return window;
}

QTableView *TestStatementsWindow::lines(history::HistoryWindow &window)
{
    return window.findChild<QTableView *>(QStringLiteral("Statement lines"));
}

void TestStatementsWindow::settleFirstLine(history::HistoryWindow &window)
{
    QTableView *table = lines(window);
    table->setCurrentIndex(table->model()->index(0, 0));
    window.findChild<QPushButton *>(QStringLiteral("settleAsProposed"))->click();
    QTRY_VERIFY(!window.findChild<QPushButton *>(QStringLiteral("settleAsProposed"))->isEnabled());
}

void TestStatementsWindow::settleAsProposed_data()
{
    QTest::addColumn<QByteArray>("archive");
    QTest::addColumn<QByteArray>("amount");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QList<QByteArray>>("settles"); // what each settle line holds after its record
    QTest::addColumn<QString>("reconciled");

    QTest::newRow("a lay that won 23.78") << qualifier << QByteArray("23.78") << "Proposed: Lay won"
                                          << QList<QByteArray> {",profitIfLayWins,-1.22,Betfair," + market} << "Agrees";
    QTest::newRow("two lays netted to -19.00")
        << qualifier + freeBet << QByteArray("(19.00)") << "Proposed: Back won, Lay won, commission netting 0.34"
        << QList<QByteArray> {",profitIfBackWins,-1.22,Betfair," + market, ",profitIfLayWins,6.88,Betfair," + market,
               ",adjust,,,0.34,Betfair," + market + ','}
        << "Agrees, commission netting 0.34";
}

void TestStatementsWindow::settleAsProposed()
{
    QFETCH(QByteArray, archive);
    QFETCH(QByteArray, amount);
    QFETCH(QString, proposed);
    QFETCH(QList<QByteArray>, settles);
    QFETCH(QString, reconciled);
    std::unique_ptr<history::HistoryWindow> window = importInto(archive, profitAndLoss(amount));
    QTableView *table = lines(*window);
    QTRY_COMPARE(table->model()->rowCount(), 1);
    QCOMPARE(shown(table, 0, 5),
        QStringLiteral("Liverpool v Everton")
            + (settles.size() > 1 ? QStringLiteral("; Liverpool v Everton") : QString()));
    QCOMPARE(shown(table, 0, 6), proposed);

    settleFirstLine(*window);
    const QByteArray ledger = fileBytes(store::ledgerPath(m_ui->folder()));
    for (const QByteArray &settle : settles)
        QVERIFY2(ledger.contains(settle + "\r\n"), ledger.constData());
    QCOMPARE(ledger.count(",settle,") + ledger.count(",adjust,"), settles.size());
    QTRY_COMPARE(shown(table, 0, 6), reconciled);
}

// The account a format's statements are for is asked at its first import alone, and remembered.
void TestStatementsWindow::depositTheLedgerLacksIsRecorded()
{
    const QByteArray statement
        = "Date,Description,Cash In (GBP),Bonus In (GBP),Cash Out (GBP),Bonus Out (GBP),Cash Balance (GBP)\n"
          "13-Dec-26 10:00:00,Deposit Ref: 3,5.00,--,--,--,45.00\n"
          "12-Dec-26 10:00:00,Deposit Ref: 2,40.00,--,--,--,40.00\n";
    std::unique_ptr<history::HistoryWindow> window = importInto(qualifier, statement, QStringLiteral("My Betfair"));
    QTRY_COMPARE(shown(lines(*window), 0, 6), QStringLiteral("Not in the ledger"));
    settleFirstLine(*window);
    QVERIFY(fileBytes(store::ledgerPath(m_ui->folder())).contains(",deposit,,,40.00,My Betfair,Deposit Ref: 2\r\n"));
    QTRY_COMPARE(shown(lines(*window), 0, 6), QStringLiteral("In the ledger"));
    // Beside the account's 40.00, the statement's 45.00: the deposit of 5.00 not yet recorded explains it.
    const auto *accounts = window->findChild<QTableView *>(QStringLiteral("Accounts"));
    int row = 0;
    while (row < accounts->model()->rowCount() && shown(accounts, row, 0) != QLatin1String("My Betfair"))
        ++row;
    QCOMPARE(shown(accounts, row, 7), QStringLiteral("40.00"));
    QCOMPARE(shown(accounts, row, 9), QStringLiteral("45.00"));
    QCOMPARE(shown(accounts, row, 10), QStringLiteral("5.00"));
    const QModelIndex difference = accounts->model()->index(row, 10);
    QVERIFY(!accounts->model()->data(difference, Qt::ForegroundRole).isValid());
    QVERIFY(accounts->model()
                ->data(difference, Qt::ToolTipRole)
                .toString()
                .endsWith(QLatin1String("Deposit Ref: 3: 5.00")));
    QCOMPARE(m_asked,
        QStringList {"Which of your exchange accounts is the Betfair account statement for? It is asked once."});
    QSignalSpy shownAgain(lines(*window)->model(), &QAbstractItemModel::modelReset);
    window->findChild<QPushButton *>(QStringLiteral("importStatement"))->click();
    QVERIFY(shownAgain.wait());
    QCOMPARE(m_asked.size(), 1);
    QCOMPARE(fileBytes(store::statementsFolder(m_ui->folder()) + QStringLiteral("/accounts.ini")),
        QByteArray("[Accounts]\r\nbetfair-account=My Betfair\r\n"));
}

void TestStatementsWindow::fileThatIsNoStatementIsNotImported()
{
    std::unique_ptr<history::HistoryWindow> window = importInto(qualifier, "Date,Amount\n01/12/2026,5\n");
    QTRY_COMPARE(m_ui->messages.size(), 1);
    QVERIFY2(m_ui->messages.front().startsWith(QLatin1String("1 file was not imported; nothing was changed for it:")),
        qPrintable(m_ui->messages.front()));
    QVERIFY(m_ui->messages.front().endsWith(QLatin1String("its first line is \"Date,Amount\"")));
    QVERIFY(!QFileInfo::exists(store::statementsFolder(m_ui->folder())));
    QVERIFY(!QFileInfo::exists(store::ledgerPath(m_ui->folder())));
}

// The statements folder is followed: a statement copied there is read, its unreadable line named;
// one deleted goes.
void TestStatementsWindow::statementCopiedIntoTheFolderIsRead()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), qualifier);
    std::unique_ptr<history::HistoryWindow> window = openHistory();
    QDir(m_ui->folder()).mkdir(QStringLiteral("statements"));
    const QString copy = store::statementsFolder(m_ui->folder()) + QStringLiteral("/by-hand.csv");
    writeFileBytes(copy, profitAndLoss("23.78") + "a line cut short,01-Dec\n");
    QTRY_COMPARE(lines(*window)->model()->rowCount(), 1);
    QCOMPARE(shown(lines(*window), 0, 6), QStringLiteral("Proposed: Lay won"));
    QCOMPARE(window->findChild<QLabel *>(QStringLiteral("statementProblems"))->text(),
        QStringLiteral("by-hand.csv: 1 line could not be read: line 3: a line cut short,01-Dec"));
    QVERIFY(QFile::remove(copy));
    QTRY_COMPARE(lines(*window)->model()->rowCount(), 0);
}

// Two like lays in one market bring -2.44 whichever won: the user says which.
void TestStatementsWindow::eitherWayIsChosen()
{
    m_way = QStringLiteral("Back won, Lay won");
    std::unique_ptr<history::HistoryWindow> window = importInto(qualifier + qualifier, profitAndLoss("-2.44"));
    QTRY_COMPARE(shown(lines(*window), 0, 6), QStringLiteral("2 ways fit: choose one"));
    settleFirstLine(*window);
    QCOMPARE(m_asked.last(), QStringLiteral("Which way did the bets end? Each brings -2.44."));
    const QByteArray ledger = fileBytes(store::ledgerPath(m_ui->folder()));
    const qsizetype backWon = ledger.indexOf(",profitIfBackWins,");
    QVERIFY(backWon > 0 && ledger.indexOf(",profitIfLayWins,") > backWon);
    QTRY_COMPARE(shown(lines(*window), 0, 6), QStringLiteral("Agrees"));
}

// A refund's lay that won brings the same at the exchange whether the refund came as cash or as a
// free bet: chosen as a free bet, its expiry is asked and the free bet recorded with the settle.
void TestStatementsWindow::refundChosenAsAFreeBetAsksItsExpiry()
{
    archiveRefundOffer();
    m_way = QStringLiteral("Lay won, refund as a free bet");
    const QByteArray statement = "Market,Start time,Settled date,Profit/Loss (GBP)\n"
                                 "Horse Racing / Ascot 3:35 : Win,04-Dec-26 18:30,04-Dec-26 18:40,16.08\n";
    std::unique_ptr<history::HistoryWindow> window = importInto({}, statement);
    QTRY_COMPARE(shown(lines(*window), 0, 6), QStringLiteral("2 ways fit: choose one"));
    settleFirstLine(*window);
    const QByteArray ledger = fileBytes(store::ledgerPath(m_ui->folder()));
    QVERIFY2(ledger.contains(",layWonRefundAsFreeBet,-3.92,Betfair,Horse Racing / Ascot 3:35 : Win\r\n"),
        ledger.constData());
    QVERIFY2(ledger.contains(",snr,20.00,Coral,refund,2026-12-20\r\n"), ledger.constData());
    QTRY_COMPARE(shown(lines(*window), 0, 6), QStringLiteral("Agrees"));
}

void TestStatementsWindow::filesDroppedOnTheWindowAreImported()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"), qualifier);
    const QString path = m_ui->folder() + QStringLiteral("/dropped.csv");
    writeFileBytes(path, profitAndLoss("23.78"));
    std::unique_ptr<history::HistoryWindow> window = openHistory();
    window->setAsk([](const QString &, const QString &initial) { return std::optional(initial); });
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    QTRY_COMPARE(shown(lines(*window), 0, 6), QStringLiteral("Proposed: Lay won"));
}

// A file where the statements folder should be is named, in the tab and in the message of an
// import, and left as it is.
void TestStatementsWindow::fileWhereTheFolderShouldBeIsNamed()
{
    m_ui->writeBytes(QStringLiteral("statements"), "mine");
    std::unique_ptr<history::HistoryWindow> window = importInto(qualifier, profitAndLoss("23.78"));
    QTRY_COMPARE(m_ui->messages.size(), 1);
    QVERIFY2(
        m_ui->messages.front().contains(QLatin1String("is a file, not a folder")), qPrintable(m_ui->messages.front()));
    QTRY_VERIFY(window->findChild<QWidget *>(QStringLiteral("statements"))
                    ->findChild<QLabel *>(QStringLiteral("statementProblems"))
                    ->text()
                    .contains(QLatin1String("is a file, not a folder")));
    QCOMPARE(fileBytes(store::statementsFolder(m_ui->folder())), QByteArray("mine"));
}

QTEST_MAIN(TestStatementsWindow)
#include "tst_statementswindow.moc"
