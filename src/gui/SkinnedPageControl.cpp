#include "gui/SkinnedPageControl.h"

#include "gui/SkinLook.h"

#include <QPainter>
#include <QTabBar>

namespace quorvix {

SkinnedPageControl::SkinnedPageControl(QWidget* parent)
    : QWidget(parent), tabs_(new QTabBar(this)) {
    tabs_->setObjectName(QStringLiteral("PageControlTabs"));
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(false);
    tabs_->setElideMode(Qt::ElideNone);
    // The tab strip is where the keyboard focus rests for the page control.
    setFocusProxy(tabs_);
    setFocusPolicy(Qt::TabFocus);
    connect(tabs_, &QTabBar::currentChanged, this, &SkinnedPageControl::SetActivePageIndex);
    LayOut();
}

QWidget* SkinnedPageControl::AddPage(const QString& objectName, const QString& caption) {
    auto* page = new QWidget(this);
    page->setObjectName(objectName);
    page->setAutoFillBackground(true);
    pages_.push_back(page);
    LayOut();
    // Adding the first tab makes it current, which shows the first page.
    const QSignalBlocker blocker(tabs_);
    tabs_->addTab(caption);
    if (activeIndex_ < 0) {
        SetActivePageIndex(0);
    } else {
        page->hide();
        page->setEnabled(false);
    }
    return page;
}

void SkinnedPageControl::SetActivePageIndex(int index) {
    if (index < 0 || index >= PageCount() || index == activeIndex_) {
        return;
    }
    activeIndex_ = index;
    for (int i = 0; i < PageCount(); ++i) {
        const bool active = i == index;
        Page(i)->setEnabled(active);
        Page(i)->setVisible(active);
    }
    if (tabs_->currentIndex() != index) {
        const QSignalBlocker blocker(tabs_);
        tabs_->setCurrentIndex(index);
    }
    emit ActivePageChanged(index);
}

void SkinnedPageControl::LayOut() {
    const int tabsTop = PageTop - 3 - skin::TabHeight + 1;
    tabs_->setGeometry(FirstTabLeft, tabsTop, width() - 2 * FirstTabLeft, skin::TabHeight);
    for (QWidget* page : pages_) {
        page->setGeometry(PageLeft, PageTop, width() - 2 * PageLeft, height() - PageTop - 3);
    }
}

void SkinnedPageControl::resizeEvent(QResizeEvent*) {
    LayOut();
}

void SkinnedPageControl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The pane: a grey line around the pages, starting at the foot of the tabs.
    const int paneTop = PageTop - 3;
    const QRect pane(0, paneTop, width(), height() - paneTop);
    painter.fillRect(pane, skin::BodyGrey());
    painter.setPen(skin::BorderGrey());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(pane.adjusted(0, 0, -1, -1));
}

} // namespace quorvix
