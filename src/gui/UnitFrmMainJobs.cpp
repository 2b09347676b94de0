// Pages 1 and 2: making a check file for a folder and verifying a check file.
#include "UnitFrmMain.h"

#include "checksum/CheckFileMaker.h"
#include "checksum/CheckFileVerifier.h"
#include "checksum/JobInputChecks.h"
#include "gui/MemoLogSink.h"
#include "gui/NativeText.h"

#include <QCheckBox>
#include <QLineEdit>

namespace quorvix {

void TForm1::ShowInputError(const QString& text) {
    ShowMessage(text, QStringLiteral("错误"), MessageIcon::Information, MessageButtons::Ok);
}

void TForm1::BtnSelectClick() {
    RunHandler([this] {
        const std::optional<QString> folder =
            dialogs_->BrowseForFolder(this, QStringLiteral("请选择文件夹，以检查文件。"));
        if (folder) {
            EdtPath->setText(*folder);
        }
    });
}

void TForm1::BtnMakeClick() {
    RunHandler([this] {
        const std::string folder = ToNative(EdtPath->text());
        // The very text the maker gets, spaces and all, is the one tested.
        if (const auto problem = MakerInputProblem(folder)) {
            ShowInputError(QString::fromUtf8(problem->c_str()));
            return;
        }
        JobScope job(*this, JobKind::Maker);
        CheckFileMaker(folder, ChkSubFolder->isChecked(), *makeLog_, WorkerJobHooks(),
                       WindowWorkerCount());
    });
}

void TForm1::BtnSelectCheckfileClick() {
    RunHandler([this] {
        dlg.Title = QStringLiteral("选择检查文件");
        dlg.Filter = QStringLiteral("检查文件 (*.md5)|*.md5|所有文件 (*.*)|*.*");
        if (dlg.Execute(*dialogs_, this)) {
            EdtCheckfilePath->setText(dlg.FileName());
        }
    });
}

void TForm1::BtnVerifyClick() {
    RunHandler([this] {
        const std::string checkFile = ToNative(EdtCheckfilePath->text());
        if (const auto problem = VerifierInputProblem(checkFile)) {
            ShowInputError(QString::fromUtf8(problem->c_str()));
            return;
        }
        JobScope job(*this, JobKind::Verifier);
        const VerificationCounts counts =
            VerifyCheckFile(checkFile, *verifyLog_, WorkerJobHooks(), {}, WindowWorkerCount());
        if (counts.Entries() == 0 && !counts.cancelled) {
            // The summary alone ("0 file was verified. 0 file changed.") would read like a pass.
            verifyLog_->Append("检查文件 \"" + checkFile +
                               "\" 中没有 Quorvix 能读取的 MD5 校验行。");
        }
    });
}

} // namespace quorvix
