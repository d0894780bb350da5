#include "history/monthchart.h"

#include <QHelpEvent>
#include <QLocale>
#include <QPainter>
#include <QToolTip>

#include "calc/numbertext.h"
#include "history/totals.h"

namespace history {

namespace {

const QColor lossRed(200, 60, 60);

QString monthResult(const std::pair<QDate, double> &month)
{
    return QStringLiteral("%1: %2").arg(longMonth(month.first), calc::formatFigure(month.second, QLocale()));
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
    std::vector<std::pair<QDate, double>> months;
    for (const auto &[month, sums] : totals->byMonth) {
        if (month.first != 0)
            months.emplace_back(QDate(month.first, month.second, 1), sums.result);
    }
    setMonths(std::move(months));
}

void MonthChart::setMonths(std::vector<std::pair<QDate, double>> months)
{
    m_months = std::move(months);
    clearRange();
    QStringList words;
    for (const auto &month : m_months) {
        takeInRange(month.second);
        words << monthResult(month);
    }
    setAccessibleDescription(m_months.empty()
            ? QStringLiteral("No dated bets to chart.")
            : QStringLiteral("Result per month: %1.").arg(words.join(QStringLiteral("; "))));
    update();
}

QRectF MonthChart::bar(const QRectF &plot, std::size_t month) const
{
    const double slot = plot.width() / double(m_months.size());
    const ValueAxis axis = this->axis();
    const double top = axis.y(plot, std::max(0.0, m_months[month].second));
    const double bottom = axis.y(plot, std::min(0.0, m_months[month].second));
    return QRectF(plot.left() + slot * double(month) + slot * 0.15, top, slot * 0.7, std::max(1.0, bottom - top));
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
        const QRectF shape = bar(plot, month);
        painter.fillRect(shape, m_months[month].second < 0 ? lossRed : palette().color(QPalette::Highlight));
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
