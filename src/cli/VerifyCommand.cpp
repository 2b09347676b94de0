#include "cli/Commands.h"

#include "checksum/CheckFileVerifier.h"
#include "checksum/JobInputChecks.h"
#include "cli/CommandLine.h"
#include "cli/StreamLogSink.h"
#include "platform/FileSystem.h"

namespace quorvix::cli {

int RunVerifyCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const CommandLine commandLine = ParseCommandLine(arguments, {}, JobValuedOptions);
    const std::string& checkFile = SingleOperand(commandLine, "CHECKFILE");
    const unsigned workers = WorkerCount(commandLine);

    StandardOutput output(out);
    StreamLogSink log(output);
    VerificationCounts counts;
    if (checkFile == "-") {
        // A check file from a pipe lists its paths relative to the current folder.
        counts = VerifyCheckFileFrom(StandardInputPath(), std::string(".") + PathSeparator, log, {},
                                     workers);
    } else {
        // The path is used exactly as given; trimming only decides whether anything was given.
        if (const auto problem = VerifierInputProblem(checkFile)) {
            throw InputProblem(*problem);
        }
        counts = VerifyCheckFile(checkFile, log, {}, workers);
    }
    if (output.Failed()) {
        err << "quorvix-cli: " << output.FailureMessage() << "\n";
        return ExitFailure;
    }
    return counts.AllUnchanged() ? ExitSuccess : ExitProblemFound;
}

} // namespace quorvix::cli
