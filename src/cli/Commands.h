// The commands of quorvix-cli. Each takes the arguments after its own name and returns the
// process exit status: 0 all good, 1 something could not be read, did not verify or was left
// out, 2 a usage error or a failure that stopped the job.
#pragma once

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvix::cli {

using Arguments = std::vector<std::string>;

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitProblemFound = 1;
inline constexpr int ExitFailure = 2;

// A job's input that cannot be used (no such folder, no such check file); RunCli prints the
// message alone, as the window would show it.
class InputProblem : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Runs the whole program: picks the command from argv and turns every failure into its
// message on err and its exit status. Cannot fail.
int RunCli(const Arguments& arguments, std::ostream& out, std::ostream& err);

// The commands. They throw UsageProblem, InputProblem or the job's own failures, which RunCli
// reports.
int RunDigestCommand(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunMakeCommand(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunVerifyCommand(const Arguments& arguments, std::ostream& out, std::ostream& err);

// The usage text, ending with a newline.
std::string UsageText();

} // namespace quorvix::cli
