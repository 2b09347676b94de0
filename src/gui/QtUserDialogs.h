// The window's questions answered by the real user, with Qt's own dialogs.
#pragma once

#include "gui/UserDialogs.h"

namespace quorvix {

class QtUserDialogs final : public UserDialogs {
public:
    MessageAnswer ShowMessage(QWidget* owner, const MessageRequest& request) override;
    std::optional<FileDialogAnswer> ShowFileDialog(QWidget* owner,
                                                   const FileDialogRequest& request) override;
    std::optional<QString> BrowseForFolder(QWidget* owner, const QString& title) override;
};

} // namespace quorvix
