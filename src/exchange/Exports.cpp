#include "exchange/Exports.h"

#include "data/CodeTables.h"
#include "data/Plan.h"
#include "data/Roster.h"
#include "data/Scores.h"
#include "exchange/RosterFields.h"
#include "exchange/SchoolIndex.h"

#include <QHash>

namespace Exports {

namespace {

constexpr Sheets::Rgb kHeaderFill = 0xC0C0C0; // the silver of the statistics table's header

QVector<Sheets::Cell> headerCells(const QStringList& titles)
{
    QVector<Sheets::Cell> cells;
    for (const QString& title : titles)
        cells << Sheets::Cell::text(title, HeaderFormat());
    return cells;
}

QStringList rosterTitles()
{
    QStringList titles;
    for (const RosterField& field : RosterFields())
        titles << field.title;
    return titles;
}

QVector<Sheets::Cell> studentCells(const Roster::Student& s)
{
    QVector<Sheets::Cell> cells;
    for (const RosterField& field : RosterFields()) {
        const QVariant value = Roster::Value(s, field.column);
        if (field.flagItems)
            cells << Sheets::Cell::text(field.flagItems->value(value.toInt()));
        else
            cells << Sheets::Cell::text(value.toString(),
                                        field.digitsAsText ? TextCellFormat() : Sheets::CellFormat());
    }
    return cells;
}

Sheets::Table titled(const QString& name, const QString& title, const QStringList& titles)
{
    Sheets::Table table(name);
    table.appendRow({Sheets::Cell::text(title)});
    table.appendRow(headerCells(titles));
    table.setTitleRows(1);
    table.setFrozenRows(2);
    return table;
}

} // namespace

Sheets::CellFormat HeaderFormat()
{
    Sheets::CellFormat format;
    format.bold = true;
    format.fill = kHeaderFill;
    format.align = Sheets::Align::Centre;
    return format;
}

Sheets::CellFormat TextCellFormat()
{
    Sheets::CellFormat format;
    format.textFormat = true;
    return format;
}

DbValue<Sheets::Table> ClassRoster(const QString& classCode, const QString& className)
{
    const DbValue<RowSet> read = Db::select(Roster::Students(classCode));
    if (!read)
        return DbResult(read);
    Sheets::Table table =
        titled(QStringLiteral("学生名单"), className + QStringLiteral(" 学生名单"), rosterTitles());
    for (int r = 0; r < read->rowCount(); ++r)
        table.appendRow(studentCells(Roster::FromRow(*read, r)));
    return table;
}

DbValue<Sheets::Table> SchoolRoster()
{
    const DbValue<RowSet> classes = Db::select(CodeTables::List(CodeTables::Classes()));
    if (!classes)
        return DbResult(classes);
    const DbValue<RowSet> school = Db::select(Roster::School());
    if (!school)
        return DbResult(school);
    ClassNames names;
    for (int r = 0; r < classes->rowCount(); ++r)
        names.add(classes->text(r, QStringLiteral("ClassCode")),
                  classes->text(r, QStringLiteral("ClassName")));
    Sheets::Table table = titled(QStringLiteral("学生名单"), QStringLiteral("全校学生名单"),
                                 QStringList{ClassTitle} + rosterTitles());
    for (int r = 0; r < school->rowCount(); ++r) {
        const Roster::Student s = Roster::FromRow(*school, r);
        // A name two classes share would not tell them apart: the code does.
        const QString shownClass = names.nameIsShared(s.ClassCode) || !names.hasCode(s.ClassCode)
                                       ? s.ClassCode
                                       : names.nameOf(s.ClassCode);
        table.appendRow(QVector<Sheets::Cell>{Sheets::Cell::text(shownClass)} + studentCells(s));
    }
    return table;
}

Sheets::Table RosterTemplate()
{
    return titled(QStringLiteral("学生名单"), QStringLiteral("学生名单"), rosterTitles());
}

DbValue<Sheets::Table> ScoreSheet(const ScoreTarget& target, const QString& termName, bool withScores)
{
    const DbValue<RowSet> plan = Db::select(Plan::Subjects(target.termCode, target.classCode));
    if (!plan)
        return DbResult(plan);
    const DbValue<RowSet> roster = Db::select(Roster::Students(target.classCode));
    if (!roster)
        return DbResult(roster);
    QHash<QString, int> subjectColumn; // subject code to its position among the subjects
    QStringList titles{NameTitle, NumberTitle};
    for (int r = 0; r < plan->rowCount(); ++r) {
        subjectColumn.insert(plan->text(r, QStringLiteral("SubjCode")), r);
        titles << plan->text(r, QStringLiteral("SubjName"));
    }
    titles << QStringLiteral("总分");
    Sheets::Table table = titled(
        QStringLiteral("成绩"),
        QStringList{termName, target.className, QStringLiteral("成绩")}.join(QLatin1Char(' ')), titles);

    // The stored scores, each subject's first row as the windows show it.
    QHash<int, QVector<std::optional<double>>> scores;
    if (withScores) {
        const DbValue<RowSet> grades = Db::select(Scores::TermGrades(target.termCode, target.classCode));
        if (!grades)
            return DbResult(grades);
        for (int r = 0; r < grades->rowCount(); ++r) {
            const auto column = subjectColumn.constFind(grades->text(r, QStringLiteral("SubjectCode")));
            if (column == subjectColumn.cend())
                continue;
            QVector<std::optional<double>>& row =
                scores[grades->value(r, QStringLiteral("StudentID")).toInt()];
            row.resize(plan->rowCount());
            if (!row[column.value()])
                row[column.value()] = grades->value(r, QStringLiteral("Score")).toDouble();
        }
    }
    for (int r = 0; r < roster->rowCount(); ++r) {
        QVector<Sheets::Cell> cells{
            Sheets::Cell::text(roster->text(r, QStringLiteral("SName"))),
            Sheets::Cell::text(roster->text(r, QStringLiteral("SNumber")), TextCellFormat())};
        const QVector<std::optional<double>> row =
            scores.value(roster->value(r, QStringLiteral("ID")).toInt());
        double total = 0;
        bool any = false;
        for (int s = 0; s < plan->rowCount(); ++s) {
            const std::optional<double> score = row.value(s);
            cells << (score ? Sheets::Cell::number(*score) : Sheets::Cell());
            total += score.value_or(0);
            any = any || score;
        }
        cells << (any ? Sheets::Cell::number(total) : Sheets::Cell());
        table.appendRow(cells);
    }
    return table;
}

} // namespace Exports
