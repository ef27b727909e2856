#include "data/CodeTables.h"

#include "data/SqlText.h"

namespace CodeTables {

const CodeTableColumns& Terms()
{
    static const CodeTableColumns columns{QStringLiteral("TTerm"), QStringLiteral("TermCode"),
                                          QStringLiteral("TermName"), true};
    return columns;
}

const CodeTableColumns& Subjects()
{
    static const CodeTableColumns columns{QStringLiteral("TSubject"), QStringLiteral("SubjCode"),
                                          QStringLiteral("SubjName"), false};
    return columns;
}

const CodeTableColumns& Classes()
{
    static const CodeTableColumns columns{QStringLiteral("TClass"), QStringLiteral("ClassCode"),
                                          QStringLiteral("ClassName"), false};
    return columns;
}

Statement List(const CodeTableColumns& t)
{
    return {QStringLiteral("select ID,%2,%3 from %1 Order by %2").arg(t.table, t.codeField, t.nameField), {}};
}

DbValue<std::optional<Record>> Find(const CodeTableColumns& t, int id)
{
    const DbValue<RowSet> read = Db::select(
        {QStringLiteral("select ID,%2,%3 from %1 Where ID=?").arg(t.table, t.codeField, t.nameField), {id}});
    if (!read)
        return DbResult(read);
    if (read->isEmpty())
        return std::optional<Record>();
    return std::optional<Record>(
        Record{read->text(0, t.codeField), read->text(0, t.nameField), read->image(0)});
}

DbResult Store(const CodeTableColumns& t, const std::optional<RowImage>& read, const QString& code,
               const QString& name)
{
    const QVariant storedCode = t.numericCode ? QVariant(StrToInt(code, t.codeField)) : QVariant(code);
    const FieldValues values{{t.codeField, storedCode}, {t.nameField, name}};
    if (read)
        return Db::updateRow(t.table, *read, values);
    return Db::insertRow(t.table, values);
}

DbResult Remove(const CodeTableColumns& t, const RowImage& listed)
{
    return Db::deleteRow(t.table, listed);
}

} // namespace CodeTables
