// The bet-history window on a small archive: its totals and filters, the way the calculator opens
// it, and records the calculator appends while it is open.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>

#include "history/historywindow.h"
#include "mainwindowtest.h"

class TestHistoryWindow : public MainWindowTest
{
    Q_OBJECT

private slots:
    void totalsAndFilters();
    void emptyArchiveExplained();
    void opensFromArchiveButtonAndFollowsAppends();

private:
    static void waitForLoad(history::HistoryWindow &window);
    static QString summary(const history::HistoryWindow &window);
    static int rows(const history::HistoryWindow &window);
};

void TestHistoryWindow::waitForLoad(history::HistoryWindow &window)
{
    QSignalSpy loaded(&window, &history::HistoryWindow::loaded);
    if (window.isLoading())
        QVERIFY(loaded.wait());
}

QString TestHistoryWindow::summary(const history::HistoryWindow &window)
{
    return window.findChild<QLabel *>(QStringLiteral("summary"))->text();
}

int TestHistoryWindow::rows(const history::HistoryWindow &window)
{
    return window.findChild<QTableView *>(QStringLiteral("records"))->model()->rowCount();
}

void TestHistoryWindow::totalsAndFilters()
{
    m_ui->writeBytes(QStringLiteral("vantrelLog.txt"),
        "01/11/2026 19:45:02,Arsenal v Chelsea,Coral,25,0,2,2.05,26.22,24.97,0,4.75,50.00,23.78,23.78,95.13\r\n"
        "old|=@=|record\r\n"
        "08/11/2026 15:00:10,Leeds free bet,Coral,200,50,6.4,6.2,1039.58,199.92,0,4.75,1230.00,190.42,190.42,95.21\r\n"
        "03/12/2026 12:30:00,Cheltenham,SkyBet,10,10,5,5.5,33.03,7.34,0,5,40.00,6.97,6.97,69.72\r\n");
    history::HistoryWindow window(m_ui->folder());
    window.show();
    waitForLoad(window);
    QCOMPARE(rows(window), 3);
    QCOMPARE(summary(window), QStringLiteral("3 bets, 235.00 staked, result 46.17, average closeness 86.69 %"));
    const QString status = window.findChild<QLabel *>(QStringLiteral("status"))->text();
    QVERIFY2(status.contains(QStringLiteral("1 line could not be read")) && status.contains(QStringLiteral("line 2")),
        qPrintable(status));
    auto *byMonth = window.findChild<QTableWidget *>(QStringLiteral("Per month"));
    QCOMPARE(byMonth->rowCount(), 2);
    QCOMPARE(byMonth->item(0, 3)->text(), QStringLiteral("39.20")); // November: -1.22 + 40.42

    auto *bookmaker = window.findChild<QComboBox *>(QStringLiteral("bookmakerFilter"));
    bookmaker->setCurrentIndex(bookmaker->findText(QStringLiteral("Coral")));
    QCOMPARE(summary(window), QStringLiteral("2 bets, 225.00 staked, result 39.20, average closeness 95.17 %"));
    QTest::keyClicks(window.findChild<QLineEdit *>(QStringLiteral("eventSearch")), QStringLiteral("FREE"));
    QTRY_COMPARE(rows(window), 1);
    QCOMPARE(summary(window), QStringLiteral("1 bet, 200.00 staked, result 40.42, average closeness 95.21 %"));
}

void TestHistoryWindow::emptyArchiveExplained()
{
    history::HistoryWindow window(m_ui->folder());
    waitForLoad(window);
    QCOMPARE(rows(window), 0);
    QVERIFY(
        window.findChild<QLabel *>(QStringLiteral("status"))->text().startsWith(QStringLiteral("No bets archived")));
    QCOMPARE(m_ui->messages, QStringList());
}

void TestHistoryWindow::opensFromArchiveButtonAndFollowsAppends()
{
    m_ui->press(QStringLiteral("Command1"));
    m_ui->press(QStringLiteral("cmdArchive"));
    auto *archive = m_ui->window->findChild<QPushButton *>(QStringLiteral("cmdArchive"));
    QCOMPARE(archive->contextMenuPolicy(), Qt::ActionsContextMenu);
    archive->findChild<QAction *>(QStringLiteral("showHistory"))->trigger();
    history::HistoryWindow *window = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *shown = qobject_cast<history::HistoryWindow *>(widget); shown && shown->isVisible())
            window = shown;
    }
    QVERIFY(window);
    waitForLoad(*window);
    QCOMPARE(rows(*window), 1);

    m_ui->press(QStringLiteral("cmdArchive")); // the calculator appends while the history is open
    QTRY_COMPARE(rows(*window), 2);
    QCOMPARE(summary(*window), QStringLiteral("2 bets, 400.00 staked, result 80.84, average closeness 95.21 %"));
}

QTEST_MAIN(TestHistoryWindow)
#include "tst_historywindow.moc"
