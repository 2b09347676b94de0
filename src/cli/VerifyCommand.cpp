#include "cli/Commands.h"

#include "checksum/CheckFileVerifier.h"
#include "cli/CommandLine.h"
#include "cli/InputChecks.h"
#include "cli/StreamLogSink.h"
#include "platform/FileSystem.h"

#include <exception>

namespace quorvix::cli {

int RunVerifyCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const CommandLine commandLine = ParseCommandLine(arguments, {});
    const std::string& checkFile = SingleOperand(commandLine, "CHECKFILE");

    // The path is used exactly as given; trimming only decides whether anything was given.
    if (IsBlank(checkFile)) {
        err << "请首先选择检查文件.\n";
        return ExitFailure;
    }
    if (!FileExists(checkFile)) {
        err << "检查文件不存在.\n";
        return ExitFailure;
    }

    StreamLogSink log(out);
    try {
        const VerificationCounts counts = VerifyCheckFile(checkFile, log);
        return counts.AllUnchanged() ? ExitSuccess : ExitProblemFound;
    } catch (const std::exception& failure) {
        err << "quorvix-cli: " << failure.what() << "\n";
        return ExitFailure;
    }
}

} // namespace quorvix::cli
