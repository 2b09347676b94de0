// The start of the desktop program: the application, its title, the main window, the loop.
#include "UnitFrmMain.h"

#include "gui/AppIcon.h"
#include "gui/ErrorBox.h"
#include "gui/SkinnedPageControl.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvix"));
    QApplication::setApplicationDisplayName(QString::fromLatin1(quorvix::ApplicationTitle));
    QGuiApplication::setDesktopFileName(QStringLiteral("quorvix"));
    QApplication::setWindowIcon(quorvix::QuorvixIcon());

    // The captions are Chinese, so the standard buttons of boxes and dialogs are too. Without
    // the translation installed they stay in English; nothing else depends on it.
    QTranslator qtTranslation;
    if (qtTranslation.load(QStringLiteral("qtbase_zh_CN"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTranslation);
    }

    quorvix::TForm1 form1;
    form1.PageControl->SetActivePageIndex(0);
    form1.show();
    form1.activateWindow();
    return QApplication::exec();
}
