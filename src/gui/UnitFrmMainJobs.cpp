// Pages 1 and 2: making a check file for a folder and verifying a check file.
#include "UnitFrmMain.h"

#include "checksum/CheckFileMaker.h"
#include "checksum/CheckFileVerifier.h"
#include "gui/InputChecks.h"
#include "gui/MemoLogSink.h"
#include "gui/NativeText.h"
#include "platform/FileSystem.h"

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
        if (IsEmptyAfterTrimming(folder)) {
            ShowInputError(QStringLiteral("首先请选择一个文件夹。"));
            return;
        }
        // The very text the maker gets, spaces and all.
        if (!FolderExists(folder)) {
            ShowInputError(QStringLiteral("该文件夹不存在。"));
            return;
        }
        JobScope job(*this, JobKind::Maker);
        CheckFileMaker(folder, ChkSubFolder->isChecked(), *makeLog_, WindowJobHooks());
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
        if (IsEmptyAfterTrimming(checkFile)) {
            ShowInputError(QStringLiteral("请首先选择检查文件."));
            return;
        }
        if (!FileExists(checkFile)) {
            ShowInputError(QStringLiteral("检查文件不存在."));
            return;
        }
        JobScope job(*this, JobKind::Verifier);
        CheckFileVerifier(checkFile, *verifyLog_, WindowJobHooks());
    });
}

} // namespace quorvix
