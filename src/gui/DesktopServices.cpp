#include "gui/DesktopServices.h"

#include <QDesktopServices>

namespace quorvix {

void QtDesktopServices::OpenUrl(const QUrl& url) {
    // The result is deliberately dropped: the desktop shows its own message when it cannot open
    // the document, and the window has nothing useful to add.
    QDesktopServices::openUrl(url);
}

} // namespace quorvix
