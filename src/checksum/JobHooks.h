// What a job needs from its caller besides its inputs: the seams a front end or a test controls.
#pragma once

#include "platform/LocalTime.h"

#include <functional>
#include <string>

namespace quorvix {

// Runs whatever the front end has waiting (a window repaints and takes input); does nothing for
// the command line.
using LetPendingEventsRun = std::function<void()>;

// The upper-case digest text of a named file; throws like FileDigestText.
using FileDigestFunction = std::function<std::string(const std::string& path)>;

// A clock giving the local date and time.
using LocalTimeSource = std::function<LocalDateTime()>;

// Each member may be left empty; the job then uses the plain behaviour named beside it.
struct JobHooks {
    LetPendingEventsRun letPendingEventsRun; // empty: nothing runs
    FileDigestFunction fileDigestText;       // empty: the plain file digest
    LocalTimeSource localTime;               // empty: CurrentLocalTime
    char timeSeparator = '\0';               // '\0': LocaleTimeSeparator

    void RunPendingEvents() const {
        if (letPendingEventsRun) {
            letPendingEventsRun();
        }
    }
    std::string DigestText(const std::string& path) const;
    LocalDateTime Now() const;
    char TimeSeparator() const;
};

} // namespace quorvix
