#include "plan/uClassToSubject.h"

#include "data/Messages.h"
#include "data/Plan.h"
#include "data/QueryObject.h"
#include "data/SqlText.h"
#include "forms/uPub.h"
#include "widgets/TermClassTree.h"

namespace {

TAssignForm::Layout classToSubjectLayout()
{
    TAssignForm::Layout shape;
    shape.objectName = QStringLiteral("frmClassToSubject");
    shape.caption = QStringLiteral("学期/班级/科目对应设置");
    shape.clientWidth = 654;
    shape.clientHeight = 414;
    shape.upperHeight = 193;
    shape.initialUpperCaption = QStringLiteral("学期xx班级yy开的科目");
    shape.lowerCaption = QStringLiteral("可选择的科目");
    shape.upperGrid = QStringLiteral("DBGridEh1");
    shape.lowerGrid = QStringLiteral("DBGridEh2");
    shape.upperQuery = QStringLiteral("dsSubject");
    shape.lowerQuery = QStringLiteral("dsSubjectMain");
    shape.columns = {GridColumn::hidden(QStringLiteral("ID")),
                     ListColumn(QStringLiteral("SubjCode"), QStringLiteral("科目简码"), 121),
                     ListColumn(QStringLiteral("SubjName"), QStringLiteral("科目名称"), 282)};
    shape.codeField = QStringLiteral("SubjCode");
    shape.upperReadFailed = Msg::OpenFailed;
    return shape;
}

} // namespace

TfrmClassToSubject::TfrmClassToSubject(QWidget* parent) : TAssignForm(classToSubjectLayout(), parent)
{
    m_tree = new TTermClassTree(this);
    setChooser(m_tree);
    connect(m_tree, &TTermClassTree::TreeClick, this, Guarded([this] { TreeClick(); }));
    connect(m_tree, &TTermClassTree::readFailed, this, [] { ShowMessage(Msg::ReadFailed); });
}

bool TfrmClassToSubject::ReadyData()
{
    // Nothing else is loaded until the user clicks a class.
    return m_tree->LoadTree();
}

void TfrmClassToSubject::TreeClick()
{
    ReadyList();
}

bool TfrmClassToSubject::hasChoice() const
{
    // The class of the last click, which is the one the lists show; a
    // selection moved by keyboard since then is not acted on.
    return !m_tree->ShownClass().isEmpty();
}

void TfrmClassToSubject::nothingChosen()
{
    // A term node or nothing clicked: both lists empty, the caption unchanged.
    upperRows()->close();
    lowerRows()->close();
}

int TfrmClassToSubject::termCode() const
{
    return StrToInt(m_tree->ShownClass().TermCode);
}

QString TfrmClassToSubject::classCode() const
{
    return m_tree->ShownClass().ClassCode;
}

Statement TfrmClassToSubject::upperList() const
{
    return Plan::Subjects(termCode(), classCode());
}

Statement TfrmClassToSubject::lowerList() const
{
    return Plan::OtherSubjects(termCode(), classCode());
}

QString TfrmClassToSubject::upperCaption() const
{
    const ClassSelection shown = m_tree->ShownClass();
    return QStringLiteral("学期[") + AsTyped(shown.TermName) + QStringLiteral("]班级[") +
           AsTyped(shown.ClassName) + QStringLiteral("]开设的课程科目！");
}

DbResult TfrmClassToSubject::assign(const QString& code) const
{
    return Plan::AddSubject(termCode(), classCode(), code);
}

DbResult TfrmClassToSubject::unassign(const QString& code) const
{
    return Plan::RemoveSubject(termCode(), classCode(), code);
}

bool ShowClassToSubject()
{
    return RunModal<TfrmClassToSubject>();
}
