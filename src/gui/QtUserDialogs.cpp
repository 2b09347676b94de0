#include "gui/QtUserDialogs.h"

#include "gui/FileFilter.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace quorvix {
namespace {

// Qt's own file dialog refuses typed names that do not exist when several files may be chosen;
// this one accepts them, so that a name typed by hand reaches the list like a chosen file.
class LenientFileDialog final : public QFileDialog {
public:
    LenientFileDialog(QWidget* owner, const QString& title) : QFileDialog(owner, title) {
        // The widget dialog everywhere, so that the same rules hold on every desktop.
        setOption(QFileDialog::DontUseNativeDialog);
    }

    // Keeps the confirm button usable for typed names the dialog believes must exist.
    void AcceptMissingFiles() {
        auto* buttons = findChild<QDialogButtonBox*>();
        confirm_ = buttons != nullptr ? buttons->button(QDialogButtonBox::Open) : nullptr;
        nameEdit_ = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (confirm_ == nullptr || nameEdit_ == nullptr) {
            return;
        }
        acceptMissing_ = true;
        confirm_->installEventFilter(this);
        // Connected after the dialog's own handler, so this runs last on every edit.
        connect(nameEdit_, &QLineEdit::textChanged, this, [this] { KeepConfirmEnabled(); });
    }

    // The chosen files in the order the name field lists them. The dialog's own answer keeps
    // only the typed names that it found in the folder, so it would drop the others.
    QStringList ChosenFiles() const {
        if (!acceptMissing_) {
            return selectedFiles();
        }
        const QStringList typed = TypedNames();
        return typed.isEmpty() ? selectedFiles() : typed;
    }

    void accept() override {
        if (acceptMissing_) {
            const QStringList files = ChosenFiles();
            for (const QString& file : files) {
                if (!QFileInfo::exists(file)) {
                    QDialog::accept();
                    return;
                }
            }
        }
        // Existing names, or a folder to open: the dialog's own handling.
        QFileDialog::accept();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == confirm_ && event->type() == QEvent::EnabledChange) {
            KeepConfirmEnabled();
        }
        return QFileDialog::eventFilter(watched, event);
    }

private:
    // The names in the name field: one name, or several each in double quotes, as the dialog
    // writes them for a selection of several files; relative ones are in the shown folder.
    QStringList TypedNames() const {
        const QString text = nameEdit_->text();
        QStringList names;
        if (text.contains(QLatin1Char('"'))) {
            const QStringList parts = text.split(QLatin1Char('"'));
            for (qsizetype i = 1; i < parts.size(); i += 2) {
                names.append(parts[i]);
            }
        } else if (!text.trimmed().isEmpty()) {
            names.append(text);
        }
        QStringList files;
        for (const QString& name : names) {
            if (!name.isEmpty()) {
                files.append(QDir::isAbsolutePath(name) ? name : directory().filePath(name));
            }
        }
        return files;
    }

    void KeepConfirmEnabled() {
        if (!confirm_->isEnabled() && !nameEdit_->text().trimmed().isEmpty()) {
            confirm_->setEnabled(true);
        }
    }

    QPushButton* confirm_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    bool acceptMissing_ = false;
};

} // namespace

MessageAnswer QtUserDialogs::ShowMessage(QWidget* owner, const MessageRequest& request) {
    QMessageBox::Icon icon = QMessageBox::Information;
    switch (request.icon) {
    case MessageIcon::Information:
        icon = QMessageBox::Information;
        break;
    case MessageIcon::Question:
        icon = QMessageBox::Question;
        break;
    case MessageIcon::Critical:
        icon = QMessageBox::Critical;
        break;
    }
    const bool yesNo = request.buttons == MessageButtons::YesNo;
    QMessageBox box(icon, request.caption, request.text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box.setDefaultButton(yesNo ? QMessageBox::Yes : QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    const int pressed = box.exec();
    if (!yesNo) {
        return MessageAnswer::Ok;
    }
    return pressed == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<FileDialogAnswer> QtUserDialogs::ShowFileDialog(QWidget* owner,
                                                              const FileDialogRequest& request) {
    LenientFileDialog dialog(owner, request.title);
    dialog.setWindowModality(Qt::ApplicationModal);
    // The description already shows the patterns the way the window wrote them.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    switch (request.kind) {
    case FileDialogKind::OpenFile:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        break;
    case FileDialogKind::OpenFiles:
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFiles);
        dialog.AcceptMissingFiles();
        break;
    case FileDialogKind::SaveFile:
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        break;
    }

    const QList<FileFilterPair> pairs = SplitFileFilter(request.filter);
    QStringList nameFilters;
    for (const FileFilterPair& pair : pairs) {
        nameFilters.append(QtNameFilter(pair));
    }
    if (!nameFilters.isEmpty()) {
        dialog.setNameFilters(nameFilters);
        dialog.selectNameFilter(nameFilters.value(request.filterIndex, nameFilters.constFirst()));
    }
    if (!request.fileName.isEmpty()) {
        dialog.selectFile(request.fileName);
    }

    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    FileDialogAnswer answer;
    answer.fileNames = dialog.ChosenFiles();
    // With the details hidden the dialog reports a pair by its description alone.
    const QString selected = dialog.selectedNameFilter();
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        if (selected == nameFilters[i] || selected == pairs[i].description) {
            answer.filterIndex = static_cast<int>(i);
            break;
        }
    }
    return answer;
}

std::optional<QString> QtUserDialogs::BrowseForFolder(QWidget* owner, const QString& title) {
    QFileDialog dialog(owner, title, QDir::homePath());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return QDir::cleanPath(dialog.selectedFiles().constFirst());
}

} // namespace quorvix
