#include "cli/Commands.h"

#include "checksum/ChecksumLineFormats.h"
#include "checksum/FileDigestList.h"
#include "checksum/OutcomeTexts.h"
#include "cli/CommandLine.h"
#include "cli/ProgressLine.h"
#include "cli/StandardOutput.h"

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
    RowPrinter(const FileDigestList& list, DigestOutput output, StandardOutput& out,
               std::ostream& err, ProgressLine& progress, std::uint64_t files, bool print)
        : list_(list), output_(output), out_(out), err_(err), progress_(progress), print_(print) {
        counts_.filesKnown = files;
    }
    void RowAppended(std::size_t) override {}
    void RowCompleted(std::size_t index) override {
        const FileDigestRow& row = list_.Row(index);
        ++counts_.filesDone;
        counts_.bytesDone += row.Result ? row.Result->bytes : 0;
        progress_.Update(counts_);
        if (!print_) {
            return;
        }
        if (output_ == DigestOutput::SavedList) {
            out_.WriteLine(SavedListLine(row));
        } else if (!row.Readable()) {
            progress_.Clear();
            err_ << "quorvix-cli: " << row.Path << ": " << CouldNotOpenFileText << '\n'
                 << std::flush;
        } else {
            const std::string digest = *row.ResultText();
            out_.WriteLine(output_ == DigestOutput::Md5sum ? GnuChecksumLine(digest, row.Path)
                                                           : BsdChecksumLine(digest, row.Path));
        }
    }

private:
    const FileDigestList& list_;
    DigestOutput output_;
    StandardOutput& out_;
    std::ostream& err_;
    ProgressLine& progress_;
    bool print_; // false when the rows go to a saved list instead
    JobProgressCounts counts_;
};

} // namespace

int RunDigestCommand(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    std::set<std::string> valued = JobValuedOptions;
    valued.insert("-o");
    valued.insert("--format");
    const CommandLine commandLine = ParseCommandLine(arguments, JobFlags, valued);
    if (commandLine.operands.empty()) {
        throw UsageProblem("no FILE given");
    }
    const auto output = commandLine.values.find("-o");
    const bool saveList = output != commandLine.values.end();
    const DigestOutput format = DigestOutputOf(commandLine);

    FileDigestList list;
    // One file gains nothing from workers; it is read on this thread as it always was.
    const unsigned workers = WorkerCount(commandLine);
    list.SetWorkerCount(commandLine.operands.size() > 1 ? workers : 1);
    StandardOutput standardOutput(out, OutputIsWatched(out));
    ProgressLine progress(err, ProgressWanted(commandLine));
    RowPrinter printer(list, format, standardOutput, err, progress, commandLine.operands.size(),
                       !saveList);
    list.SetObserver(&printer);
    list.AddFiles(commandLine.operands);
    progress.Clear();
    if (saveList) {
        list.SaveList(output->second);
    }
    standardOutput.Finish();
    for (std::size_t i = 0; i < list.RowCount(); ++i) {
        if (!list.Row(i).Readable()) {
            return ExitProblemFound;
        }
    }
    return ExitSuccess;
}

} // namespace quorvix::cli
