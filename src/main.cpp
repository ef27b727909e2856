#include "data/uDM.h"
#include "shell/Application.h"
#include "shell/uMain.h"

#include <QEvent>
#include <QTimer>

namespace {
// Ends the run at the main window's first paint (start-up timing only).
class QuitWhenPainted : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return false;
    }
};
} // namespace

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    app.loadTranslations();

    // A connection failure is reported before the main window is shown, and
    // start-up goes on.
    TfrmMain frmMain;
    TDM dm(TApplication::dataFilePath());
    TApplication::dataModuleCreated(dm);
    // For timing the start-up (grades-benchmark): leave once the main window
    // has been painted, that is once the user would see it.
    QuitWhenPainted quitWhenPainted;
    if (qEnvironmentVariableIsSet("GRADES_QUIT_WHEN_SHOWN"))
        frmMain.installEventFilter(&quitWhenPainted);
    frmMain.showMaximized();
    return app.exec();
}
