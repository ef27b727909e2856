#include "scores/uGrade.h"

#include "data/Messages.h"
#include "data/QueryObject.h"
#include "data/Roster.h"
#include "data/SqlText.h"
#include "forms/uPub.h"
#include "scores/uGuadeEdit.h"
#include "widgets/DataGrid.h"
#include "widgets/TermClassTree.h"

#include <QGroupBox>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

GridColumn column(const QString& field, const QString& title, int width, QMap<QString, QString> values = {})
{
    GridColumn c;
    c.field = field;
    c.title = title;
    c.width = width;
    c.valueList = std::move(values);
    return c;
}

} // namespace

TfrmGrade::TfrmGrade(QWidget* parent)
    : TScoreWindow(GradeScores(), QStringLiteral("成绩初始化"), QStringLiteral("dsGrade"), parent)
{
    setObjectName(QStringLiteral("frmGrade"));
    setWindowTitle(QStringLiteral("学生成绩录入"));
    resize(630, 423); // 638 x 450 with the frame

    dsStudent = new QueryObject(this);
    dsStudent->setObjectName(QStringLiteral("dsStudent"));

    GroupBox2->setTitle(QStringLiteral("班级XX的学生信息列表"));
    auto* right = new QVBoxLayout(GroupBox2);
    right->setContentsMargins(2, 2, 2, 2);
    right->setSpacing(2);
    DBGridEh2 = new DataGrid(GroupBox2);
    DBGridEh2->setObjectName(QStringLiteral("DBGridEh2"));
    GridColumn postCode = column(QStringLiteral("PostCode"), QStringLiteral("邮编"), 42);
    postCode.visible = false;
    DBGridEh2->setColumns({
        GridColumn::hidden(QStringLiteral("ID")),
        GridColumn::hidden(QStringLiteral("ClassCode")),
        column(QStringLiteral("SName"), QStringLiteral("姓名"), 56),
        column(QStringLiteral("SNumber"), QStringLiteral("学号"), 32),
        column(QStringLiteral("Room"), QStringLiteral("寝室"), 52),
        column(QStringLiteral("Address"), QStringLiteral("家庭地址"), 229),
        postCode,
        column(QStringLiteral("Patriarchy"), QStringLiteral("家长"), 50),
        column(QStringLiteral("HomeTel"), QStringLiteral("家庭电话"), 98),
        column(QStringLiteral("IsTY"), QStringLiteral("是否团员"), 28, {{"0", "否"}, {"1", "是"}}),
        column(QStringLiteral("HasWJ"), QStringLiteral("有否违纪记录"), 46, {{"0", "无"}, {"1", "有"}}),
        column(QStringLiteral("WJContent"), QStringLiteral("违纪说明"), 119),
        column(QStringLiteral("IsActive"), QStringLiteral("是否在校"), 33, {{"0", "否"}, {"1", "在校"}}),
    });
    // The narrow flag columns can only be read with their titles on two lines.
    DBGridEh2->setMultiLineTitles(true);
    DBGridEh2->setQuery(dsStudent);
    right->addWidget(DBGridEh2, 1);

    GroupBox3 = new QGroupBox(QStringLiteral("录入的成绩信息"), GroupBox2);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setFixedHeight(188);
    right->addWidget(GroupBox3);
    placeScores(GroupBox3);
    // The keyboard goes from the class to its students, then to their scores.
    setTabOrder(m_tree->Tree(), DBGridEh2);
    setTabOrder(DBGridEh2, DBGridEh1);

    connect(dsStudent, &QueryObject::currentRowChanged, this,
            Guarded([this](int) { dsStudentAfterScroll(); }));
}

std::optional<ScoreRows> TfrmGrade::shownRows() const
{
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty() || dsStudent->eof())
        return std::nullopt;
    return ScoreRows{m_kind.table, StrToInt(shown.TermCode), shown.ClassCode,
                     dsStudent->fieldInt(QStringLiteral("ID"))};
}

bool TfrmGrade::ReadyList()
{
    // Closing the students empties the scores as well (after scroll).
    dsStudent->close();
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty())
        return false;
    GroupBox2->setTitle(QStringLiteral("班级 [") + AsTyped(shown.ClassName) +
                        QStringLiteral("] 的学生信息列表！"));
    return Succeeded(dsStudent->open(Roster::Students(shown.ClassCode)), Msg::ReadFailed);
}

bool TfrmGrade::ReadySubj()
{
    // No scores are shown without the student they belong to.
    const std::optional<ScoreRows> rows = shownRows();
    if (!rows) {
        dsScores->close();
        return false;
    }
    return ReadyScores(*rows);
}

void TfrmGrade::dsStudentAfterScroll()
{
    ReadySubj();
}

void TfrmGrade::TreeClick()
{
    ReadyList();
}

bool TfrmGrade::editRow(int id)
{
    return ShowGuadeEdit(id);
}

bool ShowGrade()
{
    return RunModal<TfrmGrade>();
}
