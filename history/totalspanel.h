// The totals under the history's table: a line of overall sums, and tabs with the sums per
// bookmaker, per month and per kind of bet, the running result and the result per month, so that
// each has the panel's whole width.
#pragma once

#include <QWidget>

class QLabel;
class QTabWidget;
class QTableWidget;

namespace history {

class MonthChart;
class ResultChart;
struct Totals;

class TotalsPanel final : public QWidget
{
    Q_OBJECT

public:
    explicit TotalsPanel(QWidget *parent = nullptr);

    // bookmakers names the bookmakers that the totals count by index.
    void showTotals(const Totals &totals, const QStringList &bookmakers);
    // While the totals are being worked out.
    void showCounting();
    // Where Tab enters the panel.
    QWidget *firstFocus() const;

private:
    QLabel *m_summary = nullptr;
    QTabWidget *m_tabs = nullptr;
    QTableWidget *m_byBookmaker = nullptr;
    QTableWidget *m_byMonth = nullptr;
    QTableWidget *m_byKind = nullptr;
    ResultChart *m_running = nullptr;
    MonthChart *m_perMonth = nullptr;
};

// "1 bet", "2 bets": the count in the locale's digits and the noun that goes with it.
QString counted(qint64 count, const QString &one, const QString &many);

} // namespace history
