#include "data/DataFileTransfer.h"

#include "data/DataFileCheck.h"
#include "data/FileCopy.h"
#include "data/LockWait.h"
#include "data/SchoolCopy.h"
#include "data/ScratchConnection.h"
#include "data/ServerTransfer.h"
#include "data/TempFiles.h"
#include "data/uDM.h"

#include <QDir>
#include <QSqlError>
#include <QSqlQuery>

namespace {

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

    DbResult held() const { return m_held ? DbResult() : DbResult::failed(m_error); }

private:
    ScratchConnection m_connection;
    bool m_held = false;
    QString m_error;
};

// The copy is the program's own until it is written into the data file.
DbResult upgradeCopy(const QString& path, int from)
{
    ScratchConnection connection(ScratchConnection::fileUri(path, "rw"), true);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return DbResult::failed(db.lastError().text());
    // The journal stays in memory: a copy that a killed run leaves is
    // thrown away whole, and no journal file is left beside it.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=MEMORY"));
    return SchemaVersions::program().upgrade(db, from);
}

} // namespace

DbResult BackupDataFile(const QString& dataFile, const QString& target)
{
    if (!QFileInfo(dataFile).isFile())
        return DbResult::failed(QStringLiteral("%1 is not a file").arg(dataFile));
    TempCopy copy(target);
    if (SameFile(dataFile, copy.destination()))
        return DbResult::failed(QStringLiteral("%1 cannot be copied onto itself").arg(dataFile));
    TempFiles::removeLeftovers(QFileInfo(copy.destination()).absolutePath());
    if (DbResult made = copy.create(); !made)
        return made;
    {
        const ReadLock lock(dataFile);
        if (DbResult held = lock.held(); !held)
            return held;
        if (DbResult copied = copy.copyFrom(dataFile); !copied)
            return copied;
    }
    if (DbResult sound = CheckDataFile(copy.fileName()); !sound)
        return sound;
    return copy.replaceDestination();
}

DbResult RestoreDataFile(TDM& dm, const QString& source)
{
    const QString dataFile = dm.dataFile();
    if (!QFileInfo(source).isFile())
        return DbResult::failed(QStringLiteral("%1 is not a file").arg(source));
    if (SameFile(source, dataFile))
        return DbResult::failed(QStringLiteral("%1 is the data file itself").arg(source));
    // Restoring is also the way back when the data file was lost.
    QDir().mkpath(QFileInfo(dataFile).absolutePath());
    TempCopy copy(dataFile);
    if (DbResult made = copy.create(); !made)
        return made;
    if (DbResult copied = copy.copyFrom(source); !copied)
        return copied;
    const DbValue<SchemaVersions::Found> found = CheckDataFile(copy.fileName());
    if (!found)
        return found;
    if (!found->isCurrent(SchemaVersions::program())) {
        if (DbResult upgraded = upgradeCopy(copy.fileName(), found->version); !upgraded)
            return upgraded;
    }
    // Closed before the data file's first bytes are read below: closing any
    // descriptor of the file would drop the locks of this process on it.
    dm.close();
    // What is no database cannot be in use as one; it is replaced whole.
    if (!LooksLikeSqlite(dataFile))
        return copy.replaceDestination();
    return dm.writeFrom(copy.fileName());
}

DbResult BackUpSchool(TDM& dm, const QString& target)
{
    dm.close();
    if (dm.engine() == Engine::Server)
        return BackupServerSchool(dm.store().server, target);
    return BackupDataFile(dm.dataFile(), target);
}

DbResult RestoreSchool(TDM& dm, const QString& source)
{
    if (dm.engine() == Engine::Server) {
        dm.close();
        return RestoreServerSchool(dm.store().server, source);
    }
    if (KindOfBackup(source) == BackupKind::ServerDump)
        return DbResult::failed(QStringLiteral("%1 is a backup of a server's school").arg(source));
    return RestoreDataFile(dm, source);
}

DbResult FillEmptySchool(TDM& dm, const QString& dataFile)
{
    if (dm.engine() == Engine::Server) {
        dm.close();
        return DbResult(CopySchool(StoreLocation::file(dataFile), dm.store()));
    }
    return RestoreDataFile(dm, dataFile);
}
