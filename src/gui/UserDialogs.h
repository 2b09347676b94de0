// The modal questions the window asks the user: message boxes, file dialogs and the folder
// chooser. The window reaches them only through this interface, so tests can answer them.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace quorvix {

enum class MessageIcon { Information, Question, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageRequest {
    QString text;
    QString caption;
    MessageIcon icon = MessageIcon::Information;
    MessageButtons buttons = MessageButtons::Ok; // with YesNo, Yes is the default button
};

enum class FileDialogKind {
    OpenFile,  // one file, which need not exist
    OpenFiles, // one or more files, which need not exist
    SaveFile,  // one name, in a folder that need not exist; never asks about overwriting
};

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::OpenFile;
    QString title;
    // Pairs of a description and a pattern list, all separated by "|", e.g.
    // "Text (*.txt)|*.txt|All (*.*)|*.*"; several patterns of one pair are separated by ";".
    QString filter;
    int filterIndex = 0; // the pair selected when the dialog opens, counted from 0
    QString fileName;    // the name shown when the dialog opens (full path or empty)
};

struct FileDialogAnswer {
    QStringList fileNames; // full paths in the dialog's order, exactly as chosen or typed
    int filterIndex = 0;   // the pair selected when the user confirmed
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // Shows an application-modal message box over owner and returns the button pressed. A box
    // closed without a button counts as OK or No.
    virtual MessageAnswer ShowMessage(QWidget* owner, const MessageRequest& request) = 0;

    // Shows a modal file dialog over owner; nothing when the user cancels.
    virtual std::optional<FileDialogAnswer> ShowFileDialog(QWidget* owner,
                                                           const FileDialogRequest& request) = 0;

    // Shows a modal chooser in which only existing folders can be confirmed; the chosen folder's
    // full path, or nothing when the user cancels.
    virtual std::optional<QString> BrowseForFolder(QWidget* owner, const QString& title) = 0;
};

} // namespace quorvix
