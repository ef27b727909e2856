#include "reference/uSubject.h"

#include "data/Messages.h"
#include "forms/uPub.h"

const CodeTable& SubjectTable()
{
    static const CodeTable table = [] {
        CodeTable t;
        t.columns = &CodeTables::Subjects();
        t.listObjectName = QStringLiteral("frmSubject");
        t.listCaption = QStringLiteral("科目信息维护");
        t.listClient = QSize(439, 279);
        t.codeTitle = QStringLiteral("科目简码");
        t.codeWidth = 121;
        t.nameTitle = QStringLiteral("科目名称");
        t.nameWidth = 282;
        t.deleteQuestion = QStringLiteral("您确认删除选定的科目记录吗？");
        t.deleteRefused = Msg::DeleteSubjectRefused;
        t.showEdit = &ShowSubjectEdit;
        t.editObjectName = QStringLiteral("frmSubjectEdit");
        t.editCaption = QStringLiteral("新增/修改科目信息");
        t.editClient = QSize(256, 123);
        t.editResizable = true;
        t.codeLabel = QStringLiteral("科目编号");
        t.codeMaxLength = 20;
        t.nameLabel = QStringLiteral("科目名称");
        t.nameRowY = 44;
        t.emptyCodeMessage = QStringLiteral("科目编号尚未输入！");
        t.emptyNameMessage = QStringLiteral("科目名称尚未输入！");
        t.storeFailedMessage = Msg::StoreSubjectFailed;
        return t;
    }();
    return table;
}

TfrmSubject::TfrmSubject(QWidget* parent) : TfrmCodeList(SubjectTable(), parent) {}

TfrmSubjectEdit::TfrmSubjectEdit(int ID, QWidget* parent) : TfrmCodeEdit(SubjectTable(), ID, parent) {}

bool ShowSubject()
{
    return RunModal<TfrmSubject>();
}

bool ShowSubjectEdit(int ID)
{
    return RunEdit<TfrmSubjectEdit>(ID);
}
