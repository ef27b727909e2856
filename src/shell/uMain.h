#pragma once

#include "shell/uBackup.h"

#include <QMainWindow>
#include <functional>

class QMdiArea;
class QAction;
class QToolBar;

// The main window: an MDI frame with the menu and toolbar from which every
// other window is opened. It holds no data of its own.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdi; }

    void mnuBakClick() { Backup::BackUp(this); }
    void mnuRestoreClick() { Backup::Restore(this, m_lastRestoreFile); }
    void mnuCloseClick() { close(); }

private:
    void FormCreate();
    void buildMenu();
    void buildToolBar();
    QAction* addItem(QMenu* menu, const QString& text, const QString& name, std::function<void()> command);
    void addItem(QMenu* menu, const QString& text, const QString& name, void (TfrmMain::*slot)());

    QMdiArea* m_mdi = nullptr;
    QToolBar* m_toolBar = nullptr;
    // The restore dialog keeps the last chosen file within a run.
    QString m_lastRestoreFile;
};
