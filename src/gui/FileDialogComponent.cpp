#include "gui/FileDialogComponent.h"

#include "gui/FileFilter.h"

namespace quorvix {

bool FileDialogComponent::Execute(UserDialogs& dialogs, QWidget* owner) {
    FileDialogRequest request;
    request.kind = kind_;
    request.title = Title;
    request.filter = Filter;
    request.filterIndex = filterIndex_;
    request.fileName = FileName();

    const std::optional<FileDialogAnswer> answer = dialogs.ShowFileDialog(owner, request);
    if (!answer || answer->fileNames.isEmpty()) {
        return false;
    }
    files_.clear();
    for (const QString& name : answer->fileNames) {
        files_.append(WithDefaultExtension(name, DefaultExt));
    }
    filterIndex_ = answer->filterIndex;
    return true;
}

} // namespace quorvix
