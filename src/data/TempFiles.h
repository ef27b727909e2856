#pragma once

#include <QString>

// The program's own temporary files: a copy on its way to a backup file or
// the data file, a data file being created. Each is named after the file it
// becomes and the process writing it, "<name>~<pid>.XXXXXX.sgtmp", so that a
// copy left behind by a run that was killed can be told apart from one a
// running copy of the program is writing right now.
namespace TempFiles {
// A QTemporaryFile template beside path, for this process.
QString templateBeside(const QString& path);
// The process that wrote a file of that name; 0 when the name is not one of ours.
qint64 writerOf(const QString& fileName);
// Removes the temporary files in folder whose process has ended; nothing else.
// Returns how many were removed.
int removeLeftovers(const QString& folder);
} // namespace TempFiles
