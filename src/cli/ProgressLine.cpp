#include "cli/ProgressLine.h"

#include "platform/FileSystem.h"

#include <cstdio>

namespace quorvix::cli {
namespace {

constexpr auto RedrawInterval = std::chrono::milliseconds(100);

std::string Duration(double seconds) {
    const auto whole = static_cast<long long>(seconds + 0.5);
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
    return text;
}

} // namespace

ProgressLine::ProgressLine(std::ostream& err, bool enabled)
    : err_(err), enabled_(enabled), start_(std::chrono::steady_clock::now()) {}

ProgressLine::~ProgressLine() {
    Clear();
}

void ProgressLine::Update(const JobProgressCounts& counts) {
    counts_ = counts;
    Tick();
}

void ProgressLine::Tick() {
    if (!enabled_) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (drawn_ && now - lastDrawn_ < RedrawInterval) {
        return;
    }
    lastDrawn_ = now;
    Draw();
}

void ProgressLine::Draw() {
    const double elapsed = std::chrono::duration<double>(lastDrawn_ - start_).count();
    const double mebibytes = static_cast<double>(counts_.bytesDone) / (1024.0 * 1024.0);
    char text[160];
    int length = std::snprintf(text, sizeof text, "%llu/%llu files, %.1f MiB",
                               static_cast<unsigned long long>(counts_.filesDone),
                               static_cast<unsigned long long>(counts_.filesKnown), mebibytes);
    if (elapsed > 0.5 && counts_.filesDone > 0) {
        const double left = elapsed * static_cast<double>(counts_.filesKnown - counts_.filesDone) /
                            static_cast<double>(counts_.filesDone);
        length += std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length),
                                ", %.1f MiB/s", mebibytes / elapsed);
        // Only files already known can be reckoned with; a walk that is not ahead knows none.
        if (counts_.filesKnown > counts_.filesDone) {
            length += std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length),
                                    ", %s left", Duration(left).c_str());
        }
    }
    err_ << '\r' << text << "\x1b[K" << std::flush;
    drawn_ = true;
}

void ProgressLine::Clear() {
    if (drawn_) {
        err_ << "\r\x1b[K" << std::flush;
        drawn_ = false;
    }
}

JobHooks ProgressHooks(ProgressLine& progress) {
    JobHooks hooks;
    hooks.filesProgress = [&progress](const JobProgressCounts& counts) { progress.Update(counts); };
    hooks.letPendingEventsRun = [&progress] { progress.Tick(); };
    return hooks;
}

bool ProgressWanted(const CommandLine& commandLine) {
    if (commandLine.Has("--progress") || commandLine.Has("--no-progress")) {
        return commandLine.Has("--progress");
    }
    return StandardErrorIsTerminal();
}

} // namespace quorvix::cli
