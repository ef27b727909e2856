#pragma once

#include "shell/GuideSteps.h"
#include "shell/uBackup.h"

#include <QMainWindow>
#include <functional>

class QMdiArea;
class QAction;
class QToolBar;
class TOperationGuide;

// The main window: an MDI frame with the menu and toolbar from which every
// other window is opened, and the operation guide on the MDI area's
// background. It holds no data of its own.
class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    QMdiArea* mdiArea() const;
    TOperationGuide* guide() const { return m_guide; }

    void mnuBakClick() { Backup::BackUp(this); }
    void mnuRestoreClick() { Backup::Restore(this, m_lastRestoreFile); }
    void mnuCloseClick() { close(); }

private:
    void FormCreate();
    void buildMenu();
    void buildToolBar();
    QAction* addItem(QMenu* menu, const QString& text, const QString& name, std::function<void()> command);
    void addItem(QMenu* menu, const QString& text, const QString& name, void (TfrmMain::*slot)());
    void buildGuide(QAction* toggle);
    void setGuideShown(bool shown);
    // Reads the school's progress into the guide, while it can be seen.
    void refreshGuide();

    TOperationGuide* m_guide = nullptr;
    GuideCommands m_guideCommands;
    QAction* m_guideItem = nullptr;
    bool m_guideRemembered = true; // what the user's file says
    QToolBar* m_toolBar = nullptr;
    // The restore dialog keeps the last chosen file within a run.
    QString m_lastRestoreFile;
};
