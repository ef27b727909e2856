#pragma once

#include "sheets/Table.h"

class QAbstractItemModel;
class ResultsTable;
class TStringAlignGrid;

// The statistics table as a sheet, as it stands: a title line, the colour
// legend, the header, the students' rows in the order on show without the
// hidden ones, with their marks as the rows' colours, and the summary rows
// below. The places are there when the table shows them. A score is the
// stored number, shown with one decimal as the table shows it, and a
// missing one is blank, so that the sheet reads back as the class's scores;
// totals, places and figures are numbers where the table shows one.
Sheets::Table StatisticsSheet(const QString& title, const TStringAlignGrid& grid,
                              const TStringAlignGrid& summary, const ResultsTable& table);

// A text of the statistics tables as a cell: "85.0" a number with one
// decimal, "87.5%" a percentage, "12" a whole number, anything else text.
Sheets::Cell ShownCell(const QString& text, const Sheets::CellFormat& format = {});

// A table model's rows in the order it gives them under its column titles,
// after a title line: 班级成绩对比 as it stands.
Sheets::Table ModelSheet(const QString& name, const QString& title, const QAbstractItemModel& model);
