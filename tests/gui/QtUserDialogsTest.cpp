// The real dialogs behind the window's questions, answered by a timer that plays the user: a
// dialog that is not answered is rejected after a few seconds, so no test can hang on one.
#include "GuiTestSupport.h"

#include "gui/QtUserDialogs.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace quorvix;

namespace {

void TypeAndConfirm(QDialog* dialog, const QString& text) {
    auto* nameEdit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog->findChild<QDialogButtonBox*>();
    if (nameEdit == nullptr || buttons == nullptr) {
        dialog->reject();
        return;
    }
    // Typed as a user does, into the focused name field (the dialog rewrites the field from
    // its list's selection only while the field has no focus).
    dialog->activateWindow();
    if (!QTest::qWaitForWindowActive(dialog)) {
        dialog->reject();
        return;
    }
    nameEdit->setFocus();
    nameEdit->setText(text);
    QPushButton* confirm = nullptr;
    for (QAbstractButton* button : buttons->buttons()) {
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
            confirm = qobject_cast<QPushButton*>(button);
        }
    }
    if (confirm == nullptr || !confirm->isEnabled()) {
        dialog->reject();
        return;
    }
    confirm->click();
}

} // namespace

class QtUserDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openFilesAcceptsNamesThatDoNotExist();
    void openFileStartsWithRememberedNameAndFilter();
    void saveAcceptsAPathInAMissingFolderWithoutAsking();
    void folderChooserConfirmsOnlyFolders();
    void yesNoBoxGivesTheButtonPressed();

private:
    std::unique_ptr<QTemporaryDir> folder_;
    QtUserDialogs dialogs_;
};

void QtUserDialogsTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
}

void QtUserDialogsTest::cleanup() {
    folder_.reset();
}

void QtUserDialogsTest::openFilesAcceptsNamesThatDoNotExist() {
    const QString existing = folder_->filePath(QStringLiteral("abc.txt"));
    test::WriteFile(existing, "abc");
    FileDialogRequest request;
    request.kind = FileDialogKind::OpenFiles;
    request.title = QStringLiteral("Choose files to calculate MD5 checksum:");
    request.filter = QStringLiteral("所有文件(*.*)|*.*");
    request.fileName = folder_->filePath(QStringLiteral("x"));

    QString title;
    test::AnswerNextDialog([&](QDialog* dialog) {
        title = dialog->windowTitle();
        TypeAndConfirm(dialog, QStringLiteral("\"missing one.txt\" \"abc.txt\""));
    });
    const std::optional<FileDialogAnswer> answer = dialogs_.ShowFileDialog(nullptr, request);
    QVERIFY(answer.has_value());
    QCOMPARE(title, request.title);
    QCOMPARE(answer->fileNames,
             QStringList({folder_->filePath(QStringLiteral("missing one.txt")), existing}));
    QCOMPARE(answer->filterIndex, 0);
}

void QtUserDialogsTest::openFileStartsWithRememberedNameAndFilter() {
    FileDialogRequest request;
    request.kind = FileDialogKind::OpenFile;
    request.title = QStringLiteral("选择检查文件");
    request.filter = QStringLiteral("检查文件 (*.md5)|*.md5|所有文件 (*.*)|*.*");
    request.filterIndex = 1;
    request.fileName = folder_->filePath(QStringLiteral("旧.md5"));

    QString shownName;
    QString shownFilter;
    bool shownAllFiles = false;
    test::AnswerNextDialog([&](QDialog* dialog) {
        auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
        shownFilter = fileDialog->nameFilters().value(1);
        shownAllFiles = fileDialog->selectedNameFilter().startsWith(QStringLiteral("所有文件"));
        shownName = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        TypeAndConfirm(dialog, shownName);
    });
    const std::optional<FileDialogAnswer> answer = dialogs_.ShowFileDialog(nullptr, request);
    QVERIFY(answer.has_value());
    QCOMPARE(shownName, QStringLiteral("旧.md5"));
    // "*.*" lists every file, names without a dot too.
    QCOMPARE(shownFilter, QStringLiteral("所有文件 (*.*) (*)"));
    QVERIFY(shownAllFiles);
    QCOMPARE(answer->fileNames, QStringList({request.fileName}));
    QCOMPARE(answer->filterIndex, 1);
}

void QtUserDialogsTest::saveAcceptsAPathInAMissingFolderWithoutAsking() {
    const QString existing = folder_->filePath(QStringLiteral("list.txt"));
    test::WriteFile(existing, "old");
    FileDialogRequest request;
    request.kind = FileDialogKind::SaveFile;
    request.title = QStringLiteral("保存 MD5 校验");
    request.filter = QStringLiteral("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*");

    request.fileName = folder_->filePath(QStringLiteral("start"));
    test::AnswerNextDialog(
        [](QDialog* dialog) { TypeAndConfirm(dialog, QStringLiteral("no such folder/list")); });
    std::optional<FileDialogAnswer> answer = dialogs_.ShowFileDialog(nullptr, request);
    QVERIFY(answer.has_value());
    // The name as typed: the window adds the default extension itself.
    QCOMPARE(answer->fileNames,
             QStringList({folder_->filePath(QStringLiteral("no such folder/list"))}));

    // An existing file: the window asks about overwriting, the dialog does not.
    test::AnswerNextDialog(
        [](QDialog* dialog) { TypeAndConfirm(dialog, QStringLiteral("list.txt")); });
    answer = dialogs_.ShowFileDialog(nullptr, request);
    QVERIFY(answer.has_value());
    QCOMPARE(answer->fileNames, QStringList({existing}));
}

void QtUserDialogsTest::folderChooserConfirmsOnlyFolders() {
    QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("照片")));
    test::WriteFile(folder_->filePath(QStringLiteral("a.txt")), "a");

    QString title;
    test::AnswerNextDialog([&](QDialog* dialog) {
        title = dialog->windowTitle();
        qobject_cast<QFileDialog*>(dialog)->setDirectory(folder_->path());
        TypeAndConfirm(dialog, QStringLiteral("照片"));
    });
    std::optional<QString> chosen =
        dialogs_.BrowseForFolder(nullptr, QStringLiteral("请选择文件夹，以检查文件。"));
    QCOMPARE(title, QStringLiteral("请选择文件夹，以检查文件。"));
    QCOMPARE(chosen, std::optional<QString>(folder_->filePath(QStringLiteral("照片"))));

    // A file cannot be confirmed: the chooser refuses it and stays open until it is cancelled.
    bool refused = false;
    test::AnswerNextDialog([&](QDialog* dialog) {
        qobject_cast<QFileDialog*>(dialog)->setDirectory(folder_->path());
        auto* nameEdit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        auto* buttons = dialog->findChild<QDialogButtonBox*>();
        nameEdit->setText(QStringLiteral("a.txt"));
        QPushButton* confirm = buttons->button(QDialogButtonBox::Open);
        if (confirm != nullptr && confirm->isEnabled()) {
            confirm->click();
        }
        refused = dialog->isVisible();
        dialog->reject();
    });
    chosen = dialogs_.BrowseForFolder(nullptr, QStringLiteral("请选择文件夹，以检查文件。"));
    QVERIFY(refused);
    QVERIFY(!chosen.has_value());
}

void QtUserDialogsTest::yesNoBoxGivesTheButtonPressed() {
    for (const MessageAnswer pressed : {MessageAnswer::No, MessageAnswer::Yes}) {
        QString text;
        QString caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool yesIsDefault = false;
        test::AnswerNextDialog([&](QDialog* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            text = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes);
            box->button(pressed == MessageAnswer::Yes ? QMessageBox::Yes : QMessageBox::No)
                ->click();
        });
        const MessageAnswer answer = dialogs_.ShowMessage(
            nullptr, {QStringLiteral("该文件已经存在，你要覆盖它吗?"), QStringLiteral("Overwrite"),
                      MessageIcon::Question, MessageButtons::YesNo});
        QCOMPARE(answer, pressed);
        QCOMPARE(text, QStringLiteral("该文件已经存在，你要覆盖它吗?"));
        QCOMPARE(caption, QStringLiteral("Overwrite"));
        QCOMPARE(icon, QMessageBox::Question);
        QVERIFY(yesIsDefault);
    }
}

QTEST_MAIN(QtUserDialogsTest)
#include "QtUserDialogsTest.moc"
