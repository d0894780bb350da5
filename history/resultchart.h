// The running result over time, drawn with QPainter: a line (a point for a single bet), round
// values with gridlines, the months along the time axis, and the date and running result of the
// nearest bet as a tooltip. Its accessible description says the same in words.
#pragma once

#include <utility>
#include <vector>

#include "history/chartaxis.h"

namespace history {

class ResultChart final : public Chart
{
    Q_OBJECT

public:
    explicit ResultChart(QWidget *parent = nullptr);

    // (when, running result) in time order; when as store::momentOf counts.
    void setPoints(std::vector<std::pair<qint64, double>> points);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    double x(const QRectF &plot, qint64 when) const;

    std::vector<std::pair<qint64, double>> m_points;
};

} // namespace history
