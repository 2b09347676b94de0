#include "gui/DesktopServices.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>

namespace quorvix {

void QtDesktopServices::OpenUrl(const QUrl& url) {
    // The result is deliberately dropped: the desktop shows its own message when it cannot open
    // the document, and the window has nothing useful to add.
    QDesktopServices::openUrl(url);
}

QString QtDesktopServices::ClipboardText() {
    return QGuiApplication::clipboard()->text();
}

void QtDesktopServices::SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

} // namespace quorvix
