#pragma once

#include <QMainWindow>

class QMdiArea;
class QAction;
class QToolBar;

class QWidget;

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

// Shows a window as a maximised MDI child of the main window that is freed
// when it closes (a window of its own when there is no main window).
void ShowMdiChild(QWidget* form);
