// What the bet-history benchmarks share: the longest time the window did not answer, measured
// between the ticks of a 5 ms timer, and a wait for a table's rows.
#pragma once

#include <QAbstractItemModel>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

class Stalls
{
public:
    Stalls()
    {
        m_clock.start();
        m_ticker.setInterval(5);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            m_longest = std::max(m_longest, m_clock.elapsed() - m_last);
            m_last = m_clock.elapsed();
        });
        m_ticker.start();
    }
    qint64 elapsed() const { return m_clock.elapsed(); }
    qint64 takeLongest()
    {
        m_last = m_clock.elapsed();
        return std::exchange(m_longest, 0);
    }

private:
    QElapsedTimer m_clock;
    QTimer m_ticker;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

inline void waitForRows(QAbstractItemModel *rows, int count)
{
    while (rows->rowCount() < count)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
