#include "cli/Commands.h"

#include "checksum/FileDigestList.h"
#include "cli/CommandLine.h"

#include <exception>

namespace quorvix::cli {
namespace {

// Prints each row as its saved-list line the moment its result is known.
class RowPrinter final : public FileDigestListObserver {
public:
    RowPrinter(const FileDigestList& list, std::ostream& out) : list_(list), out_(out) {}
    void RowAppended(std::size_t) override {}
    void RowCompleted(std::size_t index) override {
        out_ << SavedListLine(list_.Row(index)) << '\n' << std::flush;
    }

private:
    const FileDigestList& list_;
    std::ostream& out_;
};

} // namespace

int RunDigestCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const CommandLine commandLine = ParseCommandLine(arguments, {}, {"-o"});
    if (commandLine.operands.empty()) {
        throw UsageProblem("no FILE given");
    }
    const auto output = commandLine.values.find("-o");
    const bool saveList = output != commandLine.values.end();

    FileDigestList list;
    RowPrinter printer(list, out);
    if (!saveList) {
        list.SetObserver(&printer);
    }
    list.AddFiles(commandLine.operands);
    if (saveList) {
        try {
            list.SaveList(output->second);
        } catch (const std::exception& failure) {
            err << "quorvix-cli: " << failure.what() << "\n";
            return ExitFailure;
        }
    }
    for (std::size_t i = 0; i < list.RowCount(); ++i) {
        if (!list.Row(i).Readable()) {
            return ExitProblemFound;
        }
    }
    return ExitSuccess;
}

} // namespace quorvix::cli
