#include "data/Reading.h"

#include "data/uDM.h"

#include <QSqlError>

std::optional<QSqlQuery> SelectRows(const QString& sql, const QVariantList& values)
{
    if (!DM || !DM->ensureOpen())
        return std::nullopt;
    QSqlQuery query(DM->ADOLocal());
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return std::nullopt;
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values.at(i));
    if (!query.exec() || !query.isSelect())
        return std::nullopt;
    return query;
}

bool ReadToTheEnd(const QSqlQuery& query)
{
    // A step that fails half-way ends next() like the last row does.
    return !query.lastError().isValid();
}
