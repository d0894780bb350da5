// The result of each month as a bar, above or below zero, with round values and gridlines; the
// month and its result as a tooltip, and in words as the accessible description.
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

    // (first day of the month, result), in time order.
    void setMonths(std::vector<std::pair<QDate, double>> months);
    void showTotals(const SharedTotals &totals, const QStringList &bookmakers) override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF bar(const QRectF &plot, std::size_t month) const;

    std::vector<std::pair<QDate, double>> m_months;
};

} // namespace history
