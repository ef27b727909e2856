#pragma once

#include <QMainWindow>

class QMdiArea;
class QWidget;
class QAction;
class QToolBar;

// The main window: an MDI frame with the menu and toolbar from which every
// other window is opened. It holds no data of its own.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdi; }
    // The main window of the running program, for launchers of MDI children.
    static TfrmMain* instance();

    void mnuBakClick();
    void mnuRestoreClick();
    void mnuCloseClick() { close(); }

private:
    void FormCreate();
    void buildMenu();
    void buildToolBar();
    QAction* addItem(QMenu* menu, const QString& text, const QString& name, void (*launcher)());
    void addItem(QMenu* menu, const QString& text, const QString& name, void (TfrmMain::*slot)());

    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolBar = nullptr;
    // The restore dialog keeps the last chosen file within a run.
    QString m_lastRestoreFile;
};

// Shows a non-modal window maximised inside the main window, which takes it
// over; it is freed when it is closed. Without a main window it is shown on
// its own, freed the same way.
void ShowMdiChild(QWidget* form);
