// Splitting a command's arguments into options and operands.
#pragma once

#include "cli/Commands.h"

#include <map>
#include <set>
#include <stdexcept>
#include <string>

namespace quorvix::cli {

// A mistake in how the program was called; RunCli prints it with the usage text.
class UsageProblem : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    std::set<std::string> flags;               // options given that take no value
    std::map<std::string, std::string> values; // options given with their values
    Arguments operands;                        // everything else, in order

    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
};

// Sorts arguments into the known flags, the known options that take a value (the next
// argument, or joined as "--name=value" or "-xvalue") and operands. "--" ends the options, and a
// lone "-" is an operand. Throws
// UsageProblem for an unknown option or a value that is missing.
CommandLine ParseCommandLine(const Arguments& arguments, const std::set<std::string>& knownFlags,
                             const std::set<std::string>& knownValued = {});

// The number of digest workers asked for with "--jobs N" or "-j N" (1 to 1024), or one per
// hardware thread when not given. Throws UsageProblem for any other value.
unsigned WorkerCount(const CommandLine& commandLine);

// The options every job command takes, to pass to ParseCommandLine with its own.
inline const std::set<std::string> JobValuedOptions = {"--jobs", "-j"};
inline const std::set<std::string> JobFlags = {"--progress", "--no-progress"};

// Adds the job options to a command's own.
std::set<std::string> WithJobFlags(std::set<std::string> flags);

// The one operand of a command that takes exactly one; throws UsageProblem naming it otherwise.
const std::string& SingleOperand(const CommandLine& commandLine, const std::string& name);

} // namespace quorvix::cli
