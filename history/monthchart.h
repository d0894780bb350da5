// Each month as two bars, above or below zero, with round values and gridlines: the money settled
// in it, and beside it, dimmed, what the bets made in it expected. The month and both as a
// tooltip, and in words as the accessible description.
#pragma once

#include <utility>
#include <vector>

#include <QDate>

#include "history/chartaxis.h"
#include "history/totalspage.h"

namespace history {

class MonthChart final : public Chart, public TotalsPage
{
    Q_OBJECT

public:
    explicit MonthChart(QWidget *parent = nullptr);

    struct Month
    {
        QDate first; // its first day
        double settled = 0;
        double expected = 0;
    };
    // In time order.
    void setMonths(std::vector<Month> months);
    void showTotals(const SharedTotals &totals, const QStringList &bookmakers) override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The settled bar at the slot's left, the expected one at its right.
    QRectF bar(const QRectF &plot, std::size_t month, bool expected) const;

    std::vector<Month> m_months;
};

} // namespace history
