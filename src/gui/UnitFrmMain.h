// The main window: the skinned frame, the page control with its four pages, Help and Exit.
#pragma once

#include "checksum/FileDigestList.h"
#include "checksum/JobHooks.h"
#include "gui/DesktopServices.h"
#include "gui/EventPacer.h"
#include "gui/FileDialogComponent.h"
#include "gui/StreamProgress.h"
#include "gui/UserDialogs.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace quorvix {

class ClickLabel;
class FileDigestListModel;
class JobInputGuard;
class JobProgress;
class FileStream;
class MemoLogSink;
class SkinnedFrame;
class SkinnedPageControl;

class TForm1 final : public QWidget {
    Q_OBJECT

public:
    // Builds the window with all its controls, then runs FormCreate. The window asks its
    // questions through dialogs and opens documents through desktop; either left empty means
    // the real ones (Qt's dialogs, the desktop's default programs).
    explicit TForm1(std::unique_ptr<UserDialogs> dialogs = nullptr,
                    std::unique_ptr<DesktopServices> desktop = nullptr);
    ~TForm1() override;

    // The window's controls and dialogs, named as in its layout. All are owned by the window.
    SkinnedFrame* suiForm1 = nullptr;
    SkinnedPageControl* PageControl = nullptr;
    QPushButton* BtnHelp = nullptr;
    QPushButton* BtnExit = nullptr;
    QProgressBar* JobProgressBar = nullptr;

    QWidget* SheetFileMD5 = nullptr;
    QTableView* LvwFile = nullptr;
    QPushButton* BtnSelectFile = nullptr;
    QPushButton* BtnSave = nullptr;

    QWidget* SheetMaker = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* EdtPath = nullptr;
    QPushButton* BtnSelect = nullptr;
    QPushButton* BtnMake = nullptr;
    QCheckBox* ChkSubFolder = nullptr;
    QPlainTextEdit* MemoMakeResult = nullptr;

    QWidget* SheetVerifier = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* EdtCheckfilePath = nullptr;
    QPushButton* BtnSelectCheckfile = nullptr;
    QPushButton* BtnVerify = nullptr;
    QPlainTextEdit* MemoVerifyResult = nullptr;

    QWidget* SheetAbout = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    ClickLabel* LblWebsite = nullptr;
    ClickLabel* LblEmail = nullptr;

    FileDialogComponent dlg2{FileDialogKind::OpenFiles};
    FileDialogComponent dlgSave{FileDialogKind::SaveFile};
    FileDialogComponent dlg{FileDialogKind::OpenFile};
    FileDialogComponent dlgSaveLog{FileDialogKind::SaveFile};

    // The list's context menu, each with its shortcut while the list has the focus.
    QAction* ActCopyDigest = nullptr;       // Ctrl+C
    QAction* ActCopyLine = nullptr;         // Ctrl+Shift+C
    QAction* ActCopyAllLines = nullptr;     // Ctrl+Alt+C
    QAction* ActCompareClipboard = nullptr; // Ctrl+V
    // "保存日志..." in each memo's context menu (Ctrl+S while the memo has the focus).
    QAction* ActSaveMakeLog = nullptr;
    QAction* ActSaveVerifyLog = nullptr;

    // The handlers. Each runs to its end; a failure that leaves one is shown in the
    // application's default error box, never passed to the caller.

    // Puts the prompts into the two memos and lets the window take dropped files.
    void FormCreate();
    // Asks for files with dlg2 and adds them to the list in the dialog's order.
    void BtnSelectFileClick();
    // Files dropped on the window: added in the drop's order while page 0 is shown. On the maker
    // page one dropped folder becomes the folder, on the verifier page one dropped file becomes
    // the check file; any other drop there, and every drop on the About page, is ignored without
    // a word.
    void WMDropFiles(const QStringList& droppedPaths);
    // The paths the program was started with (full, relative to the current folder, or file:
    // URLs). One folder goes to the maker page, which is shown; one check file (*.md5) goes to
    // the verifier page, which is shown and verifies it; anything else goes to the list on page
    // 0 as a drop would. Nothing for no paths.
    void OpenPaths(const QStringList& paths);
    // Saves the list through dlgSave, asking before it replaces a file; nothing for no rows.
    void BtnSaveClick();
    // Opens help.html from the executable's folder.
    void BtnHelpClick();
    // Open the web page and a new mail to support.
    void LblWebsiteClick();
    void LblEmailClick();
    // Closes the window, which ends the program; during a job, once the job is over.
    void BtnExitClick();
    // Puts the folder chosen in the folder chooser into EdtPath; a cancel keeps its text.
    void BtnSelectClick();
    // Checks EdtPath and makes the check file of that folder, logging into MemoMakeResult.
    void BtnMakeClick();
    // Puts the file chosen with dlg into EdtCheckfilePath; a cancel keeps its text.
    void BtnSelectCheckfileClick();
    // Checks EdtCheckfilePath and verifies that check file, logging into MemoVerifyResult.
    void BtnVerifyClick();

    // Put on the clipboard the digests of the selected rows, their lines as a saved list has
    // them, or the lines of every row; one line each, separated by line feeds. Rows without a
    // digest give no digest, and rows still being digested give nothing.
    void LvwFileCopyDigest();
    void LvwFileCopyLine();
    void LvwFileCopyAllLines();
    // Reads a digest (32 hexadecimal digits in either case, spaces around it ignored) from the
    // clipboard and selects every row with that digest; says so when there is none on the
    // clipboard or no row matches.
    void LvwFileCompareWithClipboard();
    // Saves the memo's lines as a text file chosen with dlgSaveLog, asking before it replaces a
    // file.
    void MemoSaveLog(QPlainTextEdit* memo);

    // The rows of page 0.
    const FileDigestList& DigestList() const { return *list_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    enum class JobKind { Batch, Maker, Verifier };

    // Marks a job as running for as long as it lives: the window disables what must not start
    // meanwhile, shows the progress bar and keeps a close request until the last job has ended.
    // The control that had the focus when the job started (the one that started it, by a click
    // or a key) gets it back at the end, rather than the control the focus moved on to when
    // that one was disabled.
    class JobScope {
    public:
        JobScope(TForm1& form, JobKind kind);
        JobScope(const JobScope&) = delete;
        JobScope& operator=(const JobScope&) = delete;
        ~JobScope();

    private:
        TForm1& form_;
        JobKind kind_;
        QPointer<QWidget> starter_;
    };

    void CreateControls();
    void CreateFileDigestPage();
    void CreateMakerPage();
    void CreateVerifierPage();
    void CreateAboutPage();
    void SetTabOrder();
    void ConnectHandlers();
    // The context menus and shortcuts of the list and the memos.
    void CreateActions();
    void UpdateListActions();
    // The selected rows of the list, top first.
    std::vector<std::size_t> SelectedRows() const;

    // Runs a handler's body; a failure that leaves it goes to the default error box.
    void RunHandler(const std::function<void()>& body);
    MessageAnswer ShowMessage(const QString& text, const QString& caption, MessageIcon icon,
                              MessageButtons buttons);
    // The box of a failed input check on the maker or verifier page.
    void ShowInputError(const QString& text);

    // Adds a batch of files to the list while the window shows that it is busy.
    void AddBatch(std::vector<std::string> paths);
    // The hooks of every job, each of which digests on worker threads: readProgress only counts
    // bytes, and the window paints (and, but for a verification, takes input) while the job
    // waits for results or after each file.
    JobHooks WorkerJobHooks();
    // How many workers digest for a job.
    static unsigned WindowWorkerCount();
    // What a job does whenever it lets events run.
    void RunWorkerJobEvents();
    // Asks every running job to stop at its next file.
    void RequestCancel();

    void BeginJob(JobKind kind);
    void EndJob(JobKind kind);
    void UpdateJobButtons();
    void HoldInput();
    void ReleaseInput();
    void HandlePendingDrops();
    void ReturnFocus(QWidget* starter);

    std::unique_ptr<UserDialogs> dialogs_;
    std::unique_ptr<DesktopServices> desktop_;
    std::unique_ptr<FileDigestList> list_;
    FileDigestListModel* model_ = nullptr;
    std::unique_ptr<JobProgress> progress_;
    std::unique_ptr<MemoLogSink> makeLog_;
    std::unique_ptr<MemoLogSink> verifyLog_;

    EventPacer eventPacer_;
    int runningJobs_ = 0;
    int runningBatches_ = 0;
    int runningMakers_ = 0;
    // While above 0, user input waits: a digest or a verification is running.
    int inputHeld_ = 0;
    bool closeRequested_ = false;
    // Set by Esc or a close request while a job runs; the jobs stop at their next file.
    bool cancelRequested_ = false;
    JobInputGuard* inputGuard_ = nullptr;
    // Bytes read of a large file by the maker's or verifier's workers.
    StreamProgress streamProgress_;
    // Drops taken from the desktop and not yet handled, oldest first.
    std::deque<QStringList> pendingDrops_;
};

} // namespace quorvix
