#pragma once

#include "data/DbResult.h"
#include "data/StoreLocation.h"

#include <QMap>
#include <QString>

// Moving a school between a data file and a server, or between two of
// either. The destination is an empty school of the current version: a data
// file that does not exist yet is created, a server database gets the
// tables when it has none. Every table is copied with its IDs in one
// transaction of the destination, each identity is set past the highest
// copied ID, and before that transaction commits every table is read back
// and compared with the source, row by row; any difference rolls it all back.
// The source is read as one moment and never changed.
using CopiedRows = QMap<QString, int>; // table -> rows copied
DbValue<CopiedRows> CopySchool(const StoreLocation& from, const StoreLocation& to);
