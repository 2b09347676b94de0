// The program's icon.
#pragma once

#include <QIcon>

namespace quorvix {

// The 32 x 32, 16-colour icon of the window and the task bar.
QIcon QuorvixIcon();

} // namespace quorvix
