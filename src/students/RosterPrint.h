#pragma once

#include "print/PrintCommands.h"
#include "print/PrintTable.h"

#include <QString>

class RowSet;

// A class's roster as printed: the roster's columns and titles, the flags
// as the roster shows them, one row per student in the roster's order.
PrintTable RosterTable(const QString& schoolName, const QString& className, const RowSet& students);

// The roster of a class read afresh with the school's name, ready for the
// print commands; no document (after the message) when a read fails.
PrintJob RosterPrintJob(const QString& classCode, const QString& className);
