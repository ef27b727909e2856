#pragma once

// The machine's and the data file's own figures, read beside the measurements.
#include <QString>

namespace bench {

// A field of /proc/self/status in kB (VmHWM: the peak), -1 when unknown.
qint64 StatusKb(const char* field);
// Forgets the peak so far (Linux), so the school's generation does not count.
void ResetPeakMemory();
// The machine's one-minute load average: other work on the machine shows in
// every figure, so the report says how busy it was.
QString LoadAverage();
QString Megabytes(qint64 bytes);
// The processor, cores, system and Qt version.
QString Machine();

// True when the data file at path has the schema a new one gets: a kept
// school must not miss an index added since.
bool SchemaIsCurrent(const QString& path);

// What a data file holds, read on a connection of its own.
struct FileCounts {
    qint64 grades = 0;
    int students = 0;
    qint64 standards = 0;
    QString sqliteVersion;
};
FileCounts CountsOf(const QString& path);

} // namespace bench
