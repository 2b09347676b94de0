#include "gui/JobInputGuard.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace quorvix {
namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

bool IsMouse(QEvent::Type type) {
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
           type == QEvent::MouseButtonDblClick || type == QEvent::MouseMove;
}

} // namespace

JobInputGuard::JobInputGuard(QWidget* window, std::function<void()> cancel)
    : QObject(window), window_(window), cancel_(std::move(cancel)) {
    QCoreApplication::instance()->installEventFilter(this);
}

bool JobInputGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!jobRunning_ || !IsUserInput(event->type()) || !watched->isWidgetType()) {
        return false;
    }
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->window() != window_) {
        return false;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        cancel_();
        return true;
    }
    if (!inputDropped_) {
        return false;
    }
    return !(passThrough_ != nullptr && widget == passThrough_ && IsMouse(event->type()));
}

} // namespace quorvix
