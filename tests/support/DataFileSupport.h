#pragma once

#include "data/DbResult.h"

#include <QProcess>
#include <QString>

// A database file like the program's, made from its schema script with one
// text replaced (from -> to) and then the statements of more run on it, each
// statement on its own line.
DbResult WriteVariantDatabase(const QString& path, const QString& from, const QString& to,
                              const QString& more);

// A database file as the program made it before its schema carried a
// version: the objects of version 1 stamped 0, then the statements of more.
DbResult WriteFirstReleaseDatabase(const QString& path, const QString& more);

// The sqlite3 shell as a second program on a data file, in a process of its
// own as another copy of the program would be: its locks and its journal are
// those of another process.
class SqliteShell {
public:
    explicit SqliteShell(const QString& file);
    ~SqliteShell();
    SqliteShell(const SqliteShell&) = delete;
    SqliteShell& operator=(const SqliteShell&) = delete;

    static bool available();
    bool isRunning() const { return m_process.state() == QProcess::Running; }
    // Runs the statements (and dot commands) and returns what they printed,
    // once the shell has done them all; errors are part of the output.
    QString run(const QString& sql, int timeoutMs = 60000);
    // Holds a write transaction whose pages have reached the file: a large
    // insert with a cache far smaller than it, so the pages are spilled into
    // the file and the old ones are in its journal.
    void holdSpilledWrite();
    // Ends the process at once, as a crash would: an open write transaction
    // leaves its journal hot.
    void kill();

private:
    QProcess m_process;
    int m_marks = 0;
};
