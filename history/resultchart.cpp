#include "history/resultchart.h"

#include <algorithm>

#include <QDate>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>

#include "calc/numbertext.h"

namespace history {

namespace {

QString dateText(qint64 when)
{
    return QLocale().toString(QDate::fromJulianDay(when / 86400), QLocale::ShortFormat);
}

} // namespace

ResultChart::ResultChart(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("resultChart"));
    setAccessibleName(QStringLiteral("Cumulative result"));
    setPoints({});
}

void ResultChart::setPoints(std::vector<std::pair<qint64, double>> points)
{
    m_points = std::move(points);
    m_low = 0;
    m_high = 0;
    for (const auto &point : m_points) {
        m_low = std::min(m_low, point.second);
        m_high = std::max(m_high, point.second);
    }
    const QLocale locale;
    if (m_points.empty()) {
        setAccessibleDescription(QStringLiteral("No dated bets with a result to chart."));
    } else {
        setAccessibleDescription(
            QStringLiteral("Cumulative result of %1 bets from %2 to %3: ends at %4, lowest %5, "
                           "highest %6.")
                .arg(locale.toString(qulonglong(m_points.size())), dateText(m_points.front().first),
                    dateText(m_points.back().first), calc::formatFigure(m_points.back().second, locale),
                    calc::formatFigure(m_low, locale), calc::formatFigure(m_high, locale)));
    }
    update();
}

void ResultChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    if (m_points.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, accessibleDescription());
        return;
    }
    const QLocale locale;
    const QFontMetrics metrics = fontMetrics();
    const int left = 8
        + std::max(metrics.horizontalAdvance(calc::formatFigure(m_high, locale)),
            metrics.horizontalAdvance(calc::formatFigure(m_low, locale)));
    const QRectF plot(left, 8, width() - left - 12, height() - 16 - 2 * metrics.height());
    const double span = m_high > m_low ? m_high - m_low : 1;
    const qint64 first = m_points.front().first;
    const double time = std::max<qint64>(m_points.back().first - first, 1);
    const auto x = [&](qint64 when) { return plot.left() + plot.width() * double(when - first) / time; };
    const auto y = [&](double value) { return plot.bottom() - plot.height() * (value - m_low) / span; };

    painter.drawText(QRectF(0, y(m_high) - metrics.height() / 2.0, left - 4, metrics.height()), Qt::AlignRight,
        calc::formatFigure(m_high, locale));
    painter.drawText(QRectF(0, y(m_low) - metrics.height() / 2.0, left - 4, metrics.height()), Qt::AlignRight,
        calc::formatFigure(m_low, locale));
    if (y(0) - y(m_high) > metrics.height() && y(m_low) - y(0) > metrics.height())
        painter.drawText(QRectF(0, y(0) - metrics.height() / 2.0, left - 4, metrics.height()), Qt::AlignRight,
            calc::formatFigure(0, locale));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 4, plot.width(), metrics.height()), Qt::AlignLeft,
        dateText(m_points.front().first));
    painter.drawText(QRectF(plot.left(), plot.bottom() + 4, plot.width(), metrics.height()), Qt::AlignRight,
        dateText(m_points.back().first));
    painter.setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DashLine));
    painter.drawLine(QPointF(plot.left(), y(0)), QPointF(plot.right(), y(0)));

    // One point per pixel column is all a screen shows, however many bets there are.
    QPainterPath line;
    line.moveTo(x(first), y(m_points.front().second));
    int lastColumn = int(x(first));
    for (const auto &[when, value] : m_points) {
        const int column = int(x(when));
        if (column == lastColumn && &value != &m_points.back().second)
            continue;
        line.lineTo(x(when), y(value));
        lastColumn = column;
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawPath(line);
}

} // namespace history
