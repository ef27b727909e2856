#include "plan/uTermToClass.h"

#include "app/uPub.h"
#include "data/Messages.h"
#include "data/QueryObject.h"
#include "data/SqlText.h"

#include <QGroupBox>

namespace {

TAssignForm::Layout termToClassLayout()
{
    TAssignForm::Layout shape;
    shape.objectName = QStringLiteral("frmTermToClass");
    shape.caption = QStringLiteral("学期/班级对应关系设置");
    shape.clientWidth = 673;
    shape.clientHeight = 378;
    shape.upperHeight = 137;
    shape.initialUpperCaption = QStringLiteral("学期..有效的班级");
    shape.lowerCaption = QStringLiteral("可选择的班级");
    shape.upperGrid = QStringLiteral("DBGridEh2");
    shape.lowerGrid = QStringLiteral("DBGridEh3");
    shape.upperQuery = QStringLiteral("dsClass");
    shape.lowerQuery = QStringLiteral("dsClassMain");
    shape.columns = {GridColumn::hidden(QStringLiteral("ID")),
                     ListColumn(QStringLiteral("ClassCode"), QStringLiteral("班级简码"), 88),
                     ListColumn(QStringLiteral("ClassName"), QStringLiteral("班级名称"), 276)};
    shape.codeField = QStringLiteral("ClassCode");
    shape.upperReadFailed = Msg::ReadFailed;
    return shape;
}

} // namespace

TfrmTermToClass::TfrmTermToClass(QWidget* parent) : TAssignForm(termToClassLayout(), parent)
{
    dsQuery = new QueryObject(this);
    dsQuery->setObjectName(QStringLiteral("dsQuery"));

    DBGridEh1 = MakeListGrid(this, QStringLiteral("DBGridEh1"), dsQuery,
                             {GridColumn::hidden(QStringLiteral("ID")),
                              ListColumn(QStringLiteral("TermCode"), QStringLiteral("学期编号"), 53),
                              ListColumn(QStringLiteral("TermName"), QStringLiteral("学期名称"), 95)});
    QGroupBox* box =
        MakeListBox(this, QStringLiteral("GroupBox1"), QStringLiteral("学期信息列表"), DBGridEh1);
    box->setFixedWidth(169);
    setChooser(box);
    DBGridEh1->setFocus();

    // Mouse or keyboard: every new current term reloads the class lists.
    connect(dsQuery, &QueryObject::currentRowChanged, this, Guarded([this](int) { dsQueryAfterScroll(); }));
}

bool TfrmTermToClass::ReadyData()
{
    dsQuery->close();
    dsQuery->setSql(QStringLiteral("select * from TTerm Order by TermCode"));
    // Opening makes the first term current, which loads its class lists.
    if (!dsQuery->open()) {
        ShowMessage(Msg::ReadFailed);
        return false;
    }
    return true;
}

void TfrmTermToClass::dsQueryAfterScroll()
{
    ReadyList();
}

bool TfrmTermToClass::hasChoice() const
{
    return !dsQuery->isEmpty() && !dsQuery->eof();
}

QString TfrmTermToClass::termCode() const
{
    return SqlInt(dsQuery->fieldInt(QStringLiteral("TermCode")));
}

QString TfrmTermToClass::upperSql() const
{
    return QStringLiteral("select TTermToClass.*,TClass.ClassName from TTermToClass,TClass Where  "
                          "TClass.ClassCode=TTermToClass.ClassCode And  TermCode=") +
           termCode() + QStringLiteral(" Order by TTermToClass.ClassCode");
}

QString TfrmTermToClass::lowerSql() const
{
    return QStringLiteral("select * from TClass Where 1=1  and Not ClassCode in (Select ClassCode from "
                          "TTermToClass where  TermCode=") +
           termCode() + QStringLiteral(")") + QStringLiteral(" Order by ClassCode");
}

QString TfrmTermToClass::upperCaption() const
{
    return QStringLiteral("学期[") + AsTyped(dsQuery->fieldText(QStringLiteral("TermName"))) +
           QStringLiteral("]有效的班级！");
}

QString TfrmTermToClass::insertSql(const QString& code) const
{
    return QStringLiteral("Insert into TTermToClass (TermCode,ClassCode) Values(") + termCode() +
           QStringLiteral(",") + QuotedStr(code) + QStringLiteral(")");
}

QString TfrmTermToClass::deleteSql(const QString& code) const
{
    return QStringLiteral("Delete From TTermToClass where TermCode=") + termCode() +
           QStringLiteral(" And ClassCode=") + QuotedStr(code);
}

bool ShowTermToClass()
{
    return RunModal<TfrmTermToClass>();
}
