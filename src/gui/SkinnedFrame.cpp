#include "gui/SkinnedFrame.h"

#include "gui/SkinLook.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QRadialGradient>
#include <QWindow>

namespace quorvix {
namespace {

// Where the system keeps the colour of an inactive window's caption text.
QColor InactiveCaptionText() {
    return {128, 128, 128};
}

} // namespace

TitleBarButton::TitleBarButton(Kind kind, QWidget* parent) : QAbstractButton(parent), kind_(kind) {
    setFixedSize(Diameter, Diameter);
    // Reached with the mouse only, as on any title bar; the keyboard's Tab passes them by.
    setFocusPolicy(Qt::NoFocus);
    setToolTip(kind == Kind::Close ? QStringLiteral("关闭") : QStringLiteral("最小化"));
}

void TitleBarButton::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void TitleBarButton::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void TitleBarButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF ball = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);

    QColor colour = kind_ == Kind::Close ? QColor(236, 84, 74) : QColor(240, 184, 50);
    if (!window()->isActiveWindow() && !hovered_) {
        colour = QColor(196, 196, 196);
    }
    if (isDown()) {
        colour = colour.darker(125);
    }
    QRadialGradient fill(ball.center() + QPointF(0, ball.height() / 4), ball.width() * 0.7);
    fill.setColorAt(0.0, colour.lighter(135));
    fill.setColorAt(1.0, colour);
    painter.setPen(colour.darker(150));
    painter.setBrush(fill);
    painter.drawEllipse(ball);
    // The glass highlight of the upper half.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 120));
    painter.drawEllipse(QRectF(ball.left() + 3, ball.top() + 1, ball.width() - 6, 4));

    if (hovered_) {
        painter.setPen(QPen(QColor(90, 30, 20), 1.4, Qt::SolidLine, Qt::RoundCap));
        const QPointF c = ball.center();
        if (kind_ == Kind::Close) {
            painter.drawLine(c + QPointF(-2.5, -2.5), c + QPointF(2.5, 2.5));
            painter.drawLine(c + QPointF(-2.5, 2.5), c + QPointF(2.5, -2.5));
        } else {
            painter.drawLine(c + QPointF(-3, 0), c + QPointF(3, 0));
        }
    }
}

SkinnedFrame::SkinnedFrame(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("suiForm1"));
    setGeometry(parent->rect());
    closeButton_ = new TitleBarButton(TitleBarButton::Kind::Close, this);
    closeButton_->setObjectName(QStringLiteral("suiForm1CloseButton"));
    minimiseButton_ = new TitleBarButton(TitleBarButton::Kind::Minimise, this);
    minimiseButton_->setObjectName(QStringLiteral("suiForm1MinimiseButton"));
    // Close first, then minimise, from the left, both 4 pixels below the top of the bar.
    closeButton_->move(8, 4);
    minimiseButton_->move(8 + TitleBarButton::Diameter + 7, 4);

    connect(closeButton_, &QAbstractButton::clicked, this, [this] { window()->close(); });
    connect(minimiseButton_, &QAbstractButton::clicked, this,
            [this] { window()->showMinimized(); });
}

bool SkinnedFrame::InTitleBar(const QPoint& point) const {
    return point.y() >= 0 && point.y() < TitleBarHeight && rect().contains(point);
}

QFont SkinnedFrame::TitleFont() const {
    return skin::BoldFont(font());
}

void SkinnedFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect whole = rect();
    painter.fillRect(whole, skin::BodyGrey());

    // The title bar: a soft gradient with the pinstripes of the "MacOS" skin.
    const QRect bar(0, 0, whole.width(), TitleBarHeight);
    QLinearGradient fill(bar.topLeft(), bar.bottomLeft());
    fill.setColorAt(0.0, QColor(246, 246, 246));
    fill.setColorAt(1.0, QColor(212, 212, 212));
    painter.fillRect(bar, fill);
    painter.setPen(QColor(255, 255, 255, 70));
    for (int y = 2; y < TitleBarHeight - 1; y += 2) {
        painter.drawLine(1, y, whole.width() - 2, y);
    }
    painter.setPen(skin::BorderGrey());
    painter.drawLine(0, TitleBarHeight - 1, whole.width() - 1, TitleBarHeight - 1);

    painter.setFont(TitleFont());
    painter.setPen(isActiveWindow() ? QColor(Qt::black) : InactiveCaptionText());
    painter.drawText(bar.adjusted(0, 0, 0, -1), Qt::AlignCenter, window()->windowTitle());

    painter.setPen(skin::BorderGrey());
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(whole.adjusted(0, 0, -1, -1));
}

bool SkinnedFrame::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::WindowTitleChange:
        update();
        break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        // ActivationChange reaches the top-level window only; these two reach every widget in
        // it, and the title and the balls change colour with the window's activation.
        update();
        closeButton_->update();
        minimiseButton_->update();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void SkinnedFrame::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !InTitleBar(event->position().toPoint())) {
        QWidget::mousePressEvent(event);
        return;
    }
    // The window manager moves the window where it can (Wayland allows nothing else); otherwise
    // the window follows the pointer itself.
    QWindow* handle = window()->windowHandle();
    if (handle != nullptr && handle->startSystemMove()) {
        return;
    }
    dragging_ = true;
    dragOffset_ = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void SkinnedFrame::mouseMoveEvent(QMouseEvent* event) {
    if (dragging_ && (event->buttons() & Qt::LeftButton) != 0) {
        window()->move(event->globalPosition().toPoint() - dragOffset_);
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void SkinnedFrame::mouseReleaseEvent(QMouseEvent* event) {
    dragging_ = false;
    QWidget::mouseReleaseEvent(event);
}

} // namespace quorvix
