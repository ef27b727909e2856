#include "reference/uTerm.h"

#include "data/Messages.h"
#include "forms/FieldGuard.h"
#include "forms/KeyPress.h"
#include "forms/uPub.h"

#include <QLineEdit>
#include <QRegularExpression>
#include <limits>

const CodeTable& TermTable()
{
    static const CodeTable table = [] {
        CodeTable t;
        t.columns = &CodeTables::Terms();
        t.listObjectName = QStringLiteral("frmTerm");
        t.listCaption = QStringLiteral("学期信息维护");
        t.listClient = QSize(419, 264);
        t.codeTitle = QStringLiteral("学期编号");
        t.codeWidth = 61;
        t.nameTitle = QStringLiteral("学期名称");
        t.nameWidth = 284;
        t.deleteQuestion = QStringLiteral("您确认删除选定的学期记录吗？");
        t.deleteRefused = Msg::DeleteTermRefused;
        t.showEdit = &ShowTermEdit;
        t.editObjectName = QStringLiteral("frmTermEdit");
        t.editCaption = QStringLiteral("新增/修改学期信息");
        t.editClient = QSize(251, 122);
        t.codeLabel = QStringLiteral("学期编号");
        t.codeMaxLength = 10;
        t.nameLabel = QStringLiteral("学期名称");
        t.codeNote = QStringLiteral("学期编号作为成绩进步的对比参数");
        t.nameRowY = 52;
        t.emptyCodeMessage = QStringLiteral("学期编号尚未输入！");
        t.emptyNameMessage = QStringLiteral("学期名称尚未输入！");
        t.storeFailedMessage = Msg::StoreTermFailed;
        return t;
    }();
    return table;
}

TfrmTerm::TfrmTerm(QWidget* parent) : TfrmCodeList(TermTable(), parent) {}

TfrmTermEdit::TfrmTermEdit(int ID, QWidget* parent) : TfrmCodeEdit(TermTable(), ID, parent)
{
    FieldGuard::of(EditCode, TermTable().codeLabel)
        ->setKeyPress([this](QChar& Key) { EditCodeKeyPress(Key); }, QStringLiteral("数字"));
}

void TfrmTermEdit::EditCodeKeyPress(QChar& Key)
{
    KeepDigitsAndBackspace(Key);
}

bool TfrmTermEdit::AcceptCode()
{
    // Ten digits fit the field, but the column holds 32 bits: a larger code is
    // refused here rather than stored cut down. Anything else that is no
    // whole number is left to the conversion, which names it.
    static const QRegularExpression wholeNumber(QStringLiteral("^\\s*\\+?[0-9]+\\s*$"));
    const QString code = EditCode->text();
    if (!wholeNumber.match(code).hasMatch())
        return true;
    bool ok = false;
    const qint64 value = code.trimmed().toLongLong(&ok);
    if (ok && value <= std::numeric_limits<int>::max())
        return true;
    ShowMessage(QStringLiteral("学期编号不能大于2147483647！"));
    EditCode->setFocus();
    return false;
}

bool ShowTerm()
{
    return RunModal<TfrmTerm>();
}

bool ShowTermEdit(int ID)
{
    return RunEdit<TfrmTermEdit>(ID);
}
