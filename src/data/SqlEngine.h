#pragma once

#include "data/StoreLocation.h"

#include <QSqlDatabase>
#include <QString>

class QSqlError;

// What differs between the two engines, in one place: which one a
// connection is on, and the few texts that are written per engine.
namespace SqlEngine {

Engine of(const QSqlDatabase& db);
inline bool isServer(const QSqlDatabase& db)
{
    return of(db) == Engine::Server;
}

// A statement of schema.sql, written for SQLite, as the server takes it:
// identities for the auto-numbered IDs, double precision for REAL, code-point
// order ("C") for every text column, and no STRICT (the server's types are
// strict by themselves). Everything else is the same text.
QString serverDdl(const QString& sqliteStatement);

// The schema version's stamp on the server (the file keeps it in PRAGMA
// user_version): the comment on the table TTerm, which pg_dump keeps.
QString serverStampStatement(int version);
QString serverStampQuery();
int serverStampVersion(const QString& comment); // 0 when the comment is no stamp

// The server's refusal to wait any longer for another connection's lock.
bool isLockTimeout(const QSqlError& error);

// The names of the tables in the connected database ("sqlite_master" or the
// server's catalogue), in lower case.
QString tableNamesQuery(const QSqlDatabase& db);

// Opens a connection to a server database under the given connection name,
// with the connect timeout of the program and the lock timeout of a clerk.
QSqlDatabase addServerConnection(const ServerLocation& server, const QString& connectionName);
constexpr int ConnectTimeoutS = 5;
constexpr int LockTimeoutMs = 2000;

} // namespace SqlEngine
