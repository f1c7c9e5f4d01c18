#pragma once

#include "BenchClock.h"

#include <QCoreApplication>
#include <QEvent>

#include <cstdlib>

// Marks "first_frame" once the first paint of a window has been drawn and handed to the
// platform: Qt paints a window's widgets and flushes its backing store while it handles the
// window's expose or update request, so the mark is taken when that handling returns. Both
// the bare window and the real programs are measured by this one filter.
//
// With BENCH_EXIT_AT_FIRST_FRAME set in the environment the process ends right after the
// mark, which makes a profiler's totals cover start-up up to the first frame and no more.
class FirstFrameMark final : public QObject {
public:
    explicit FirstFrameMark(QObject* parent = nullptr)
        : QObject(parent), m_exitAfter(std::getenv("BENCH_EXIT_AT_FIRST_FRAME") != nullptr)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            m_painted = true;
            return false;
        }
        const bool windowPaint =
            event->type() == QEvent::Expose || event->type() == QEvent::UpdateRequest;
        if (m_inside || !windowPaint || !watched->isWindowType())
            return false;
        // Hand the event on from here so that the time is read once it has been handled.
        m_inside = true;
        QCoreApplication::sendEvent(watched, event);
        m_inside = false;
        if (m_painted) {
            mark("first_frame", monotonicSeconds());
            QCoreApplication::instance()->removeEventFilter(this);
            if (m_exitAfter)
                std::_Exit(0);
        }
        return true;
    }

private:
    bool m_exitAfter;
    bool m_inside = false;
    bool m_painted = false;
};
