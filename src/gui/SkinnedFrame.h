// The skinned frame that fills a frameless window: its own "MacOS" title bar with close and
// minimise buttons, a one-pixel grey border and the grey body.
#pragma once

#include <QAbstractButton>
#include <QPoint>
#include <QWidget>

namespace quorvix {

// A round title-bar button; shows its sign while the pointer is over the title bar's buttons.
class TitleBarButton final : public QAbstractButton {
    Q_OBJECT

public:
    enum class Kind { Close, Minimise };
    TitleBarButton(Kind kind, QWidget* parent);

    static constexpr int Diameter = 13;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Kind kind_;
    bool hovered_ = false;
};

class SkinnedFrame final : public QWidget {
    Q_OBJECT

public:
    // Fills parent, which should be a frameless top-level window; the title is the window's.
    explicit SkinnedFrame(QWidget* parent);

    // Height of the title bar in pixels; controls below it start lower.
    static constexpr int TitleBarHeight = 22;

    // The font the title is drawn in: the window's, bold (skin::BoldFont). Cannot fail.
    QFont TitleFont() const;

    TitleBarButton* CloseButton() const { return closeButton_; }
    TitleBarButton* MinimiseButton() const { return minimiseButton_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool InTitleBar(const QPoint& point) const;

    TitleBarButton* closeButton_;
    TitleBarButton* minimiseButton_;
    bool dragging_ = false;
    QPoint dragOffset_; // from the window's top left corner to the pointer
};

} // namespace quorvix
