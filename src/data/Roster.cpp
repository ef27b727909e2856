#include "data/Roster.h"

namespace Roster {

namespace {
const QString Table = QStringLiteral("TStudent");
// In the order the roster's grids show them.
const QString Columns = QStringLiteral(
    "ID,ClassCode,SName,SNumber,Room,Address,PostCode,Patriarchy,HomeTel,IsTY,HasWJ,WJContent,IsActive");
} // namespace

Statement Students(const QString& classCode)
{
    return {QStringLiteral("Select %1 from TStudent Where ClassCode=? Order by SName,ID").arg(Columns),
            {classCode}};
}

Statement StudentsOfTerm(int termCode)
{
    return {QStringLiteral("Select TStudent.ClassCode, TStudent.ID, TStudent.SName, TStudent.SNumber "
                           "from TStudent join TTermToClass on TTermToClass.ClassCode = TStudent.ClassCode "
                           "Where TTermToClass.TermCode = ? "
                           // The plan's class code, equal to the student's: SQLite
                           // then takes the classes and each one's students in the
                           // order of their indexes, without sorting the school.
                           "Order by TTermToClass.ClassCode, TStudent.SName, TStudent.ID"),
            {termCode}};
}

DbValue<std::optional<Student>> FindStudent(int id)
{
    const DbValue<RowSet> read =
        Db::select({QStringLiteral("Select %1 from TStudent Where ID=?").arg(Columns), {id}});
    if (!read)
        return DbResult(read);
    if (read->isEmpty())
        return std::optional<Student>();
    const RowSet& r = *read;
    Student s;
    s.ClassCode = r.text(0, QStringLiteral("ClassCode"));
    s.SName = r.text(0, QStringLiteral("SName"));
    s.SNumber = r.text(0, QStringLiteral("SNumber"));
    s.Room = r.text(0, QStringLiteral("Room"));
    s.Address = r.text(0, QStringLiteral("Address"));
    s.PostCode = r.text(0, QStringLiteral("PostCode"));
    s.Patriarchy = r.text(0, QStringLiteral("Patriarchy"));
    s.HomeTel = r.text(0, QStringLiteral("HomeTel"));
    s.WJContent = r.text(0, QStringLiteral("WJContent"));
    s.IsTY = r.value(0, QStringLiteral("IsTY")).toInt();
    s.HasWJ = r.value(0, QStringLiteral("HasWJ")).toInt();
    s.IsActive = r.value(0, QStringLiteral("IsActive")).toInt();
    s.read = r.image(0);
    return std::optional<Student>(s);
}

DbResult StoreStudent(const std::optional<RowImage>& read, const Student& s)
{
    const FieldValues values{
        {QStringLiteral("ClassCode"), s.ClassCode},   {QStringLiteral("SName"), s.SName},
        {QStringLiteral("SNumber"), s.SNumber},       {QStringLiteral("Room"), s.Room},
        {QStringLiteral("Address"), s.Address},       {QStringLiteral("PostCode"), s.PostCode},
        {QStringLiteral("Patriarchy"), s.Patriarchy}, {QStringLiteral("HomeTel"), s.HomeTel},
        {QStringLiteral("WJContent"), s.WJContent},   {QStringLiteral("IsTY"), s.IsTY},
        {QStringLiteral("HasWJ"), s.HasWJ},           {QStringLiteral("IsActive"), s.IsActive},
    };
    if (read)
        return Db::updateRow(Table, *read, values);
    return Db::insertRow(Table, values);
}

DbResult RemoveStudent(const RowImage& listed)
{
    return Db::deleteRow(Table, listed);
}

} // namespace Roster
