#include "cli/Commands.h"

#include "checksum/CheckFileMaker.h"
#include "checksum/JobInputChecks.h"
#include "cli/CommandLine.h"
#include "cli/StreamLogSink.h"

#include <exception>

namespace quorvix::cli {

int RunMakeCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const CommandLine commandLine = ParseCommandLine(arguments, {"--no-subfolders"});
    const bool includeSubfolders = !commandLine.Has("--no-subfolders");
    const std::string& folder = SingleOperand(commandLine, "FOLDER");

    // The folder is used exactly as given; trimming only decides whether anything was given.
    if (const auto problem = MakerInputProblem(folder)) {
        err << *problem << "\n";
        return ExitFailure;
    }

    StreamLogSink log(out);
    try {
        const MakerResult result = CheckFileMaker(folder, includeSubfolders, log);
        return result.Complete() ? ExitSuccess : ExitProblemFound;
    } catch (const std::exception& failure) {
        err << "quorvix-cli: " << failure.what() << "\n";
        return ExitFailure;
    }
}

} // namespace quorvix::cli
