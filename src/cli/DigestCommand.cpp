#include "cli/Commands.h"

#include "checksum/ChecksumLineFormats.h"
#include "checksum/FileDigestList.h"
#include "cli/CommandLine.h"

#include <exception>

namespace quorvix::cli {
namespace {

// How digest prints its rows.
enum class DigestOutput {
    SavedList, // "<path>     <digest or Could not open file>", as the window saves its list
    Md5sum,    // md5sum's lines, which `md5sum -c` and verify read back
    Bsd,       // BSD tag lines
};

DigestOutput DigestOutputOf(const CommandLine& commandLine) {
    const auto format = commandLine.values.find("--format");
    if (format == commandLine.values.end()) {
        return DigestOutput::SavedList;
    }
    if (commandLine.values.count("-o") != 0) {
        throw UsageProblem("--format applies to printed lines only, not to a list saved with -o");
    }
    if (format->second == "md5sum") {
        return DigestOutput::Md5sum;
    }
    if (format->second == "bsd") {
        return DigestOutput::Bsd;
    }
    throw UsageProblem("unknown --format \"" + format->second + "\" (use md5sum or bsd)");
}

// Prints each row the moment its result is known. In md5sum's and BSD's formats a file without
// a digest gets no line, as those tools' readers would take any line for a digest line; it is
// reported on standard error instead.
class RowPrinter final : public FileDigestListObserver {
public:
    RowPrinter(const FileDigestList& list, DigestOutput output, std::ostream& out,
               std::ostream& err)
        : list_(list), output_(output), out_(out), err_(err) {}
    void RowAppended(std::size_t) override {}
    void RowCompleted(std::size_t index) override {
        const FileDigestRow& row = list_.Row(index);
        if (output_ == DigestOutput::SavedList) {
            out_ << SavedListLine(row) << '\n' << std::flush;
        } else if (row.ResultText == CouldNotOpenFileText) {
            err_ << "quorvix-cli: " << row.Path << ": " << CouldNotOpenFileText << '\n'
                 << std::flush;
        } else {
            out_ << (output_ == DigestOutput::Md5sum ? GnuChecksumLine(*row.ResultText, row.Path)
                                                     : BsdChecksumLine(*row.ResultText, row.Path))
                 << '\n'
                 << std::flush;
        }
    }

private:
    const FileDigestList& list_;
    DigestOutput output_;
    std::ostream& out_;
    std::ostream& err_;
};

} // namespace

int RunDigestCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    const CommandLine commandLine = ParseCommandLine(arguments, {}, {"-o", "--format"});
    if (commandLine.operands.empty()) {
        throw UsageProblem("no FILE given");
    }
    const auto output = commandLine.values.find("-o");
    const bool saveList = output != commandLine.values.end();
    const DigestOutput format = DigestOutputOf(commandLine);

    FileDigestList list;
    RowPrinter printer(list, format, out, err);
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
        if (list.Row(i).ResultText == CouldNotOpenFileText) {
            return ExitProblemFound;
        }
    }
    return ExitSuccess;
}

} // namespace quorvix::cli
