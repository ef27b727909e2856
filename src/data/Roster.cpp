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

Statement School()
{
    return {QStringLiteral("Select %1 from TStudent Order by ClassCode,SName,ID").arg(Columns), {}};
}

QString FieldName(Column column)
{
    switch (column) {
    case Column::SName:
        return QStringLiteral("SName");
    case Column::SNumber:
        return QStringLiteral("SNumber");
    case Column::Room:
        return QStringLiteral("Room");
    case Column::Address:
        return QStringLiteral("Address");
    case Column::PostCode:
        return QStringLiteral("PostCode");
    case Column::Patriarchy:
        return QStringLiteral("Patriarchy");
    case Column::HomeTel:
        return QStringLiteral("HomeTel");
    case Column::IsTY:
        return QStringLiteral("IsTY");
    case Column::HasWJ:
        return QStringLiteral("HasWJ");
    case Column::WJContent:
        return QStringLiteral("WJContent");
    case Column::IsActive:
        return QStringLiteral("IsActive");
    }
    return {};
}

namespace {

// The member holding a column, for a student that may be const.
template <class S> auto textOf(S& s, Column column) -> decltype(&s.SName)
{
    switch (column) {
    case Column::SName:
        return &s.SName;
    case Column::SNumber:
        return &s.SNumber;
    case Column::Room:
        return &s.Room;
    case Column::Address:
        return &s.Address;
    case Column::PostCode:
        return &s.PostCode;
    case Column::Patriarchy:
        return &s.Patriarchy;
    case Column::HomeTel:
        return &s.HomeTel;
    case Column::WJContent:
        return &s.WJContent;
    case Column::IsTY:
    case Column::HasWJ:
    case Column::IsActive:
        break;
    }
    return nullptr;
}

template <class S> auto flagOf(S& s, Column column) -> decltype(&s.IsTY)
{
    switch (column) {
    case Column::IsTY:
        return &s.IsTY;
    case Column::HasWJ:
        return &s.HasWJ;
    case Column::IsActive:
        return &s.IsActive;
    default:
        return nullptr;
    }
}

const QVector<Column>& AllColumns()
{
    static const QVector<Column> all{Column::SName,    Column::SNumber,    Column::Room,    Column::Address,
                                     Column::PostCode, Column::Patriarchy, Column::HomeTel, Column::IsTY,
                                     Column::HasWJ,    Column::WJContent,  Column::IsActive};
    return all;
}

} // namespace

QVariant Value(const Student& student, Column column)
{
    if (const QString* text = textOf(student, column))
        return *text;
    return *flagOf(student, column);
}

void SetValue(Student& student, Column column, const QVariant& value)
{
    if (QString* text = textOf(student, column))
        *text = value.toString();
    else
        *flagOf(student, column) = value.toInt();
}

Student FromRow(const RowSet& r, int row)
{
    Student s;
    s.ClassCode = r.text(row, QStringLiteral("ClassCode"));
    for (Column column : AllColumns()) {
        if (textOf(s, column))
            SetValue(s, column, r.text(row, FieldName(column)));
        else
            SetValue(s, column, r.value(row, FieldName(column)).toInt());
    }
    s.read = r.image(row);
    return s;
}

Statement StudentRows(const QList<qint64>& ids)
{
    Statement rows{
        QStringLiteral("Select ID from TStudent Where ID in (%1) Order by ID").arg(Placeholders(ids.size())),
        {}};
    for (qint64 id : ids)
        rows.values << id;
    return rows;
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
    return std::optional<Student>(FromRow(*read, 0));
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

namespace {

QString insertText()
{
    QStringList fields{QStringLiteral("ClassCode")};
    for (Column column : AllColumns())
        fields << FieldName(column);
    return QStringLiteral("Insert into TStudent (%1) Values(%2)")
        .arg(fields.join(QLatin1Char(',')),
             QStringList(fields.size(), QStringLiteral("?")).join(QLatin1Char(',')));
}

} // namespace

ImportWriter::ImportWriter(const QVector<Column>& updated) : m_updated(updated), m_insert(insertText()) {}

DbResult ImportWriter::insert(const Student& student)
{
    QVariantList values{student.ClassCode};
    for (Column column : AllColumns())
        values << Value(student, column);
    return m_insert.run(values);
}

DbResult ImportWriter::update(const RowImage& read, const Student& student)
{
    if (m_updated.isEmpty())
        return {};
    FieldValues values;
    for (Column column : m_updated)
        values.append({FieldName(column), Value(student, column)});
    return Db::updateRow(Table, read, values);
}

} // namespace Roster
