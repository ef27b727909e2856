#pragma once

#include <QSqlDatabase>
#include <QString>

// A private connection of its own, for work beside the program's one
// connection (creating a file, checking one, filling one); it is closed and
// removed when it goes out of scope.
class ScratchConnection {
public:
    // databaseName is a file path, or an SQLite URI ("file:...?mode=ro") when asUri is set.
    explicit ScratchConnection(const QString& databaseName, bool asUri = false);
    ~ScratchConnection();
    ScratchConnection(const ScratchConnection&) = delete;
    ScratchConnection& operator=(const ScratchConnection&) = delete;

    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};
