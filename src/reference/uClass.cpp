#include "reference/uClass.h"

#include "data/Messages.h"
#include "forms/uPub.h"

const CodeTable& ClassTable()
{
    static const CodeTable table = [] {
        CodeTable t;
        t.columns = &CodeTables::Classes();
        t.listObjectName = QStringLiteral("frmClass");
        t.listCaption = QStringLiteral("班级信息");
        t.listClient = QSize(460, 292);
        t.codeTitle = QStringLiteral("班级简码");
        t.codeWidth = 110;
        t.nameTitle = QStringLiteral("班级名称");
        t.nameWidth = 276;
        t.deleteQuestion = QStringLiteral("您确认删除选定的班级记录吗？");
        t.deleteRefused = Msg::DeleteClassRefused;
        t.showEdit = &ShowClassEdit;
        t.editObjectName = QStringLiteral("frmClassEdit");
        t.editCaption = QStringLiteral("新增/修改班级信息");
        t.editClient = QSize(250, 126);
        t.codeLabel = QStringLiteral("班级编号");
        t.codeMaxLength = 20;
        t.nameLabel = QStringLiteral("班级名称");
        t.nameRowY = 52;
        t.emptyCodeMessage = QStringLiteral("班级编号尚未输入！");
        t.emptyNameMessage = QStringLiteral("班级名称尚未输入！");
        t.storeFailedMessage = Msg::StoreClassFailed;
        return t;
    }();
    return table;
}

TfrmClass::TfrmClass(QWidget* parent) : TfrmCodeList(ClassTable(), parent) {}

TfrmClassEdit::TfrmClassEdit(int ID, QWidget* parent) : TfrmCodeEdit(ClassTable(), ID, parent) {}

bool ShowClass()
{
    return RunModal<TfrmClass>();
}

bool ShowClassEdit(int ID)
{
    return RunEdit<TfrmClassEdit>(ID);
}
