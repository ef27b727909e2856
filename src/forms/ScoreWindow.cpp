#include "forms/ScoreWindow.h"

#include "data/Messages.h"
#include "data/QueryObject.h"
#include "forms/uPub.h"
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
    return Succeeded(dsScores->open(Scores::List(rows)), Msg::ReadFailed);
}

void TScoreWindow::cmdAppendClick()
{
    const std::optional<ScoreRows> rows = shownRows();
    if (!rows)
        return;
    if (!dsScores->isEmpty() && !AskQuestion(OverwriteQuestion))
        return;
    const DbValue<Scores::Initialised> outcome = Scores::Initialise(*rows, m_kind.emptyPlanRefused);
    if (!Succeeded(outcome, Msg::InitFailed))
        return;
    if (*outcome == Scores::Initialised::PlanEmpty) {
        ShowMessage(NoPlanMessage);
        return;
    }
    if (!m_kind.completedMessage.isEmpty())
        ShowMessage(m_kind.completedMessage);
    ReadyScores(*rows);
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
