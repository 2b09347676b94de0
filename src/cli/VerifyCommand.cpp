#include "cli/Commands.h"

#include "checksum/CheckFileVerifier.h"
#include "cli/InputChecks.h"
#include "cli/StreamLogSink.h"
#include "platform/FileSystem.h"

#include <exception>

namespace quorvix::cli {
namespace {

int UsageError(std::ostream& err, const std::string& problem) {
    err << "quorvix-cli verify: " << problem << "\n" << UsageText();
    return ExitFailure;
}

} // namespace

int RunVerifyCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    Arguments checkFiles;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            checkFiles.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else {
            return UsageError(err, "unknown option \"" + argument + "\"");
        }
    }
    if (checkFiles.empty()) {
        return UsageError(err, "no CHECKFILE given");
    }
    if (checkFiles.size() > 1) {
        return UsageError(err, "only one CHECKFILE may be given");
    }

    // The path is used exactly as given; trimming only decides whether anything was given.
    const std::string& checkFile = checkFiles.front();
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
