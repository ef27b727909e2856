#include "statistics/StatisticsPrint.h"

#include "data/Figures.h"
#include "data/Places.h"
#include "data/SqlText.h"
#include "print/PrintDocument.h"
#include "statistics/ComparisonModel.h"
#include "statistics/SummaryRows.h"

namespace {

// The signs that survive a black-and-white printer.
const QString kFailSign = QStringLiteral("▼");
const QString kHonoursSign = QStringLiteral("▲");
const QString kProgressSign = QStringLiteral("↑");

QString Signs(const StudentMarks& marks)
{
    QString signs;
    if (marks.failing)
        signs += kFailSign;
    if (marks.honours)
        signs += kHonoursSign;
    if (marks.progress)
        signs += kProgressSign;
    return signs;
}

} // namespace

QVector<LegendEntry> MarkLegend()
{
    return {{kFailSign, QStringLiteral("有不及格项"), ResultsTable::FailColor(), {}},
            {kHonoursSign, QStringLiteral("符合评优标准"), ResultsTable::HonoursColor(), {}},
            {kProgressSign, QStringLiteral("进步较大"), Qt::black, ResultsTable::ProgressColor()},
            {QString(), QStringLiteral("一般"), Qt::black, {}}};
}

const QString& MarkLegendCaption()
{
    static const QString caption = QStringLiteral("颜色标示说明：");
    return caption;
}

PrintTable StatisticsTable(const PrintedClass& named, const ClassResults& results, const GridRows& rows,
                           const PlaceColumns* places)
{
    PrintTable table;
    table.title = Print::Title({named.school, named.termName, named.className, QStringLiteral("成绩统计")});
    int shown = 0;
    for (int p = 0; p < rows.size(); ++p)
        shown += rows.hidden.value(p) ? 0 : 1;
    table.note = shown == results.studentCount()
                     ? QStringLiteral("共 %1 人").arg(results.studentCount())
                     : QStringLiteral("列出 %1 人，共 %2 人").arg(shown).arg(results.studentCount());
    table.date = Print::DateLine();

    table.columns = {{QStringLiteral("标记"), Qt::AlignLeft, false},
                     {QStringLiteral("姓名"), Qt::AlignLeft, false},
                     {QStringLiteral("学号"), Qt::AlignRight, true}};
    for (const PlanSubject& subject : results.subjects())
        table.columns.append({subject.name, Qt::AlignRight, true});
    table.columns.append({QStringLiteral("总分"), Qt::AlignRight, true});
    table.columns.append({QStringLiteral("上学期总分"), Qt::AlignRight, true});
    if (places) {
        table.columns.append({QStringLiteral("名次"), Qt::AlignRight, true});
        table.columns.append({QStringLiteral("名次变化"), Qt::AlignRight, true});
    }

    for (int p = 0; p < rows.size(); ++p) {
        if (rows.hidden.value(p))
            continue;
        const int s = rows.students.at(p);
        const ClassResults::Student& student = results.students().at(s);
        const StudentMarks marks = results.marks(s);
        PrintRow row;
        row.cells << Signs(marks) << student.name << student.number;
        // As the table shows them: a missing score counts, and shows, as 0.0.
        for (double score : results.shownScores(s))
            row.cells << FormatOneDecimal(score);
        row.cells << FormatOneDecimal(results.total(s)) << FormatOneDecimal(results.shownPreviousTotal(s));
        if (places) {
            const Place& now = places->now.at(s);
            row.cells << PlaceText(now)
                      << (places->before ? PlaceChangeText(now, places->before->at(s)) : QString());
        }
        // The colours of the table: the honours mark is written over the failing one.
        row.text = marks.honours   ? ResultsTable::HonoursColor()
                   : marks.failing ? ResultsTable::FailColor()
                                   : QColor(Qt::black);
        if (marks.progress)
            row.background = ResultsTable::ProgressColor();
        table.rows.append(row);
    }

    // The summary rows: the labels in the name column, each column's figures under it.
    QVector<QStringList> figures;
    for (int j = 0; j < results.subjectCount(); ++j)
        figures.append(SummaryRows::Texts(SubjectFigures(results, j), true));
    figures.append(SummaryRows::Texts(TotalFigures(results), false));
    for (int r = 0; r < SummaryRows::Labels().size(); ++r) {
        PrintRow row;
        row.cells << QString() << SummaryRows::Labels().at(r) << QString();
        for (const QStringList& column : figures)
            row.cells << column.at(r);
        table.summary.append(row);
    }
    table.legendCaption = MarkLegendCaption();
    table.legend = MarkLegend();
    return table;
}

ReportCardSet ReportCardsOf(const PrintedClass& named, const ClassResults& results, bool showPlaces,
                            const QSet<qint64>& leftOut)
{
    ReportCardSet set;
    set.school = named.school;
    set.term = named.termName;
    set.className = named.className;
    set.showPlaces = showPlaces;
    for (int j = 0; j < results.subjectCount(); ++j) {
        set.subjects << results.subjects().at(j).name;
        set.averages << FigureText::Average(SubjectFigures(results, j).average);
    }
    set.totalAverage = FigureText::Average(TotalFigures(results).average);
    const Places places = TermPlaces(results);
    for (int s = 0; s < results.studentCount(); ++s) {
        const ClassResults::Student& student = results.students().at(s);
        if (leftOut.contains(student.id))
            continue;
        ReportCard card;
        card.name = student.name;
        card.number = student.number;
        for (int j = 0; j < results.subjectCount(); ++j) {
            const std::optional<double> score = results.score(s, j);
            // A parent reads a missing score as missing, not as a nought.
            card.scores << (score ? FormatOneDecimal(*score) : FigureText::None);
        }
        card.total = FormatOneDecimal(results.total(s));
        card.place = PlaceText(places.at(s));
        set.cards.append(card);
    }
    return set;
}

PrintTable ComparisonTable(const QString& school, const QString& termName, const ComparisonModel& model)
{
    PrintTable table;
    table.title = Print::Title({school, termName, QStringLiteral("班级成绩对比")});
    table.note = QStringLiteral("共 %1 个班级").arg(model.rowCount());
    table.date = Print::DateLine();
    for (int c = 0; c < model.columnCount(); ++c)
        table.columns.append({model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                              c == 0 ? Qt::AlignLeft : Qt::AlignRight, c > 0});
    for (int r = 0; r < model.rowCount(); ++r) {
        PrintRow row;
        for (int c = 0; c < model.columnCount(); ++c)
            row.cells << model.data(model.index(r, c), Qt::DisplayRole).toString();
        table.rows.append(row);
    }
    return table;
}
