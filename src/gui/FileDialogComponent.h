// A file dialog kept by the window for its whole life, remembering its last confirmed choice.
#pragma once

#include "gui/UserDialogs.h"

#include <QString>
#include <QStringList>

namespace quorvix {

class FileDialogComponent {
public:
    explicit FileDialogComponent(FileDialogKind kind) : kind_(kind) {}

    QString Title;
    // Pairs "description|patterns|..."; see FileDialogRequest.
    QString Filter;
    // Without dot; appended to a chosen name whose file name has no extension. Empty: none.
    QString DefaultExt;

    // Shows the dialog through dialogs, opening with the name and filter pair of the last
    // confirmed use (the first pair the first time). Returns true when the user confirmed; Files()
    // and FileName() then hold the choice. A cancel changes nothing.
    bool Execute(UserDialogs& dialogs, QWidget* owner);

    // The chosen files of the last confirmed use, in the dialog's order.
    const QStringList& Files() const { return files_; }
    // The first chosen file, or empty before the first confirmed use.
    QString FileName() const { return files_.isEmpty() ? QString() : files_.constFirst(); }
    // The filter pair of the last confirmed use, counted from 0.
    int FilterIndex() const { return filterIndex_; }

private:
    FileDialogKind kind_;
    QStringList files_;
    int filterIndex_ = 0;
};

} // namespace quorvix
