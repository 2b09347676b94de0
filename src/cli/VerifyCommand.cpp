#include "cli/Commands.h"

#include "checksum/CheckFileVerifier.h"
#include "checksum/JobInputChecks.h"
#include "cli/CommandLine.h"
#include "cli/ProgressLine.h"
#include "cli/StreamLogSink.h"
#include "platform/FileSystem.h"
#include "platform/LegacyEncoding.h"

namespace quorvix::cli {
namespace {

// The options of verify, checked before anything is read.
VerifyOptions VerifyOptionsOf(const CommandLine& commandLine) {
    VerifyOptions options;
    options.listUnlisted = commandLine.Has("--unlisted");
    if (commandLine.Has("--no-subfolders")) {
        if (!options.listUnlisted) {
            throw UsageProblem("--no-subfolders applies only with --unlisted");
        }
        options.unlistedIncludeSubfolders = false;
    }
    const auto encoding = commandLine.values.find("--legacy-encoding");
    if (encoding != commandLine.values.end()) {
        options.legacyEncoding = encoding->second == "none" ? "" : encoding->second;
        if (options.legacyEncoding.empty() && encoding->second != "none") {
            throw UsageProblem("--legacy-encoding needs a code page name or \"none\"");
        }
    }
    if (!options.legacyEncoding.empty()) {
        try {
            const LegacyDecoder probe(options.legacyEncoding);
        } catch (const UnknownEncodingError& unknown) {
            throw UsageProblem(unknown.what());
        }
    }
    return options;
}

// The lines on standard error that say what the log alone does not make plain.
void ReportFindings(const std::string& checkFile, const VerificationCounts& counts,
                    std::ostream& err) {
    if (counts.Entries() == 0 && !counts.cancelled) {
        err << "quorvix-cli: \"" << checkFile
            << "\" holds no digest lines quorvix can read, so nothing was verified\n";
    }
    if (counts.silentlyChanged != 0) {
        err << "quorvix-cli: " << counts.silentlyChanged
            << (counts.silentlyChanged == 1 ? " file" : " files")
            << " changed although not written to since the check file was made; this points to "
               "damage (a failing disk, a bad copy), not to an edit\n";
    }
}

} // namespace

int RunVerifyCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    std::set<std::string> valued = JobValuedOptions;
    valued.insert("--legacy-encoding");
    const CommandLine commandLine =
        ParseCommandLine(arguments, WithJobFlags({"--unlisted", "--no-subfolders"}), valued);
    const std::string& checkFile = SingleOperand(commandLine, "CHECKFILE");
    const VerifyOptions options = VerifyOptionsOf(commandLine);
    const unsigned workers = WorkerCount(commandLine);

    StandardOutput output(out, OutputIsWatched(out));
    StreamLogSink log(output);
    ProgressLine progress(err, ProgressWanted(commandLine));
    const JobHooks hooks = ProgressHooks(progress);
    VerificationCounts counts;
    if (checkFile == "-") {
        // A check file from a pipe lists its paths relative to the current folder.
        counts = VerifyCheckFileFrom(StandardInputPath(), std::string(".") + PathSeparator, log, {},
                                     options, workers);
    } else {
        // The path is used exactly as given; trimming only decides whether anything was given.
        if (const auto problem = VerifierInputProblem(checkFile)) {
            throw InputProblem(*problem);
        }
        counts = VerifyCheckFile(checkFile, log, hooks, options, workers);
    }
    progress.Clear();
    output.Finish();
    ReportFindings(checkFile == "-" ? "standard input" : checkFile, counts, err);
    const bool allGood = counts.Entries() != 0 && counts.AllUnchanged() && counts.unlisted == 0;
    return allGood ? ExitSuccess : ExitProblemFound;
}

} // namespace quorvix::cli
