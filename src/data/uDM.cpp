#include "data/uDM.h"

#include "data/DataFileCheck.h"
#include "data/LockWait.h"
#include "data/SchemaVersions.h"
#include "data/ScratchConnection.h"
#include "data/SqliteHandle.h"
#include "data/TempFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

TDM* DM = nullptr;

namespace {

const QString kConnection = QStringLiteral("ADOLocal");

DbResult hasAllTables(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select name from sqlite_master where type='table'")))
        return DbResult::failed(q.lastError().text());
    QStringList found;
    while (q.next())
        found << q.value(0).toString().toLower();
    for (const QString& table : TDM::tableNames()) {
        if (!found.contains(table.toLower()))
            return DbResult::failed(QStringLiteral("table %1 is missing").arg(table));
    }
    return {};
}

} // namespace

TDM::TDM(const QString& dataFile, QObject* parent)
    : QObject(parent), m_dataFile(dataFile), m_connectionName(kConnection)
{
    DM = this;
    DataModuleCreate();
}

TDM::~TDM()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
    if (DM == this)
        DM = nullptr;
}

void TDM::DataModuleCreate()
{
    open();
}

QSqlDatabase TDM::ADOLocal() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool TDM::connectFile()
{
    close();
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    db.setDatabaseName(ScratchConnection::fileUri(m_dataFile, "rw"));
    if (!db.open()) {
        m_lastError = db.lastError().text();
        return false;
    }
    LockWait::install(db);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA foreign_keys=ON"))) {
        m_lastError = q.lastError().text();
        db.close();
        return false;
    }
    return true;
}

bool TDM::open()
{
    if (!connectFile())
        return false;
    bool usable = false;
    {
        const QSqlDatabase db = ADOLocal();
        // Looked at without waiting: a file that another program is writing
        // right now is taken as it stands (its statements wait as always)
        // and looked at again on the next open. A file that is not a
        // database of this system counts as failing to open.
        LockWait::ScopedLimit noWait(db, 0);
        DbResult sound = hasAllTables(db);
        if (sound)
            sound = bringUpToDate(db);
        m_lastError = sound.error();
        usable = sound || IsLockedElsewhere(db);
    }
    if (!usable) {
        close();
        return false;
    }
    m_lastError.clear();
    return true;
}

DbResult TDM::bringUpToDate(const QSqlDatabase& db) const
{
    const SchemaVersions& versions = SchemaVersions::program();
    const DbValue<SchemaVersions::Found> found = versions.identify(db);
    // A file whose schema is no version's exactly (an index added by hand,
    // a newer program's file) is used as it stands.
    if (!found || found->isCurrent(versions))
        return {};
    const DbResult upgraded = versions.upgrade(db, found->version);
    // Only the stamp is missing (the file may be read-only): it is written at a later open.
    if (!upgraded && found->version == versions.current())
        return {};
    return upgraded;
}

void TDM::close()
{
    if (QSqlDatabase::contains(m_connectionName)) {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
}

bool TDM::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName) && ADOLocal().isOpen();
}

bool TDM::ensureOpen()
{
    return isOpen() || open();
}

DbResult TDM::writeFrom(const QString& checkedFile)
{
    if (!connectFile())
        return DbResult::failed(m_lastError);
    DbResult written;
    {
        const QSqlDatabase db = ADOLocal();
        LockWait::ScopedLimit limit(db, LockWait::CopyLimitMs);
        written = OnlineCopy(checkedFile, SqliteHandle(db), LockWait::CopyLimitMs);
    }
    close();
    return written;
}

const QStringList& TDM::tableNames()
{
    static const QStringList names{"TTerm",    "TSubject",        "TClass",      "TTermToClass",
                                   "TStudent", "TClassToSubject", "THonoursStd", "TGrade"};
    return names;
}

DbResult TDM::createDatabase(const QString& path)
{
    if (QFileInfo::exists(path))
        return DbResult::failed(QStringLiteral("%1 already exists").arg(path));
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Built beside the target and renamed, so a failed creation leaves nothing.
    QTemporaryFile temp(TempFiles::templateBeside(QFileInfo(path).absoluteFilePath()));
    if (!temp.open())
        return DbResult::failed(temp.errorString());
    temp.close(); // SQLite is to be the file's only opener
    DbResult made;
    {
        ScratchConnection connection(ScratchConnection::fileUri(temp.fileName(), "rw"), true);
        QSqlDatabase db = connection.db();
        made = db.open() ? SchemaVersions::program().upgrade(db, 0) : DbResult::failed(db.lastError().text());
    }
    if (made && !QFile::rename(temp.fileName(), path))
        made = DbResult::failed(QStringLiteral("%1 cannot be created").arg(path));
    if (made)
        temp.setAutoRemove(false);
    return made;
}

DbResult TDM::isGradeDatabase(const QString& path)
{
    return CheckDataFile(path);
}
