#include "cli/Commands.h"

#include "checksum/CheckFileVerifier.h"
#include "checksum/JobInputChecks.h"
#include "cli/CommandLine.h"
#include "cli/StreamLogSink.h"

#include <exception>

namespace quorvix::cli {

int RunVerifyCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const CommandLine commandLine = ParseCommandLine(arguments, {});
    const std::string& checkFile = SingleOperand(commandLine, "CHECKFILE");

    // The path is used exactly as given; trimming only decides whether anything was given.
    if (const auto problem = VerifierInputProblem(checkFile)) {
        err << *problem << "\n";
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
