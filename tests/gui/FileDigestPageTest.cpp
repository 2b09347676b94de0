// Page 0 through its handlers: choosing and dropping files, saving the list, and Help.
#include "GuiTestSupport.h"

#include "checksum/FileDigestList.h"
#include "gui/ClickLabel.h"
#include "gui/ErrorBox.h"
#include "gui/NativeText.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <vector>

using namespace quorvix;

namespace {

const QString AbcDigest = QStringLiteral("900150983cd24fb0d6963f7d28e17f72");
const QString EmptyDigest = QStringLiteral("d41d8cd98f00b204e9800998ecf8427e");
const QString ADigest = QStringLiteral("0cc175b9c0f1b6a831c399e269772661");

// What the list view shows: one "path | result" text per row.
QStringList ShownRows(const TForm1& form) {
    QStringList rows;
    const QAbstractItemModel* model = form.LvwFile->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        rows.append(model->index(row, 0).data().toString() + QStringLiteral(" | ") +
                    model->index(row, 1).data().toString());
    }
    return rows;
}

} // namespace

class FileDigestPageTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void chosenFilesBecomeRowsInOrder();
    void selectionDialogAsksForManyFilesAndRemembers();
    void cancelledSelectionAddsNothing();
    void dropOfThreeFilesAddsThemInDropOrder();
    void dropOnAnotherPageAddsNothing_data();
    void dropOnAnotherPageAddsNothing();
    void droppedFolderCannotBeOpened();
    void busyWhileABatchRunsAndCloseStopsItAtTheNextFile();
    void escapeStopsABatchAtTheNextFile();

    void copyKeysPutDigestsAndLinesOnTheClipboard_data();
    void copyKeysPutDigestsAndLinesOnTheClipboard();
    void compareWithClipboardSelectsMatchingRows_data();
    void compareWithClipboardSelectsMatchingRows();
    void listContextMenuOffersCopyAndCompare();

    void saveWithoutRowsOpensNoDialog();
    void saveWritesEveryRow();
    void overwriteAnsweredNoKeepsTheFile();
    void overwriteAnsweredYesReplacesTheFile();
    void nameWithoutExtensionGetsTxt();
    void saveIntoMissingFolderShowsDefaultErrorBox();
    void saveDialogRemembersNameAndFilter();

    void helpOpensHelpPageBesideExecutable();
    void aboutLinksOpenWebPageAndMail();

private:
    QString Fixture(const QString& name, const QByteArray& content);
    // Rows "a", "abc", "a" again and a missing file, with the window active and the list
    // focused; returns their paths.
    QStringList FillListForClipboard();
    std::vector<int> SelectedRows() const;

    std::unique_ptr<test::FormWithFakes> window_;
    TForm1* form_ = nullptr;
    test::FakeUserDialogs* dialogs_ = nullptr;
    std::unique_ptr<QTemporaryDir> folder_;
};

void FileDigestPageTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    window_ = std::make_unique<test::FormWithFakes>();
    form_ = window_->form.get();
    dialogs_ = window_->dialogs;
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
}

void FileDigestPageTest::cleanup() {
    form_ = nullptr;
    dialogs_ = nullptr;
    window_.reset();
    folder_.reset();
}

QString FileDigestPageTest::Fixture(const QString& name, const QByteArray& content) {
    const QString path = folder_->filePath(name);
    test::WriteFile(path, content);
    return path;
}

void FileDigestPageTest::chosenFilesBecomeRowsInOrder() {
    const QString abc = Fixture(QStringLiteral("校验 abc.txt"), "abc");
    const QString empty = Fixture(QStringLiteral("empty"), "");
    // The dialog accepts a typed name of a file that does not exist.
    const QString typed = folder_->filePath(QStringLiteral("typed-but-missing.txt"));
    dialogs_->ChooseFiles({abc, typed, empty});
    QTest::mouseClick(form_->BtnSelectFile, Qt::LeftButton);

    QCOMPARE(ShownRows(*form_),
             QStringList({abc + " | " + AbcDigest, typed + " | Could not open file",
                          empty + " | " + EmptyDigest}));

    // Choosing a listed file again appends a row; the earlier rows stay as they were.
    dialogs_->ChooseFiles({abc});
    form_->BtnSelectFileClick();
    QCOMPARE(ShownRows(*form_).size(), 4);
    QCOMPARE(ShownRows(*form_).at(3), abc + " | " + AbcDigest);
    QCOMPARE(ShownRows(*form_).at(0), abc + " | " + AbcDigest);
    QVERIFY(dialogs_->messages.empty());
}

void FileDigestPageTest::selectionDialogAsksForManyFilesAndRemembers() {
    const QString a = Fixture(QStringLiteral("a.txt"), "a");
    const QString b = Fixture(QStringLiteral("b.txt"), "b");
    dialogs_->ChooseFiles({a, b});
    form_->BtnSelectFileClick();
    form_->BtnSelectFileClick(); // cancelled: remembers the last confirmed choice still
    form_->BtnSelectFileClick();

    QCOMPARE(dialogs_->fileRequests.size(), std::size_t{3});
    const FileDialogRequest& first = dialogs_->fileRequests[0];
    QCOMPARE(first.kind, FileDialogKind::OpenFiles);
    QCOMPARE(first.title, QStringLiteral("Choose files to calculate MD5 checksum:"));
    QCOMPARE(first.filter, QStringLiteral("所有文件(*.*)|*.*"));
    QCOMPARE(first.filterIndex, 0);
    QVERIFY(first.fileName.isEmpty());
    for (std::size_t i = 1; i < 3; ++i) {
        QCOMPARE(dialogs_->fileRequests[i].fileName, a);
    }
}

void FileDigestPageTest::cancelledSelectionAddsNothing() {
    form_->BtnSelectFileClick();
    QCOMPARE(dialogs_->fileRequests.size(), std::size_t{1});
    QCOMPARE(form_->LvwFile->model()->rowCount(), 0);
}

void FileDigestPageTest::dropOfThreeFilesAddsThemInDropOrder() {
    const QString c = Fixture(QStringLiteral("c"), "abc");
    const QString a = Fixture(QStringLiteral("a"), "a");
    const QString b = Fixture(QStringLiteral("文件 b"), "");
    test::Drop(*form_, {c, a, b});
    QTRY_COMPARE(ShownRows(*form_), QStringList({c + " | " + AbcDigest, a + " | " + ADigest,
                                                 b + " | " + EmptyDigest}));
}

void FileDigestPageTest::dropOnAnotherPageAddsNothing_data() {
    QTest::addColumn<int>("page");
    QTest::newRow("maker") << 1;
    QTest::newRow("verifier") << 2;
    QTest::newRow("about") << 3;
}

void FileDigestPageTest::dropOnAnotherPageAddsNothing() {
    QFETCH(int, page);
    const QString a = Fixture(QStringLiteral("a"), "a");
    form_->PageControl->SetActivePageIndex(page);
    test::Drop(*form_, {a});
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(form_->DigestList().RowCount(), std::size_t{0});
    QVERIFY(dialogs_->messages.empty());

    // The same drop once page 0 is shown again is taken.
    form_->PageControl->SetActivePageIndex(0);
    test::Drop(*form_, {a});
    QTRY_COMPARE(form_->DigestList().RowCount(), std::size_t{1});
}

void FileDigestPageTest::droppedFolderCannotBeOpened() {
    const QString sub = folder_->filePath(QStringLiteral("子文件夹"));
    QVERIFY(QDir().mkdir(sub));
    Fixture(QStringLiteral("子文件夹/inside.txt"), "abc");
    test::Drop(*form_, {sub});
    // The folder is not walked: one row for the folder itself.
    QTRY_COMPARE(ShownRows(*form_), QStringList({sub + " | Could not open file"}));
}

void FileDigestPageTest::busyWhileABatchRunsAndCloseStopsItAtTheNextFile() {
    const QString a = Fixture(QStringLiteral("a"), "a");
    const QString b = Fixture(QStringLiteral("b"), "abc");
    bool saveEnabledDuringBatch = true;
    bool progressShownDuringBatch = false;
    bool visibleAfterClose = false;
    // Runs while the batch lets events run before its first digest.
    QTimer::singleShot(0, form_, [&] {
        saveEnabledDuringBatch = form_->BtnSave->isEnabled();
        progressShownDuringBatch = form_->JobProgressBar->isVisible();
        form_->close();
        visibleAfterClose = form_->isVisible();
    });
    dialogs_->ChooseFiles({a, b});
    form_->BtnSelectFileClick();

    QVERIFY(!saveEnabledDuringBatch);
    QVERIFY(progressShownDuringBatch);
    QVERIFY(visibleAfterClose);
    // The file being digested was finished, the next one got no row, then the window closed.
    QCOMPARE(ShownRows(*form_), QStringList({a + " | " + ADigest}));
    QVERIFY(!form_->isVisible());
    QVERIFY(form_->BtnSave->isEnabled());
    QVERIFY(!form_->JobProgressBar->isVisibleTo(form_));
}

void FileDigestPageTest::escapeStopsABatchAtTheNextFile() {
    const QString a = Fixture(QStringLiteral("a"), "a");
    const QString b = Fixture(QStringLiteral("b"), "abc");
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_));
    QTimer::singleShot(0, form_, [&] {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus != nullptr ? focus : form_, Qt::Key_Escape);
    });
    dialogs_->ChooseFiles({a, b, a});
    QTest::mouseClick(form_->BtnSelectFile, Qt::LeftButton);
    QCOMPARE(ShownRows(*form_), QStringList({a + " | " + ADigest}));
    QVERIFY(form_->isVisible());
    QVERIFY(form_->BtnSave->isEnabled());

    // Esc with no job running stops nothing, and the next batch runs to its end.
    QTest::keyClick(form_->BtnSelectFile, Qt::Key_Escape);
    dialogs_->ChooseFiles({b});
    QTest::mouseClick(form_->BtnSelectFile, Qt::LeftButton);
    QCOMPARE(ShownRows(*form_), QStringList({a + " | " + ADigest, b + " | " + AbcDigest}));
}

QStringList FileDigestPageTest::FillListForClipboard() {
    const QString a = Fixture(QStringLiteral("a"), "a");
    const QString abc = Fixture(QStringLiteral("abc"), "abc");
    const QString missing = folder_->filePath(QStringLiteral("missing"));
    dialogs_->ChooseFiles({a, abc, a, missing});
    form_->BtnSelectFileClick();
    form_->activateWindow();
    if (!QTest::qWaitForWindowActive(form_)) {
        qWarning("the window did not become active");
    }
    form_->LvwFile->setFocus();
    return {a, abc, a, missing};
}

std::vector<int> FileDigestPageTest::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : form_->LvwFile->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void FileDigestPageTest::copyKeysPutDigestsAndLinesOnTheClipboard_data() {
    QTest::addColumn<int>("row");          // selected before the key; -1: none
    QTest::addColumn<int>("modifiers");    // with Ctrl+C
    QTest::addColumn<QString>("expected"); // <a>, <abc>, <missing> stand for the paths
    const int plain = Qt::ControlModifier;
    const int line = Qt::ControlModifier | Qt::ShiftModifier;
    const int all = Qt::ControlModifier | Qt::AltModifier;
    QTest::newRow("digest") << 1 << plain << AbcDigest;
    QTest::newRow("digest of a row that has none") << 3 << plain << "before";
    QTest::newRow("digest with nothing selected") << -1 << plain << "before";
    QTest::newRow("line") << 1 << line << "<abc>     " + AbcDigest;
    QTest::newRow("line of a file that could not be opened")
        << 3 << line << "<missing>     Could not open file";
    QTest::newRow("all lines") << -1 << all
                               << "<a>     " + ADigest + "\n<abc>     " + AbcDigest + "\n<a>     " +
                                      ADigest + "\n<missing>     Could not open file";
}

void FileDigestPageTest::copyKeysPutDigestsAndLinesOnTheClipboard() {
    QFETCH(int, row);
    QFETCH(int, modifiers);
    QFETCH(QString, expected);
    const QStringList paths = FillListForClipboard();
    expected.replace(QStringLiteral("<a>"), paths[0]);
    expected.replace(QStringLiteral("<abc>"), paths[1]);
    expected.replace(QStringLiteral("<missing>"), paths[3]);
    window_->desktop->clipboard = QStringLiteral("before");
    form_->LvwFile->clearSelection();
    if (row >= 0) {
        form_->LvwFile->selectRow(row);
    }
    QTest::keyClick(form_->LvwFile, Qt::Key_C, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(window_->desktop->clipboard, expected);
}

void FileDigestPageTest::compareWithClipboardSelectsMatchingRows_data() {
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<std::vector<int>>("selected");
    QTest::addColumn<QString>("message"); // empty: none
    const QString noDigest = QStringLiteral("剪贴板中没有 MD5 校验值（32 位十六进制数字）。");
    const QString noMatch = QStringLiteral("列表中没有文件的 MD5 校验值与剪贴板中的相同。");
    QTest::newRow("two rows match") << ADigest << std::vector<int>{0, 2} << QString();
    QTest::newRow("upper case, spaces and a line end around it")
        << "  " + AbcDigest.toUpper() + " \r\n"
        << std::vector<int>{1} << QString();
    QTest::newRow("no row matches") << EmptyDigest << std::vector<int>{} << noMatch;
    QTest::newRow("no digest") << "hello" << std::vector<int>{} << noDigest;
    QTest::newRow("31 digits") << ADigest.left(31) << std::vector<int>{} << noDigest;
    QTest::newRow("digest and file name") << ADigest + "  a" << std::vector<int>{} << noDigest;
    QTest::newRow("empty clipboard") << "" << std::vector<int>{} << noDigest;
}

void FileDigestPageTest::compareWithClipboardSelectsMatchingRows() {
    QFETCH(QString, clipboard);
    QFETCH(std::vector<int>, selected);
    QFETCH(QString, message);
    FillListForClipboard();
    form_->LvwFile->selectRow(3);
    window_->desktop->clipboard = clipboard;
    QTest::keyClick(form_->LvwFile, Qt::Key_V, Qt::ControlModifier);
    if (message.isEmpty()) {
        QVERIFY(dialogs_->messages.empty());
        QCOMPARE(SelectedRows(), selected);
    } else {
        QCOMPARE(dialogs_->messages.size(), std::size_t{1});
        QCOMPARE(dialogs_->messages.front().text, message);
        QCOMPARE(dialogs_->messages.front().caption, QStringLiteral("与剪贴板比较"));
        QCOMPARE(dialogs_->messages.front().icon, MessageIcon::Information);
    }
    // Selected rows copy together, one line each.
    if (selected.size() == 2) {
        QTest::keyClick(form_->LvwFile, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(window_->desktop->clipboard, ADigest + "\n" + ADigest);
    }
}

void FileDigestPageTest::listContextMenuOffersCopyAndCompare() {
    QCOMPARE(form_->LvwFile->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList texts;
    for (const QAction* action : form_->LvwFile->actions()) {
        texts.append(action->text() + " " + action->shortcut().toString());
    }
    QCOMPARE(texts, QStringList({"复制 MD5 校验值 Ctrl+C", "复制行 Ctrl+Shift+C",
                                 "复制所有行 Ctrl+Alt+C", "与剪贴板比较 Ctrl+V"}));
    // Nothing to copy in an empty list.
    QVERIFY(!form_->ActCopyDigest->isEnabled());
    QVERIFY(!form_->ActCopyAllLines->isEnabled());
    QVERIFY(form_->ActCompareClipboard->isEnabled());
}

void FileDigestPageTest::saveWithoutRowsOpensNoDialog() {
    QTest::mouseClick(form_->BtnSave, Qt::LeftButton);
    QVERIFY(dialogs_->fileRequests.empty());
    QVERIFY(dialogs_->messages.empty());
}

void FileDigestPageTest::saveWritesEveryRow() {
    const QString abc = Fixture(QStringLiteral("a b c.txt"), "abc");
    const QString missing = folder_->filePath(QStringLiteral("missing"));
    dialogs_->ChooseFiles({abc, missing});
    form_->BtnSelectFileClick();

    const QString target = folder_->filePath(QStringLiteral("列表.txt"));
    dialogs_->ChooseFiles({target});
    QTest::mouseClick(form_->BtnSave, Qt::LeftButton);

    const FileDialogRequest& request = dialogs_->fileRequests.back();
    QCOMPARE(request.kind, FileDialogKind::SaveFile);
    QCOMPARE(request.title, QStringLiteral("保存 MD5 校验"));
    QCOMPARE(request.filter, QStringLiteral("文本文件 (*.txt)|*.txt|所有文件 (*.*)|*.*"));
    QCOMPARE(
        test::ReadFile(target),
        (abc + "     " + AbcDigest + "\r\n" + missing + "     Could not open file\r\n").toUtf8());
    QVERIFY(dialogs_->messages.empty());
}

void FileDigestPageTest::overwriteAnsweredNoKeepsTheFile() {
    dialogs_->ChooseFiles({Fixture(QStringLiteral("a"), "a")});
    form_->BtnSelectFileClick();
    const QString target = Fixture(QStringLiteral("old.txt"), "old content");
    dialogs_->ChooseFiles({target});
    dialogs_->messageAnswers.push_back(MessageAnswer::No);
    form_->BtnSaveClick();

    QCOMPARE(test::ReadFile(target), QByteArray("old content"));
    QCOMPARE(dialogs_->messages.size(), std::size_t{1});
    const MessageRequest& question = dialogs_->messages.front();
    QCOMPARE(question.text, QStringLiteral("该文件已经存在，你要覆盖它吗?"));
    QCOMPARE(question.caption, QStringLiteral("Overwrite"));
    QCOMPARE(question.icon, MessageIcon::Question);
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    // The answer No ends the save; the dialog is not shown again.
    QCOMPARE(dialogs_->fileRequests.size(), std::size_t{2});
}

void FileDigestPageTest::overwriteAnsweredYesReplacesTheFile() {
    const QString a = Fixture(QStringLiteral("a"), "a");
    dialogs_->ChooseFiles({a});
    form_->BtnSelectFileClick();
    const QString target = Fixture(QStringLiteral("old.txt"), "a much longer old content\r\n");
    dialogs_->ChooseFiles({target});
    dialogs_->messageAnswers.push_back(MessageAnswer::Yes);
    form_->BtnSaveClick();
    QCOMPARE(test::ReadFile(target), (a + "     " + ADigest + "\r\n").toUtf8());
}

void FileDigestPageTest::nameWithoutExtensionGetsTxt() {
    const QString a = Fixture(QStringLiteral("a"), "a");
    dialogs_->ChooseFiles({a});
    form_->BtnSelectFileClick();
    const QString typed = folder_->filePath(QStringLiteral("digests"));
    dialogs_->ChooseFiles({typed}, 1);
    form_->BtnSaveClick();
    QVERIFY(!QFile::exists(typed));
    QCOMPARE(test::ReadFile(typed + ".txt"), (a + "     " + ADigest + "\r\n").toUtf8());

    // A name that exists only once ".txt" is added is asked about.
    dialogs_->ChooseFiles({typed});
    form_->BtnSaveClick();
    QCOMPARE(dialogs_->messages.size(), std::size_t{1});
    QCOMPARE(dialogs_->messages.front().caption, QStringLiteral("Overwrite"));
}

void FileDigestPageTest::saveIntoMissingFolderShowsDefaultErrorBox() {
    const QString a = Fixture(QStringLiteral("a"), "a");
    dialogs_->ChooseFiles({a});
    form_->BtnSelectFileClick();
    const QStringList before = ShownRows(*form_);
    const QString target = folder_->filePath(QStringLiteral("no such folder/list.txt"));

    // The failure's own text, as saving the same list there reports it.
    std::string failure;
    try {
        form_->DigestList().SaveList(ToNative(target));
    } catch (const std::exception& error) {
        failure = error.what();
    }
    QVERIFY(!failure.empty());

    dialogs_->ChooseFiles({target});
    form_->BtnSaveClick();

    QCOMPARE(dialogs_->messages.size(), std::size_t{1});
    const MessageRequest& box = dialogs_->messages.front();
    QCOMPARE(box.text, FromNative(DefaultErrorText(failure)));
    QVERIFY(box.text.contains(target));
    QCOMPARE(box.caption, QStringLiteral("Quorvix"));
    QCOMPARE(box.icon, MessageIcon::Critical);
    QCOMPARE(box.buttons, MessageButtons::Ok);
    QCOMPARE(ShownRows(*form_), before);
    QVERIFY(!QFileInfo::exists(folder_->filePath(QStringLiteral("no such folder"))));
}

void FileDigestPageTest::saveDialogRemembersNameAndFilter() {
    dialogs_->ChooseFiles({Fixture(QStringLiteral("a"), "a")});
    form_->BtnSelectFileClick();
    const QString target = folder_->filePath(QStringLiteral("all.lst"));
    dialogs_->ChooseFiles({target}, 1);
    form_->BtnSaveClick();
    form_->BtnSaveClick(); // cancelled

    QCOMPARE(dialogs_->fileRequests.size(), std::size_t{3});
    QCOMPARE(dialogs_->fileRequests[1].filterIndex, 0);
    QVERIFY(dialogs_->fileRequests[1].fileName.isEmpty());
    QCOMPARE(dialogs_->fileRequests[2].filterIndex, 1);
    QCOMPARE(dialogs_->fileRequests[2].fileName, target);
}

void FileDigestPageTest::helpOpensHelpPageBesideExecutable() {
    QTest::mouseClick(form_->BtnHelp, Qt::LeftButton);
    QCOMPARE(window_->desktop->opened.size(), std::size_t{1});
    const QUrl help = window_->desktop->opened.front();
    QVERIFY(help.isLocalFile());
    QCOMPARE(help.toLocalFile(), QCoreApplication::applicationDirPath() + "/help.html");
    QVERIFY(!help.toLocalFile().contains(QStringLiteral("//")));
}

void FileDigestPageTest::aboutLinksOpenWebPageAndMail() {
    form_->PageControl->SetActivePageIndex(3);
    QTest::mouseClick(form_->LblWebsite, Qt::LeftButton);
    QTest::mouseClick(form_->LblEmail, Qt::LeftButton);
    QTest::mouseClick(form_->Label6, Qt::LeftButton);
    const std::vector<QUrl> expected = {QUrl(QStringLiteral("http://www.example.com/quorvix/")),
                                        QUrl(QStringLiteral("mailto:support@example.com"))};
    QCOMPARE(window_->desktop->opened, expected);
}

QTEST_MAIN(FileDigestPageTest)
#include "FileDigestPageTest.moc"
