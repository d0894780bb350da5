#include "history/linechart.h"

#include <algorithm>

#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "calc/numbertext.h"
#include "store/archivereader.h"
#include "tracker/totals.h"

namespace history {

namespace {

QString dateText(qint64 when)
{
    return QLocale().toString(text::dayOf(when), QLocale::ShortFormat);
}

QString money(double value)
{
    return calc::formatFigure(value, QLocale());
}

const QColor dimmed(128, 128, 128);

// Points of one day spread over its hours in their order, so that a day of many bets shows as
// steps rather than one upright line.
void spreadOverTheirDays(std::vector<qint64> &times)
{
    for (std::size_t first = 0; first < times.size();) {
        const qint64 day = times[first] - times[first] % text::secondsPerDay;
        std::size_t end = first;
        while (end < times.size() && times[end] - times[end] % text::secondsPerDay == day)
            ++end;
        const auto count = qint64(end - first);
        for (std::size_t i = first; count > 1 && i < end; ++i)
            times[i] = day + (qint64(i - first) * 2 + 1) * text::secondsPerDay / (2 * count);
        first = end;
    }
}

} // namespace

LineChart::LineChart(const QString &name, const QString &nothing, QWidget *parent)
    : Chart(parent)
    , m_nothing(nothing)
{
    setAccessibleName(name);
    setLines({}, {});
}

void LineChart::setLines(std::vector<qint64> times, std::vector<Line> lines, QStringList labels)
{
    m_times = std::move(times);
    m_lines = std::move(lines);
    m_labels = std::move(labels);
    clearRange();
    QStringList words;
    for (const Line &line : m_lines) {
        if (line.values.empty())
            continue;
        for (const double value : line.values)
            takeInRange(value);
        const auto [low, high] = std::minmax_element(line.values.begin(), line.values.end());
        words << QStringLiteral("%1 ends at %2, lowest %3, highest %4")
                     .arg(line.name, money(line.values.back()), money(*low), money(*high));
    }
    if (m_times.empty())
        setAccessibleDescription(m_nothing);
    else
        setAccessibleDescription(
            QStringLiteral("From %1 to %2: %3.")
                .arg(dateText(m_times.front()), dateText(m_times.back()), words.join(QLatin1String("; "))));
    update();
}

double LineChart::x(const QRectF &plot, qint64 when) const
{
    // The time axis runs from the first day's start to the last day's end, so both ends show.
    const qint64 first = text::momentOf(text::dayOf(m_times.front()));
    const qint64 last = text::momentOf(text::dayOf(m_times.back()).addDays(1));
    return plot.left() + plot.width() * double(when - first) / double(last - first);
}

QString LineChart::pointText(std::size_t point) const
{
    QStringList values;
    for (const Line &line : m_lines)
        values << (m_lines.size() > 1 ? line.name + QLatin1String(" ") : QString()) + money(line.values[point]);
    const QString label
        = qsizetype(point) < m_labels.size() ? QLatin1String(" ") + m_labels[qsizetype(point)] : QString();
    return dateText(m_times[point]) + label + QLatin1String(": ") + values.join(QLatin1String(", "));
}

bool LineChart::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip || m_times.empty())
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QRectF plot = plotArea();
    const auto nearest = std::min_element(m_times.begin(), m_times.end(), [&](qint64 a, qint64 b) {
        return std::abs(x(plot, a) - help->pos().x()) < std::abs(x(plot, b) - help->pos().x());
    });
    QToolTip::showText(help->globalPos(), pointText(std::size_t(nearest - m_times.begin())), this);
    return true;
}

void LineChart::paintMonths(QPainter &painter, const QRectF &plot) const
{
    // A tick at each month's start; labels where there is room for them.
    const int textHeight = fontMetrics().height();
    double labelEnd = plot.left() - 1;
    for (const QDate month : monthStarts(text::dayOf(m_times.front()), text::dayOf(m_times.back()))) {
        const double at = std::max(plot.left(), x(plot, text::momentOf(month)));
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
}

void LineChart::paintLegend(QPainter &painter, const QRectF &plot) const
{
    if (m_lines.size() < 2)
        return;
    double left = plot.left() + 4;
    const double y = plot.top() + fontMetrics().ascent();
    for (const Line &line : m_lines) {
        painter.fillRect(QRectF(left, y - fontMetrics().ascent() / 2.0 - 2, 12, 4), line.colour);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPointF(left + 16, y), line.name);
        left += 16 + fontMetrics().horizontalAdvance(line.name) + fontMetrics().height();
    }
}

void LineChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter, m_times.empty());
    if (m_times.empty())
        return;
    const QRectF plot = plotArea();
    const ValueAxis axis = this->axis();
    axis.draw(painter, *this, plot);
    paintMonths(painter, plot);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const Line &line : m_lines) {
        QPainterPath path;
        path.moveTo(x(plot, m_times.front()), axis.y(plot, line.values.front()));
        for (std::size_t i = 1; i < m_times.size(); ++i)
            path.lineTo(x(plot, m_times[i]), axis.y(plot, line.values[i]));
        painter.setPen(QPen(line.colour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        if (m_times.size() <= 60) {
            painter.setBrush(line.colour);
            for (std::size_t i = 0; i < m_times.size(); ++i)
                painter.drawEllipse(QPointF(x(plot, m_times[i]), axis.y(plot, line.values[i])), 3, 3);
        }
    }
    paintLegend(painter, plot);
}

ResultChart::ResultChart(QWidget *parent)
    : LineChart(QStringLiteral("Running result"), QStringLiteral("No dated bets with a result to chart."), parent)
{
    setObjectName(QStringLiteral("resultChart"));
}

void ResultChart::showTotals(const SharedTotals &totals, const QStringList &)
{
    std::vector<qint64> times;
    Line settled {QStringLiteral("Settled"), palette().color(QPalette::Highlight), {}};
    Line expected {QStringLiteral("Expected"), dimmed, {}};
    for (const auto &[when, came, locked] : totals->running) {
        times.push_back(when);
        settled.values.push_back(came);
        expected.values.push_back(locked);
    }
    setLines(std::move(times), {std::move(settled), std::move(expected)});
}

ExpectedChart::ExpectedChart(QWidget *parent)
    : LineChart(QStringLiteral("Expected and actual"),
        QStringLiteral("No settled bets yet: settle a bet from the table's menu to see what came in beside what it "
                       "locked in."),
        parent)
{
    setObjectName(QStringLiteral("expectedChart"));
}

void ExpectedChart::showTotals(const SharedTotals &totals, const QStringList &)
{
    std::vector<qint64> times;
    Line actual {QStringLiteral("Actual"), palette().color(QPalette::Highlight), {}};
    Line expected {QStringLiteral("Locked in"), dimmed, {}};
    for (const auto &[when, came, locked, record] : totals->expectedAndActual) {
        times.push_back(when);
        actual.values.push_back(came);
        expected.values.push_back(locked);
    }
    spreadOverTheirDays(times);
    setLines(std::move(times), {std::move(actual), std::move(expected)}, totals->expectedAndActualEvents);
}

} // namespace history
