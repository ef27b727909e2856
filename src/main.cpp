#include "app/Application.h"
#include "app/uMain.h"
#include "data/uDM.h"

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
    return app.exec();
}
