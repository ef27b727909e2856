#include "app/Application.h"
#include "app/uMain.h"
#include "data/uDM.h"

#include <QTimer>

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    app.loadTranslations();

    // The main window first: it sets AppPath, from which the data module
    // builds the path of the data file. A connection failure is reported
    // before the main window is shown, and start-up goes on.
    TfrmMain frmMain;
    TDM dm;
    frmMain.showMaximized();
    // For timing the start-up (grades-benchmark): leave once the main window is shown.
    if (qEnvironmentVariableIsSet("GRADES_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
