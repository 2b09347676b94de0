// The window on a real X server (the suite runs under xvfb-run): what the X server is given as
// window names, the title bar's pixels as they are on the screen, and the focus after a job
// started with the keyboard. Without an X server the suite skips.
#include "GuiTestSupport.h"

#include "gui/ApplicationSetup.h"
#include "gui/QtUserDialogs.h"
#include "gui/SkinnedFrame.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvix;

namespace {

// The name the X server holds for the window, as a window manager reads it; empty when it
// cannot be read.
QString WindowNameOnTheServer(const QWidget* window) {
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(window->winId()),
                                          QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(5000) || xprop.exitCode() != 0) {
        return {};
    }
    // _NET_WM_NAME(UTF8_STRING) = "错误"
    const QString output = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype first = output.indexOf(QLatin1Char('"'));
    const qsizetype last = output.lastIndexOf(QLatin1Char('"'));
    return first >= 0 && last > first ? output.mid(first + 1, last - first - 1) : QString();
}

// The title bar as the X server shows it, taken from the root window.
QImage TitleBarOnTheScreen(const TForm1& form) {
    QCoreApplication::processEvents();
    const QPoint topLeft = form.mapToGlobal(QPoint(0, 0));
    return form.screen()
        ->grabWindow(0, topLeft.x(), topLeft.y(), form.width(), SkinnedFrame::TitleBarHeight)
        .toImage();
}

// How many pixels of the title's middle are nearly black, and the darkest grey among them.
std::pair<int, int> TitleInk(const QImage& bar) {
    int dark = 0;
    int darkest = 255;
    for (int y = 2; y < bar.height() - 2; ++y) {
        for (int x = bar.width() / 2 - 40; x < bar.width() / 2 + 40; ++x) {
            const int grey = qGray(bar.pixel(x, y));
            darkest = std::min(darkest, grey);
            dark += grey < 80 ? 1 : 0;
        }
    }
    return {dark, darkest};
}

// The same count for the title drawn in the window's regular font.
int RegularTitleInk(const TForm1& form) {
    QImage image(form.width(), SkinnedFrame::TitleBarHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(form.font());
    painter.setPen(Qt::black);
    painter.drawText(image.rect().adjusted(0, 0, 0, -1), Qt::AlignCenter, form.windowTitle());
    painter.end();
    return TitleInk(image).first;
}

// Screenshots go where QUORVIX_SCREENSHOTS names, when it is set.
void KeepScreenshot(const QImage& image, const QString& name) {
    const QString folder = qEnvironmentVariable("QUORVIX_SCREENSHOTS");
    if (!folder.isEmpty()) {
        image.save(QDir(folder).filePath(name));
    }
}

} // namespace

class X11WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void captionsAreTheWindowNames_data();
    void captionsAreTheWindowNames();
    void titleBarIsActiveAndBoldOnTheScreen();
    void spaceOnTheMakeButtonLeavesTheFocusThere();

private:
    std::unique_ptr<QTranslator> translation_;
};

void X11WindowTest::initTestCase() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        QSKIP("needs an X server: run under xvfb-run with QT_QPA_PLATFORM=xcb");
    }
    if (QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty()) {
        QSKIP("needs xprop (x11-utils) to read window names");
    }
    translation_ = SetUpApplication();
}

void X11WindowTest::captionsAreTheWindowNames_data() {
    QTest::addColumn<bool>("fileDialog");
    QTest::addColumn<QString>("caption");
    QTest::newRow("input check box") << false << QStringLiteral("错误");
    QTest::newRow("overwrite question") << false << QStringLiteral("Overwrite");
    QTest::newRow("default error box") << false << QStringLiteral("Quorvix");
    QTest::newRow("save dialog") << true << QStringLiteral("保存 MD5 校验");
    QTest::newRow("check file dialog") << true << QStringLiteral("选择检查文件");
}

void X11WindowTest::captionsAreTheWindowNames() {
    QFETCH(bool, fileDialog);
    QFETCH(QString, caption);
    QString name = QStringLiteral("<no dialog>");
    test::AnswerNextDialog([&name](QDialog* dialog) {
        if (QTest::qWaitForWindowExposed(dialog)) {
            name = WindowNameOnTheServer(dialog);
        }
        dialog->reject();
    });
    QtUserDialogs dialogs;
    if (fileDialog) {
        dialogs.ShowFileDialog(nullptr, {FileDialogKind::SaveFile, caption, QString(), 0, {}});
    } else {
        dialogs.ShowMessage(nullptr, {QStringLiteral("text"), caption, MessageIcon::Information,
                                      MessageButtons::Ok});
    }
    QCOMPARE(name, caption);
}

void X11WindowTest::titleBarIsActiveAndBoldOnTheScreen() {
    test::FormWithFakes window;
    TForm1& form = *window.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(WindowNameOnTheServer(&form), QStringLiteral("Quorvix"));

    // Another window takes the activation, then the main window gets it back.
    QWidget other;
    other.setGeometry(0, 0, 60, 40);
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    const QImage inactive = TitleBarOnTheScreen(form);
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    const QImage active = TitleBarOnTheScreen(form);
    KeepScreenshot(inactive, QStringLiteral("title-inactive.png"));
    KeepScreenshot(active, QStringLiteral("title-active.png"));
    KeepScreenshot(
        form.screen()->grabWindow(0, form.x(), form.y(), form.width(), form.height()).toImage(),
        QStringLiteral("window-active.png"));

    const auto [activeDark, activeDarkest] = TitleInk(active);
    QVERIFY2(activeDarkest < 40, qPrintable(QString::number(activeDarkest)));
    QVERIFY2(TitleInk(inactive).second >= 100,
             qPrintable(QString::number(TitleInk(inactive).second)));
    // Bold: clearly more ink than the same title in the regular font.
    QVERIFY2(activeDark > RegularTitleInk(form) * 5 / 4,
             qPrintable(QStringLiteral("%1 vs %2").arg(activeDark).arg(RegularTitleInk(form))));
}

void X11WindowTest::spaceOnTheMakeButtonLeavesTheFocusThere() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("sub")));
    test::WriteFile(folder.filePath(QStringLiteral("sub/a")), "a");
    test::FormWithFakes window;
    TForm1& form = *window.form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.PageControl->SetActivePageIndex(1);
    form.EdtPath->setText(folder.path());
    form.BtnMake->setFocus(Qt::TabFocusReason);

    for (int run = 0; run < 2; ++run) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(form.MemoMakeResult->toPlainText().contains(QStringLiteral("操作完成。")));
        QCOMPARE(QApplication::focusWidget(), form.BtnMake);
        QVERIFY(form.ChkSubFolder->isChecked());
        QVERIFY(test::ReadFile(folder.filePath(QStringLiteral("CheckSum.md5"))).contains("sub/a"));
    }
}

QTEST_MAIN(X11WindowTest)
#include "X11WindowTest.moc"
