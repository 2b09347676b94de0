#include "cli/Commands.h"

#include "Version.h"
#include "cli/CommandLine.h"

#include <new>

namespace quorvix::cli {

std::string UsageText() {
    return "Usage: quorvix-cli digest [-j N] [-o LIST | --format md5sum|bsd] FILE...\n"
           "       quorvix-cli make [-j N] [--no-subfolders] FOLDER\n"
           "       quorvix-cli verify [-j N] [--legacy-encoding NAME|none]\n"
           "                          [--unlisted [--no-subfolders]] CHECKFILE|-\n"
           "       quorvix-cli --help | --version\n"
           "\n"
           "  digest   print the MD5 digest of each FILE as \"PATH     DIGEST\", or save the\n"
           "           list to LIST with -o; --format md5sum prints lines that md5sum -c reads,\n"
           "           --format bsd prints \"MD5 (PATH) = DIGEST\"\n"
           "  make     write CheckSum.md5 for FOLDER and its subfolders\n"
           "  verify   check every file that CHECKFILE lists (\"-\": read it from standard\n"
           "           input, paths relative to the current folder); it may hold quorvix's,\n"
           "           md5sum's or BSD lines. A path that is not UTF-8 and names no file is\n"
           "           tried again from the code page NAME (GB18030 unless given; none: no\n"
           "           retry). --unlisted also lists the files beside CHECKFILE that it does\n"
           "           not name (with --no-subfolders, only those in its own folder)\n"
           "\n"
           "  -j, --jobs N   digest with N threads (default: one per processor thread;\n"
           "                 1 digests one file at a time)\n"
           "  --progress, --no-progress\n"
           "                 show or hide the progress line on standard error (shown by\n"
           "                 default when standard error is a terminal)\n"
           "\n"
           "Exit status: 0 all good, 1 a file could not be read, changed, is missing, is\n"
           "unlisted or was left out of the check file, or the check file holds no digest\n"
           "line, 2 usage error or failure.\n";
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
