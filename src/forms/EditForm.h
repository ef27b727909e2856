#pragma once

#include "forms/Form.h"

class QFrame;
class QPushButton;

// The edit dialog every "新增/修改…" window is built on: it is opened with
// one row's ID (-1 for a new row), reads that row in ReadyData, and stores
// it through SaveData when "确认(&E)" is pressed. NotStored stays
// true until a store succeeds, so the launcher knows whether to reload.
//
// The bottom panel (41 pixels, lowered) holds "确认(&E)" and "取消(&X)",
// anchored right; they come first in the tab order, before every field the
// subclass adds. Esc and the close box cancel. The dialog previews the
// keyboard: Enter moves from field to field (EnterToNextControl).
class TEditForm : public TForm {
    Q_OBJECT
public:
    explicit TEditForm(QWidget* parent = nullptr);

    int ID = -1;
    bool NotStored = true;

    virtual bool ReadyData() = 0;
    virtual bool SaveData() = 0;

    QPushButton* ensureButton() const { return cmdEnsure; }
    QPushButton* cancelButtonWidget() const { return cmdCancel; }

    void cmdEnsureClick();
    void cmdCancelClick();

protected:
    // The bottom panel, for dialogs that place it themselves.
    QFrame* buttonPanel() const { return Panel1; }
    // Keeps the panel at the bottom across the whole width (for resizable dialogs).
    void resizeEvent(QResizeEvent* event) override;

    QFrame* Panel1 = nullptr;
    QPushButton* cmdEnsure = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void placePanel();
};
