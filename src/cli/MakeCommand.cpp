#include "cli/Commands.h"

#include "checksum/CheckFileMaker.h"
#include "cli/InputChecks.h"
#include "cli/StreamLogSink.h"
#include "platform/FileSystem.h"

#include <exception>

namespace quorvix::cli {
namespace {

int UsageError(std::ostream& err, const std::string& problem) {
    err << "quorvix-cli make: " << problem << "\n" << UsageText();
    return ExitFailure;
}

} // namespace

int RunMakeCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    bool includeSubfolders = true;
    Arguments folders;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            folders.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--no-subfolders") {
            includeSubfolders = false;
        } else {
            return UsageError(err, "unknown option \"" + argument + "\"");
        }
    }
    if (folders.empty()) {
        return UsageError(err, "no FOLDER given");
    }
    if (folders.size() > 1) {
        return UsageError(err, "only one FOLDER may be given");
    }

    // The folder is used exactly as given; trimming only decides whether anything was given.
    const std::string& folder = folders.front();
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
