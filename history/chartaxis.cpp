#include "history/chartaxis.h"

#include <cmath>

#include <QLocale>
#include <QPainter>
#include <QWidget>

#include "calc/numbertext.h"

namespace history {

std::vector<double> valueTicks(double low, double high)
{
    if (!std::isfinite(low) || !std::isfinite(high))
        return {0.0, 1.0};
    if (!(high > low)) {
        low -= 1;
        high += 1;
    }
    const double magnitude = std::pow(10.0, std::floor(std::log10((high - low) / 4)));
    for (const double multiple : {1.0, 2.0, 5.0, 10.0, 20.0, 50.0}) {
        const double step = multiple * magnitude;
        const double first = std::floor(low / step) * step;
        const double last = std::ceil(high / step) * step;
        if ((last - first) / step <= 4.5) {
            std::vector<double> ticks;
            for (double tick = first; tick <= last + step / 2; tick += step)
                ticks.push_back(std::fabs(tick) < step / 1e6 ? 0.0 : tick);
            return ticks;
        }
    }
    return {low, high};
}

ValueAxis::ValueAxis(double low, double high)
    : m_ticks(valueTicks(low, high))
{ }

int ValueAxis::labelWidth(const QWidget &widget) const
{
    int width = 0;
    for (const double tick : m_ticks)
        width = std::max(width, widget.fontMetrics().horizontalAdvance(calc::formatFigure(tick, QLocale())));
    return width + 8;
}

double ValueAxis::y(const QRectF &plot, double value) const
{
    return plot.bottom() - plot.height() * (value - low()) / (high() - low());
}

void ValueAxis::draw(QPainter &painter, const QWidget &widget, const QRectF &plot) const
{
    const QPalette &palette = widget.palette();
    const int textHeight = widget.fontMetrics().height();
    for (const double tick : m_ticks) {
        const double at = y(plot, tick);
        painter.setPen(QPen(palette.color(tick == 0 ? QPalette::Dark : QPalette::Midlight), 1,
            tick == 0 ? Qt::DashLine : Qt::SolidLine));
        painter.drawLine(QPointF(plot.left(), at), QPointF(plot.right(), at));
        painter.setPen(palette.color(QPalette::Text));
        painter.drawText(QRectF(0, at - textHeight / 2.0, plot.left() - 4, textHeight),
            Qt::AlignRight | Qt::AlignVCenter, calc::formatFigure(tick, QLocale()));
    }
}

void Chart::takeInRange(double value)
{
    m_low = std::min(m_low, value);
    m_high = std::max(m_high, value);
}

QRectF Chart::plotArea() const
{
    const int textHeight = fontMetrics().height();
    const int left = axis().labelWidth(*this);
    // Room for half a label above the top value and for the month labels below.
    return QRectF(left, textHeight, width() - left - textHeight, height() - 3 * textHeight);
}

void Chart::paintBackground(QPainter &painter, bool nothingToChart) const
{
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    if (nothingToChart)
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, accessibleDescription());
}

std::vector<QDate> monthStarts(QDate first, QDate last)
{
    std::vector<QDate> months;
    for (QDate month(first.year(), first.month(), 1); month <= last; month = month.addMonths(1))
        months.push_back(month);
    return months;
}

QString shortMonth(QDate month)
{
    return QLocale().toString(month, QStringLiteral("MMM yyyy"));
}

QString longMonth(QDate month)
{
    return QLocale().toString(month, QStringLiteral("MMMM yyyy"));
}

} // namespace history
