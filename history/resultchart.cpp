#include "history/resultchart.h"

#include <algorithm>

#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "calc/numbertext.h"
#include "store/archivereader.h"

namespace history {

namespace {

QString dateText(qint64 when)
{
    return QLocale().toString(store::dayOf(when), QLocale::ShortFormat);
}

} // namespace

ResultChart::ResultChart(QWidget *parent)
    : Chart(parent)
{
    setObjectName(QStringLiteral("resultChart"));
    setAccessibleName(QStringLiteral("Running result"));
    setPoints({});
}

void ResultChart::setPoints(std::vector<std::pair<qint64, double>> points)
{
    m_points = std::move(points);
    clearRange();
    double low = 0;
    double high = 0;
    for (const auto &point : m_points) {
        takeInRange(point.second);
        low = std::min(low, point.second);
        high = std::max(high, point.second);
    }
    const QLocale locale;
    if (m_points.empty()) {
        setAccessibleDescription(QStringLiteral("No dated bets with a result to chart."));
    } else {
        setAccessibleDescription(
            QStringLiteral("Running result of %1 %2 from %3 to %4: ends at %5, lowest %6, highest %7.")
                .arg(locale.toString(qulonglong(m_points.size())), m_points.size() == 1 ? "bet" : "bets",
                    dateText(m_points.front().first), dateText(m_points.back().first),
                    calc::formatFigure(m_points.back().second, locale), calc::formatFigure(low, locale),
                    calc::formatFigure(high, locale)));
    }
    update();
}

double ResultChart::x(const QRectF &plot, qint64 when) const
{
    // The time axis runs from the first day's start to the last day's end, so both ends show.
    const qint64 first = store::momentOf(store::dayOf(m_points.front().first));
    const qint64 last = store::momentOf(store::dayOf(m_points.back().first).addDays(1));
    return plot.left() + plot.width() * double(when - first) / double(last - first);
}

bool ResultChart::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip || m_points.empty())
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QRectF plot = plotArea();
    const auto nearest = std::min_element(m_points.begin(), m_points.end(), [&](const auto &a, const auto &b) {
        return std::abs(x(plot, a.first) - help->pos().x()) < std::abs(x(plot, b.first) - help->pos().x());
    });
    QToolTip::showText(help->globalPos(),
        QStringLiteral("%1: %2").arg(dateText(nearest->first), calc::formatFigure(nearest->second, QLocale())), this);
    return true;
}

void ResultChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter, m_points.empty());
    if (m_points.empty())
        return;
    const QRectF plot = plotArea();
    const ValueAxis axis = this->axis();
    axis.draw(painter, *this, plot);

    // A tick at each month's start; labels where there is room for them.
    const int textHeight = fontMetrics().height();
    double labelEnd = plot.left() - 1;
    for (const QDate month : monthStarts(store::dayOf(m_points.front().first), store::dayOf(m_points.back().first))) {
        const double at = std::max(plot.left(), x(plot, store::momentOf(month)));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawLine(QPointF(at, plot.bottom()), QPointF(at, plot.bottom() + 4));
        const QString label = shortMonth(month);
        const int labelWidth = fontMetrics().horizontalAdvance(label);
        if (at > labelEnd && at + 2 + labelWidth <= width()) {
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(QPointF(at + 2, plot.bottom() + 4 + fontMetrics().ascent()), label);
            labelEnd = at + labelWidth + textHeight;
        }
    }

    painter.setRenderHint(QPainter::Antialiasing);
    const QColor line = palette().color(QPalette::Highlight);
    // One point per pixel column is all a screen shows, however many bets there are.
    QPainterPath path;
    path.moveTo(x(plot, m_points.front().first), axis.y(plot, m_points.front().second));
    int lastColumn = int(x(plot, m_points.front().first));
    for (const auto &[when, value] : m_points) {
        const int column = int(x(plot, when));
        if (column == lastColumn && &value != &m_points.back().second)
            continue;
        path.lineTo(x(plot, when), axis.y(plot, value));
        lastColumn = column;
    }
    painter.setPen(QPen(line, 2));
    painter.drawPath(path);
    if (m_points.size() <= 60) {
        painter.setBrush(line);
        for (const auto &[when, value] : m_points)
            painter.drawEllipse(QPointF(x(plot, when), axis.y(plot, value)), 3, 3);
    }
}

} // namespace history
