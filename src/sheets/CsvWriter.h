#pragma once

#include "sheets/Outcome.h"
#include "sheets/Table.h"

namespace Sheets {

// The table as .csv text: every cell as it is shown, fields holding a
// comma, a quote or a line break in quotes (quotes doubled), rows ended by
// CR LF as Excel writes them.
QString CsvText(const Table& table);

// Writes CsvText in UTF-8 behind a byte-order mark, which Excel and WPS need
// to read the Chinese correctly. Whole or not at all, as WriteXlsx.
Outcome WriteCsv(const QString& path, const Table& table);

} // namespace Sheets
