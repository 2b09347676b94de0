// Page 0 (the file digest list), Help, the About page's links and Exit.
#include "UnitFrmMain.h"

#include "gui/HelpAndLinks.h"
#include "gui/NativeText.h"
#include "gui/SkinnedPageControl.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>

namespace quorvix {
namespace {

std::vector<std::string> NativePaths(const QStringList& paths) {
    std::vector<std::string> native;
    native.reserve(static_cast<std::size_t>(paths.size()));
    for (const QString& path : paths) {
        native.push_back(ToNative(path));
    }
    return native;
}

} // namespace

void TForm1::BtnSelectFileClick() {
    RunHandler([this] {
        dlg2.Title = QStringLiteral("Choose files to calculate MD5 checksum:");
        dlg2.Filter = QStringLiteral("所有文件(*.*)|*.*");
        if (!dlg2.Execute(*dialogs_, this)) {
            return;
        }
        // The batch's own copy: a second selection made while it runs cannot change it.
        AddBatch(NativePaths(dlg2.Files()));
    });
}

void TForm1::WMDropFiles(const QStringList& droppedPaths) {
    RunHandler([this, &droppedPaths] {
        if (PageControl->ActivePageIndex() != 0) {
            return;
        }
        AddBatch(NativePaths(droppedPaths));
    });
}

void TForm1::BtnSaveClick() {
    RunHandler([this] {
        if (list_->RowCount() == 0) {
            return;
        }
        dlgSave.Filter = QStringLiteral("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*");
        dlgSave.DefaultExt = QStringLiteral("txt");
        if (!dlgSave.Execute(*dialogs_, this)) {
            return;
        }
        const std::string target = ToNative(dlgSave.FileName());
        if (FileExists(target) && ShowMessage(QStringLiteral("该文件已经存在，你要覆盖它吗?"),
                                              QStringLiteral("Overwrite"), MessageIcon::Question,
                                              MessageButtons::YesNo) != MessageAnswer::Yes) {
            return;
        }
        list_->SaveList(target);
    });
}

void TForm1::BtnHelpClick() {
    RunHandler([this] {
        desktop_->OpenUrl(
            QUrl::fromLocalFile(HelpFilePath(QCoreApplication::applicationFilePath())));
    });
}

void TForm1::LblWebsiteClick() {
    RunHandler([this] { desktop_->OpenUrl(ProductWebPageUrl()); });
}

void TForm1::LblEmailClick() {
    RunHandler([this] { desktop_->OpenUrl(SupportMailUrl()); });
}

void TForm1::BtnExitClick() {
    close();
}

} // namespace quorvix
