// The application's default error box: how a failure that leaves a handler is shown.
#pragma once

#include "gui/UserDialogs.h"

#include <string>

namespace quorvix {

// The application's title: the caption of the default error box and of the main window.
inline constexpr const char* ApplicationTitle = "Quorvix";

// The message as the box shows it: with "." appended when its last byte sorts after "." (so a
// sentence ending in a letter, a digit or a quote gets its full stop, and one ending in ".", "!",
// a space or ")" does not). An empty message stays empty.
std::string DefaultErrorText(std::string message);

// Shows the box over owner: the message through DefaultErrorText, the caption "Quorvix", the
// error icon and an OK button.
void ShowDefaultErrorBox(UserDialogs& dialogs, QWidget* owner, const std::string& message);

} // namespace quorvix
