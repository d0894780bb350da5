// Lines over time, drawn with QPainter: round values with gridlines, the months along the time axis,
// a legend where there is more than one line, and the date and values of the nearest point as a
// tooltip. Its accessible description says the same in words. The running result is the money
// settled by the day it came in beside what the bets expected by the day they were made; the
// settled bets' actual results beside what they locked in are two more, by the day they settled.
#pragma once

#include <vector>

#include <QColor>

#include "history/chartaxis.h"
#include "history/totalspage.h"

namespace history {

class LineChart : public Chart
{
    Q_OBJECT

public:
    struct Line
    {
        QString name;
        QColor colour;
        std::vector<double> values; // one at each time
    };

    // times in time order, as text::momentOf counts them; labels, where given, name what each
    // point is in its tooltip.
    void setLines(std::vector<qint64> times, std::vector<Line> lines, QStringList labels = {});

protected:
    // nothing: what the chart says with no point to draw.
    LineChart(const QString &name, const QString &nothing, QWidget *parent);

    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    double x(const QRectF &plot, qint64 when) const;
    QString pointText(std::size_t point) const;
    void paintMonths(QPainter &painter, const QRectF &plot) const;
    void paintLegend(QPainter &painter, const QRectF &plot) const;

    QString m_nothing;
    std::vector<qint64> m_times;
    std::vector<Line> m_lines;
    QStringList m_labels;
};

// The running result over time: settled, and expected (dimmed).
class ResultChart final : public LineChart, public TotalsPage
{
    Q_OBJECT

public:
    explicit ResultChart(QWidget *parent = nullptr);
    void showTotals(const SharedTotals &totals, const QStringList &bookmakers) override;
};

// The settled bets' running actual result beside what those same bets locked in: luck apart from
// method.
class ExpectedChart final : public LineChart, public TotalsPage
{
    Q_OBJECT

public:
    explicit ExpectedChart(QWidget *parent = nullptr);
    void showTotals(const SharedTotals &totals, const QStringList &bookmakers) override;
};

} // namespace history
