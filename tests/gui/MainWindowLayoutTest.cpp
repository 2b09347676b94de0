// The main window as laid out: every control's name, kind, parent, place, caption and tab
// order, and the state in which the program starts.
#include "GuiTestSupport.h"

#include "gui/ClickLabel.h"
#include "gui/SkinnedFrame.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTableView>
#include <QtTest>

using namespace quorvix;

namespace {

struct ControlRow {
    const char* name;
    const char* kind; // the Qt class the control is, or derives from
    const char* parent;
    QRect geometry;
    const char* caption; // nullptr: the control has no caption
    int tabOrder;        // within its parent; -1 for controls that take no focus
};

// The controls as the window's layout gives them.
const ControlRow Controls[] = {
    {"suiForm1", "QWidget", "Form1", {0, 0, 507, 339}, nullptr, -1},
    {"PageControl", "QWidget", "suiForm1", {8, 32, 489, 265}, nullptr, 3},
    {"BtnHelp", "QPushButton", "suiForm1", {320, 304, 80, 27}, "帮助", 1},
    {"BtnExit", "QPushButton", "suiForm1", {416, 304, 80, 27}, "退出", 2},
    {"SheetFileMD5", "QWidget", "PageControl", {3, 37, 483, 225}, nullptr, -1},
    {"SheetMaker", "QWidget", "PageControl", {3, 37, 483, 225}, nullptr, -1},
    {"SheetVerifier", "QWidget", "PageControl", {3, 37, 483, 225}, nullptr, -1},
    {"SheetAbout", "QWidget", "PageControl", {3, 37, 483, 225}, nullptr, -1},
    {"LvwFile", "QTableView", "SheetFileMD5", {8, 8, 465, 177}, nullptr, 2},
    {"BtnSelectFile", "QPushButton", "SheetFileMD5", {192, 192, 184, 27}, "选择文件校验 MD5", 0},
    {"BtnSave", "QPushButton", "SheetFileMD5", {384, 192, 89, 27}, "保存", 1},
    {"Label1", "QLabel", "SheetMaker", {14, 12, 42, 13}, "文件夹: ", -1},
    {"EdtPath", "QLineEdit", "SheetMaker", {56, 9, 369, 17}, "", 4},
    {"BtnSelect", "QPushButton", "SheetMaker", {432, 8, 41, 19}, "...", 0},
    {"BtnMake", "QPushButton", "SheetMaker", {8, 32, 97, 27}, "检查文件", 1},
    {"ChkSubFolder", "QCheckBox", "SheetMaker", {272, 32, 112, 21}, "包括子文件夹", 2},
    {"MemoMakeResult", "QPlainTextEdit", "SheetMaker", {8, 64, 465, 153}, nullptr, 3},
    {"Label2", "QLabel", "SheetVerifier", {8, 12, 57, 13}, "检查文件 : ", -1},
    {"EdtCheckfilePath", "QLineEdit", "SheetVerifier", {72, 9, 337, 17}, "", 3},
    {"BtnSelectCheckfile", "QPushButton", "SheetVerifier", {416, 8, 41, 19}, "...", 0},
    {"BtnVerify", "QPushButton", "SheetVerifier", {8, 32, 97, 27}, "验证检查文件", 1},
    {"MemoVerifyResult", "QPlainTextEdit", "SheetVerifier", {8, 64, 465, 153}, nullptr, 2},
};

// The About page's labels size themselves to their texts, centred near x = 226 of the page.
struct AboutLabelRow {
    const char* name;
    int top;
    const char* captionStart;
    bool link;
};

const AboutLabelRow AboutLabels[] = {
    {"Label6", 16, "Quorvix v4.8", false},
    {"Label7", 40, "Copyright", false},
    {"LblWebsite", 180, "网站: www.example.com/quorvix/", true},
    {"LblEmail", 201, "支持 Email: support@example.com", true},
};

QString CaptionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    return {};
}

// The control of the layout that a focus widget stands for: the page control's focus rests on
// its tab strip.
QString ControlNameOf(QWidget* widget) {
    if (qobject_cast<QTabBar*>(widget) != nullptr) {
        return widget->parentWidget()->objectName();
    }
    return widget->objectName();
}

} // namespace

class MainWindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void controlsAsLaidOut_data();
    void controlsAsLaidOut();
    void pagesAndTabsInOrder();
    void tabKeyFollowsTabOrder_data();
    void tabKeyFollowsTabOrder();
    void aboutLabelsCentredWithHandCursorOnLinks();
    void fileListIsAReportWithTwoColumns();
    void windowIsFixedFramelessAndSkinned();
    void startsOnTheFileDigestPageWithPrompts();
    void titleBarButtonsCloseAndMinimise();
    void titleBarDragsTheWindow();
    void exitButtonCloses();
    void titleBarFollowsActivation_data();
    void titleBarFollowsActivation();
    void titleIsBold();

private:
    std::unique_ptr<test::FormWithFakes> window_;
    TForm1* form_ = nullptr;
};

void MainWindowLayoutTest::init() {
    window_ = std::make_unique<test::FormWithFakes>();
    form_ = window_->form.get();
}

void MainWindowLayoutTest::cleanup() {
    form_ = nullptr;
    window_.reset();
}

void MainWindowLayoutTest::controlsAsLaidOut_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(std::size(Controls)); ++i) {
        QTest::newRow(Controls[i].name) << i;
    }
}

void MainWindowLayoutTest::controlsAsLaidOut() {
    QFETCH(int, row);
    const ControlRow& expected = Controls[row];
    auto* control = form_->findChild<QWidget*>(QString::fromLatin1(expected.name));
    QVERIFY2(control != nullptr, expected.name);
    QVERIFY2(control->inherits(expected.kind), control->metaObject()->className());
    QCOMPARE(control->parentWidget()->objectName(), QString::fromLatin1(expected.parent));
    QCOMPARE(control->geometry(), expected.geometry);
    if (expected.caption != nullptr) {
        const QString caption = QString::fromUtf8(expected.caption);
        QCOMPARE(CaptionOf(control), caption);
        // The caption is not clipped in the window's font (the check box's includes its box).
        const int room =
            qobject_cast<QCheckBox*>(control) != nullptr ? control->width() - 20 : control->width();
        QVERIFY2(control->fontMetrics().horizontalAdvance(caption) <= room, expected.name);
        QVERIFY2(control->fontMetrics().height() <= control->height() + 2, expected.name);
    }
    if (expected.tabOrder >= 0) {
        QVERIFY(control->focusPolicy() & Qt::TabFocus);
    } else if (qobject_cast<QLabel*>(control) != nullptr) {
        QCOMPARE(control->focusPolicy(), Qt::NoFocus);
    }
}

void MainWindowLayoutTest::pagesAndTabsInOrder() {
    const QStringList pages = {"SheetFileMD5", "SheetMaker", "SheetVerifier", "SheetAbout"};
    const QStringList captions = {"校验文件 MD5", "检查文件", "验证检查文件", "关于"};
    QCOMPARE(form_->PageControl->PageCount(), 4);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(form_->PageControl->Page(i)->objectName(), pages[i]);
        QCOMPARE(form_->PageControl->Tabs()->tabText(i), captions[i]);
    }
    QCOMPARE(form_->PageControl->Tabs()->geometry().left(), SkinnedPageControl::FirstTabLeft);
    QCOMPARE(form_->PageControl->Tabs()->tabRect(0).left(), 0);

    // A click on a tab shows its page; only the shown page is visible and enabled.
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    QTabBar* tabs = form_->PageControl->Tabs();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(2).center());
    QCOMPARE(form_->PageControl->ActivePageIndex(), 2);
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(form_->PageControl->Page(i)->isVisible(), i == 2);
        QCOMPARE(form_->PageControl->Page(i)->isEnabled(), i == 2);
    }
}

void MainWindowLayoutTest::tabKeyFollowsTabOrder_data() {
    QTest::addColumn<int>("page");
    QTest::newRow("file digest page") << 0;
    QTest::newRow("maker page") << 1;
    QTest::newRow("verifier page") << 2;
}

void MainWindowLayoutTest::tabKeyFollowsTabOrder() {
    QFETCH(int, page);
    // The expected round: the frame's controls in their tab order, where the page control
    // leads into the shown page's controls in theirs.
    auto inOrder = [](const QString& parent) {
        std::vector<const ControlRow*> rows;
        for (const ControlRow& row : Controls) {
            if (row.tabOrder >= 0 && parent == QLatin1String(row.parent)) {
                rows.push_back(&row);
            }
        }
        std::sort(rows.begin(), rows.end(), [](const ControlRow* a, const ControlRow* b) {
            return a->tabOrder < b->tabOrder;
        });
        QStringList names;
        for (const ControlRow* row : rows) {
            names.append(QString::fromLatin1(row->name));
        }
        return names;
    };
    QStringList expected;
    for (const QString& name : inOrder(QStringLiteral("suiForm1"))) {
        expected.append(name);
        if (name == QLatin1String("PageControl")) {
            expected.append(inOrder(form_->PageControl->Page(page)->objectName()));
        }
    }

    form_->PageControl->SetActivePageIndex(page);
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_));
    form_->BtnHelp->setFocus();
    QStringList visited;
    for (qsizetype i = 0; i <= expected.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus != nullptr);
        visited.append(ControlNameOf(focus));
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    // A full round, back to the first control.
    QCOMPARE(visited, expected + QStringList{expected.first()});
}

void MainWindowLayoutTest::aboutLabelsCentredWithHandCursorOnLinks() {
    for (const AboutLabelRow& row : AboutLabels) {
        auto* label = form_->findChild<QLabel*>(QString::fromLatin1(row.name));
        QVERIFY2(label != nullptr, row.name);
        QCOMPARE(label->parentWidget(), form_->SheetAbout);
        QVERIFY2(label->text().startsWith(QString::fromUtf8(row.captionStart)), row.name);
        QCOMPARE(label->y(), row.top);
        QVERIFY2(std::abs(label->geometry().center().x() - 226) <= 1, row.name);
        // The whole text fits its label.
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
        QCOMPARE(label->cursor().shape(), row.link ? Qt::PointingHandCursor : Qt::ArrowCursor);
        QCOMPARE(qobject_cast<ClickLabel*>(label) != nullptr, row.link);
    }
}

void MainWindowLayoutTest::fileListIsAReportWithTwoColumns() {
    QTableView* list = form_->LvwFile;
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    QCOMPARE(list->model()->columnCount(), 2);
    QCOMPARE(list->columnWidth(0), 210);
    // The result column has the rest of the list's 465 pixels, so no scroll bar is needed
    // sideways, and more than a digest's width.
    QCOMPARE(list->columnWidth(0) + list->columnWidth(1), list->viewport()->width());
    QVERIFY(list->columnWidth(1) >= list->fontMetrics().horizontalAdvance(
                                        QStringLiteral("d41d8cd98f00b204e9800998ecf8427e")));
    QVERIFY(!list->horizontalScrollBar()->isVisible());
    QVERIFY(list->showGrid());
    QCOMPARE(list->selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(list->selectionMode(), QAbstractItemView::SingleSelection);
    QCOMPARE(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!list->isSortingEnabled());
    QVERIFY(!list->verticalHeader()->isVisible());
    QVERIFY(list->horizontalHeader()->isVisible());
}

void MainWindowLayoutTest::windowIsFixedFramelessAndSkinned() {
    QCOMPARE(form_->objectName(), QStringLiteral("Form1"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Quorvix"));
    QCOMPARE(form_->size(), QSize(507, 339));
    QCOMPARE(form_->minimumSize(), QSize(507, 339));
    QCOMPARE(form_->maximumSize(), QSize(507, 339));
    QVERIFY(form_->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!(form_->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form_->font().pixelSize(), 11);
    QCOMPARE(form_->palette().color(QPalette::Window), QColor(231, 231, 231));
    QCOMPARE(form_->windowIcon().availableSizes().value(0), QSize(32, 32));
    // Every caption renders: the font, or one of its fallbacks, has the Chinese glyphs.
    QVERIFY(QFontMetrics(form_->font()).inFontUcs4(U'校') ||
            QFontInfo(form_->font()).family().contains(QStringLiteral("Hei")));
    // The frame is centred on the screen it starts on.
    const QRect screen = form_->screen()->availableGeometry();
    QVERIFY(std::abs(form_->geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(std::abs(form_->geometry().center().y() - screen.center().y()) <= 1);
}

void MainWindowLayoutTest::startsOnTheFileDigestPageWithPrompts() {
    QCOMPARE(form_->PageControl->ActivePageIndex(), 0);
    QVERIFY(form_->SheetFileMD5->isVisibleTo(form_));
    QCOMPARE(form_->DigestList().RowCount(), std::size_t{0});
    QCOMPARE(form_->LvwFile->model()->rowCount(), 0);
    QCOMPARE(form_->MemoMakeResult->toPlainText(),
             QStringLiteral("请选择一个文件夹检查 MD5 校验，然后点击“检查文件”按钮。"));
    QCOMPARE(form_->MemoVerifyResult->toPlainText(),
             QStringLiteral("请选择一个检查文件，然后点击“验证检查文件，验证文件完整性。"));
    for (QPlainTextEdit* memo : {form_->MemoMakeResult, form_->MemoVerifyResult}) {
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(memo->font(), form_->font());
    }
    QVERIFY(form_->ChkSubFolder->isChecked());
    QVERIFY(form_->EdtPath->text().isEmpty());
    QVERIFY(form_->EdtCheckfilePath->text().isEmpty());
    QVERIFY(form_->acceptDrops());
    for (QPushButton* button : {form_->BtnSave, form_->BtnMake, form_->BtnVerify}) {
        // Enabled of its own; the pages not shown disable their controls as a whole.
        QVERIFY(button->isEnabledTo(button->parentWidget()));
    }
    QVERIFY(!form_->JobProgressBar->isVisibleTo(form_));
    QVERIFY(window_->dialogs->messages.empty());
    QVERIFY(window_->dialogs->fileRequests.empty());
}

void MainWindowLayoutTest::titleBarButtonsCloseAndMinimise() {
    TitleBarButton* close = form_->suiForm1->CloseButton();
    TitleBarButton* minimise = form_->suiForm1->MinimiseButton();
    QCOMPARE(close->y(), 4);
    QCOMPARE(minimise->y(), 4);
    QVERIFY(close->x() < minimise->x());
    QVERIFY(close->geometry().bottom() < SkinnedFrame::TitleBarHeight);
    QCOMPARE(close->focusPolicy(), Qt::NoFocus);

    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    QTest::mouseClick(minimise, Qt::LeftButton);
    QTRY_VERIFY(form_->windowState() & Qt::WindowMinimized);
    form_->showNormal();
    QTest::mouseClick(close, Qt::LeftButton);
    QVERIFY(!form_->isVisible());
}

void MainWindowLayoutTest::titleBarDragsTheWindow() {
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    const QPoint start = form_->pos();
    QTest::mousePress(form_->suiForm1, Qt::LeftButton, {}, QPoint(250, 10));
    QTest::mouseMove(form_->suiForm1, QPoint(290, 40));
    QTest::mouseRelease(form_->suiForm1, Qt::LeftButton, {}, QPoint(290, 40));
    QTRY_COMPARE(form_->pos(), start + QPoint(40, 30));

    // Below the title bar the frame does not move the window.
    const QPoint moved = form_->pos();
    QTest::mousePress(form_->suiForm1, Qt::LeftButton, {}, QPoint(250, 300));
    QTest::mouseMove(form_->suiForm1, QPoint(260, 320));
    QTest::mouseRelease(form_->suiForm1, Qt::LeftButton, {}, QPoint(260, 320));
    QCOMPARE(form_->pos(), moved);
}

void MainWindowLayoutTest::exitButtonCloses() {
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    QTest::mouseClick(form_->BtnExit, Qt::LeftButton);
    QVERIFY(!form_->isVisible());
}

namespace {

// The frame's title bar as it is on screen (not painted anew, as grab() would): what the window
// last drew into its backing store.
QImage TitleBarOnScreen(TForm1* form) {
    QCoreApplication::processEvents();
    const QPixmap shot = form->screen()->grabWindow(form->winId());
    return shot.toImage().copy(0, 0, form->width(), SkinnedFrame::TitleBarHeight);
}

// The darkest grey level among the pixels of the title text, centred on the bar.
int DarkestTitleInk(const QImage& bar) {
    int darkest = 255;
    for (int y = 2; y < bar.height() - 2; ++y) {
        for (int x = bar.width() / 2 - 40; x < bar.width() / 2 + 40; ++x) {
            darkest = std::min(darkest, qGray(bar.pixel(x, y)));
        }
    }
    return darkest;
}

QColor BallCentre(const QImage& bar, const TitleBarButton* ball) {
    return bar.pixelColor(ball->geometry().center() + QPoint(0, 2));
}

} // namespace

void MainWindowLayoutTest::titleBarFollowsActivation_data() {
    QTest::addColumn<bool>("active");
    QTest::addColumn<int>("inkMin");
    QTest::addColumn<int>("inkMax");
    QTest::newRow("active: black title, coloured balls") << true << 0 << 40;
    QTest::newRow("inactive: grey title, grey balls") << false << 100 << 160;
}

void MainWindowLayoutTest::titleBarFollowsActivation() {
    QFETCH(bool, active);
    QFETCH(int, inkMin);
    QFETCH(int, inkMax);
    QWidget other;
    other.setGeometry(0, 0, 50, 50);
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_));
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&other));
    // Always a change of activation before the look is taken, in the direction of the row.
    QWidget* first = active ? &other : static_cast<QWidget*>(form_);
    QWidget* last = active ? static_cast<QWidget*>(form_) : &other;
    first->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(first));
    last->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(last));

    const QImage bar = TitleBarOnScreen(form_);
    const int ink = DarkestTitleInk(bar);
    QVERIFY2(ink >= inkMin && ink <= inkMax, qPrintable(QString::number(ink)));
    for (const TitleBarButton* ball :
         {form_->suiForm1->CloseButton(), form_->suiForm1->MinimiseButton()}) {
        const QColor centre = BallCentre(bar, ball);
        const bool grey = std::abs(centre.red() - centre.blue()) < 16;
        QVERIFY2(grey != active, qPrintable(centre.name()));
    }
}

void MainWindowLayoutTest::titleIsBold() {
    // The title must come out heavier than the body text, whatever fonts are installed: a font
    // without a bold face draws it regular.
    const QFont title = form_->suiForm1->TitleFont();
    QVERIFY(QFontInfo(title).bold());
    const QString text = form_->windowTitle();
    QVERIFY2(QFontMetrics(title).horizontalAdvance(text) >
                 QFontMetrics(form_->font()).horizontalAdvance(text),
             qPrintable(QFontInfo(title).family()));
}

QTEST_MAIN(MainWindowLayoutTest)
#include "MainWindowLayoutTest.moc"
