#pragma once

#include "data/Roster.h"
#include "exchange/ImportPreview.h"
#include "sheets/Table.h"

#include <optional>

// Bringing a roster in from a sheet: for the class current in the roster
// window, or for the whole school when the sheet has a column "班级".
struct RosterTarget {
    QString classCode; // empty when no class is current
    QString className;
};

struct RosterImport {
    struct Change {
        std::optional<RowImage> read; // the student updated, as read; none for a new one
        Roster::Student student;
    };

    ImportPreview preview;
    QVector<Roster::Column> columns; // the columns the sheet holds, written for updated students
    QVector<Change> changes;         // the students to store: every row that changes something
    bool cancelled = false;
};

// Reads the sheet against the school's classes and students and works out
// what each row would do. A row whose 学号 matches a student of its class
// updates that student in the sheet's columns alone; any other row adds a
// student, who takes the student dialog's defaults for the columns the sheet
// lacks; students the sheet does not name stay as they are. Nothing is
// written.
DbValue<RosterImport> PlanRosterImport(const Sheets::Table& sheet, const RosterTarget& target,
                                       ImportProgress* progress = nullptr);

// Stores every change of a plan without problems in one transaction: all of
// them, or none when a statement fails or the user cancels. A student
// another clerk changed or removed since the plan read it is a conflict,
// and nothing is stored.
DbValue<Stored> StoreRosterImport(const RosterImport& plan, ImportProgress* progress = nullptr);
