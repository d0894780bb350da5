#include "history/monthchart.h"

#include <map>

#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include "calc/numbertext.h"
#include "tracker/totals.h"

namespace history {

namespace {

const QColor lossRed(200, 60, 60);
const QColor dimmed(128, 128, 128);

QString monthResult(const MonthChart::Month &month)
{
    return QStringLiteral("%1: settled %2, expected %3")
        .arg(longMonth(month.first), calc::formatFigure(month.settled, QLocale()),
            calc::formatFigure(month.expected, QLocale()));
}

} // namespace

MonthChart::MonthChart(QWidget *parent)
    : Chart(parent)
{
    setObjectName(QStringLiteral("monthChart"));
    setAccessibleName(QStringLiteral("Result per month"));
    setMonths({});
}

void MonthChart::showTotals(const SharedTotals &totals, const QStringList &)
{
    std::map<std::pair<int, int>, Month> months;
    for (const auto &[month, sums] : totals->byMonth) {
        if (month.first != 0)
            months[month].expected = sums.result.value();
    }
    for (const auto &[month, settled] : totals->settledByMonth)
        months[month].settled = settled;
    std::vector<Month> inOrder;
    for (auto &[month, values] : months) {
        values.first = QDate(month.first, month.second, 1);
        inOrder.push_back(values);
    }
    setMonths(std::move(inOrder));
}

void MonthChart::setMonths(std::vector<Month> months)
{
    m_months = std::move(months);
    clearRange();
    QStringList words;
    for (const Month &month : m_months) {
        takeInRange(month.settled);
        takeInRange(month.expected);
        words << monthResult(month);
    }
    setAccessibleDescription(m_months.empty()
            ? QStringLiteral("No dated bets to chart.")
            : QStringLiteral("Result per month: %1.").arg(words.join(QStringLiteral("; "))));
    update();
}

QRectF MonthChart::bar(const QRectF &plot, std::size_t month, bool expected) const
{
    const double slot = plot.width() / double(m_months.size());
    const ValueAxis axis = this->axis();
    const double value = expected ? m_months[month].expected : m_months[month].settled;
    const double top = axis.y(plot, std::max(0.0, value));
    const double bottom = axis.y(plot, std::min(0.0, value));
    const double left = plot.left() + slot * double(month) + slot * (expected ? 0.5 : 0.15);
    return QRectF(left, top, slot * 0.35, std::max(1.0, bottom - top));
}

bool MonthChart::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip || m_months.empty())
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QRectF plot = plotArea();
    const double slot = plot.width() / double(m_months.size());
    const auto month
        = std::size_t(std::clamp((help->pos().x() - plot.left()) / slot, 0.0, double(m_months.size() - 1)));
    QToolTip::showText(help->globalPos(), monthResult(m_months[month]), this);
    return true;
}

void MonthChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintBackground(painter, m_months.empty());
    if (m_months.empty())
        return;
    const QRectF plot = plotArea();
    axis().draw(painter, *this, plot);
    const double slot = plot.width() / double(m_months.size());
    double labelEnd = 0;
    for (std::size_t month = 0; month < m_months.size(); ++month) {
        const bool loss = m_months[month].settled < 0;
        painter.fillRect(bar(plot, month, false), loss ? lossRed : palette().color(QPalette::Highlight));
        painter.fillRect(bar(plot, month, true), dimmed);
        const QString label = shortMonth(m_months[month].first);
        const int labelWidth = fontMetrics().horizontalAdvance(label);
        const double left = plot.left() + slot * (double(month) + 0.5) - labelWidth / 2.0;
        if (left >= labelEnd && left + labelWidth <= width()) {
            painter.setPen(palette().color(QPalette::Text));
            painter.drawText(QPointF(left, plot.bottom() + 4 + fontMetrics().ascent()), label);
            labelEnd = left + labelWidth + fontMetrics().height();
        }
    }
}

} // namespace history
