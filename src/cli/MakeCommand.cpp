#include "cli/Commands.h"

#include "checksum/CheckFileMaker.h"
#include "cli/CommandLine.h"
#include "cli/InputChecks.h"
#include "cli/StreamLogSink.h"
#include "platform/FileSystem.h"

#include <exception>

namespace quorvix::cli {

int RunMakeCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const CommandLine commandLine = ParseCommandLine(arguments, {"--no-subfolders"});
    const bool includeSubfolders = !commandLine.Has("--no-subfolders");
    const std::string& folder = SingleOperand(commandLine, "FOLDER");

    // The folder is used exactly as given; trimming only decides whether anything was given.
    if (IsBlank(folder)) {
        err << "首先请选择一个文件夹。\n";
        return ExitFailure;
    }
    if (!FolderExists(folder)) {
        err << "该文件夹不存在。\n";
        return ExitFailure;
    }

    StreamLogSink log(out);
    try {
        CheckFileMaker(folder, includeSubfolders, log);
    } catch (const std::exception& failure) {
        err << "quorvix-cli: " << failure.what() << "\n";
        return ExitFailure;
    }
    return ExitSuccess;
}

} // namespace quorvix::cli
