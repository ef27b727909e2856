#include "scores/ScoreRows.h"

#include "data/SqlText.h"

const ScoreKind& GradeScores()
{
    static const ScoreKind kind{
        QStringLiteral("TGrade"),
        QStringLiteral("StudentID"),
        QStringLiteral("0"),
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
        QStringLiteral("THonoursStd"),
        QString(),
        QStringLiteral("85"),
        // The user asked for the plan's standards: an empty plan means none.
        false,
        QStringLiteral("指定学期，指定班级的评优标准初始化完成！"),
        QStringLiteral("评优分数"),
        false,
        QStringLiteral("评优分数尚未输入！"),
    };
    return kind;
}

ScoreRows::ScoreRows(const ScoreKind& kind, int termCode, const QString& classCode, int ownerId)
    : m_kind(&kind), m_term(termCode), m_class(classCode), m_owner(ownerId)
{
}

QString ScoreRows::ownerCondition() const
{
    if (m_kind->ownerColumn.isEmpty())
        return {};
    return QStringLiteral(" And ") + m_kind->ownerColumn + QLatin1Char('=') + SqlInt(m_owner);
}

QString ScoreRows::listSql() const
{
    const QString& t = m_kind->table;
    return QStringLiteral("SELECT ") + t + QStringLiteral(".*,TSubject.SubjName from ") + t +
           QStringLiteral(",TSubject where ") + t + QStringLiteral(".SubjectCode=TSubject.SubjCode And ") +
           t + QStringLiteral(".TermCode=") + SqlInt(m_term) + QStringLiteral(" And ") + t +
           QStringLiteral(".ClassCode=") + QuotedStr(m_class) + ownerCondition() +
           QStringLiteral(" Order by ") + t + QStringLiteral(".SubjectCode");
}

QString ScoreRows::deleteSql() const
{
    return QStringLiteral("Delete from ") + m_kind->table + QStringLiteral(" Where TermCode=") +
           SqlInt(m_term) + QStringLiteral(" And ClassCode=") + QuotedStr(m_class) + ownerCondition();
}

QString ScoreRows::planSql() const
{
    return QStringLiteral("Select* from TClassToSubject Where TermCode=") + SqlInt(m_term) +
           QStringLiteral(" And ClassCode=") + QuotedStr(m_class);
}

QString ScoreRows::insertSql(const QString& subjCode) const
{
    const bool owned = !m_kind->ownerColumn.isEmpty();
    QString sql = QStringLiteral("Insert into ") + m_kind->table + QStringLiteral(" (TermCode,ClassCode,");
    if (owned)
        sql += m_kind->ownerColumn + QLatin1Char(',');
    sql += QStringLiteral("SubjectCode,Score) Values(") + SqlInt(m_term) + QLatin1Char(',') +
           QuotedStr(m_class) + QLatin1Char(',');
    if (owned)
        sql += SqlInt(m_owner) + QLatin1Char(',');
    return sql + QuotedStr(subjCode) + QLatin1Char(',') + m_kind->initialScore + QLatin1Char(')');
}

QString ScoreRows::recordSql(const ScoreKind& kind, int id)
{
    const QString& t = kind.table;
    return QStringLiteral("Select ") + t + QStringLiteral(".*,TSubject.SubjName from ") + t +
           QStringLiteral(",TSubject Where ") + t + QStringLiteral(".SubjectCode=TSubject.SubjCode And  ") +
           t + QStringLiteral(".ID=") + SqlInt(id);
}
