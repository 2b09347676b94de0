#include "cli/Commands.h"

#include "Version.h"
#include "cli/CommandLine.h"

#include <new>

namespace quorvix::cli {

std::string UsageText() {
    return "Usage: quorvix-cli digest [-j N] [-o LIST] FILE...\n"
           "       quorvix-cli make [-j N] [--no-subfolders] FOLDER\n"
           "       quorvix-cli verify [-j N] CHECKFILE|-\n"
           "       quorvix-cli --help | --version\n"
           "\n"
           "  digest   print the MD5 digest of each FILE as \"PATH     DIGEST\", or save the\n"
           "           list to LIST with -o\n"
           "  make     write CheckSum.md5 for FOLDER and its subfolders\n"
           "  verify   check every file that CHECKFILE lists (\"-\": read it from standard\n"
           "           input, paths relative to the current folder)\n"
           "\n"
           "  -j, --jobs N   digest with N threads (default: one per processor thread;\n"
           "                 1 digests one file at a time)\n"
           "\n"
           "Exit status: 0 all good, 1 a file could not be read, changed, is missing or was\n"
           "left out of the check file, 2 usage error or failure.\n";
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
    // The one place where failures become messages and an exit status.
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
    } catch (const InputProblem& problem) {
        err << problem.what() << "\n";
        return ExitFailure;
    } catch (const std::bad_alloc&) {
        err << "quorvix-cli: out of memory\n";
        return ExitFailure;
    } catch (const std::exception& failure) {
        err << "quorvix-cli: " << failure.what() << "\n";
        return ExitFailure;
    }
    err << "quorvix-cli: unknown command \"" << command << "\"\n" << UsageText();
    return ExitFailure;
}

} // namespace quorvix::cli
