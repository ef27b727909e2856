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

// The code and name of one row, as the edit dialog shows them.
struct Record {
    QString code;
    QString name;
};
// The row with this ID; none when no row has it (any more).
DbValue<std::optional<Record>> Find(const CodeTableColumns& table, int id);
// Stores a code and a name as entered: into the row with the given ID, or
// as a new row when there is none. A code for a numeric column that is no
// whole number throws ConversionError before anything is stored.
DbResult Store(const CodeTableColumns& table, std::optional<int> id, const QString& code,
               const QString& name);
// Refused while other rows still use the code.
DbResult Remove(const CodeTableColumns& table, int id);
} // namespace CodeTables
