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

// Every student of the school, every column, by class and then as
// Students orders them: what an import matches its rows against.
Statement School();
// The rows of the given students, by ID: what a writer locks before it
// writes their scores.
Statement StudentRows(const QList<qint64>& ids);

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
// The columns of a student that files carry, in the roster's order.
enum class Column {
    SName,
    SNumber,
    Room,
    Address,
    PostCode,
    Patriarchy,
    HomeTel,
    IsTY,
    HasWJ,
    WJContent,
    IsActive
};
QString FieldName(Column column);
QVariant Value(const Student& student, Column column);
void SetValue(Student& student, Column column, const QVariant& value);
// A student as a read of Students or School holds it in a row.
Student FromRow(const RowSet& rows, int row);

// The student with this ID; none when no row has it (any more).
DbValue<std::optional<Student>> FindStudent(int id);
// Into the row that was read (a conflict when another clerk changed or
// deleted it since), or as a new student when none was.
DbResult StoreStudent(const std::optional<RowImage>& read, const Student& student);
// Refused while the student has scores; a conflict when the row no longer
// holds what the list read.
DbResult RemoveStudent(const RowImage& listed);

// Writes imported students: a new student with every column, through one
// prepared statement; an existing one with only the columns a file holds.
// Run inside a Transaction.
class ImportWriter {
public:
    explicit ImportWriter(const QVector<Column>& updated);
    DbResult insert(const Student& student);
    // Only while the student's row still holds what was read: another
    // clerk's change meanwhile is a conflict.
    DbResult update(const RowImage& read, const Student& student);

private:
    QVector<Column> m_updated;
    PreparedStatement m_insert;
};

} // namespace Roster
