// Page 0 (the file digest list), drops and the paths given at start, Help, the About page's
// links and Exit.
#include "UnitFrmMain.h"

#include "gui/HelpAndLinks.h"
#include "gui/NativeText.h"
#include "gui/SkinnedPageControl.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QUrl>

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
        switch (PageControl->ActivePageIndex()) {
        case 0:
            AddBatch(NativePaths(droppedPaths));
            break;
        case 1:
            if (droppedPaths.size() == 1 && FolderExists(ToNative(droppedPaths.front()))) {
                EdtPath->setText(droppedPaths.front());
            }
            break;
        case 2:
            if (droppedPaths.size() == 1 && FileExists(ToNative(droppedPaths.front()))) {
                EdtCheckfilePath->setText(droppedPaths.front());
            }
            break;
        default:
            break;
        }
    });
}

void TForm1::OpenPaths(const QStringList& paths) {
    RunHandler([this, &paths] {
        QStringList fullPaths;
        for (const QString& path : paths) {
            const QUrl url(path);
            if (url.isLocalFile()) {
                fullPaths.append(url.toLocalFile());
            } else if (QDir::isAbsolutePath(path)) {
                fullPaths.append(path);
            } else {
                fullPaths.append(QDir::cleanPath(QDir::current().absoluteFilePath(path)));
            }
        }
        if (fullPaths.size() == 1) {
            const QString& only = fullPaths.front();
            if (FolderExists(ToNative(only))) {
                PageControl->SetActivePageIndex(1);
                EdtPath->setText(only);
                return;
            }
            if (only.endsWith(QStringLiteral(".md5"), Qt::CaseInsensitive) &&
                FileExists(ToNative(only))) {
                PageControl->SetActivePageIndex(2);
                EdtCheckfilePath->setText(only);
                BtnVerifyClick();
                return;
            }
        }
        if (!fullPaths.isEmpty()) {
            PageControl->SetActivePageIndex(0);
            AddBatch(NativePaths(fullPaths));
        }
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
