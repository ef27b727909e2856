#include "plan/uTermToClass.h"

#include "data/CodeTables.h"
#include "data/Messages.h"
#include "data/Plan.h"
#include "data/QueryObject.h"
#include "forms/uPub.h"

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
    // Opening makes the first term current, which loads its class lists.
    return Succeeded(dsQuery->open(CodeTables::List(CodeTables::Terms())), Msg::ReadFailed);
}

void TfrmTermToClass::dsQueryAfterScroll()
{
    ReadyList();
}

bool TfrmTermToClass::hasChoice() const
{
    return !dsQuery->isEmpty() && !dsQuery->eof();
}

int TfrmTermToClass::termCode() const
{
    return dsQuery->fieldInt(QStringLiteral("TermCode"));
}

Statement TfrmTermToClass::upperList() const
{
    return Plan::ActiveClasses(termCode());
}

Statement TfrmTermToClass::lowerList() const
{
    return Plan::InactiveClasses(termCode());
}

QString TfrmTermToClass::upperCaption() const
{
    return QStringLiteral("学期[") + AsTyped(dsQuery->fieldText(QStringLiteral("TermName"))) +
           QStringLiteral("]有效的班级！");
}

DbResult TfrmTermToClass::assign(const QString& code) const
{
    return Plan::Activate(termCode(), code);
}

DbResult TfrmTermToClass::unassign(const QString& code) const
{
    return Plan::Deactivate(termCode(), code);
}

bool ShowTermToClass()
{
    return RunModal<TfrmTermToClass>();
}
