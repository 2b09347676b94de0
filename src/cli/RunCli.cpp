#include "cli/Commands.h"

#include "Version.h"
#include "cli/CommandLine.h"

namespace quorvix::cli {

std::string UsageText() {
    return "Usage: quorvix-cli digest [-o LIST | --format md5sum|bsd] FILE...\n"
           "       quorvix-cli make [--no-subfolders] FOLDER\n"
           "       quorvix-cli verify [--legacy-encoding NAME|none] [--unlisted "
           "[--no-subfolders]]\n"
           "                          CHECKFILE\n"
           "       quorvix-cli --help | --version\n"
           "\n"
           "  digest   print the MD5 digest of each FILE as \"PATH     DIGEST\", or save the\n"
           "           list to LIST with -o; --format md5sum prints lines that md5sum -c reads,\n"
           "           --format bsd prints \"MD5 (PATH) = DIGEST\"\n"
           "  make     write CheckSum.md5 for FOLDER and its subfolders\n"
           "  verify   check every file that CHECKFILE lists; it may hold quorvix's, md5sum's\n"
           "           or BSD lines. A path that is not UTF-8 and names no file is tried again\n"
           "           from the code page NAME (GB18030 unless given; none: no retry).\n"
           "           --unlisted also lists the files beside CHECKFILE that it does not name\n"
           "           (with --no-subfolders, only those in its own folder)\n"
           "\n"
           "Exit status: 0 all good, 1 a file could not be read, changed, is missing or\n"
           "is unlisted, or the check file holds no digest line, 2 usage error or failure.\n";
}

int RunCli(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        err << UsageText();
        return ExitFailure;
    }
    const std::string& command = arguments.front();
    const Arguments rest(arguments.begin() + 1, arguments.end());
    if (command == "--help" || command == "-h") {
        out << UsageText();
        return ExitSuccess;
    }
    if (command == "--version") {
        out << "quorvix-cli " << QuorvixVersion << "\n";
        return ExitSuccess;
    }
    try {
        if (command == "digest") {
            return RunDigestCommand(rest, out, err);
        }
        if (command == "make") {
            return RunMakeCommand(rest, out, err);
        }
        if (command == "verify") {
            return RunVerifyCommand(rest, out, err);
        }
    } catch (const UsageProblem& problem) {
        err << "quorvix-cli " << command << ": " << problem.what() << "\n" << UsageText();
        return ExitFailure;
    }
    err << "quorvix-cli: unknown command \"" << command << "\"\n" << UsageText();
    return ExitFailure;
}

} // namespace quorvix::cli
