// The commands of quorvix-cli. Each takes the arguments after its own name and returns the
// process exit status: 0 all good, 1 something could not be read or did not verify, 2 a usage
// error or a failure that stopped the job.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quorvix::cli {

using Arguments = std::vector<std::string>;

inline constexpr int ExitSuccess = 0;
inline constexpr int ExitProblemFound = 1;
inline constexpr int ExitFailure = 2;

// Runs the whole program: picks the command from argv and reports usage errors.
int RunCli(const Arguments& arguments, std::ostream& out, std::ostream& err);

int RunDigestCommand(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunMakeCommand(const Arguments& arguments, std::ostream& out, std::ostream& err);
int RunVerifyCommand(const Arguments& arguments, std::ostream& out, std::ostream& err);

// The usage text, ending with a newline.
std::string UsageText();

} // namespace quorvix::cli
