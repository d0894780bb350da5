// The base of the bet-history window tests: the window opened on the test's data folder, its
// messages recorded, and the small steps a user takes in it: reading a label, a cell or a totals
// table, choosing from a bet's menu.
#pragma once

#include <memory>

#include <QTableView>

#include "history/historywindow.h"
#include "mainwindowtest.h"

// The text a totals table shows in a cell.
QString shown(const QTableView *table, int row, int column);

class HistoryWindowTest : public MainWindowTest
{
    Q_OBJECT

protected:
    std::unique_ptr<history::HistoryWindow> openHistory() const;
    // Archives the refund offer of the guides' example as the offer calculators do: 20 at 5.0 at
    // Coral on "Ascot 3:35", laid at 5.2 with 2 % commission, a refund of 20 kept at 75 %.
    void archiveRefundOffer() const;
    static void waitForLoad(history::HistoryWindow &window);
    static QString text(const history::HistoryWindow &window, const char *label);
    static int rows(const history::HistoryWindow &window);
    static QStringList items(const history::HistoryWindow &window, const char *comboBox);
    static QString cell(const history::HistoryWindow &window, int row, history::Column column);
    // Opens the menu of the rows and finds, or chooses, the action of that text, in a submenu after a "/".
    static QAction *menuAction(history::HistoryWindow &window, const QList<int> &rows, const QString &path);
    static void choose(history::HistoryWindow &window, const QList<int> &rows, const QString &path);
    // Closes the bet's menu that menuAction left open.
    static void closeBetMenu(history::HistoryWindow &window);
};
