// The window's small rules on their own: the default error box's text, the help page's place,
// dialog filters and default extensions, the memo log and the list view's model.
#include "GuiTestSupport.h"

#include "checksum/FileDigestList.h"
#include "gui/ApplicationSetup.h"
#include "gui/ErrorBox.h"
#include "gui/FileDigestListModel.h"
#include "gui/FileFilter.h"
#include "gui/HelpAndLinks.h"
#include "gui/JobProgress.h"
#include "gui/MemoLogSink.h"
#include "gui/NativeText.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <functional>

using namespace quorvix;

class GuiHelpersTest : public QObject {
    Q_OBJECT

private slots:
    void defaultErrorTextAppendsFullStopAfterDot_data();
    void defaultErrorTextAppendsFullStopAfterDot();
    void defaultErrorBoxShowsCaptionIconAndOk();
    void helpFileIsBesideTheExecutable_data();
    void helpFileIsBesideTheExecutable();
    void fileFiltersBecomeQtNameFilters();
    void defaultExtensionOnlyForNamesWithoutOne_data();
    void defaultExtensionOnlyForNamesWithoutOne();
    void memoLogShowsEveryLineAndClears();
    void modelShowsRowsAsAppendedAndCompleted();
    void progressBarShowsFilesDoneOfFilesKnown_data();
    void progressBarShowsFilesDoneOfFilesKnown();
    void desktopEntryOpensCheckFilesAndFolders();
    void captionsReachTheWindowManagerAsWritten_data();
    void captionsReachTheWindowManagerAsWritten();
};

namespace {

// The title the window manager is given for a window whose title is caption: once the
// application has a display name, Qt appends " — <display name>" to every title that does not
// already end with it. Whether one is set shows only through the fallback of
// applicationDisplayName(), which is the application name while none is set.
QString TitleAsTheWindowManagerSeesIt(const QString& caption) {
    const QString name = QCoreApplication::applicationName();
    const QString probe = QStringLiteral("quorvix-probe");
    QCoreApplication::setApplicationName(probe);
    const QString displayName = QGuiApplication::applicationDisplayName();
    QCoreApplication::setApplicationName(name);
    if (displayName == probe || caption.endsWith(displayName)) {
        return caption;
    }
    return caption + QStringLiteral(" \u2014 ") + displayName;
}

} // namespace

void GuiHelpersTest::defaultErrorTextAppendsFullStopAfterDot_data() {
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("letter") << QByteArray("File access denied")
                            << QByteArray("File access denied.");
    QTest::newRow("digit") << QByteArray("I/O error 32") << QByteArray("I/O error 32.");
    QTest::newRow("slash sorts after dot") << QByteArray("/tmp/") << QByteArray("/tmp/.");
    QTest::newRow("full stop") << QByteArray("Done.") << QByteArray("Done.");
    QTest::newRow("quote sorts before dot")
        << QByteArray("Cannot open \"a\"") << QByteArray("Cannot open \"a\"");
    QTest::newRow("exclamation") << QByteArray("Stop!") << QByteArray("Stop!");
    QTest::newRow("closing parenthesis") << QByteArray("(x)") << QByteArray("(x)");
    QTest::newRow("hyphen") << QByteArray("a -") << QByteArray("a -");
    QTest::newRow("trailing space") << QByteArray("a ") << QByteArray("a ");
    // The last byte of a UTF-8 character is 0x80 or above, above "." as an unsigned byte.
    QTest::newRow("non-ASCII") << QByteArray("该文件夹不存在") << QByteArray("该文件夹不存在.");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void GuiHelpersTest::defaultErrorTextAppendsFullStopAfterDot() {
    QFETCH(QByteArray, message);
    QFETCH(QByteArray, shown);
    QCOMPARE(QByteArray::fromStdString(DefaultErrorText(message.toStdString())), shown);
}

void GuiHelpersTest::defaultErrorBoxShowsCaptionIconAndOk() {
    test::FakeUserDialogs dialogs;
    ShowDefaultErrorBox(dialogs, nullptr, "Cannot create file \"/x/a.txt\". No such file");
    QCOMPARE(dialogs.messages.size(), std::size_t{1});
    const MessageRequest& box = dialogs.messages.front();
    QCOMPARE(box.text, QStringLiteral("Cannot create file \"/x/a.txt\". No such file."));
    QCOMPARE(box.caption, QStringLiteral("Quorvix"));
    QCOMPARE(box.icon, MessageIcon::Critical);
    QCOMPARE(box.buttons, MessageButtons::Ok);
}

void GuiHelpersTest::helpFileIsBesideTheExecutable_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("help");
    QTest::newRow("installed") << "/usr/local/bin/quorvix"
                               << "/usr/local/bin/help.html";
    QTest::newRow("build tree") << "/home/u/q/build/src/gui/quorvix"
                                << "/home/u/q/build/src/gui/help.html";
    QTest::newRow("root folder") << "/quorvix"
                                 << "/help.html";
    QTest::newRow("Chinese folder") << "/opt/校验/quorvix"
                                    << "/opt/校验/help.html";
}

void GuiHelpersTest::helpFileIsBesideTheExecutable() {
    QFETCH(QString, executable);
    QFETCH(QString, help);
    QCOMPARE(HelpFilePath(executable), help);
}

void GuiHelpersTest::fileFiltersBecomeQtNameFilters() {
    const QList<FileFilterPair> pairs =
        SplitFileFilter(QStringLiteral("检查文件 (*.md5)|*.md5|所有文件 (*.*)|*.*"));
    QCOMPARE(pairs.size(), 2);
    QCOMPARE(pairs[0].description, QStringLiteral("检查文件 (*.md5)"));
    QCOMPARE(pairs[1].patterns, QStringLiteral("*.*"));
    QCOMPARE(QtNameFilter(pairs[0]), QStringLiteral("检查文件 (*.md5) (*.md5)"));
    // "*.*" means every file, also those without a dot in their names.
    QCOMPARE(QtNameFilter(pairs[1]), QStringLiteral("所有文件 (*.*) (*)"));
    QCOMPARE(QtNameFilter({QStringLiteral("Logs"), QStringLiteral("*.log;*.txt")}),
             QStringLiteral("Logs (*.log *.txt)"));
    QCOMPARE(SplitFileFilter(QStringLiteral("所有文件(*.*)|*.*")).size(), 1);
}

void GuiHelpersTest::defaultExtensionOnlyForNamesWithoutOne_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("saved");
    QTest::newRow("no extension") << "/tmp/list"
                                  << "/tmp/list.txt";
    QTest::newRow("own extension") << "/tmp/list.csv"
                                   << "/tmp/list.csv";
    QTest::newRow("dot only in the folder") << "/tmp/my.lists/list"
                                            << "/tmp/my.lists/list.txt";
    QTest::newRow("hidden file") << "/tmp/.list"
                                 << "/tmp/.list";
}

void GuiHelpersTest::defaultExtensionOnlyForNamesWithoutOne() {
    QFETCH(QString, chosen);
    QFETCH(QString, saved);
    QCOMPARE(WithDefaultExtension(chosen, QStringLiteral("txt")), saved);
    QCOMPARE(WithDefaultExtension(chosen, QString()), chosen);
}

void GuiHelpersTest::memoLogShowsEveryLineAndClears() {
    QPlainTextEdit memo;
    memo.setPlainText(QStringLiteral("prompt"));
    MemoLogSink log(&memo);

    // Lines show once events run, without being asked for.
    log.Append("after the prompt");
    QTRY_COMPARE(memo.toPlainText(), QStringLiteral("prompt\nafter the prompt"));

    // A log may begin with an empty line; it must not vanish into the empty memo.
    log.Clear();
    log.Append("");
    log.Append("OK ... \"/数据/a.txt\"");
    log.Flush();
    log.Append("");
    log.Append("操作完成。");
    log.Flush();
    QCOMPARE(memo.toPlainText(), QStringLiteral("\nOK ... \"/数据/a.txt\"\n\n操作完成。"));
    QCOMPARE(memo.document()->blockCount(), 4);

    // Lines still waiting when the log is cleared are gone with it.
    log.Append("old");
    log.Clear();
    log.Flush();
    QVERIFY(memo.toPlainText().isEmpty());
}

void GuiHelpersTest::modelShowsRowsAsAppendedAndCompleted() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString abc = folder.filePath(QStringLiteral("abc.txt"));
    test::WriteFile(abc, "abc");
    const QString missing = folder.filePath(QStringLiteral("missing.txt"));

    // What the view shows each time events run, i.e. each time the window could repaint.
    QStringList seen;
    FileDigestListModel* modelPointer = nullptr;
    JobHooks hooks;
    hooks.letPendingEventsRun = [&] {
        const int last = modelPointer->rowCount() - 1;
        seen.append(QStringLiteral("%1 rows, last result '%2'")
                        .arg(modelPointer->rowCount())
                        .arg(modelPointer->index(last, 1).data().toString()));
    };
    FileDigestList list(hooks);
    FileDigestListModel model(list, nullptr);
    modelPointer = &model;
    list.SetObserver(&model);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy completed(&model, &FileDigestListModel::RowResultSet);

    list.AddFiles({ToNative(missing), ToNative(abc)});

    QCOMPARE(inserted.count(), 2);
    QCOMPARE(completed.count(), 2);
    QCOMPARE(seen, QStringList({QStringLiteral("2 rows, last result ''"),
                                QStringLiteral("2 rows, last result "
                                               "'900150983cd24fb0d6963f7d28e17f72'")}));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, 0).data().toString(), missing);
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("Could not open file"));
    QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("文件"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("MD5 校验值"));
    QVERIFY(!(model.flags(model.index(0, 0)) & Qt::ItemIsEditable));
    list.SetObserver(nullptr);
}

namespace {

struct ProgressCase {
    const char* name;
    std::function<void(JobProgress&)> steps;
    bool shown;
    int maximum; // 0: the bar only shows that something runs
    int value;   // of 1000 when maximum is 1000
};

constexpr std::uint64_t Large = JobProgress::LargeFileSize;

const ProgressCase ProgressCases[] = {
    {"nothing runs", [](JobProgress&) {}, false, 0, 0},
    {"maker, no file known yet", [](JobProgress& p) { p.JobStarted(); }, true, 0, 0},
    {"maker, 1 of 4 files",
     [](JobProgress& p) {
         p.JobStarted();
         p.JobFiles(1, 4);
     },
     true, 1000, 250},
    {"maker, more files known as the walk goes on",
     [](JobProgress& p) {
         p.JobStarted();
         p.JobFiles(1, 2);
         p.JobFiles(2, 8);
     },
     true, 1000, 250},
    {"verifier, half of a large file inside the files",
     [](JobProgress& p) {
         p.JobStarted();
         p.JobFiles(1, 4);
         p.FileRead(Large / 2, Large);
     },
     true, 1000, 375},
    {"verifier, a large file before any is done",
     [](JobProgress& p) {
         p.JobStarted();
         p.FileRead(Large / 4, Large);
     },
     true, 1000, 250},
    {"verifier, a small file shows no part",
     [](JobProgress& p) {
         p.JobStarted();
         p.FileRead(10, 100);
     },
     true, 0, 0},
    {"the next file starts from nothing",
     [](JobProgress& p) {
         p.JobStarted();
         p.FileRead(Large / 2, Large);
         p.JobFiles(1, 2);
     },
     true, 1000, 500},
    {"maker ended",
     [](JobProgress& p) {
         p.JobStarted();
         p.JobFiles(3, 4);
         p.JobEnded();
     },
     false, 0, 0},
    {"a second maker run starts from nothing",
     [](JobProgress& p) {
         p.JobStarted();
         p.JobFiles(3, 4);
         p.JobEnded();
         p.JobStarted();
     },
     true, 0, 0},
    {"batch, 1 of 2 files",
     [](JobProgress& p) {
         p.BatchStarted(2);
         p.BatchFileDone();
     },
     true, 1000, 500},
    {"batch cancelled",
     [](JobProgress& p) {
         p.BatchStarted(4);
         p.BatchFileDone();
         p.BatchEnded();
     },
     false, 0, 0},
};

} // namespace

void GuiHelpersTest::progressBarShowsFilesDoneOfFilesKnown_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < static_cast<int>(std::size(ProgressCases)); ++i) {
        QTest::newRow(ProgressCases[i].name) << i;
    }
}

void GuiHelpersTest::progressBarShowsFilesDoneOfFilesKnown() {
    QFETCH(int, index);
    const ProgressCase& row = ProgressCases[index];
    QWidget window;
    auto* bar = new QProgressBar(&window);
    JobProgress progress(bar);
    row.steps(progress);
    QCOMPARE(bar->isVisibleTo(&window), row.shown);
    if (row.shown) {
        QCOMPARE(bar->maximum(), row.maximum);
        if (row.maximum > 0) {
            QCOMPARE(bar->value(), row.value);
        }
    }
}

void GuiHelpersTest::desktopEntryOpensCheckFilesAndFolders() {
    const QString resources = QStringLiteral(QUORVIX_GUI_RESOURCES);
    QStringList exec;
    QStringList mimeTypes;
    const QString entry = QString::fromUtf8(test::ReadFile(resources + "/quorvix.desktop"));
    for (const QString& line : entry.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Exec="))) {
            exec.append(line.mid(5));
        } else if (line.startsWith(QStringLiteral("MimeType="))) {
            mimeTypes = line.mid(9).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        }
    }
    // The file manager hands over any number of local paths.
    QCOMPARE(exec, QStringList({QStringLiteral("quorvix %F")}));
    QVERIFY(mimeTypes.contains(QStringLiteral("inode/directory")));

    // Every other type named is one the installed definition gives, for "*.md5".
    QXmlStreamReader xml(test::ReadFile(resources + "/quorvix-mime.xml"));
    QString type;
    QStringList typesWithMd5Glob;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QStringLiteral("mime-type")) {
            type = xml.attributes().value(QStringLiteral("type")).toString();
        } else if (xml.name() == QStringLiteral("glob") &&
                   xml.attributes().value(QStringLiteral("pattern")) == QStringLiteral("*.md5")) {
            typesWithMd5Glob.append(type);
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    mimeTypes.removeAll(QStringLiteral("inode/directory"));
    QVERIFY(!mimeTypes.isEmpty());
    for (const QString& named : mimeTypes) {
        QVERIFY2(typesWithMd5Glob.contains(named), qPrintable(named));
    }
}

void GuiHelpersTest::captionsReachTheWindowManagerAsWritten_data() {
    QTest::addColumn<QString>("caption");
    QTest::newRow("input check box") << QStringLiteral("错误");
    QTest::newRow("overwrite question") << QStringLiteral("Overwrite");
    QTest::newRow("save dialog") << QStringLiteral("保存 MD5 校验");
    QTest::newRow("check file dialog") << QStringLiteral("选择检查文件");
    QTest::newRow("main window and error box") << QStringLiteral("Quorvix");
}

void GuiHelpersTest::captionsReachTheWindowManagerAsWritten() {
    QFETCH(QString, caption);
    const auto translation = SetUpApplication();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("quorvix"));
    QCOMPARE(TitleAsTheWindowManagerSeesIt(caption), caption);
}

QTEST_MAIN(GuiHelpersTest)
#include "GuiHelpersTest.moc"
