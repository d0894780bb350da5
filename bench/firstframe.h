// Ends the program right after a window has painted its first frame, and prints on standard output
// the moment of that frame (nanoseconds since the epoch), so that the time to the first frame can
// be told apart from the time the program takes to end.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <chrono>
#include <cstdio>

class QuitAfterFirstFrame : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            const auto now = std::chrono::system_clock::now().time_since_epoch();
            std::printf("%lld\n", static_cast<long long>(std::chrono::nanoseconds(now).count()));
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_painted = false;
};
