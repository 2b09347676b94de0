#include "cli/Commands.h"

#include "checksum/FileDigestList.h"
#include "cli/CommandLine.h"
#include "cli/StandardOutput.h"

namespace quorvix::cli {
namespace {

// Prints each row as its saved-list line the moment its result is known.
class RowPrinter final : public FileDigestListObserver {
public:
    RowPrinter(const FileDigestList& list, StandardOutput& out) : list_(list), out_(out) {}
    void RowAppended(std::size_t) override {}
    void RowCompleted(std::size_t index) override {
        out_.WriteLine(SavedListLine(list_.Row(index)));
    }

private:
    const FileDigestList& list_;
    StandardOutput& out_;
};

} // namespace

int RunDigestCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    std::set<std::string> valued = JobValuedOptions;
    valued.insert("-o");
    const CommandLine commandLine = ParseCommandLine(arguments, {}, valued);
    if (commandLine.operands.empty()) {
        throw UsageProblem("no FILE given");
    }
    const auto output = commandLine.values.find("-o");
    const bool saveList = output != commandLine.values.end();

    FileDigestList list;
    list.SetWorkerCount(WorkerCount(commandLine));
    StandardOutput standardOutput(out);
    RowPrinter printer(list, standardOutput);
    if (!saveList) {
        list.SetObserver(&printer);
    }
    list.AddFiles(commandLine.operands);
    if (saveList) {
        list.SaveList(output->second);
    }
    if (standardOutput.Failed()) {
        err << "quorvix-cli: " << standardOutput.FailureMessage() << "\n";
        return ExitFailure;
    }
    for (std::size_t i = 0; i < list.RowCount(); ++i) {
        if (!list.Row(i).Readable()) {
            return ExitProblemFound;
        }
    }
    return ExitSuccess;
}

} // namespace quorvix::cli
