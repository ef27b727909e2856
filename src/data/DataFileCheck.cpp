#include "data/DataFileCheck.h"

#include "data/ScratchConnection.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace {

bool failWith(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}

QByteArray headerOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(100) : QByteArray();
}

// The first row of a pragma or select, or an invalid value with the reason.
QVariant firstValue(const QSqlDatabase& db, const QString& sql, QString* why)
{
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        failWith(why, q.lastError().text());
        return {};
    }
    return q.next() ? q.value(0) : QVariant(QString());
}

} // namespace

bool LooksLikeSqlite(const QString& path)
{
    return headerOf(path).startsWith(QByteArrayLiteral("SQLite format 3\0"));
}

bool CheckDataFile(const QString& path, QString* why, SchemaVersions::Found* found,
                   const SchemaVersions& versions)
{
    if (!QFileInfo(path).isFile())
        return failWith(why, QStringLiteral("no such file"));
    const QByteArray header = headerOf(path);
    if (header.size() < 100 || !LooksLikeSqlite(path))
        return failWith(why, QStringLiteral("not an SQLite database"));
    // Bytes 18 and 19 say 2 for a write-ahead log, whose content a copy of
    // the one file would lack, and which would change the data file's journal.
    if (header.at(18) != 1 || header.at(19) != 1)
        return failWith(why, QStringLiteral("not in rollback-journal mode"));

    ScratchConnection connection(ScratchConnection::fileUri(path, "ro"), true);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return failWith(why, db.lastError().text());
    QString error;
    const QVariant integrity = firstValue(db, QStringLiteral("PRAGMA integrity_check"), &error);
    if (!integrity.isValid() || integrity.toString() != QLatin1String("ok"))
        return failWith(why, integrity.isValid() ? integrity.toString() : error);
    // A file cut short inside its last page can still pass the integrity
    // check; a complete one is exactly its pages long.
    const QVariant size = firstValue(
        db, QStringLiteral("select page_count * page_size from pragma_page_count(), pragma_page_size()"),
        &error);
    if (!size.isValid() || size.toLongLong() != QFileInfo(path).size())
        return failWith(why, QStringLiteral("the file is incomplete"));
    const SchemaVersions::Found schema = versions.identify(db, why);
    if (schema.version == 0)
        return false;
    const QVariant unmet = firstValue(db, QStringLiteral("PRAGMA foreign_key_check"), &error);
    if (!unmet.isValid())
        return failWith(why, error);
    if (!unmet.toString().isEmpty())
        return failWith(why,
                        QStringLiteral("a row of %1 refers to what does not exist").arg(unmet.toString()));
    if (found)
        *found = schema;
    return true;
}
