// What a job needs from its caller besides its inputs: the seams a front end or a test controls.
#pragma once

#include "md5/Md5.h"
#include "platform/LocalTime.h"

#include <cstdint>
#include <functional>

namespace quorvix {

class FileStream;

// Runs whatever the front end has waiting (a window repaints and takes input); does nothing for
// the command line.
using LetPendingEventsRun = std::function<void()>;

// Digests a file the job has opened, from its first byte to its end; throws what reading the
// stream throws. May run on a worker thread, so it must not touch a window.
using StreamDigestFunction = std::function<Md5Digest(FileStream& file)>;

// A clock giving the local date and time.
using LocalTimeSource = std::function<LocalDateTime()>;

// True once the user has asked the job to stop.
using CancelCheck = std::function<bool()>;

// How far a job has come.
struct JobProgressCounts {
    std::uint64_t filesDone = 0;
    std::uint64_t filesKnown = 0; // those the walk or the check file's lines have already given;
                                  // more may follow
    std::uint64_t bytesDone = 0;  // bytes of the files done that were digested
};

// Told after each piece read from a file being digested: the bytes read so far and the file's
// size. Runs on whichever thread reads the file (a worker's, in a job with several), so it must
// not touch a window.
using ReadProgress = std::function<void(std::uint64_t bytesRead, std::uint64_t size)>;

// Told on the job's own thread after each file is done.
using FilesProgress = std::function<void(const JobProgressCounts& counts)>;

// Each member may be left empty; the job then uses the plain behaviour named beside it.
struct JobHooks {
    LetPendingEventsRun letPendingEventsRun; // empty: nothing runs
    StreamDigestFunction digestStream;       // empty: DigestOfStream
    LocalTimeSource localTime;               // empty: CurrentLocalTime
    char timeSeparator = '\0';               // '\0': LocaleTimeSeparator
    CancelCheck cancelRequested;             // empty: a job is never cancelled
    FilesProgress filesProgress;             // empty: nobody is told
    ReadProgress readProgress;               // empty: nobody is told

    void RunPendingEvents() const {
        if (letPendingEventsRun) {
            letPendingEventsRun();
        }
    }
    Md5Digest DigestStream(FileStream& file) const;
    LocalDateTime Now() const;
    char TimeSeparator() const;
    bool CancelRequested() const { return cancelRequested && cancelRequested(); }
    void ReportFiles(const JobProgressCounts& counts) const {
        if (filesProgress) {
            filesProgress(counts);
        }
    }
};

} // namespace quorvix
