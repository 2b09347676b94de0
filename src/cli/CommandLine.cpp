#include "cli/CommandLine.h"

namespace quorvix::cli {

CommandLine ParseCommandLine(const Arguments& arguments, const std::set<std::string>& knownFlags,
                             const std::set<std::string>& knownValued) {
    CommandLine commandLine;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            commandLine.operands.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (knownFlags.count(argument) != 0) {
            commandLine.flags.insert(argument);
        } else if (knownValued.count(argument) != 0) {
            if (i + 1 == arguments.size()) {
                throw UsageProblem("option " + argument + " needs a value");
            }
            commandLine.values[argument] = arguments[++i];
        } else {
            throw UsageProblem("unknown option \"" + argument + "\"");
        }
    }
    return commandLine;
}

const std::string& SingleOperand(const CommandLine& commandLine, const std::string& name) {
    if (commandLine.operands.empty()) {
        throw UsageProblem("no " + name + " given");
    }
    if (commandLine.operands.size() > 1) {
        throw UsageProblem("only one " + name + " may be given");
    }
    return commandLine.operands.front();
}

} // namespace quorvix::cli
