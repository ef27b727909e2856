#pragma once

#include "data/CodeTables.h"
#include "forms/EditForm.h"
#include "forms/ListForm.h"

#include <QSize>
#include <QString>

class DataGrid;
class QLabel;
class QLineEdit;

// What one code table (terms, subjects, classes) shows and says; the list
// window and the edit dialog are the same for all three otherwise.
struct CodeTable {
    const CodeTableColumns* columns = nullptr; // the table, its code and name

    // The list window.
    QString listObjectName;
    QString listCaption;
    QSize listClient;
    QString codeTitle;
    int codeWidth = 0;
    QString nameTitle;
    int nameWidth = 0;
    QString deleteQuestion;
    QString deleteRefused;
    bool (*showEdit)(int ID) = nullptr;

    // The edit dialog.
    QString editObjectName;
    QString editCaption;
    QSize editClient;
    bool editResizable = false;
    QString codeLabel;
    int codeMaxLength = 20;
    QString nameLabel;
    int nameMaxLength = 50;
    QString codeNote;  // under the code field; empty for none
    int nameRowY = 52; // the name field's top; its label stands 4 pixels lower
    QString emptyCodeMessage;
    QString emptyNameMessage;
    QString storeFailedMessage;
};

// The list window of a code table: the whole table in code order in a
// read-only grid, with the four commands of the button bar.
class TfrmCodeList : public TListForm {
    Q_OBJECT
public:
    explicit TfrmCodeList(const CodeTable& table, QWidget* parent = nullptr);

    bool ReadyData() override;
    void DBGridEh1DblClick() { cmdEditClick(); }

    QueryObject* dsQuery = nullptr;
    DataGrid* DBGridEh1 = nullptr;

protected:
    bool appendRecord() override;
    bool editRecord(int id) override;
    DbResult deleteRecord(const RowImage& listed) override;
    void reloadAfterStore() override { ReadyData(); }

private:
    const CodeTable& m_table;
};

// The "新增/修改…" dialog of a code table: a code and a name, both stored as
// typed. Opened for an ID that has no row (or -1), it stores a new row.
class TfrmCodeEdit : public TEditForm {
    Q_OBJECT
public:
    TfrmCodeEdit(const CodeTable& table, int ID, QWidget* parent = nullptr);

    bool ReadyData() override;
    bool SaveData() override;

    QLineEdit* EditCode = nullptr;
    QLineEdit* EditName = nullptr;

protected:
    void FormCreate();
    // A last look at the typed code before it is set into the row; false
    // keeps the dialog open (the check has said why).
    virtual bool AcceptCode() { return true; }

private:
    const CodeTable& m_table;
    std::optional<RowImage> m_found; // the row as read: it is changed, else a new one stored
};
