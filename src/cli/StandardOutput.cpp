#include "cli/StandardOutput.h"

#include "platform/FileErrors.h"

#include <cerrno>

namespace quorvix::cli {

void StandardOutput::WriteLine(const std::string& line) {
    if (failed_) {
        return;
    }
    errno = 0;
    out_ << line << '\n' << std::flush;
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

} // namespace quorvix::cli
