// The controls of the main window at their pixel positions, with their captions and tab order.
#include "UnitFrmMain.h"

#include "Version.h"
#include "checksum/ProductInfo.h"
#include "gui/ClickLabel.h"
#include "gui/FileDigestListModel.h"
#include "gui/SkinnedFrame.h"
#include "gui/SkinnedPageControl.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

namespace quorvix {
namespace {

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

QLabel* NewLabel(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    return label;
}

QLineEdit* NewEdit(QWidget* parent, const char* name, const QRect& geometry) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(geometry);
    // Files dropped here belong to the window, as everywhere else on it.
    edit->setAcceptDrops(false);
    return edit;
}

QPlainTextEdit* NewMemo(QWidget* parent, const char* name, const QRect& geometry) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(QString::fromLatin1(name));
    memo->setGeometry(geometry);
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Paths have no spaces to break at; they wrap wherever the line is full.
    memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    memo->setTabChangesFocus(true);
    memo->setAcceptDrops(false);
    memo->setUndoRedoEnabled(false);
    return memo;
}

// A label that sizes itself to its text, with the text's centre at x = 226 of the page.
template <typename Label>
Label* NewCentredLabel(QWidget* parent, const char* name, const QString& caption, int top) {
    constexpr int centre = 226;
    auto* label = new Label(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(centre - label->width() / 2, top);
    return label;
}

} // namespace

void TForm1::CreateControls() {
    suiForm1 = new SkinnedFrame(this);

    PageControl = new SkinnedPageControl(suiForm1);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    PageControl->setGeometry(8, 32, 489, 265);
    SheetFileMD5 =
        PageControl->AddPage(QStringLiteral("SheetFileMD5"), QStringLiteral("校验文件 MD5"));
    SheetMaker = PageControl->AddPage(QStringLiteral("SheetMaker"), QStringLiteral("检查文件"));
    SheetVerifier =
        PageControl->AddPage(QStringLiteral("SheetVerifier"), QStringLiteral("验证检查文件"));
    SheetAbout = PageControl->AddPage(QStringLiteral("SheetAbout"), QStringLiteral("关于"));

    BtnHelp = NewButton(suiForm1, "BtnHelp", QStringLiteral("帮助"), {320, 304, 80, 27});
    BtnExit = NewButton(suiForm1, "BtnExit", QStringLiteral("退出"), {416, 304, 80, 27});

    // Beside Help and Exit, where the frame is otherwise empty.
    JobProgressBar = new QProgressBar(suiForm1);
    JobProgressBar->setObjectName(QStringLiteral("JobProgressBar"));
    JobProgressBar->setGeometry(12, 314, 290, 7);

    CreateFileDigestPage();
    CreateMakerPage();
    CreateVerifierPage();
    CreateAboutPage();
    SetTabOrder();
}

void TForm1::CreateFileDigestPage() {
    LvwFile = new QTableView(SheetFileMD5);
    LvwFile->setObjectName(QStringLiteral("LvwFile"));
    LvwFile->setGeometry(8, 8, 465, 177);
    LvwFile->setModel(model_);
    LvwFile->setFrameStyle(QFrame::Box | QFrame::Plain);
    LvwFile->setLineWidth(1);
    LvwFile->setShowGrid(true);
    LvwFile->setSelectionBehavior(QAbstractItemView::SelectRows);
    LvwFile->setSelectionMode(QAbstractItemView::SingleSelection);
    LvwFile->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LvwFile->setSortingEnabled(false);
    LvwFile->setWordWrap(false);
    // The file name at the end of a long path is what tells rows apart.
    LvwFile->setTextElideMode(Qt::ElideMiddle);
    LvwFile->setTabKeyNavigation(false);
    LvwFile->setCornerButtonEnabled(false);
    LvwFile->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    LvwFile->verticalHeader()->hide();
    LvwFile->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    LvwFile->verticalHeader()->setMinimumSectionSize(8);
    LvwFile->verticalHeader()->setDefaultSectionSize(17);
    QHeaderView* header = LvwFile->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setMinimumSectionSize(16);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFixedHeight(19);
    LvwFile->setColumnWidth(0, 210);
    // The two columns, 210 and 255 pixels, are meant to fill the list. Its frame and, with many
    // rows, its scroll bar take a few pixels of that, which the result column gives up (a digest
    // needs far less) so that no horizontal scroll bar appears for them. A stretched section
    // never shrinks below the width it had, so it starts from the smallest.
    LvwFile->setColumnWidth(1, header->minimumSectionSize());
    header->setStretchLastSection(true);

    BtnSelectFile = NewButton(SheetFileMD5, "BtnSelectFile", QStringLiteral("选择文件校验 MD5"),
                              {192, 192, 184, 27});
    BtnSave = NewButton(SheetFileMD5, "BtnSave", QStringLiteral("保存"), {384, 192, 89, 27});
}

void TForm1::CreateMakerPage() {
    Label1 = NewLabel(SheetMaker, "Label1", QStringLiteral("文件夹: "), {14, 12, 42, 13});
    EdtPath = NewEdit(SheetMaker, "EdtPath", {56, 9, 369, 17});
    BtnSelect = NewButton(SheetMaker, "BtnSelect", QStringLiteral("..."), {432, 8, 41, 19});
    BtnMake = NewButton(SheetMaker, "BtnMake", QStringLiteral("检查文件"), {8, 32, 97, 27});
    ChkSubFolder = new QCheckBox(QStringLiteral("包括子文件夹"), SheetMaker);
    ChkSubFolder->setObjectName(QStringLiteral("ChkSubFolder"));
    ChkSubFolder->setGeometry(272, 32, 112, 21);
    ChkSubFolder->setAutoFillBackground(true);
    ChkSubFolder->setChecked(true);
    MemoMakeResult = NewMemo(SheetMaker, "MemoMakeResult", {8, 64, 465, 153});
}

void TForm1::CreateVerifierPage() {
    Label2 = NewLabel(SheetVerifier, "Label2", QStringLiteral("检查文件 : "), {8, 12, 57, 13});
    EdtCheckfilePath = NewEdit(SheetVerifier, "EdtCheckfilePath", {72, 9, 337, 17});
    BtnSelectCheckfile =
        NewButton(SheetVerifier, "BtnSelectCheckfile", QStringLiteral("..."), {416, 8, 41, 19});
    BtnVerify =
        NewButton(SheetVerifier, "BtnVerify", QStringLiteral("验证检查文件"), {8, 32, 97, 27});
    MemoVerifyResult = NewMemo(SheetVerifier, "MemoVerifyResult", {8, 64, 465, 153});
}

void TForm1::CreateAboutPage() {
    Label6 = NewCentredLabel<QLabel>(
        SheetAbout, "Label6", QStringLiteral("Quorvix v") + QString::fromLatin1(QuorvixVersion),
        16);
    Label7 = NewCentredLabel<QLabel>(
        SheetAbout, "Label7", QStringLiteral("Copyright © 2004-2026 The Quorvix developers"), 40);
    LblWebsite = NewCentredLabel<ClickLabel>(
        SheetAbout, "LblWebsite", QStringLiteral("网站: ") + QString::fromLatin1(ProductWebPage),
        180);
    LblEmail = NewCentredLabel<ClickLabel>(
        SheetAbout, "LblEmail", QStringLiteral("支持 Email: ") + QString::fromLatin1(SupportEmail),
        201);
    LblWebsite->setCursor(Qt::PointingHandCursor);
    LblEmail->setCursor(Qt::PointingHandCursor);
}

void TForm1::SetTabOrder() {
    // Within each parent, in increasing tab order: the frame (Help, Exit, the page control),
    // then the file digest, maker and verifier pages. Tab moves from the page control into the
    // page shown; the hidden pages are passed over.
    const std::vector<QWidget*> chain = {
        BtnHelp,   BtnExit,          PageControl,     BtnSelectFile,  BtnSave, LvwFile,
        BtnSelect, BtnMake,          ChkSubFolder,    MemoMakeResult, EdtPath, BtnSelectCheckfile,
        BtnVerify, MemoVerifyResult, EdtCheckfilePath};
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i], chain[i + 1]);
    }
}

} // namespace quorvix
