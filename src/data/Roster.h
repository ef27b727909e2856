#pragma once

#include "data/Database.h"

#include <optional>

// The students of the classes.
namespace Roster {

// The students of a class by name, namesakes in the order they were
// entered, every column of the student: the one roster every window and
// the class results list.
Statement Students(const QString& classCode);
// The students of every class active in the term (ClassCode, ID, SName,
// SNumber), by class code, each class's in the order of Students.
Statement StudentsOfTerm(int termCode);

// One student as the student dialog edits it. The three flags are stored
// as 0 and 1.
struct Student {
    QString ClassCode;
    QString SName;
    QString SNumber;
    QString Room;
    QString Address;
    QString PostCode;
    QString Patriarchy;
    QString HomeTel;
    QString WJContent;
    int IsTY = 0;
    int HasWJ = 0;
    int IsActive = 1;
    RowImage read; // the row as found (FindStudent)
};
// The student with this ID; none when no row has it (any more).
DbValue<std::optional<Student>> FindStudent(int id);
// Into the row that was read (a conflict when another clerk changed or
// deleted it since), or as a new student when none was.
DbResult StoreStudent(const std::optional<RowImage>& read, const Student& student);
// Refused while the student has scores; a conflict when the row no longer
// holds what the list read.
DbResult RemoveStudent(const RowImage& listed);

} // namespace Roster
