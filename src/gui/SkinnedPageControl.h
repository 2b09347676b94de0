// The skinned page control: tabs along the top, and pages that all take the same place below.
#pragma once

#include <QWidget>

#include <vector>

class QTabBar;

namespace quorvix {

class SkinnedPageControl final : public QWidget {
    Q_OBJECT

public:
    explicit SkinnedPageControl(QWidget* parent);

    // Place of every page inside the control.
    static constexpr int PageLeft = 3;
    static constexpr int PageTop = 37;
    // Where the first tab begins.
    static constexpr int FirstTabLeft = 10;

    // Appends a page with its tab and returns it; the page is a plain widget to put controls on.
    QWidget* AddPage(const QString& objectName, const QString& caption);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    QWidget* Page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    QTabBar* Tabs() const { return tabs_; }

    // The page shown, counted from 0; -1 while there is none.
    int ActivePageIndex() const { return activeIndex_; }
    // Shows the page at index and hides and disables the others. Out of range: no change.
    void SetActivePageIndex(int index);

signals:
    void ActivePageChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOut();

    QTabBar* tabs_;
    std::vector<QWidget*> pages_;
    int activeIndex_ = -1;
};

} // namespace quorvix
