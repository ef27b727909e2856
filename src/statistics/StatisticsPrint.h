#pragma once

#include "data/ClassResults.h"
#include "print/PrintTable.h"
#include "print/ReportCards.h"
#include "statistics/GridRows.h"
#include "statistics/ResultsTable.h"

#include <QSet>
#include <QString>

class ComparisonModel;

// The words of a printed title: the school, the term and the class.
struct PrintedClass {
    QString school;
    QString termName;
    QString className;
};

// The statistics table as it stands, from the class's results: the rows in
// the order on show with the hidden ones left out, the table's texts,
// colours and a sign per mark in a first column "标记", 名次 and 名次变化
// when places are given, the summary rows, and the legend of the marks.
PrintTable StatisticsTable(const PrintedClass& named, const ClassResults& results, const GridRows& rows,
                           const PlaceColumns* places);

// The legend under a printed statistics table: each mark's sign, words and colours.
QVector<LegendEntry> MarkLegend();
// The caption before the marks: the on-screen legend's own.
const QString& MarkLegendCaption();

// The 成绩通知单 of a class: one card per student in the roster's order,
// except those in leftOut; every score as the table shows it ("—" where
// there is none), 总分, the place when places are shown, and the class
// averages of the summary rows.
ReportCardSet ReportCardsOf(const PrintedClass& named, const ClassResults& results, bool showPlaces,
                            const QSet<qint64>& leftOut);

// 班级成绩对比 as its table shows it: its columns, its rows in their order.
PrintTable ComparisonTable(const QString& school, const QString& termName, const ComparisonModel& model);
