#include "cli/Commands.h"

#include "checksum/CheckFileMaker.h"
#include "checksum/JobInputChecks.h"
#include "cli/CommandLine.h"
#include "cli/ProgressLine.h"
#include "cli/StreamLogSink.h"

namespace quorvix::cli {

int RunMakeCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const CommandLine commandLine =
        ParseCommandLine(arguments, WithJobFlags({"--no-subfolders"}), JobValuedOptions);
    const bool includeSubfolders = !commandLine.Has("--no-subfolders");
    const std::string& folder = SingleOperand(commandLine, "FOLDER");
    const unsigned workers = WorkerCount(commandLine);

    // The folder is used exactly as given; trimming only decides whether anything was given.
    if (const auto problem = MakerInputProblem(folder)) {
        throw InputProblem(*problem);
    }
    StandardOutput output(out, OutputIsWatched(out));
    StreamLogSink log(output);
    ProgressLine progress(err, ProgressWanted(commandLine));
    const MakerResult result =
        CheckFileMaker(folder, includeSubfolders, log, ProgressHooks(progress), workers);
    progress.Clear();
    output.Finish();
    // A check file with holes must not pass for a complete one in a script.
    return result.Complete() ? ExitSuccess : ExitProblemFound;
}

} // namespace quorvix::cli
