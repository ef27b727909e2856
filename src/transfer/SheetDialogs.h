#pragma once

#include "sheets/Table.h"

#include <QStringList>

class QWidget;

// The file dialogs of the spreadsheet commands, through the dialog seam, in
// the folder the user chose last.
namespace SheetDialogs {

// Asks where to save the table, proposing a name from its parts
// ("2024-2025学年第一学期_高一(1)班_成绩统计.xlsx"), and writes it as .xlsx or
// .csv; a failure is shown. True when the file was written.
bool ExportTable(QWidget* parent, const Sheets::Table& table, const QStringList& nameParts);
// The file to import; empty when the user cancelled.
QString ChooseImportFile(QWidget* parent, const QString& title);

} // namespace SheetDialogs
