// The cumulative result over time, drawn with QPainter: a line, a zero line, and the locale's dates
// and numbers on the axes. Its accessible description says the same in words.
#pragma once

#include <utility>
#include <vector>

#include <QWidget>

namespace history {

class ResultChart final : public QWidget
{
    Q_OBJECT

public:
    explicit ResultChart(QWidget *parent = nullptr);

    // (when, running result) in time order; when in seconds from the start of the Julian calendar.
    void setPoints(std::vector<std::pair<qint64, double>> points);
    QSize sizeHint() const override { return {480, 220}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<std::pair<qint64, double>> m_points;
    double m_low = 0;
    double m_high = 0;
};

} // namespace history
