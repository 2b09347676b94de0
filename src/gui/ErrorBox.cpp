#include "gui/ErrorBox.h"

#include "gui/NativeText.h"

namespace quorvix {

std::string DefaultErrorText(std::string message) {
    // Compared as unsigned bytes: the last byte of a UTF-8 character (0x80 and up) also sorts
    // after ".", so text ending in any non-ASCII character gets one as well.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') {
        message += '.';
    }
    return message;
}

void ShowDefaultErrorBox(UserDialogs& dialogs, QWidget* owner, const std::string& message) {
    MessageRequest request;
    request.text = FromNative(DefaultErrorText(message));
    request.caption = QString::fromLatin1(ApplicationTitle);
    request.icon = MessageIcon::Critical;
    request.buttons = MessageButtons::Ok;
    dialogs.ShowMessage(owner, request);
}

} // namespace quorvix
