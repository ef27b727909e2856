#pragma once

#include "data/DbResult.h"
#include "data/StoreLocation.h"

#include <QString>
#include <QStringList>

class TDM;

// Backup and restore of a school on a server, with the server's own
// programs: pg_dump writes the whole database in its custom format, and
// pg_restore puts one back in a single transaction, so that a restore that
// fails leaves the school as it was. Both wait about two seconds at most for
// other clerks' locks. A program that is missing, or older than the server
// (pg_dump refuses a newer server), answers Fault::ToolMissing.

// What a backup file is, by its first bytes.
enum class BackupKind { DataFile, ServerDump, Unknown };
BackupKind KindOfBackup(const QString& path);

// The newest of Debian's PostgreSQL programs (/usr/lib/postgresql/N/bin)
// or the one on the PATH; GRADES_PG_BIN names the only folder to look in.
QString FindPgProgram(const QString& name);

// Writes the school to target, through a temporary file beside it that
// replaces target only once pg_dump has finished and the dump lists the
// school's tables.
DbResult BackupServerSchool(const ServerLocation& server, const QString& target);
// Puts the school of a server backup back; refuses a file that is none (a
// data file's backup included) before anything is touched.
DbResult RestoreServerSchool(const ServerLocation& server, const QString& source);

// The tables a dump lists, in lower case (pg_restore --list).
DbValue<QStringList> TablesInDump(const QString& dump);
