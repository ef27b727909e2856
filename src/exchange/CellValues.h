#pragma once

#include "sheets/Table.h"

#include <QStringList>
#include <optional>

// What the cells of an imported sheet mean for the program's columns.
namespace CellValues {

// A student number: digits only. A number cell can hold at most fifteen
// digits exactly; a longer one has been rounded by the spreadsheet.
struct StudentNumber {
    QString number;  // the digits; empty when the cell is empty or wrong
    QString problem; // why the cell holds no student number
    bool fromNumberCell = false;
};
StudentNumber ReadStudentNumber(const Sheets::Cell& cell);

// A flag as the roster shows it (its items, by position), as 是/否 or 1/0,
// or as a spreadsheet boolean; none for anything else. An empty cell is no
// flag either: the caller keeps the value it had.
std::optional<int> ReadFlag(const Sheets::Cell& cell, const QStringList& items);
// The texts ReadFlag accepts, for the message ("是/否").
QString FlagChoices(const QStringList& items);

// A score as the score dialog accepts it: digits with at most one decimal
// point, or a number cell that is not negative.
std::optional<double> ReadScore(const Sheets::Cell& cell);

// Two student numbers alike as numbers ("0012" and "12"): a number cell
// cannot keep leading zeros.
QString WithoutLeadingZeros(const QString& digits);

} // namespace CellValues
