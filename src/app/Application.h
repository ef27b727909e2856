#pragma once

#include <QApplication>

// The application object: the title, the one look (style, palette and the
// "宋体" 12-pixel font with fallbacks that exist on Linux), and the backstop
// of the top-level error report for failures that escape an event handler.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // The look of every window; also applied by the tests.
    static void applyLook();
    // Qt's own Chinese texts for the standard dialogs.
    void loadTranslations();
};
