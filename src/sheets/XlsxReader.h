#pragma once

#include "sheets/Outcome.h"
#include "sheets/Table.h"

#include <QStringList>

namespace Sheets {

// Reads .xlsx workbooks as Excel, WPS, LibreOffice and other programs save
// them: the sheets as the workbook and its relationships name them, shared
// strings (rich-text runs joined, phonetic guides left out), inline strings,
// formula results, booleans, cells with or without a reference. A number
// cell is read as its value with its plain digits as text (20240001, not
// 2.0240001E7 or 20240001.0). Only values are read; formats are not.

// The names of the workbook's sheets, in the workbook's order.
Result<QStringList> XlsxSheetNames(const QString& path);

// One sheet, by name; the first when name is empty.
Result<Table> ReadXlsx(const QString& path, const QString& name = QString());

} // namespace Sheets
