// The maker and verifier pages through their handlers: input checks, browsing, the jobs with
// their logs in the memos, and what the pages prevent while the maker runs.
#include "GuiTestSupport.h"

#include "gui/ErrorBox.h"
#include "gui/JobProgress.h"
#include "gui/NativeText.h"
#include "gui/SkinnedFrame.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

using namespace quorvix;

namespace {

const QString MakerPrompt =
    QStringLiteral("请选择一个文件夹检查 MD5 校验，然后点击“检查文件”按钮。");
const QString VerifierPrompt =
    QStringLiteral("请选择一个检查文件，然后点击“验证检查文件，验证文件完整性。");

QStringList MemoLines(const QPlainTextEdit* memo) {
    return memo->toPlainText().split(QLatin1Char('\n'));
}

// A named socket: it exists and is no folder, but it cannot be opened as a file.
class SocketFile {
public:
    explicit SocketFile(const QString& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path);
        std::strncpy(address.sun_path, name.constData(), sizeof address.sun_path - 1);
        bound_ = fd_ >= 0 &&
                 ::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    }
    SocketFile(const SocketFile&) = delete;
    SocketFile& operator=(const SocketFile&) = delete;
    ~SocketFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    bool IsBound() const { return bound_; }

private:
    int fd_;
    bool bound_ = false;
};

} // namespace

class JobPagesTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void inputChecksStopBeforeTheJob_data();
    void inputChecksStopBeforeTheJob();
    void folderChooserReplacesOrKeepsThePath();
    void checkFileDialogReplacesOrKeepsThePathAndRemembers();
    void makeWritesCheckFileAndShowsTheLog();
    void clearedSubfolderBoxReachesTheMakerAndStaysCleared();
    void verifyShowsOutcomesAndSummary();
    void verifyOfACheckFileWithoutDigestLinesSaysSo();
    void jobButtonsDisabledWhileTheMakerRuns();
    void makerFailureShowsErrorBoxAndKeepsTheLog();
    void checkFileThatCannotBeOpenedShowsErrorBox();
    void focusReturnsToTheControlThatStartedTheJob_data();
    void focusReturnsToTheControlThatStartedTheJob();
    void escapeOrCloseStopsTheJob_data();
    void verificationDropsOtherInput();
    void progressBarMeasuresAVerification();
    void saveLogWritesTheMemoAsText_data();
    void saveLogWritesTheMemoAsText();
    void escapeOrCloseStopsTheJob();

private:
    QString Fixture(const QString& name, const QByteArray& content);
    // A folder with a file in a subfolder and two files at its top, all with Chinese names.
    void MakeSampleFolder();
    // Shows the window active, as under the user's hands.
    void Activate();

    std::unique_ptr<test::FormWithFakes> window_;
    TForm1* form_ = nullptr;
    test::FakeUserDialogs* dialogs_ = nullptr;
    std::unique_ptr<QTemporaryDir> folder_;
    QString root_; // the sample folder
};

void JobPagesTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    root_ = folder_->filePath(QStringLiteral("数据"));
    window_ = std::make_unique<test::FormWithFakes>();
    form_ = window_->form.get();
    dialogs_ = window_->dialogs;
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
}

void JobPagesTest::cleanup() {
    form_ = nullptr;
    dialogs_ = nullptr;
    window_.reset();
    folder_.reset();
}

QString JobPagesTest::Fixture(const QString& name, const QByteArray& content) {
    const QString path = folder_->filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    test::WriteFile(path, content);
    return path;
}

void JobPagesTest::MakeSampleFolder() {
    Fixture(QStringLiteral("数据/甲.txt"), "abc");
    Fixture(QStringLiteral("数据/乙.txt"), "a");
    Fixture(QStringLiteral("数据/sub/丙.txt"), "");
}

void JobPagesTest::Activate() {
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_));
}

void JobPagesTest::inputChecksStopBeforeTheJob_data() {
    QTest::addColumn<bool>("maker");
    QTest::addColumn<QString>("fieldText"); // "<folder>" stands for an existing folder,
                                            // "<file>" for an existing file
    QTest::addColumn<QString>("message");
    const QString chooseFolder = QStringLiteral("首先请选择一个文件夹。");
    const QString noFolder = QStringLiteral("该文件夹不存在。");
    const QString chooseCheckFile = QStringLiteral("请首先选择检查文件.");
    const QString noCheckFile = QStringLiteral("检查文件不存在.");

    QTest::newRow("maker: empty") << true << "" << chooseFolder;
    QTest::newRow("maker: spaces only") << true << "   " << chooseFolder;
    QTest::newRow("maker: tab and line break") << true << "\t\r\n " << chooseFolder;
    QTest::newRow("maker: a file") << true << "<file>" << noFolder;
    QTest::newRow("maker: missing folder") << true << "<folder>/nothing" << noFolder;
    // Not empty once trimmed, and the existence test sees the space.
    QTest::newRow("maker: space before a folder") << true << " <folder>" << noFolder;
    QTest::newRow("maker: space after a folder") << true << "<folder> " << noFolder;
    // U+3000 is no control character: the field is not empty.
    QTest::newRow("maker: ideographic space") << true << "\u3000" << noFolder;
    QTest::newRow("verifier: empty") << false << "" << chooseCheckFile;
    QTest::newRow("verifier: spaces only") << false << "  " << chooseCheckFile;
    QTest::newRow("verifier: a folder") << false << "<folder>" << noCheckFile;
    QTest::newRow("verifier: missing file") << false << "<folder>/other.md5" << noCheckFile;
    QTest::newRow("verifier: space before a file") << false << " <file>" << noCheckFile;
}

void JobPagesTest::inputChecksStopBeforeTheJob() {
    QFETCH(bool, maker);
    QFETCH(QString, fieldText);
    QFETCH(QString, message);
    const QString file = Fixture(QStringLiteral("checks/CheckSum.md5"), ";nothing\r\n");
    const QString existingFolder = folder_->filePath(QStringLiteral("checks"));
    fieldText.replace(QStringLiteral("<folder>"), existingFolder);
    fieldText.replace(QStringLiteral("<file>"), file);

    form_->PageControl->SetActivePageIndex(maker ? 1 : 2);
    QLineEdit* field = maker ? form_->EdtPath : form_->EdtCheckfilePath;
    QPlainTextEdit* memo = maker ? form_->MemoMakeResult : form_->MemoVerifyResult;
    field->setText(fieldText);
    QTest::mouseClick(maker ? form_->BtnMake : form_->BtnVerify, Qt::LeftButton);

    QCOMPARE(dialogs_->messages.size(), std::size_t{1});
    const MessageRequest& box = dialogs_->messages.front();
    QCOMPARE(box.text, message);
    QCOMPARE(box.caption, QStringLiteral("错误"));
    QCOMPARE(box.icon, MessageIcon::Information);
    QCOMPARE(box.buttons, MessageButtons::Ok);
    // Nothing ran: the prompt is still shown and the field keeps its text.
    QCOMPARE(memo->toPlainText(), maker ? MakerPrompt : VerifierPrompt);
    QCOMPARE(field->text(), fieldText);
    QCOMPARE(test::ReadFile(file), QByteArray(";nothing\r\n"));
}

void JobPagesTest::folderChooserReplacesOrKeepsThePath() {
    form_->PageControl->SetActivePageIndex(1);
    form_->EdtPath->setText(QStringLiteral("typed by hand"));
    QTest::mouseClick(form_->BtnSelect, Qt::LeftButton); // cancelled
    QCOMPARE(form_->EdtPath->text(), QStringLiteral("typed by hand"));

    dialogs_->folderAnswers.push_back(QStringLiteral("/srv/照片"));
    QTest::mouseClick(form_->BtnSelect, Qt::LeftButton);
    QCOMPARE(form_->EdtPath->text(), QStringLiteral("/srv/照片"));
    QCOMPARE(dialogs_->folderTitles,
             std::vector<QString>(2, QStringLiteral("请选择文件夹，以检查文件。")));
}

void JobPagesTest::checkFileDialogReplacesOrKeepsThePathAndRemembers() {
    form_->PageControl->SetActivePageIndex(2);
    form_->EdtCheckfilePath->setText(QStringLiteral("typed by hand"));
    QTest::mouseClick(form_->BtnSelectCheckfile, Qt::LeftButton); // cancelled
    QCOMPARE(form_->EdtCheckfilePath->text(), QStringLiteral("typed by hand"));

    // The dialog accepts a name that does not exist; the check then reports it.
    const QString chosen = folder_->filePath(QStringLiteral("旧.md5"));
    dialogs_->ChooseFiles({chosen}, 1);
    QTest::mouseClick(form_->BtnSelectCheckfile, Qt::LeftButton);
    QCOMPARE(form_->EdtCheckfilePath->text(), chosen);
    QTest::mouseClick(form_->BtnSelectCheckfile, Qt::LeftButton); // cancelled

    QCOMPARE(dialogs_->fileRequests.size(), std::size_t{3});
    const FileDialogRequest& first = dialogs_->fileRequests[0];
    QCOMPARE(first.kind, FileDialogKind::OpenFile);
    QCOMPARE(first.title, QStringLiteral("选择检查文件"));
    QCOMPARE(first.filter, QStringLiteral("检查文件 (*.md5)|*.md5|所有文件 (*.*)|*.*"));
    QCOMPARE(first.filterIndex, 0);
    QCOMPARE(dialogs_->fileRequests[2].fileName, chosen);
    QCOMPARE(dialogs_->fileRequests[2].filterIndex, 1);
    QCOMPARE(form_->EdtCheckfilePath->text(), chosen);

    QTest::mouseClick(form_->BtnVerify, Qt::LeftButton);
    QCOMPARE(dialogs_->messages.size(), std::size_t{1});
    QCOMPARE(dialogs_->messages.front().text, QStringLiteral("检查文件不存在."));
}

void JobPagesTest::makeWritesCheckFileAndShowsTheLog() {
    MakeSampleFolder();
    form_->PageControl->SetActivePageIndex(1);
    form_->EdtPath->setText(root_);
    QTest::mouseClick(form_->BtnMake, Qt::LeftButton);

    const QString checkFile = root_ + "/CheckSum.md5";
    QCOMPARE(MemoLines(form_->MemoMakeResult),
             QStringList({"Processing folder \"" + root_ + "/sub\" ...",
                          "Processing file \"丙.txt\" ... OK", "Processing file \"乙.txt\" ... OK",
                          "Processing file \"甲.txt\" ... OK", "", "操作完成。",
                          "MD5 校验文件保存在 \"" + checkFile + "\""}));
    const QStringList lines = QString::fromUtf8(test::ReadFile(checkFile)).split("\r\n");
    QCOMPARE(lines.size(), 8); // four header lines, three entries, nothing after the last CR LF
    QCOMPARE(lines.mid(4), QStringList({"d41d8cd98f00b204e9800998ecf8427e\tsub/丙.txt",
                                        "0cc175b9c0f1b6a831c399e269772661\t乙.txt",
                                        "900150983cd24fb0d6963f7d28e17f72\t甲.txt", ""}));
    QVERIFY(dialogs_->messages.empty());
    QCOMPARE(form_->EdtPath->text(), root_);
}

void JobPagesTest::clearedSubfolderBoxReachesTheMakerAndStaysCleared() {
    MakeSampleFolder();
    form_->PageControl->SetActivePageIndex(1);
    form_->EdtPath->setText(root_);
    QTest::mouseClick(form_->ChkSubFolder, Qt::LeftButton);
    QVERIFY(!form_->ChkSubFolder->isChecked());

    for (int run = 0; run < 2; ++run) {
        QTest::mouseClick(form_->BtnMake, Qt::LeftButton);
        const QByteArray checkFile = test::ReadFile(root_ + "/CheckSum.md5");
        QVERIFY(!checkFile.contains("sub/"));
        QVERIFY(checkFile.contains("\t甲.txt\r\n"));
        QVERIFY(!form_->MemoMakeResult->toPlainText().contains("Processing folder"));
        QVERIFY(!form_->ChkSubFolder->isChecked());
    }
}

void JobPagesTest::verifyShowsOutcomesAndSummary() {
    MakeSampleFolder();
    form_->EdtPath->setText(root_);
    form_->BtnMakeClick();
    test::WriteFile(root_ + "/乙.txt", "b");
    QVERIFY(QFile::remove(root_ + "/sub/丙.txt"));

    form_->PageControl->SetActivePageIndex(2);
    form_->EdtCheckfilePath->setText(root_ + "/CheckSum.md5");
    QTest::mouseClick(form_->BtnVerify, Qt::LeftButton);

    QCOMPARE(MemoLines(form_->MemoVerifyResult),
             QStringList({"文件不存在 ... \"" + root_ + "/sub/丙.txt\"",
                          "File changed ... \"" + root_ + "/乙.txt\"",
                          "OK ... \"" + root_ + "/甲.txt\"", "", "Operation completes.",
                          "3 files were verified. 1 file did not exist. 1 file changed. ", "",
                          "下面的文件因为检查文件已被更改:", root_ + "/乙.txt", "",
                          "下列文件丢失:", root_ + "/sub/丙.txt"}));
    QVERIFY(dialogs_->messages.empty());
    // The maker's log is the maker page's own.
    QVERIFY(form_->MemoMakeResult->toPlainText().contains(QStringLiteral("操作完成。")));
}

void JobPagesTest::verifyOfACheckFileWithoutDigestLinesSaysSo() {
    const QString checkFile = Fixture(QStringLiteral("空.md5"), "no digest line here\n");
    form_->PageControl->SetActivePageIndex(2);
    form_->EdtCheckfilePath->setText(checkFile);
    QTest::mouseClick(form_->BtnVerify, Qt::LeftButton);

    QCOMPARE(MemoLines(form_->MemoVerifyResult),
             QStringList({"", "Operation completes.", "0 file was verified. 0 file changed. ",
                          "检查文件 \"" + checkFile + "\" 中没有 Quorvix 能读取的 MD5 校验行。"}));
    QVERIFY(dialogs_->messages.empty());
}

void JobPagesTest::jobButtonsDisabledWhileTheMakerRuns() {
    MakeSampleFolder();
    form_->PageControl->SetActivePageIndex(1);
    form_->EdtPath->setText(root_);
    form_->EdtCheckfilePath->setText(root_ + "/乙.txt");

    bool makeEnabled = true;
    bool verifyEnabled = true;
    bool progressShown = false;
    // Runs while the maker lets events run before its first entry.
    QTimer::singleShot(0, form_, [&] {
        makeEnabled = form_->BtnMake->isEnabled();
        verifyEnabled = form_->BtnVerify->isEnabledTo(form_->SheetVerifier);
        progressShown = form_->JobProgressBar->isVisible();
        // A second run and a verification cannot start from here.
        QTest::mouseClick(form_->BtnMake, Qt::LeftButton);
        form_->PageControl->SetActivePageIndex(2);
        QTest::mouseClick(form_->BtnVerify, Qt::LeftButton);
        form_->PageControl->SetActivePageIndex(1);
    });
    QTest::mouseClick(form_->BtnMake, Qt::LeftButton);

    QVERIFY(!makeEnabled);
    QVERIFY(!verifyEnabled);
    QVERIFY(progressShown);
    QCOMPARE(form_->MemoMakeResult->toPlainText().count(QStringLiteral("操作完成。")), 1);
    QCOMPARE(form_->MemoVerifyResult->toPlainText(), VerifierPrompt);
    QVERIFY(form_->BtnMake->isEnabled());
    QVERIFY(form_->BtnVerify->isEnabledTo(form_->SheetVerifier));
    QVERIFY(!form_->JobProgressBar->isVisibleTo(form_));
}

void JobPagesTest::makerFailureShowsErrorBoxAndKeepsTheLog() {
    // A folder where the check file should go: the check file cannot be created.
    Fixture(QStringLiteral("数据/CheckSum.md5/inside.txt"), "abc");
    Fixture(QStringLiteral("数据/甲.txt"), "abc");
    form_->PageControl->SetActivePageIndex(1);
    form_->EdtPath->setText(root_);
    QTest::mouseClick(form_->BtnMake, Qt::LeftButton);

    QCOMPARE(dialogs_->messages.size(), std::size_t{1});
    const MessageRequest& box = dialogs_->messages.front();
    QCOMPARE(box.caption, QStringLiteral("Quorvix"));
    QCOMPARE(box.icon, MessageIcon::Critical);
    QVERIFY(box.text.endsWith(QLatin1Char('.')));
    // The run stopped before its walk: the log was cleared and stays empty.
    QVERIFY(form_->MemoMakeResult->toPlainText().isEmpty());
    QVERIFY(QFileInfo(root_ + "/CheckSum.md5").isDir());
    QCOMPARE(QDir(root_).entryList(QDir::Files | QDir::Hidden).size(), 1); // no leftovers
    QVERIFY(form_->BtnMake->isEnabled());
    QVERIFY(form_->BtnVerify->isEnabledTo(form_->SheetVerifier));
    QVERIFY(!form_->JobProgressBar->isVisibleTo(form_));
}

void JobPagesTest::checkFileThatCannotBeOpenedShowsErrorBox() {
    const QString socketPath = folder_->filePath(QStringLiteral("check.md5"));
    SocketFile socket(socketPath);
    QVERIFY(socket.IsBound());
    form_->PageControl->SetActivePageIndex(2);
    form_->EdtCheckfilePath->setText(socketPath);
    QTest::mouseClick(form_->BtnVerify, Qt::LeftButton);

    QCOMPARE(dialogs_->messages.size(), std::size_t{1});
    const MessageRequest& box = dialogs_->messages.front();
    QCOMPARE(box.caption, QStringLiteral("Quorvix"));
    QCOMPARE(box.icon, MessageIcon::Critical);
    QVERIFY2(box.text.contains(socketPath), qPrintable(box.text));
    // The verifier cleared its log before it failed to open the check file.
    QVERIFY(form_->MemoVerifyResult->toPlainText().isEmpty());
    QVERIFY(form_->BtnVerify->isEnabled());
}

void JobPagesTest::focusReturnsToTheControlThatStartedTheJob_data() {
    QTest::addColumn<bool>("maker");
    QTest::addColumn<bool>("byKey");
    QTest::newRow("maker, click") << true << false;
    QTest::newRow("maker, Space") << true << true;
    QTest::newRow("verifier, click") << false << false;
    QTest::newRow("verifier, Space") << false << true;
}

void JobPagesTest::focusReturnsToTheControlThatStartedTheJob() {
    QFETCH(bool, maker);
    QFETCH(bool, byKey);
    MakeSampleFolder();
    form_->EdtPath->setText(root_);
    form_->BtnMakeClick();
    form_->EdtCheckfilePath->setText(root_ + "/CheckSum.md5");
    form_->PageControl->SetActivePageIndex(maker ? 1 : 2);
    Activate();
    QPushButton* button = maker ? form_->BtnMake : form_->BtnVerify;
    QPlainTextEdit* memo = maker ? form_->MemoMakeResult : form_->MemoVerifyResult;
    const QString done =
        maker ? QStringLiteral("操作完成。") : QStringLiteral("Operation completes.");

    if (byKey) {
        button->setFocus(Qt::TabFocusReason);
        QTest::keyClick(button, Qt::Key_Space);
    } else {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QVERIFY(memo->toPlainText().contains(done));
    QCOMPARE(QApplication::focusWidget(), button);

    // The next Space goes where the focus is: it runs the job again and leaves the box alone.
    memo->clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(memo->toPlainText().contains(done));
    QVERIFY(form_->ChkSubFolder->isChecked());
    QVERIFY(test::ReadFile(root_ + "/CheckSum.md5").contains("sub/"));
    QCOMPARE(QApplication::focusWidget(), button);
}

void JobPagesTest::escapeOrCloseStopsTheJob_data() {
    QTest::addColumn<bool>("maker");
    QTest::addColumn<bool>("byClose");
    QTest::newRow("maker, Esc") << true << false;
    QTest::newRow("maker, close") << true << true;
    QTest::newRow("verifier, Esc") << false << false;
    QTest::newRow("verifier, close") << false << true;
}

void JobPagesTest::escapeOrCloseStopsTheJob() {
    QFETCH(bool, maker);
    QFETCH(bool, byClose);
    MakeSampleFolder();
    const QString checkFile = root_ + "/CheckSum.md5";
    form_->EdtPath->setText(root_);
    form_->BtnMakeClick();
    const QByteArray madeBefore = test::ReadFile(checkFile);
    form_->EdtCheckfilePath->setText(checkFile);
    form_->PageControl->SetActivePageIndex(maker ? 1 : 2);
    Activate();

    // Runs at the job's first chance to let events run: for the maker before its first entry,
    // for the verifier once its first entry is done.
    QTimer::singleShot(0, form_, [&] {
        if (byClose) {
            // The title bar's close ball: the one thing besides Esc that a verification lets
            // the mouse reach.
            QTest::mouseClick(form_->suiForm1->CloseButton(), Qt::LeftButton);
        } else {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus != nullptr ? focus : form_, Qt::Key_Escape);
        }
    });
    QTest::mouseClick(maker ? form_->BtnMake : form_->BtnVerify, Qt::LeftButton);

    if (maker) {
        QCOMPARE(MemoLines(form_->MemoMakeResult), QStringList({"操作已取消。"}));
    } else {
        QCOMPARE(MemoLines(form_->MemoVerifyResult),
                 QStringList({"OK ... \"" + root_ + "/sub/丙.txt\"", "操作已取消。"}));
    }
    // The old check file stays as it was, and no temporary file is left beside it.
    QCOMPARE(test::ReadFile(checkFile), madeBefore);
    QCOMPARE(QDir(root_).entryList(QDir::Files | QDir::Hidden),
             QStringList({"CheckSum.md5", "乙.txt", "甲.txt"}));
    QVERIFY(dialogs_->messages.empty());
    QCOMPARE(form_->isVisible(), !byClose);
    QVERIFY(!form_->JobProgressBar->isVisibleTo(form_));

    // Stopping is for that run only: the next one goes to its end.
    if (!byClose) {
        QTest::mouseClick(maker ? form_->BtnMake : form_->BtnVerify, Qt::LeftButton);
        QVERIFY((maker ? form_->MemoMakeResult : form_->MemoVerifyResult)
                    ->toPlainText()
                    .contains(maker ? "操作完成。" : "Operation completes."));
    }
}

void JobPagesTest::verificationDropsOtherInput() {
    MakeSampleFolder();
    form_->EdtPath->setText(root_);
    form_->BtnMakeClick();
    const QString checkFile = root_ + "/CheckSum.md5";
    form_->EdtCheckfilePath->setText(checkFile);
    form_->PageControl->SetActivePageIndex(2);
    Activate();
    QTimer::singleShot(0, form_, [&] {
        QTest::mouseClick(form_->BtnSelectCheckfile, Qt::LeftButton);
        QTest::keyClick(form_->EdtCheckfilePath, Qt::Key_X);
        QTest::mouseClick(form_->BtnVerify, Qt::LeftButton);
    });
    QTest::mouseClick(form_->BtnVerify, Qt::LeftButton);
    // Dropped, not kept for later: nothing of it happens once the verification is over.
    QCoreApplication::processEvents();
    QVERIFY(dialogs_->fileRequests.empty());
    QCOMPARE(form_->EdtCheckfilePath->text(), checkFile);
    QCOMPARE(form_->MemoVerifyResult->toPlainText().count(QStringLiteral("Operation completes.")),
             1);
}

void JobPagesTest::progressBarMeasuresAVerification() {
    // Four entries of one large file: long enough for the window to paint several times while
    // the workers read it.
    const QByteArray large(3 * static_cast<int>(JobProgress::LargeFileSize), 'q');
    Fixture(QStringLiteral("large.bin"), large);
    const QByteArray digest =
        QCryptographicHash::hash(large, QCryptographicHash::Md5).toHex() + "\tlarge.bin\r\n";
    const QString checkFile = Fixture(QStringLiteral("large.md5"), digest.repeated(4));
    form_->PageControl->SetActivePageIndex(2);
    form_->EdtCheckfilePath->setText(checkFile);

    // Looks at the bar each time the window runs its events.
    std::vector<std::pair<int, int>> seen; // maximum, value while shown
    QTimer look;
    look.setInterval(0);
    connect(&look, &QTimer::timeout, form_, [&] {
        if (form_->JobProgressBar->isVisible()) {
            seen.emplace_back(form_->JobProgressBar->maximum(), form_->JobProgressBar->value());
        }
    });
    look.start();
    QTest::mouseClick(form_->BtnVerify, Qt::LeftButton);
    look.stop();

    QVERIFY(form_->MemoVerifyResult->toPlainText().contains("4 files were verified."));
    const bool measured = std::any_of(seen.begin(), seen.end(), [](const auto& sample) {
        return sample.first == 1000 && sample.second > 0 && sample.second < 1000;
    });
    QVERIFY2(measured, qPrintable(QString::number(seen.size()) + " looks, none measured"));
    QVERIFY(!form_->JobProgressBar->isVisibleTo(form_));
}

void JobPagesTest::saveLogWritesTheMemoAsText_data() {
    QTest::addColumn<bool>("maker");
    QTest::addColumn<QString>("chosen");    // the name given in the dialog, in the test folder
    QTest::addColumn<QByteArray>("before"); // the file's content before; empty: no file
    QTest::addColumn<int>("answer");        // to the overwrite question
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("target"); // where the log lands
    const int yes = static_cast<int>(MessageAnswer::Yes);
    const int no = static_cast<int>(MessageAnswer::No);
    QTest::newRow("maker log, new file")
        << true << "日志.txt" << QByteArray() << no << true << "日志.txt";
    QTest::newRow("verifier log, name without extension")
        << false << "log" << QByteArray() << no << true << "log.txt";
    QTest::newRow("existing file, No")
        << true << "old.txt" << QByteArray("old\r\n") << no << false << "old.txt";
    QTest::newRow("existing file, Yes")
        << false << "old.txt" << QByteArray("old\r\n") << yes << true << "old.txt";
}

void JobPagesTest::saveLogWritesTheMemoAsText() {
    QFETCH(bool, maker);
    QFETCH(QString, chosen);
    QFETCH(QByteArray, before);
    QFETCH(int, answer);
    QFETCH(bool, written);
    QFETCH(QString, target);
    MakeSampleFolder();
    form_->EdtPath->setText(root_);
    form_->BtnMakeClick();
    form_->EdtCheckfilePath->setText(root_ + "/CheckSum.md5");
    form_->BtnVerifyClick();
    QPlainTextEdit* memo = maker ? form_->MemoMakeResult : form_->MemoVerifyResult;
    if (!before.isEmpty()) {
        Fixture(chosen, before);
    }
    form_->PageControl->SetActivePageIndex(maker ? 1 : 2);
    Activate();
    memo->setFocus();
    dialogs_->ChooseFiles({folder_->filePath(chosen)});
    dialogs_->messageAnswers.push_back(static_cast<MessageAnswer>(answer));
    QTest::keyClick(memo, Qt::Key_S, Qt::ControlModifier);

    QCOMPARE(dialogs_->fileRequests.back().title, QStringLiteral("保存日志"));
    QCOMPARE(dialogs_->messages.size(), before.isEmpty() ? std::size_t{0} : std::size_t{1});
    const QByteArray expected = (MemoLines(memo).join("\r\n") + "\r\n").toUtf8();
    QCOMPARE(test::ReadFile(folder_->filePath(target)), written ? expected : before);
    QVERIFY(expected.contains(maker ? "操作完成。" : "Operation completes."));
    // Written through a temporary file, which is gone.
    QCOMPARE(QDir(folder_->path()).entryList(QDir::Files | QDir::Hidden), QStringList({target}));
}

QTEST_MAIN(JobPagesTest)
#include "JobPagesTest.moc"
