#include "gui/AppIcon.h"

#include "resources/quorvix.xpm"

#include <QPixmap>

namespace quorvix {

QIcon QuorvixIcon() {
    return QIcon(QPixmap(QuorvixIconXpm));
}

} // namespace quorvix
