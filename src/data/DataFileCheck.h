#pragma once

#include "data/SchemaVersions.h"

#include <QString>

// Whether a file may become the data file (a restore source) or stand as a
// backup of it: complete, a sound SQLite database in rollback-journal mode
// that passes the integrity and reference checks, and carrying exactly the
// schema of a version this program knows. Opens the file read-only.
// Carries the version found.
DbValue<SchemaVersions::Found> CheckDataFile(const QString& path,
                                             const SchemaVersions& versions = SchemaVersions::program());

// True when the file begins as every SQLite database does (false when missing).
bool LooksLikeSqlite(const QString& path);
