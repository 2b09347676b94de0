#include "gui/JobProgress.h"

#include <QProgressBar>

#include <algorithm>

namespace quorvix {
namespace {

constexpr int Steps = 1000;

} // namespace

JobProgress::JobProgress(QProgressBar* bar) : bar_(bar) {
    bar_->setTextVisible(false);
    bar_->hide();
}

void JobProgress::BatchStarted(std::size_t fileCount) {
    ++batches_;
    filesKnown_ += fileCount;
    Refresh();
}

void JobProgress::BatchFileDone() {
    filesDone_ = std::min(filesDone_ + 1, filesKnown_);
    fileRead_ = fileSize_ = 0;
    Refresh();
}

void JobProgress::BatchEnded() {
    batches_ = std::max(batches_ - 1, 0);
    if (batches_ == 0) {
        filesKnown_ = filesDone_ = 0;
    }
    Refresh();
}

void JobProgress::JobStarted() {
    if (otherJobs_++ == 0) {
        jobFilesDone_ = jobFilesKnown_ = 0;
    }
    Refresh();
}

void JobProgress::JobFiles(std::uint64_t filesDone, std::uint64_t filesKnown) {
    jobFilesKnown_ = filesKnown;
    jobFilesDone_ = std::min(filesDone, filesKnown);
    // The next file starts from nothing; a large one reports its part as it is read.
    fileRead_ = fileSize_ = 0;
    Refresh();
}

void JobProgress::JobEnded() {
    otherJobs_ = std::max(otherJobs_ - 1, 0);
    if (otherJobs_ == 0) {
        jobFilesDone_ = jobFilesKnown_ = 0;
    }
    Refresh();
}

void JobProgress::FileRead(std::uint64_t bytesRead, std::uint64_t size) {
    if (bytesRead >= size) {
        fileRead_ = fileSize_ = 0;
    } else {
        fileRead_ = bytesRead;
        fileSize_ = size;
    }
    Refresh();
}

void JobProgress::Refresh() {
    if (batches_ == 0 && otherJobs_ == 0) {
        fileRead_ = fileSize_ = 0;
        bar_->hide();
        return;
    }
    const double filePart =
        fileSize_ > 0 ? static_cast<double>(fileRead_) / static_cast<double>(fileSize_) : 0.0;
    if (batches_ > 0 && filesKnown_ > 0) {
        bar_->setRange(0, Steps);
        const double done =
            (static_cast<double>(filesDone_) + filePart) / static_cast<double>(filesKnown_);
        bar_->setValue(static_cast<int>(done * Steps));
    } else if (otherJobs_ > 0 && jobFilesKnown_ > 0) {
        bar_->setRange(0, Steps);
        const double done =
            (static_cast<double>(jobFilesDone_) + filePart) / static_cast<double>(jobFilesKnown_);
        bar_->setValue(static_cast<int>(std::min(done, 1.0) * Steps));
    } else if (fileSize_ >= LargeFileSize) {
        bar_->setRange(0, Steps);
        bar_->setValue(static_cast<int>(filePart * Steps));
    } else {
        // Minimum and maximum both 0: the bar shows that work goes on without a measure.
        bar_->setRange(0, 0);
    }
    bar_->show();
}

} // namespace quorvix
