#pragma once

// A school's data file brought onto the run's server, for the program to be
// measured there as on the file.
#include "data/StoreLocation.h"

#include <QString>

namespace bench {

struct SchoolFacts;

// Copies the school of file into the server's database with the program's
// own copy (studentdb-copy's), unless an earlier round did; gathers the
// server's statistics of the new tables, as its autovacuum would within a
// minute, and reads every table and index into the server's buffers; writes
// the settings file that names the server into dir, the program's folder.
// False, with the reason printed, when any step failed.
bool PutOnServer(const QString& file, const ServerLocation& server, const QString& dir, SchoolFacts& facts);

} // namespace bench
