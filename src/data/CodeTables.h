#pragma once

#include "data/Database.h"

#include <optional>

// The three code tables, terms, subjects and classes: each row an ID, a
// code and a name, listed in code order. A term's code is a whole number;
// subject and class codes are texts.
struct CodeTableColumns {
    QString table;
    QString codeField;
    QString nameField;
    bool numericCode = false;
};

namespace CodeTables {
const CodeTableColumns& Terms();
const CodeTableColumns& Subjects();
const CodeTableColumns& Classes();

// Every row (ID, code, name) in code order.
Statement List(const CodeTableColumns& table);

// The code and name of one row, as the edit dialog shows them, and the row as read.
struct Record {
    QString code;
    QString name;
    RowImage read;
};
// The row with this ID; none when no row has it (any more).
DbValue<std::optional<Record>> Find(const CodeTableColumns& table, int id);
// Stores a code and a name as entered: into the row that was read (a
// conflict when another clerk changed or deleted it since), or as a new row
// when none was. A code for a numeric column that is no whole number throws
// ConversionError before anything is stored.
DbResult Store(const CodeTableColumns& table, const std::optional<RowImage>& read, const QString& code,
               const QString& name);
// Refused while other rows still use the code; a conflict when the row no
// longer holds what the list read.
DbResult Remove(const CodeTableColumns& table, const RowImage& listed);
} // namespace CodeTables
