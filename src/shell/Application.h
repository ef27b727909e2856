#pragma once

#include <QApplication>

class TDM;
struct StoreLocation;

// The application object: the title, the one look (style, palette and the
// "宋体" 12-pixel font with fallbacks that exist on Linux), the backstop of
// the top-level error report for failures that escape an event handler, and
// the busy cursor while a statement waits for a file another program locked.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The look of every window; also applied by the tests.
    static void applyLook();
    // Qt's own Chinese texts for the standard dialogs.
    void loadTranslations();

    // The data file beside the program: its folder + "db/Student.dat".
    static QString dataFilePath();
    // Where the school is kept: the server that the settings file beside the
    // program names (StudentGrades.ini), or else the data file.
    static StoreLocation storeLocation();
    // Start-up once the data module exists: a server that wants a password
    // libpq could not supply is asked for it once; a connection that did not
    // open is reported once and start-up goes on; the temporary files that
    // runs which were killed left in db/ and Bak/ are removed.
    static void dataModuleCreated(TDM& dm);
};
