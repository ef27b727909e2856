#pragma once

#include "data/DbResult.h"

#include <QString>

class TDM;

// Backup and restore of the data file, safe beside other programs that have
// it open.

// Copies the data file as committed, byte for byte, to target. The copy is
// taken under a read transaction of a connection of its own, so no other
// program can write the file meanwhile, and a journal left by a writer that
// died is rolled back first; waiting for that lock ends after about two
// seconds. The complete copy must pass CheckDataFile before it replaces
// target. The program's temporaries left in target's folder by runs that
// ended are removed first. The data module's connection must be closed.
DbResult BackupDataFile(const QString& dataFile, const QString& target);

// Makes the content of source the content of the data module's file. Source
// is copied beside the data file, the copy must pass CheckDataFile and is
// brought up to the current version; then SQLite writes it into the data
// file (TDM::writeFrom), waiting about two seconds at most for other
// programs' locks. A data file that is missing or is no database at all is
// replaced by the copy. On failure the data file is unchanged. The data
// module's connection is closed afterwards.
DbResult RestoreDataFile(TDM& dm, const QString& source);

// The school's backup and restore on whichever engine the data module is
// on: the data file's (above) or a server's (data/ServerTransfer.h). A
// backup of the other engine is refused before anything is touched.
DbResult BackUpSchool(TDM& dm, const QString& target);
DbResult RestoreSchool(TDM& dm, const QString& source);

// Brings the school of a data file into the data module's school while that
// holds no row (the demo school): on a data file as RestoreDataFile, on a
// server through CopySchool (data/SchoolCopy.h), whose one transaction
// refuses a school that has gained a row meanwhile. The connection is
// closed afterwards.
DbResult FillEmptySchool(TDM& dm, const QString& dataFile);
