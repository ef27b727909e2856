#pragma once

#include "sheets/Outcome.h"
#include "sheets/Table.h"

#include <QStringList>

namespace Sheets {

// A file the user chose, told by its content rather than its name: a zip
// package is a workbook, an OLE compound file an encrypted workbook (or an
// old .xls, which this program does not read), text a .csv file.
enum class FileKind { Workbook, Csv };
Result<FileKind> KindOf(const QString& path);

// The sheets of the file: a workbook's names in order, or the one sheet of
// a .csv file.
Result<QStringList> SheetNames(const QString& path);
// A sheet of the file by name; the first when name is empty.
Result<Table> ReadSheet(const QString& path, const QString& name = QString());

// Writes the table as .csv when the path ends in .csv, as .xlsx otherwise.
Outcome WriteSheet(const QString& path, const Table& table);

} // namespace Sheets
