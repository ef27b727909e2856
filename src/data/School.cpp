#include "data/School.h"

#include "data/Database.h"

namespace School {

DbValue<QString> Name()
{
    const DbValue<RowSet> read =
        Db::select({QStringLiteral("Select SchoolName from TSchool Where ID=1"), {}});
    if (!read)
        return DbResult(read);
    return read->isEmpty() ? QString() : read->text(0, QStringLiteral("SchoolName"));
}

DbResult SetName(const QString& name)
{
    // The one row may be missing from a file someone edited by hand; it is made again.
    return Db::execute({QStringLiteral("Insert into TSchool (ID, SchoolName) Values (1, ?) "
                                       "On Conflict (ID) Do Update Set SchoolName=excluded.SchoolName"),
                        {name}});
}

} // namespace School
