// Handing a document or an address to the desktop (browser, mail program, help viewer), and the
// desktop's clipboard.
#pragma once

#include <QString>
#include <QUrl>

namespace quorvix {

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // Asks the desktop to open the URL with its default program. Whether that worked is not
    // reported: a missing viewer or file is the desktop's to show.
    virtual void OpenUrl(const QUrl& url) = 0;

    // The plain text on the clipboard; empty when it holds none. Cannot fail.
    virtual QString ClipboardText() = 0;
    // Puts text on the clipboard in place of what was there. Cannot fail.
    virtual void SetClipboardText(const QString& text) = 0;
};

// The real desktop, through QDesktopServices.
class QtDesktopServices final : public DesktopServices {
public:
    void OpenUrl(const QUrl& url) override;
    QString ClipboardText() override;
    void SetClipboardText(const QString& text) override;
};

} // namespace quorvix
