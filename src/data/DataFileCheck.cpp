#include "data/DataFileCheck.h"

#include "data/ScratchConnection.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

QByteArray headerOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(100) : QByteArray();
}

// The first value of a pragma or select ("" when it has no row).
DbValue<QVariant> firstValue(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        return DbResult::failed(q.lastError().text());
    return q.next() ? q.value(0) : QVariant(QString());
}

} // namespace

bool LooksLikeSqlite(const QString& path)
{
    return headerOf(path).startsWith(QByteArrayLiteral("SQLite format 3\0"));
}

DbValue<SchemaVersions::Found> CheckDataFile(const QString& path, const SchemaVersions& versions)
{
    if (!QFileInfo(path).isFile())
        return DbResult::failed(QStringLiteral("no such file"));
    const QByteArray header = headerOf(path);
    if (header.size() < 100 || !LooksLikeSqlite(path))
        return DbResult::failed(QStringLiteral("not an SQLite database"));
    // Bytes 18 and 19 say 2 for a write-ahead log, whose content a copy of
    // the one file would lack, and which would change the data file's journal.
    if (header.at(18) != 1 || header.at(19) != 1)
        return DbResult::failed(QStringLiteral("not in rollback-journal mode"));

    ScratchConnection connection(ScratchConnection::fileUri(path, "ro"), true);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return DbResult::failed(db.lastError().text());
    const DbValue<QVariant> integrity = firstValue(db, QStringLiteral("PRAGMA integrity_check"));
    if (!integrity)
        return integrity;
    if (integrity->toString() != QLatin1String("ok"))
        return DbResult::failed(integrity->toString());
    // A file cut short inside its last page can still pass the integrity
    // check; a complete one is exactly its pages long.
    const DbValue<QVariant> size = firstValue(
        db, QStringLiteral("select page_count * page_size from pragma_page_count(), pragma_page_size()"));
    if (!size)
        return size;
    if (size->toLongLong() != QFileInfo(path).size())
        return DbResult::failed(QStringLiteral("the file is incomplete"));
    const DbValue<SchemaVersions::Found> schema = versions.identify(db);
    if (!schema)
        return schema;
    const DbValue<QVariant> unmet = firstValue(db, QStringLiteral("PRAGMA foreign_key_check"));
    if (!unmet)
        return unmet;
    if (!unmet->toString().isEmpty())
        return DbResult::failed(
            QStringLiteral("a row of %1 refers to what does not exist").arg(unmet->toString()));
    return schema;
}
