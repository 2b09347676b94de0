#include "gui/EventPacer.h"

#include <QCoreApplication>

namespace quorvix {

void EventPacer::RunPendingEvents(QEventLoop::ProcessEventsFlags flags) {
    if (!PassDue()) {
        return;
    }
    QCoreApplication::processEvents(flags);
    // Timed from the end of the pass: a pass that ran a long nested job starts a fresh interval.
    lastPass_.start();
}

} // namespace quorvix
