#pragma once

struct sqlite3;
class QSqlDatabase;

// The SQLite handle under an open QSQLITE connection, or nullptr. The
// program links the same system SQLite library as Qt's driver: one copy of
// SQLite per process is what keeps its file locks of all connections in step.
sqlite3* SqliteHandle(const QSqlDatabase& db);

#include "data/DbResult.h"

class QString;

// True when another connection holds a lock on the file that keeps this one
// from reading it now; asks once, without waiting.
bool IsLockedElsewhere(const QSqlDatabase& db);

// Writes the whole content of the database file source into the database
// open on destination with SQLite's online backup interface, in one
// transaction of destination: every other connection to that file sees the
// old content or the new one, and notices the change. A lock held elsewhere
// is waited for up to limitMs; on failure destination is unchanged.
DbResult OnlineCopy(const QString& source, sqlite3* destination, int limitMs);
