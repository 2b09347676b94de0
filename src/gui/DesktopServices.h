// Handing a document or an address to the desktop (browser, mail program, help viewer).
#pragma once

#include <QUrl>

namespace quorvix {

class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // Asks the desktop to open the URL with its default program. Whether that worked is not
    // reported: a missing viewer or file is the desktop's to show.
    virtual void OpenUrl(const QUrl& url) = 0;
};

// The real desktop, through QDesktopServices.
class QtDesktopServices final : public DesktopServices {
public:
    void OpenUrl(const QUrl& url) override;
};

} // namespace quorvix
