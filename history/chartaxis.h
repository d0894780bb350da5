// What the history's two charts share: a value axis of a few round numbers with gridlines, the
// months along the time axis, and a plot area that leaves room for every label.
#pragma once

#include <vector>

#include <QDate>
#include <QRectF>

class QPainter;
class QWidget;

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

// The first days of the months from first to last, for ticks along a time axis.
std::vector<QDate> monthStarts(QDate first, QDate last);

// The label of a month on a time axis, and in words.
QString shortMonth(QDate month);
QString longMonth(QDate month);

} // namespace history
