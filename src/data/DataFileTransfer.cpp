#include "data/DataFileTransfer.h"

#include "data/DataFileCheck.h"
#include "data/FileCopy.h"
#include "data/LockWait.h"
#include "data/ScratchConnection.h"
#include "data/TempFiles.h"
#include "data/uDM.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>

namespace {

bool failWith(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}

// A read transaction on a database file, through a connection of its own:
// while it is held no connection can write the file. SQLite rolls a hot
// journal back before it grants the lock, which is why the file is opened
// for writing.
class ReadLock {
public:
    explicit ReadLock(const QString& file) : m_connection(ScratchConnection::fileUri(file, "rw"), true)
    {
        QSqlDatabase db = m_connection.db();
        if (!db.open()) {
            m_error = db.lastError().text();
            return;
        }
        LockWait::install(db, LockWait::CopyLimitMs);
        if (!db.transaction()) {
            m_error = db.lastError().text();
            return;
        }
        QSqlQuery read(db);
        m_held = read.exec(QStringLiteral("select count(*) from sqlite_master")) && read.next();
        if (!m_held) {
            m_error = read.lastError().text();
            read.finish();
            db.rollback();
        }
    }
    ~ReadLock()
    {
        if (m_held)
            m_connection.db().rollback();
    }
    ReadLock(const ReadLock&) = delete;
    ReadLock& operator=(const ReadLock&) = delete;

    bool isHeld(QString* why) const { return m_held || failWith(why, m_error); }

private:
    ScratchConnection m_connection;
    bool m_held = false;
    QString m_error;
};

// The copy is the program's own until it is written into the data file.
bool upgradeCopy(const QString& path, int from, QString* why)
{
    ScratchConnection connection(ScratchConnection::fileUri(path, "rw"), true);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return failWith(why, db.lastError().text());
    // The journal stays in memory: a copy that a killed run leaves is
    // thrown away whole, and no journal file is left beside it.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    return SchemaVersions::program().upgrade(db, from, why);
}

} // namespace

bool BackupDataFile(const QString& dataFile, const QString& target, QString* why)
{
    if (!QFileInfo(dataFile).isFile())
        return failWith(why, QStringLiteral("%1 is not a file").arg(dataFile));
    TempCopy copy(target);
    if (SameFile(dataFile, copy.destination()))
        return failWith(why, QStringLiteral("%1 cannot be copied onto itself").arg(dataFile));
    TempFiles::removeLeftovers(QFileInfo(copy.destination()).absolutePath());
    if (!copy.create(why))
        return false;
    {
        const ReadLock lock(dataFile);
        if (!lock.isHeld(why) || !copy.copyFrom(dataFile, why))
            return false;
    }
    return CheckDataFile(copy.fileName(), why) && copy.replaceDestination(why);
}

bool RestoreDataFile(TDM& dm, const QString& source, QString* why)
{
    const QString dataFile = dm.dataFile();
    if (!QFileInfo(source).isFile())
        return failWith(why, QStringLiteral("%1 is not a file").arg(source));
    if (SameFile(source, dataFile))
        return failWith(why, QStringLiteral("%1 is the data file itself").arg(source));
    // Restoring is also the way back when the data file was lost.
    QDir().mkpath(QFileInfo(dataFile).absolutePath());
    TempCopy copy(dataFile);
    if (!copy.create(why) || !copy.copyFrom(source, why))
        return false;
    const SchemaVersions& versions = SchemaVersions::program();
    SchemaVersions::Found found;
    if (!CheckDataFile(copy.fileName(), why, &found))
        return false;
    if (!found.isCurrent(versions) && !upgradeCopy(copy.fileName(), found.version, why))
        return false;
    // Closed before the data file's first bytes are read below: closing any
    // descriptor of the file would drop the locks of this process on it.
    dm.close();
    // What is no database cannot be in use as one; it is replaced whole.
    if (!LooksLikeSqlite(dataFile))
        return copy.replaceDestination(why);
    return dm.writeFrom(copy.fileName(), why);
}
