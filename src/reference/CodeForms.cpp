#include "reference/CodeForms.h"

#include "data/Messages.h"
#include "data/QueryObject.h"
#include "forms/FieldGuard.h"
#include "forms/uPub.h"
#include "widgets/DataGrid.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* MakeLabel(const QString& text, QWidget* parent, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

// "关闭(&X)" ends 33 pixels from the right edge of the list windows.
constexpr int kListButtonsRightGap = 33;

TfrmCodeList::TfrmCodeList(const CodeTable& table, QWidget* parent)
    : TListForm(kListButtonsRightGap, parent), m_table(table)
{
    setObjectName(table.listObjectName);
    setWindowTitle(table.listCaption);
    setFixedClientSize(table.listClient.width(), table.listClient.height());

    dsQuery = new QueryObject(this);
    dsQuery->setObjectName(QStringLiteral("dsQuery"));
    DBGridEh1 = new DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setColumns({GridColumn::hidden(QStringLiteral("ID")),
                           Column(table.columns->codeField, table.codeTitle, table.codeWidth),
                           Column(table.columns->nameField, table.nameTitle, table.nameWidth)});
    DBGridEh1->setQuery(dsQuery);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(DBGridEh1);
    layout->addWidget(buttons());

    setRecords(dsQuery, table.deleteQuestion, table.deleteRefused);
    connect(DBGridEh1, &DataGrid::dblClick, this, Guarded([this] { DBGridEh1DblClick(); }));

    setTabOrder(buttons()->cmdClose, DBGridEh1);
    buttons()->cmdAppend->setFocus();
}

bool TfrmCodeList::ReadyData()
{
    return Succeeded(dsQuery->open(CodeTables::List(*m_table.columns)), Msg::ReadFailed);
}

bool TfrmCodeList::appendRecord()
{
    return m_table.showEdit(-1);
}

bool TfrmCodeList::editRecord(int id)
{
    return m_table.showEdit(id);
}

DbResult TfrmCodeList::deleteRecord(const RowImage& listed)
{
    return CodeTables::Remove(*m_table.columns, listed);
}

TfrmCodeEdit::TfrmCodeEdit(const CodeTable& table, int ID, QWidget* parent)
    : TEditForm(parent), m_table(table)
{
    FormCreate();
    this->ID = ID;
    setObjectName(table.editObjectName);
    setWindowTitle(table.editCaption);
    if (table.editResizable)
        resize(table.editClient);
    else
        setFixedClientSize(table.editClient.width(), table.editClient.height());

    MakeLabel(table.codeLabel, this, 8, 16)->setObjectName(QStringLiteral("Label1"));
    EditCode = new QLineEdit(this);
    EditCode->setObjectName(QStringLiteral("EditCode"));
    EditCode->setGeometry(64, 12, 166, 20);
    FieldGuard::of(EditCode, table.codeLabel)->setLimit(table.codeMaxLength);
    if (!table.codeNote.isEmpty())
        MakeLabel(table.codeNote, this, 65, 35)->setObjectName(QStringLiteral("Label3"));

    MakeLabel(table.nameLabel, this, 8, table.nameRowY + 4)->setObjectName(QStringLiteral("Label2"));
    EditName = new QLineEdit(this);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setGeometry(64, table.nameRowY, 166, 20);
    FieldGuard::of(EditName, table.nameLabel)->setLimit(table.nameMaxLength);

    setTabOrder(cmdEnsure, cmdCancel);
    setTabOrder(cmdCancel, EditCode);
    setTabOrder(EditCode, EditName);
    EditCode->setFocus();
}

void TfrmCodeEdit::FormCreate()
{
    NotStored = true;
}

bool TfrmCodeEdit::ReadyData()
{
    const DbValue<std::optional<CodeTables::Record>> found = CodeTables::Find(*m_table.columns, ID);
    if (!Succeeded(found, Msg::ReadFailed))
        return false;
    // A row that is gone (or was never there) leaves the fields empty, and
    // the dialog stores a new one.
    m_found = found->has_value() ? std::optional<RowImage>((*found)->read) : std::nullopt;
    if (m_found) {
        EditCode->setText((*found)->code);
        EditName->setText((*found)->name);
    }
    return true;
}

bool TfrmCodeEdit::SaveData()
{
    if (EditCode->text().isEmpty()) {
        ShowMessage(m_table.emptyCodeMessage);
        EditCode->setFocus();
        return false;
    }
    if (EditName->text().isEmpty()) {
        ShowMessage(m_table.emptyNameMessage);
        EditName->setFocus();
        return false;
    }
    if (!AcceptCode())
        return false;
    // A code that is no number for a numeric column throws, before anything is stored.
    const DbResult stored = CodeTables::Store(*m_table.columns, m_found, EditCode->text(), EditName->text());
    // Refused: the dialog stays open with what was typed.
    return Succeeded(stored, m_table.storeFailedMessage);
}
