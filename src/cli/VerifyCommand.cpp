#include "cli/Commands.h"

#include "checksum/CheckFileVerifier.h"
#include "checksum/JobInputChecks.h"
#include "cli/CommandLine.h"
#include "cli/StreamLogSink.h"
#include "platform/LegacyEncoding.h"

#include <exception>

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
    if (counts.Entries() == 0) {
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
    const CommandLine commandLine =
        ParseCommandLine(arguments, {"--unlisted", "--no-subfolders"}, {"--legacy-encoding"});
    const std::string& checkFile = SingleOperand(commandLine, "CHECKFILE");
    const VerifyOptions options = VerifyOptionsOf(commandLine);

    // The path is used exactly as given; trimming only decides whether anything was given.
    if (const auto problem = VerifierInputProblem(checkFile)) {
        err << *problem << "\n";
        return ExitFailure;
    }

    StreamLogSink log(out);
    try {
        const VerificationCounts counts = VerifyCheckFile(checkFile, log, {}, options);
        ReportFindings(checkFile, counts, err);
        const bool allGood = counts.Entries() != 0 && counts.AllUnchanged() && counts.unlisted == 0;
        return allGood ? ExitSuccess : ExitProblemFound;
    } catch (const std::exception& failure) {
        err << "quorvix-cli: " << failure.what() << "\n";
        return ExitFailure;
    }
}

} // namespace quorvix::cli
