#include "cli/Commands.h"

#include "checksum/FileDigestList.h"

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

int UsageError(std::ostream& err, const std::string& problem) {
    err << "quorvix-cli digest: " << problem << "\n" << UsageText();
    return ExitFailure;
}

} // namespace

int RunDigestCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    std::string listPath;
    bool saveList = false;
    Arguments files;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "-o" || argument == "--output") {
            if (i + 1 == arguments.size()) {
                return UsageError(err, "option " + argument + " needs a file name");
            }
            listPath = arguments[++i];
            saveList = true;
        } else {
            return UsageError(err, "unknown option \"" + argument + "\"");
        }
    }
    if (files.empty()) {
        return UsageError(err, "no FILE given");
    }

    FileDigestList list;
    RowPrinter printer(list, out);
    if (!saveList) {
        list.SetObserver(&printer);
    }
    list.AddFiles(files);
    if (saveList) {
        try {
            list.SaveList(listPath);
        } catch (const std::exception& failure) {
            err << "quorvix-cli: " << failure.what() << "\n";
            return ExitFailure;
        }
    }
    for (std::size_t i = 0; i < list.RowCount(); ++i) {
        if (list.Row(i).ResultText == CouldNotOpenFileText) {
            return ExitProblemFound;
        }
    }
    return ExitSuccess;
}

} // namespace quorvix::cli
