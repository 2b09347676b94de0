// Paths given to the program at start, and files dropped on the maker and verifier pages.
#include "GuiTestSupport.h"

#include "checksum/FileDigestList.h"
#include "gui/NativeText.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvix;

namespace {

const QString ADigest = QStringLiteral("0cc175b9c0f1b6a831c399e269772661");

QStringList Rows(const TForm1& form) {
    QStringList rows;
    const FileDigestList& list = form.DigestList();
    for (std::size_t i = 0; i < list.RowCount(); ++i) {
        rows.append(FromNative(list.Row(i).Path) + " | " +
                    FromNative(list.Row(i).ResultText().value_or("")));
    }
    return rows;
}

} // namespace

class OpenWithTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startPathsGoWhereTheyBelong_data();
    void startPathsGoWhereTheyBelong();
    void dropOnMakerOrVerifierPageFillsItsPath_data();
    void dropOnMakerOrVerifierPageFillsItsPath();

private:
    // The test folder's own paths for the names "<dir>" (a folder), "<a>" (a file), "<check>"
    // (a check file listing <a>), "<CHECK>" (the same with an upper-case extension) and
    // "<missing>"; any other name is used as it stands.
    QString PathOf(const QString& name) const;

    std::unique_ptr<test::FormWithFakes> window_;
    TForm1* form_ = nullptr;
    std::unique_ptr<QTemporaryDir> folder_;
};

void OpenWithTest::init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("文件夹")));
    test::WriteFile(folder_->filePath(QStringLiteral("a")), "a");
    const QByteArray check = ADigest.toLatin1() + "\ta\r\n";
    test::WriteFile(folder_->filePath(QStringLiteral("check.md5")), check);
    test::WriteFile(folder_->filePath(QStringLiteral("CHECK.MD5")), check);
    window_ = std::make_unique<test::FormWithFakes>();
    form_ = window_->form.get();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
}

void OpenWithTest::cleanup() {
    form_ = nullptr;
    window_.reset();
    folder_.reset();
}

QString OpenWithTest::PathOf(const QString& name) const {
    if (name == "<dir>") {
        return folder_->filePath(QStringLiteral("文件夹"));
    }
    if (name == "<a>") {
        return folder_->filePath(QStringLiteral("a"));
    }
    if (name == "<check>") {
        return folder_->filePath(QStringLiteral("check.md5"));
    }
    if (name == "<CHECK>") {
        return folder_->filePath(QStringLiteral("CHECK.MD5"));
    }
    if (name == "<missing>") {
        return folder_->filePath(QStringLiteral("missing.md5"));
    }
    return name;
}

void OpenWithTest::startPathsGoWhereTheyBelong_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("field");    // the text of that page's path field
    QTest::addColumn<QStringList>("rows"); // of the list on page 0
    QTest::addColumn<bool>("verified");    // the verifier ran
    const QString aRow = "<a> | " + ADigest;
    QTest::newRow("nothing") << QStringList() << 0 << "" << QStringList() << false;
    QTest::newRow("one folder") << QStringList({"<dir>"}) << 1 << "<dir>" << QStringList() << false;
    QTest::newRow("one check file")
        << QStringList({"<check>"}) << 2 << "<check>" << QStringList() << true;
    QTest::newRow("check file with upper-case extension")
        << QStringList({"<CHECK>"}) << 2 << "<CHECK>" << QStringList() << true;
    QTest::newRow("check file as a file URL")
        << QStringList({"file://<check>"}) << 2 << "<check>" << QStringList() << true;
    QTest::newRow("one file") << QStringList({"<a>"}) << 0 << "" << QStringList({aRow}) << false;
    QTest::newRow("relative path") << QStringList({"a"}) << 0 << "" << QStringList({aRow}) << false;
    QTest::newRow("two files") << QStringList({"<a>", "<check>"}) << 0 << ""
                               << QStringList({aRow, "<check> | 68538d91eac059942e04ecbc49f02b48"})
                               << false;
    QTest::newRow("folder among files, as a drop")
        << QStringList({"<dir>", "<a>"}) << 0 << ""
        << QStringList({"<dir> | Could not open file", aRow}) << false;
    QTest::newRow("missing check file")
        << QStringList({"<missing>"}) << 0 << "" << QStringList({"<missing> | Could not open file"})
        << false;
}

void OpenWithTest::startPathsGoWhereTheyBelong() {
    QFETCH(QStringList, arguments);
    QFETCH(int, page);
    QFETCH(QString, field);
    QFETCH(QStringList, rows);
    QFETCH(bool, verified);
    const QString current = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder_->path()));
    const auto expand = [this](QString text) {
        for (const char* name : {"<dir>", "<a>", "<check>", "<CHECK>", "<missing>"}) {
            text.replace(QString::fromLatin1(name), PathOf(QString::fromLatin1(name)));
        }
        return text;
    };
    QStringList given;
    for (const QString& argument : arguments) {
        given.append(expand(argument));
    }
    form_->OpenPaths(given);
    QDir::setCurrent(current);

    QCOMPARE(form_->PageControl->ActivePageIndex(), page);
    if (page == 1) {
        QCOMPARE(form_->EdtPath->text(), expand(field));
    }
    if (page == 2) {
        QCOMPARE(form_->EdtCheckfilePath->text(), expand(field));
    }
    QStringList expectedRows;
    for (const QString& row : rows) {
        expectedRows.append(expand(row));
    }
    QCOMPARE(Rows(*form_), expectedRows);
    QCOMPARE(form_->MemoVerifyResult->toPlainText().contains("Operation completes."), verified);
    // A folder only fills the maker's path; the check file is made on request.
    QVERIFY(!form_->MemoMakeResult->toPlainText().contains("Processing"));
    QVERIFY(window_->dialogs->messages.empty());
}

void OpenWithTest::dropOnMakerOrVerifierPageFillsItsPath_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("dropped");
    QTest::addColumn<QString>("field"); // the page's path field afterwards; it held "before"
    QTest::newRow("maker: a folder") << 1 << QStringList({"<dir>"}) << "<dir>";
    QTest::newRow("maker: a file") << 1 << QStringList({"<a>"}) << "before";
    QTest::newRow("maker: two folders") << 1 << QStringList({"<dir>", "<dir>"}) << "before";
    QTest::newRow("verifier: a check file") << 2 << QStringList({"<check>"}) << "<check>";
    QTest::newRow("verifier: any file, as the dialog takes") << 2 << QStringList({"<a>"}) << "<a>";
    QTest::newRow("verifier: a folder") << 2 << QStringList({"<dir>"}) << "before";
    QTest::newRow("verifier: two files") << 2 << QStringList({"<a>", "<check>"}) << "before";
    QTest::newRow("about: a folder") << 3 << QStringList({"<dir>"}) << "before";
}

void OpenWithTest::dropOnMakerOrVerifierPageFillsItsPath() {
    QFETCH(int, page);
    QFETCH(QStringList, dropped);
    QFETCH(QString, field);
    for (QString& path : dropped) {
        path = PathOf(path);
    }
    form_->EdtPath->setText(QStringLiteral("before"));
    form_->EdtCheckfilePath->setText(QStringLiteral("before"));
    form_->PageControl->SetActivePageIndex(page);
    test::Drop(*form_, dropped);
    QCoreApplication::processEvents();

    const QString expected = field == "before" ? field : PathOf(field);
    QCOMPARE(form_->EdtPath->text(), page == 1 ? expected : QStringLiteral("before"));
    QCOMPARE(form_->EdtCheckfilePath->text(), page == 2 ? expected : QStringLiteral("before"));
    // Nothing starts and nothing reaches the list.
    QCOMPARE(form_->DigestList().RowCount(), std::size_t{0});
    QCOMPARE(form_->PageControl->ActivePageIndex(), page);
    QVERIFY(!form_->MemoVerifyResult->toPlainText().contains("Operation"));
    QVERIFY(window_->dialogs->messages.empty());
}

QTEST_MAIN(OpenWithTest)
#include "OpenWithTest.moc"
