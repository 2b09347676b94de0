#include "cli/StandardOutput.h"

#include "platform/FileErrors.h"
#include "platform/FileSystem.h"

#include <cerrno>
#include <iostream>

namespace quorvix::cli {

void StandardOutput::WriteLine(const std::string& line) {
    if (failed_) {
        return;
    }
    errno = 0;
    out_ << line << '\n';
    if (flushEachLine_) {
        out_.flush();
    }
    Check();
}

void StandardOutput::Finish() {
    if (!failed_) {
        errno = 0;
        out_.flush();
        Check();
    }
    if (failed_) {
        throw InputOutputError(FailureMessage());
    }
}

void StandardOutput::Check() {
    if (!out_) {
        failed_ = true;
        errorNumber_ = errno;
    }
}

std::string StandardOutput::FailureMessage() const {
    std::string message = "cannot write standard output";
    if (errorNumber_ != 0) {
        message += ": " + SystemErrorText(errorNumber_);
    }
    return message;
}

bool OutputIsWatched(const std::ostream& out) {
    return &out == &std::cout && StandardOutputIsTerminal();
}

} // namespace quorvix::cli
