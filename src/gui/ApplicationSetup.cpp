#include "gui/ApplicationSetup.h"

#include "gui/AppIcon.h"

#include <QApplication>
#include <QLibraryInfo>

namespace quorvix {

std::unique_ptr<QTranslator> SetUpApplication() {
    QApplication::setApplicationName(QStringLiteral("quorvix"));
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvix"));
    QApplication::setWindowIcon(QuorvixIcon());

    auto translation = std::make_unique<QTranslator>();
    if (!translation->load(QStringLiteral("qtbase_zh_CN"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    QApplication::installTranslator(translation.get());
    return translation;
}

} // namespace quorvix
