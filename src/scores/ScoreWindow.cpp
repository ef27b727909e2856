#include "scores/ScoreWindow.h"

#include "app/uPub.h"
#include "data/Messages.h"
#include "data/QueryObject.h"
#include "widgets/DataGrid.h"
#include "widgets/TermClassTree.h"

#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString OverwriteQuestion = QStringLiteral("已经有记录存在，初始化将把已有记录覆盖，是否继续？");
const QString NoPlanMessage = QStringLiteral("对应学期/班级的科目信息没有设置！");
} // namespace

TScoreWindow::TScoreWindow(const ScoreKind& kind, const QString& initCaption, const QString& scoresName,
                           QWidget* parent)
    : TForm(parent), m_kind(kind)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // First in the tab order, so the tree has the focus when the window opens.
    m_tree = new TTermClassTree(this);
    layout->addWidget(m_tree);
    GroupBox2 = new QGroupBox(this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    layout->addWidget(GroupBox2, 1);

    dsScores = new QueryObject(this);
    dsScores->setObjectName(scoresName);
    dsTemp = new QueryObject(this);
    dsTemp->setObjectName(QStringLiteral("dsTemp"));
    ADOCommand1 = new CommandObject(this);
    ADOCommand1->setObjectName(QStringLiteral("ADOCommand1"));

    DBGridEh1 = new DataGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    GridColumn code;
    code.field = QStringLiteral("SubjectCode");
    code.title = QStringLiteral("科目代码");
    code.width = 88;
    code.footer = GridColumn::Footer::Text;
    code.footerText = QStringLiteral("总分");
    code.footerAlignment = Qt::AlignCenter;
    GridColumn name;
    name.field = QStringLiteral("SubjName");
    name.title = QStringLiteral("科目名称");
    name.width = 208;
    GridColumn score;
    score.field = QStringLiteral("Score");
    score.title = kind.scoreTitle;
    score.width = 74;
    score.alignment = Qt::AlignRight | Qt::AlignVCenter;
    score.format = GridColumn::Format::PlainNumber;
    score.footer = GridColumn::Footer::Sum;
    DBGridEh1->setColumns({GridColumn::hidden(QStringLiteral("ID")),
                           GridColumn::hidden(QStringLiteral("ClassCode")), code, name, score});
    DBGridEh1->setQuery(dsScores);

    Panel2 = MakeButtonPanel(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* buttons = new QHBoxLayout(Panel2);
    buttons->setContentsMargins(0, 9, 8, 10);
    buttons->setSpacing(8);
    buttons->addStretch(1);
    cmdAppend = MakeButton(initCaption, Panel2, QStringLiteral("cmdAppend"));
    cmdEdit = MakeButton(QStringLiteral("修改(&E)"), Panel2, QStringLiteral("cmdEdit"));
    cmdClose = MakeButton(QStringLiteral("关闭(&X)"), Panel2, QStringLiteral("cmdClose"));
    buttons->addWidget(cmdAppend);
    buttons->addWidget(cmdEdit);
    buttons->addWidget(cmdClose);

    connect(m_tree, &TTermClassTree::TreeClick, this, Guarded([this] { TreeClick(); }));
    connect(m_tree, &TTermClassTree::readFailed, this, [] { ShowMessage(Msg::ReadFailed); });
    connect(cmdAppend, &QPushButton::clicked, this, Guarded([this](bool) { cmdAppendClick(); }));
    connect(cmdEdit, &QPushButton::clicked, this, Guarded([this](bool) { cmdEditClick(); }));
    connect(cmdClose, &QPushButton::clicked, this, Guarded([this](bool) { cmdCloseClick(); }));
    connect(DBGridEh1, &DataGrid::dblClick, this, Guarded([this] { DBGridEh1DblClick(); }));
    connect(DBGridEh1, &DataGrid::keyDown, this,
            Guarded([this](int key, Qt::KeyboardModifiers shift) { DBGridEh1KeyDown(key, shift); }));
}

void TScoreWindow::placeScores(QWidget* box)
{
    auto* layout = qobject_cast<QVBoxLayout*>(box->layout());
    if (!layout) {
        layout = new QVBoxLayout(box);
        layout->setContentsMargins(2, 2, 2, 2);
        layout->setSpacing(0);
    }
    layout->addWidget(DBGridEh1, 1);
    layout->addWidget(Panel2);
}

bool TScoreWindow::ReadyData()
{
    return m_tree->LoadTree();
}

bool TScoreWindow::ReadyScores(const ScoreRows& rows)
{
    dsScores->close();
    dsScores->setSql(rows.listSql());
    if (!dsScores->open()) {
        ShowMessage(Msg::ReadFailed);
        return false;
    }
    return true;
}

void TScoreWindow::cmdAppendClick()
{
    const std::optional<ScoreRows> rows = shownRows();
    if (!rows)
        return;
    if (!dsScores->isEmpty() && !AskQuestion(OverwriteQuestion))
        return;
    switch (Initialise(*rows)) {
    case Outcome::Done:
        if (!m_kind.completedMessage.isEmpty())
            ShowMessage(m_kind.completedMessage);
        ReadyScores(*rows);
        break;
    case Outcome::EmptyPlan:
        ShowMessage(NoPlanMessage);
        break;
    case Outcome::Failed:
        ShowMessage(Msg::InitFailed);
        break;
    }
}

TScoreWindow::Outcome TScoreWindow::Initialise(const ScoreRows& rows)
{
    // All or nothing: rows half-replaced would pass for a finished
    // initialisation. Leaving early rolls every statement back.
    Transaction transaction;
    if (!transaction.isStarted())
        return Outcome::Failed;
    dsTemp->close();
    dsTemp->setSql(rows.planSql());
    if (!dsTemp->open())
        return Outcome::Failed;
    // The plan is read first so that an empty plan that must keep the rows
    // never runs the delete at all.
    if (dsTemp->isEmpty() && m_kind.emptyPlanRefused)
        return Outcome::EmptyPlan;
    ADOCommand1->setSql(rows.deleteSql());
    if (!ADOCommand1->execute())
        return Outcome::Failed;
    for (dsTemp->first(); !dsTemp->eof(); dsTemp->next()) {
        ADOCommand1->setSql(rows.insertSql(dsTemp->fieldText(QStringLiteral("SubjCode"))));
        if (!ADOCommand1->execute())
            return Outcome::Failed;
    }
    dsTemp->close();
    return transaction.commit() ? Outcome::Done : Outcome::Failed;
}

void TScoreWindow::cmdEditClick()
{
    const std::optional<ScoreRows> rows = shownRows();
    if (!rows || dsScores->eof())
        return;
    if (editRow(dsScores->fieldInt(QStringLiteral("ID"))))
        ReadyScores(*rows);
}

void TScoreWindow::cmdCloseClick()
{
    close();
}

void TScoreWindow::DBGridEh1DblClick()
{
    cmdEditClick();
}

void TScoreWindow::DBGridEh1KeyDown(int key, Qt::KeyboardModifiers)
{
    // Enter edits the current row whatever Shift, Ctrl or Alt are held.
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        cmdEditClick();
}
