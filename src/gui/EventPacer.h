// Runs a window's pending events during a job often enough to feel immediate, and no more.
#pragma once

#include <QElapsedTimer>
#include <QEventLoop>

namespace quorvix {

// Between two small files there is no time to repaint: twenty thousand small files took over
// twenty seconds to list when the window repainted after each one, and half a second when it
// repaints about sixty times a second. So events run when a pass is due, and every other call
// returns at once; input waits at most one interval.
class EventPacer {
public:
    // A pass is due once this many milliseconds have gone by since the last one.
    static constexpr qint64 IntervalMs = 15;

    // Runs the pending events allowed by flags if a pass is due (always on the first call after
    // Restart), else nothing.
    void RunPendingEvents(QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents);

    // True when the next call of RunPendingEvents will run events. Cannot fail.
    bool PassDue() const { return !lastPass_.isValid() || lastPass_.elapsed() >= IntervalMs; }

    // Makes the next call run its events whatever the time.
    void Restart() { lastPass_.invalidate(); }

private:
    QElapsedTimer lastPass_;
};

} // namespace quorvix
