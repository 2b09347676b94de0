// The start of the desktop program: the application, the main window, the loop.
#include "UnitFrmMain.h"

#include "gui/ApplicationSetup.h"
#include "gui/SkinnedPageControl.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const auto translation = quorvix::SetUpApplication();

    quorvix::TForm1 form1;
    form1.PageControl->SetActivePageIndex(0);
    form1.show();
    form1.activateWindow();
    // Paths from the command line or a file manager ("Open with"), once the window is up.
    const QStringList paths = QApplication::arguments().mid(1);
    QTimer::singleShot(0, &form1, [&form1, paths] { form1.OpenPaths(paths); });
    return QApplication::exec();
}
