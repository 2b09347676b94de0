#include "cli/CommandLine.h"

#include "checksum/DigestPipeline.h"

#include <charconv>

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
        } else if (const auto equals = argument.find('=');
                   argument.starts_with("--") && equals != std::string::npos &&
                   knownValued.count(argument.substr(0, equals)) != 0) {
            // "--jobs=4"
            commandLine.values[argument.substr(0, equals)] = argument.substr(equals + 1);
        } else if (argument[1] != '-' && knownValued.count(argument.substr(0, 2)) != 0) {
            // "-j4"
            commandLine.values[argument.substr(0, 2)] = argument.substr(2);
        } else {
            throw UsageProblem("unknown option \"" + argument + "\"");
        }
    }
    return commandLine;
}

std::set<std::string> WithJobFlags(std::set<std::string> flags) {
    flags.insert(JobFlags.begin(), JobFlags.end());
    return flags;
}

unsigned WorkerCount(const CommandLine& commandLine) {
    auto given = commandLine.values.find("--jobs");
    if (given == commandLine.values.end()) {
        given = commandLine.values.find("-j");
    }
    if (given == commandLine.values.end()) {
        return DefaultWorkerCount();
    }
    const std::string& text = given->second;
    unsigned count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size() || count < 1 || count > 1024) {
        throw UsageProblem("the number of jobs must be a whole number from 1 to 1024, not \"" +
                           text + "\"");
    }
    return count;
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
