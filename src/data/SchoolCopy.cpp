#include "data/SchoolCopy.h"

#include "data/DataFileCheck.h"
#include "data/SchemaVersions.h"
#include "data/ScratchConnection.h"
#include "data/SqlEngine.h"
#include "data/uDM.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>

#include <memory>

namespace {

// Rows go to the destination this many at a time, each batch one statement.
constexpr int BatchRows = 200;

// A connection of the copy's own on one side.
class Side {
public:
    Side(const StoreLocation& store, bool writable)
        : m_name(QStringLiteral("copy-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
    {
        if (store.engine == Engine::Server) {
            SqlEngine::addServerConnection(store.server, m_name);
        } else {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
            db.setDatabaseName(ScratchConnection::fileUri(store.dataFile, writable ? "rw" : "ro"));
        }
    }
    ~Side()
    {
        {
            QSqlDatabase connection = db();
            connection.rollback();
            connection.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    Side(const Side&) = delete;
    Side& operator=(const Side&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    DbResult open()
    {
        QSqlDatabase connection = db();
        if (!connection.open())
            return DbResult::failed(connection.lastError().text());
        if (!SqlEngine::isServer(connection))
            return exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        return {};
    }
    DbResult exec(const QString& sql) const
    {
        QSqlQuery q(db());
        return q.exec(sql) ? DbResult() : DbResult::failed(q.lastError().text() + QStringLiteral(": ") + sql);
    }

private:
    QString m_name;
};

DbValue<QStringList> columnsOf(const QSqlDatabase& db, const QString& table)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select * from %1 where 1=0").arg(table)))
        return DbResult::failed(q.lastError().text());
    QStringList columns;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i).toLower();
    return columns;
}

DbValue<QVector<QVariantList>> rowsOf(const QSqlDatabase& db, const QString& table,
                                      const QStringList& columns)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("select %1 from %2 order by ID").arg(columns.join(QLatin1Char(',')), table)))
        return DbResult::failed(q.lastError().text());
    QVector<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < columns.size(); ++i)
            row << q.value(i);
        rows << row;
    }
    if (q.lastError().isValid())
        return DbResult::failed(q.lastError().text());
    return rows;
}

bool isNumber(const QVariant& v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// The same stored value, whichever driver read it.
bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    if (isNumber(a) || isNumber(b))
        return a.toDouble() == b.toDouble();
    return a.toString() == b.toString();
}

DbResult insertAll(const QSqlDatabase& db, const QString& table, const QStringList& columns,
                   const QVector<QVariantList>& rows)
{
    const QString marks = QStringLiteral("(") +
                          QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')) +
                          QStringLiteral(")");
    for (int first = 0; first < rows.size(); first += BatchRows) {
        const int count = std::min(BatchRows, int(rows.size()) - first);
        QSqlQuery q(db);
        if (!q.prepare(QStringLiteral("insert into %1 (%2) values %3")
                           .arg(table, columns.join(QLatin1Char(',')),
                                QStringList(count, marks).join(QLatin1Char(',')))))
            return DbResult::failed(q.lastError().text());
        for (int r = first; r < first + count; ++r)
            for (const QVariant& value : rows.at(r))
                q.addBindValue(value);
        if (!q.exec())
            return DbResult::failed(QStringLiteral("%1: %2").arg(table, q.lastError().text()));
    }
    return {};
}

DbResult identityPastHighest(const QSqlDatabase& db, const QString& table)
{
    // The file's AUTOINCREMENT keeps the highest ID it was given by itself.
    if (!SqlEngine::isServer(db))
        return {};
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral(
                    "select setval(pg_get_serial_sequence('%1', 'id'), coalesce(max(ID), 0) + 1, false) "
                    "from %1")
                    .arg(table.toLower())))
        return DbResult::failed(q.lastError().text());
    return {};
}

DbResult sameRows(const QString& table, const QVector<QVariantList>& expected,
                  const QVector<QVariantList>& found)
{
    if (expected.size() != found.size())
        return DbResult::failed(QStringLiteral("%1 holds %2 rows instead of %3")
                                    .arg(table)
                                    .arg(found.size())
                                    .arg(expected.size()));
    for (int r = 0; r < expected.size(); ++r)
        for (int c = 0; c < expected.at(r).size(); ++c)
            if (!sameValue(expected.at(r).at(c), found.at(r).value(c)))
                return DbResult::failed(
                    QStringLiteral("%1: row %2 differs after the copy").arg(table).arg(r + 1));
    return {};
}

// The source is a school of the current version.
DbResult checkSource(const StoreLocation& from, const QSqlDatabase& db)
{
    const DbValue<SchemaVersions::Found> found =
        from.engine == Engine::File ? CheckDataFile(from.dataFile) : SchemaVersions::program().identify(db);
    if (!found)
        return found;
    if (found->version != SchemaVersions::program().current())
        return DbResult::failed(
            QStringLiteral("the source is of schema version %1; open it with the program first")
                .arg(found->version));
    return {};
}

DbResult prepareDestination(const StoreLocation& to)
{
    if (to.engine == Engine::Server)
        return TDM::createServerSchema(to.server);
    if (!QFileInfo::exists(to.dataFile))
        return TDM::createDatabase(to.dataFile);
    return {};
}

DbResult emptySchool(const QSqlDatabase& db)
{
    const DbValue<SchemaVersions::Found> found = SchemaVersions::program().identify(db);
    if (!found)
        return found;
    if (found->version != SchemaVersions::program().current())
        return DbResult::failed(QStringLiteral("the destination is not of the current schema version"));
    for (const QString& table : TDM::tableNames()) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("select count(*) from %1").arg(table)) || !q.next())
            return DbResult::failed(q.lastError().text());
        if (q.value(0).toLongLong() > 0)
            return DbResult::failed(QStringLiteral("the destination is not empty: %1 has rows").arg(table));
    }
    return {};
}

// The school's tables in the order they are copied: referred tables first,
// so every reference is met as it arrives, then the school's own row.
QStringList copiedTables()
{
    return TDM::tableNames() + QStringList{QStringLiteral("TSchool")};
}

} // namespace

DbValue<CopiedRows> CopySchool(const StoreLocation& from, const StoreLocation& to)
{
    if (from.engine == to.engine && from.engine == Engine::File &&
        QFileInfo(from.dataFile).absoluteFilePath() == QFileInfo(to.dataFile).absoluteFilePath())
        return DbResult::failed(QStringLiteral("the source and the destination are the same file"));
    Side source(from, false);
    if (DbResult opened = source.open(); !opened)
        return opened;
    if (DbResult sound = checkSource(from, source.db()); !sound)
        return sound;
    if (DbResult made = prepareDestination(to); !made)
        return made;
    Side destination(to, true);
    if (DbResult opened = destination.open(); !opened)
        return opened;
    if (DbResult empty = emptySchool(destination.db()); !empty)
        return empty;

    // One moment of the source, however long the copy takes.
    const bool sourceOnServer = from.engine == Engine::Server;
    if (DbResult begun =
            source.exec(sourceOnServer ? QStringLiteral("begin isolation level repeatable read read only")
                                       : QStringLiteral("begin"));
        !begun)
        return begun;
    QSqlDatabase target = destination.db();
    if (!target.transaction())
        return DbResult::failed(target.lastError().text());

    CopiedRows copied;
    QMap<QString, QPair<QStringList, QVector<QVariantList>>> read;
    // A new school's schema made its own row of the school's name; the source's takes its place.
    if (DbResult cleared = destination.exec(QStringLiteral("delete from TSchool")); !cleared)
        return cleared;
    for (const QString& table : copiedTables()) {
        const DbValue<QStringList> columns = columnsOf(source.db(), table);
        if (!columns)
            return DbResult(columns);
        const DbValue<QVector<QVariantList>> rows = rowsOf(source.db(), table, *columns);
        if (!rows)
            return DbResult(rows);
        if (DbResult inserted = insertAll(target, table, *columns, *rows); !inserted)
            return inserted;
        if (DbResult set = identityPastHighest(target, table); !set)
            return set;
        copied.insert(table, int(rows->size()));
        read.insert(table, {*columns, *rows});
    }
    for (auto it = read.cbegin(); it != read.cend(); ++it) {
        const DbValue<QVector<QVariantList>> back = rowsOf(target, it.key(), it->first);
        if (!back)
            return DbResult(back);
        if (DbResult same = sameRows(it.key(), it->second, *back); !same)
            return same;
    }
    if (!target.commit())
        return DbResult::failed(target.lastError().text());
    return copied;
}
