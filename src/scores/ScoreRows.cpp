#include "scores/ScoreRows.h"

const ScoreKind& GradeScores()
{
    static const ScoreKind kind{
        &Scores::Grades(),
        // Initialising a student from an empty plan would only wipe the scores.
        true,
        QString(),
        QStringLiteral("成绩分数"),
        true,
        QStringLiteral("成绩分数尚未输入！"),
    };
    return kind;
}

const ScoreKind& HonoursStandards()
{
    static const ScoreKind kind{
        &Scores::Standards(),
        // The user asked for the plan's standards: an empty plan means none.
        false,
        QStringLiteral("指定学期，指定班级的评优标准初始化完成！"),
        QStringLiteral("评优分数"),
        false,
        QStringLiteral("评优分数尚未输入！"),
    };
    return kind;
}
