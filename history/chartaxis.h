// What the history's two charts share: a value axis of a few round numbers with gridlines, the
// months along the time axis, and a plot area that leaves room for every label.
#pragma once

#include <vector>

#include <QDate>
#include <QRectF>
#include <QWidget>

class QPainter;

namespace history {

// Three to five round values (steps of 1, 2 or 5 times a power of ten) that cover low to high.
std::vector<double> valueTicks(double low, double high);

// Maps values to heights in a plot area, and draws the axis.
class ValueAxis
{
public:
    ValueAxis(double low, double high);
    double low() const { return m_ticks.front(); }
    double high() const { return m_ticks.back(); }
    // Room the labels take at the left of the plot.
    int labelWidth(const QWidget &widget) const;
    double y(const QRectF &plot, double value) const;
    // Gridlines and labels, the zero line stronger.
    void draw(QPainter &painter, const QWidget &widget, const QRectF &plot) const;

private:
    std::vector<double> m_ticks;
};

// A chart's widget: the range of values it shows (zero always among them), its plot area, and the
// words it shows instead when there is nothing to chart.
class Chart : public QWidget
{
    Q_OBJECT

public:
    QSize sizeHint() const override { return {480, 220}; }
    QSize minimumSizeHint() const override { return {240, 120}; }

protected:
    using QWidget::QWidget;

    void takeInRange(double value);
    void clearRange() { m_low = m_high = 0; }
    ValueAxis axis() const { return {m_low, m_high}; }
    QRectF plotArea() const;
    // Fills the background, and says the accessible description where there is nothing to chart.
    void paintBackground(QPainter &painter, bool nothingToChart) const;

private:
    double m_low = 0;
    double m_high = 0;
};

// The first days of the months from first to last, for ticks along a time axis.
std::vector<QDate> monthStarts(QDate first, QDate last);

// The label of a month on a time axis, and in words.
QString shortMonth(QDate month);
QString longMonth(QDate month);

} // namespace history
