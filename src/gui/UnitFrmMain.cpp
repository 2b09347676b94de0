#include "UnitFrmMain.h"

#include "checksum/DigestPipeline.h"
#include "checksum/FileDigest.h"
#include "gui/AppIcon.h"
#include "gui/ClickLabel.h"
#include "gui/ErrorBox.h"
#include "gui/FileDigestListModel.h"
#include "gui/JobInputGuard.h"
#include "gui/JobProgress.h"
#include "gui/MemoLogSink.h"
#include "gui/NativeText.h"
#include "gui/QtUserDialogs.h"
#include "gui/SkinLook.h"
#include "gui/SkinnedFrame.h"
#include "gui/SkinnedPageControl.h"
#include "platform/FileStream.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <exception>
#include <new>

namespace quorvix {
namespace {

// The local files a drag carries, in its order; other URLs are passed over.
QStringList DroppedLocalFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls()) {
        return paths;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
        }
    }
    return paths;
}

// The style is shared by every window and lives as long as the application.
QStyle* SkinStyle() {
    static QStyle* style = [] {
        auto* created = new skin::MacSkinStyle;
        created->setParent(QCoreApplication::instance());
        return created;
    }();
    return style;
}

} // namespace

TForm1::TForm1(std::unique_ptr<UserDialogs> dialogs, std::unique_ptr<DesktopServices> desktop)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint),
      dialogs_(dialogs ? std::move(dialogs) : std::make_unique<QtUserDialogs>()),
      desktop_(desktop ? std::move(desktop) : std::make_unique<QtDesktopServices>()),
      list_(std::make_unique<FileDigestList>(WorkerJobHooks())) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    setWindowIcon(QuorvixIcon());
    // Pixels as laid out, whatever the screen: the controls' places are part of the design.
    setFixedSize(507, 339);
    // Before the controls exist, so that labels size themselves in the window's font.
    setPalette(skin::WindowPalette());
    setFont(skin::WindowFont());

    // A batch is digested on the workers too, so that a large file never holds the window.
    list_->SetWorkerCount(WindowWorkerCount());
    model_ = new FileDigestListModel(*list_, this);
    list_->SetObserver(model_);

    CreateControls();
    CreateActions();
    skin::ApplySkin(this, SkinStyle());
    progress_ = std::make_unique<JobProgress>(JobProgressBar);
    makeLog_ = std::make_unique<MemoLogSink>(MemoMakeResult);
    verifyLog_ = std::make_unique<MemoLogSink>(MemoVerifyResult);
    dlgSave.Title = QStringLiteral("保存 MD5 校验");
    inputGuard_ = new JobInputGuard(this, [this] { RequestCancel(); });
    ConnectHandlers();

    if (const QScreen* desktopScreen = screen()) {
        move(desktopScreen->availableGeometry().center() - rect().center());
    }
    BtnHelp->setFocus();

    FormCreate();
}

TForm1::~TForm1() {
    // The list goes before the window's children, the model among them; it must not report to
    // the model on its way.
    list_->SetObserver(nullptr);
}

void TForm1::FormCreate() {
    MemoMakeResult->setPlainText(
        QStringLiteral("请选择一个文件夹检查 MD5 校验，然后点击“检查文件”按钮。"));
    MemoVerifyResult->setPlainText(
        QStringLiteral("请选择一个检查文件，然后点击“验证检查文件，验证文件完整性。"));
    // Files dropped anywhere on the window come here, whatever page is shown.
    setAcceptDrops(true);
}

void TForm1::ConnectHandlers() {
    connect(BtnSelectFile, &QPushButton::clicked, this, [this] { BtnSelectFileClick(); });
    connect(BtnSave, &QPushButton::clicked, this, [this] { BtnSaveClick(); });
    connect(BtnHelp, &QPushButton::clicked, this, [this] { BtnHelpClick(); });
    connect(BtnExit, &QPushButton::clicked, this, [this] { BtnExitClick(); });
    connect(LblWebsite, &ClickLabel::clicked, this, [this] { LblWebsiteClick(); });
    connect(LblEmail, &ClickLabel::clicked, this, [this] { LblEmailClick(); });
    connect(BtnSelect, &QPushButton::clicked, this, [this] { BtnSelectClick(); });
    connect(BtnMake, &QPushButton::clicked, this, [this] { BtnMakeClick(); });
    connect(BtnSelectCheckfile, &QPushButton::clicked, this, [this] { BtnSelectCheckfileClick(); });
    connect(BtnVerify, &QPushButton::clicked, this, [this] { BtnVerifyClick(); });
    connect(model_, &FileDigestListModel::RowResultSet, this,
            [this] { progress_->BatchFileDone(); });
}

void TForm1::RunHandler(const std::function<void()>& body) {
    try {
        body();
    } catch (const std::bad_alloc&) {
        // Its own text, "std::bad_alloc", tells a user nothing.
        ShowDefaultErrorBox(*dialogs_, this, "Out of memory");
    } catch (const std::exception& failure) {
        ShowDefaultErrorBox(*dialogs_, this, failure.what());
    } catch (...) {
        ShowDefaultErrorBox(*dialogs_, this, "An unexpected failure stopped the action");
    }
}

MessageAnswer TForm1::ShowMessage(const QString& text, const QString& caption, MessageIcon icon,
                                  MessageButtons buttons) {
    return dialogs_->ShowMessage(this, {text, caption, icon, buttons});
}

JobHooks TForm1::WorkerJobHooks() {
    JobHooks hooks;
    hooks.letPendingEventsRun = [this] { RunWorkerJobEvents(); };
    // Runs on a worker thread: it may only count. The digest itself stays the plain one, so the
    // workers may digest many files at once in the processor's vector lanes.
    hooks.readProgress = [progress = &streamProgress_](std::uint64_t bytesRead,
                                                       std::uint64_t size) {
        progress->Report(bytesRead, size, JobProgress::LargeFileSize);
    };
    hooks.cancelRequested = [this] { return cancelRequested_; };
    // Results that the workers have ready come without a wait, so without this a verification
    // of small files would neither paint nor see Esc until its end.
    hooks.filesProgress = [this](const JobProgressCounts& counts) {
        progress_->JobFiles(counts.filesDone, counts.filesKnown);
        RunWorkerJobEvents();
    };
    return hooks;
}

void TForm1::RunWorkerJobEvents() {
    if (eventPacer_.PassDue()) {
        const auto [bytesRead, size] = streamProgress_.Snapshot();
        progress_->FileRead(bytesRead, size);
    }
    // All events run, also during a verification: its input is dropped by the guard, which
    // lets Esc through, rather than held back until it ends.
    eventPacer_.RunPendingEvents();
}

// The window's own loop stays free to paint while the workers digest: with a single worker the
// digest would run on this thread, so there are always at least two.
unsigned TForm1::WindowWorkerCount() {
    return std::max(2u, DefaultWorkerCount());
}

void TForm1::RequestCancel() {
    if (runningJobs_ > 0) {
        cancelRequested_ = true;
    }
}

void TForm1::AddBatch(std::vector<std::string> paths) {
    if (paths.empty()) {
        return;
    }
    JobScope job(*this, JobKind::Batch);
    progress_->BatchStarted(paths.size());
    list_->AddFiles(std::move(paths));
}

TForm1::JobScope::JobScope(TForm1& form, JobKind kind)
    : form_(form), kind_(kind), starter_(QApplication::focusWidget()) {
    form_.BeginJob(kind_);
}

TForm1::JobScope::~JobScope() {
    form_.EndJob(kind_);
    form_.ReturnFocus(starter_);
}

void TForm1::ReturnFocus(QWidget* starter) {
    if (starter != nullptr && starter->window() == this && starter->isEnabled() &&
        starter->isVisible() && !starter->hasFocus()) {
        starter->setFocus(Qt::OtherFocusReason);
    }
}

void TForm1::BeginJob(JobKind kind) {
    // The first chance of a job to run events takes it: the window shows at once that it is busy.
    eventPacer_.Restart();
    if (runningJobs_++ == 0) {
        cancelRequested_ = false;
        streamProgress_.Reset();
        inputGuard_->SetJobRunning(true);
    }
    switch (kind) {
    case JobKind::Batch:
        ++runningBatches_;
        break;
    case JobKind::Maker:
        ++runningMakers_;
        progress_->JobStarted();
        break;
    case JobKind::Verifier:
        HoldInput();
        inputGuard_->SetInputDropped(true, suiForm1->CloseButton());
        progress_->JobStarted();
        break;
    }
    UpdateJobButtons();
}

void TForm1::EndJob(JobKind kind) {
    // The whole log shows when a job ends, also when it failed.
    makeLog_->Flush();
    verifyLog_->Flush();
    --runningJobs_;
    switch (kind) {
    case JobKind::Batch:
        --runningBatches_;
        progress_->BatchEnded();
        break;
    case JobKind::Maker:
        --runningMakers_;
        progress_->JobEnded();
        break;
    case JobKind::Verifier:
        inputGuard_->SetInputDropped(false);
        progress_->JobEnded();
        ReleaseInput();
        break;
    }
    UpdateJobButtons();
    if (runningJobs_ == 0) {
        cancelRequested_ = false;
        streamProgress_.Reset();
        inputGuard_->SetJobRunning(false);
        if (closeRequested_) {
            closeRequested_ = false;
            close();
        }
    }
}

void TForm1::UpdateJobButtons() {
    // A save needs every row's result, so it waits for the batches.
    BtnSave->setEnabled(runningBatches_ == 0);
    // While the maker writes, neither a second maker run nor a verification may start.
    BtnMake->setEnabled(runningMakers_ == 0);
    BtnVerify->setEnabled(runningMakers_ == 0);
}

void TForm1::HoldInput() {
    ++inputHeld_;
}

void TForm1::ReleaseInput() {
    if (--inputHeld_ == 0 && !pendingDrops_.empty()) {
        QTimer::singleShot(0, this, &TForm1::HandlePendingDrops);
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (runningJobs_ > 0) {
        // The running jobs stop at their next file; the window closes when the last has ended.
        closeRequested_ = true;
        cancelRequested_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedLocalFiles(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void TForm1::dragMoveEvent(QDragMoveEvent* event) {
    if (!DroppedLocalFiles(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
}

void TForm1::dropEvent(QDropEvent* event) {
    QStringList paths = DroppedLocalFiles(event->mimeData());
    if (paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Handled once the drop is over, like a message that the desktop posts: the program the
    // files came from is not kept waiting while they are digested, and a drop that arrives
    // during a digest or a verification waits for its end.
    pendingDrops_.push_back(std::move(paths));
    if (inputHeld_ == 0) {
        QTimer::singleShot(0, this, &TForm1::HandlePendingDrops);
    }
}

void TForm1::HandlePendingDrops() {
    while (inputHeld_ == 0 && !pendingDrops_.empty()) {
        const QStringList paths = std::move(pendingDrops_.front());
        pendingDrops_.pop_front();
        WMDropFiles(paths);
    }
}

} // namespace quorvix
