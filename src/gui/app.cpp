// The start of the desktop program: the application, the main window, the loop.
#include "UnitFrmMain.h"

#include "gui/ApplicationSetup.h"
#include "gui/SkinnedPageControl.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const auto translation = quorvix::SetUpApplication();

    quorvix::TForm1 form1;
    form1.PageControl->SetActivePageIndex(0);
    form1.show();
    form1.activateWindow();
    return QApplication::exec();
}
