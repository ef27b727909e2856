#pragma once

#include "sheets/Outcome.h"
#include "sheets/Table.h"

#include <QByteArray>

namespace Sheets {

// The text of a .csv file as Excel and WPS save it: a byte-order mark means
// UTF-8 (or UTF-16, for "Unicode text"); text that decodes as strict UTF-8 is
// UTF-8; anything else is GB18030, the encoding of a Chinese system (GBK is
// a part of it).
Result<QString> DecodeCsv(const QByteArray& bytes);

// The rows of .csv text: fields separated by commas (or by tabs, when the
// first line has tabs and no comma), quoted fields with doubled quotes and
// line breaks, rows ended by CR LF, LF or CR. Every cell is text.
Result<Table> ParseCsv(const QString& text);

Result<Table> ReadCsv(const QString& path);

} // namespace Sheets
