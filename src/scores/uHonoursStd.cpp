#include "scores/uHonoursStd.h"

#include "data/SqlText.h"
#include "forms/uPub.h"
#include "scores/uHonoursStdEdit.h"
#include "widgets/TermClassTree.h"

#include <QGroupBox>

TfrmHonoursStd::TfrmHonoursStd(QWidget* parent)
    : TScoreWindow(HonoursStandards(), QStringLiteral("标准初始化"), QStringLiteral("dsStd"), parent)
{
    setObjectName(QStringLiteral("frmHonoursStd"));
    setWindowTitle(QStringLiteral("优生评定标准"));
    setFixedClientSize(631, 336);
    GroupBox2->setTitle(QStringLiteral("评优标准"));
    placeScores(GroupBox2);
}

std::optional<ScoreRows> TfrmHonoursStd::shownRows() const
{
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty())
        return std::nullopt;
    return ScoreRows{m_kind.table, StrToInt(shown.TermCode), shown.ClassCode};
}

bool TfrmHonoursStd::ReadyList()
{
    // A click on a term keeps the standards of the class clicked last in view.
    const std::optional<ScoreRows> rows = shownRows();
    return rows && ReadyScores(*rows);
}

void TfrmHonoursStd::TreeClick()
{
    ReadyList();
}

bool TfrmHonoursStd::editRow(int id)
{
    return ShowHonoursStdEdit(id);
}

bool ShowHonoursStd()
{
    return RunModal<TfrmHonoursStd>();
}
