// What the desktop program sets up on its application object before the window opens.
#pragma once

#include <QTranslator>

#include <memory>

namespace quorvix {

// Names the application for the desktop (program name and desktop entry "quorvix"), gives it
// the icon, and installs Qt's Chinese translation of the standard buttons of boxes and dialogs
// when it is installed. No display name is set: Qt would append it to the caption of every
// window and box ("错误 — Quorvix"), and each caption must read exactly as written. Call once,
// after the QApplication exists. Returns the installed translation, which must live as long as
// the application, or nothing when none is installed (the buttons then stay English). Cannot
// fail.
std::unique_ptr<QTranslator> SetUpApplication();

} // namespace quorvix
