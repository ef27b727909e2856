#pragma once

#include <QSqlDatabase>
#include <QString>

// A private connection of its own, for work beside the program's one
// connection (creating a file, checking one, filling one, holding a read
// lock); it is closed and removed when it goes out of scope.
class ScratchConnection {
public:
    // databaseName is a file path, or an SQLite URI ("file:...?mode=ro") when asUri is set.
    explicit ScratchConnection(const QString& databaseName, bool asUri = false);
    ~ScratchConnection();
    ScratchConnection(const ScratchConnection&) = delete;
    ScratchConnection& operator=(const ScratchConnection&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    // The URI of a file opened in the given mode ("ro", "rw", "rwc"); in
    // "rw" SQLite never creates a missing file.
    static QString fileUri(const QString& path, const char* mode);

private:
    QString m_name;
};
