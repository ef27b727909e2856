#include "data/uDM.h"
#include "shell/Application.h"
#include "shell/uMain.h"

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    app.loadTranslations();

    // A connection failure is reported before the main window is shown, and
    // start-up goes on.
    TfrmMain frmMain;
    TDM dm(TApplication::storeLocation());
    TApplication::dataModuleCreated(dm);
    frmMain.showMaximized();
    return app.exec();
}
