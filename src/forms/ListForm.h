#pragma once

#include "forms/Form.h"
#include "widgets/DataGrid.h"

#include <QFrame>

class QPushButton;

// A visible grid column with its title and width.
GridColumn Column(const QString& field, const QString& title, int width);

// The button bar of every list window: a 41-pixel lowered panel with
// "添加(&A)", "修改(&E)", "删除(&D)" and "关闭(&X)" at 9 pixels from its top,
// 80, 80 and 88 pixels apart. The buttons keep their distance from the
// panel's right edge when the panel is resized.
class TListButtons : public QFrame {
    Q_OBJECT
public:
    // rightGap: from the right edge of "关闭(&X)" to the right edge of the panel.
    TListButtons(int rightGap, QWidget* parent);
    void setRightGap(int rightGap);
    // A control added right of "关闭(&X)", gap pixels after the one before;
    // it moves with the buttons.
    void addTrailing(QWidget* control, int gap = 8);

    QPushButton* cmdAppend = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdDelete = nullptr;
    QPushButton* cmdClose = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void placeButtons();
    int m_rightGap;
    QVector<QPair<QWidget*, int>> m_trailing;
};

// The list window the code tables and the roster are built on: a list of
// rows with an ID, the button bar, and the four commands. Adding and editing
// open the row's dialog and reload only when it stored; deleting asks first,
// deletes the current row from its table and takes it out of the list, so
// the row leaves the list without a reload and the following row becomes
// current.
class TListForm : public TForm {
    Q_OBJECT
public:
    virtual bool ReadyData() = 0;

    void cmdAppendClick();
    void cmdEditClick();
    void cmdDeleteClick();
    void cmdCloseClick();

    TListButtons* buttons() const { return m_buttons; }

protected:
    TListForm(int buttonsRightGap, QWidget* parent);

    // The rows the commands act on, and the texts of the delete question and refusal.
    void setRecords(QueryObject* records, const QString& deleteQuestion, const QString& deleteRefused);
    // Whether a row can be added at all (the roster needs a class).
    virtual bool canAppend() const { return true; }
    // Open the dialog for a new row or for the row with this ID; true when it stored.
    virtual bool appendRecord() = 0;
    virtual bool editRecord(int id) = 0;
    // Deletes the listed row from its table; refused while it is used, and a
    // conflict when it no longer holds what the list read.
    virtual DbResult deleteRecord(const RowImage& listed) = 0;
    virtual void reloadAfterStore() = 0;

private:
    bool hasCurrentRecord() const;

    TListButtons* m_buttons = nullptr;
    QueryObject* m_records = nullptr;
    QString m_deleteQuestion;
    QString m_deleteRefused;
};
