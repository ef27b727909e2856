#pragma once

#include "sheets/Outcome.h"
#include "sheets/Table.h"

namespace Sheets {

// Writes the sheets as an .xlsx workbook: texts as text cells, numbers as
// numbers, the cells' formats, the title lines merged across the table and
// frozen with the header, and column widths worked out from the contents
// (the library has no autofit). The file appears whole or not at all: it is
// written beside the target and renamed over it.
Outcome WriteXlsx(const QString& path, const Workbook& book);

// A text's width in spreadsheet column units: a Chinese (wide) character
// counts about two, others one; the widest line of a text with line breaks.
int DisplayWidth(const QString& text);

// The column widths the writer gives the table, in column units.
QVector<double> ColumnWidths(const Table& table);

} // namespace Sheets
