#include "data/uDM.h"

#include "data/DataFileCheck.h"
#include "data/LockWait.h"
#include "data/SchemaVersions.h"
#include "data/ScratchConnection.h"
#include "data/SqlEngine.h"
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

QList<TDM*>& liveModules()
{
    static QList<TDM*> modules; // in the order they were made
    return modules;
}

// The connection's name: "ADOLocal", or a name of its own for a module
// made while another one lives (a tool or test with two schools at once).
QString connectionNameFor()
{
    QString name = kConnection;
    for (int n = 2; QSqlDatabase::contains(name); ++n)
        name = kConnection + QLatin1Char('-') + QString::number(n);
    return name;
}

DbValue<QStringList> tablesIn(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(SqlEngine::tableNamesQuery(db)))
        return DbResult::failed(q.lastError().text());
    QStringList found;
    while (q.next())
        found << q.value(0).toString().toLower();
    return found;
}

DbResult hasAllTables(const QSqlDatabase& db)
{
    const DbValue<QStringList> found = tablesIn(db);
    if (!found)
        return found;
    for (const QString& table : TDM::tableNames()) {
        if (!found->contains(table.toLower()))
            return DbResult::failed(QStringLiteral("table %1 is missing").arg(table));
    }
    return {};
}

// libpq's words when the server wants a password it did not get, or not that one.
bool refusedForPassword(const QString& error)
{
    return error.contains(QLatin1String("password"), Qt::CaseInsensitive) ||
           error.contains(QLatin1String("fe_sendauth"));
}

} // namespace

TDM::TDM(const QString& dataFile, QObject* parent) : TDM(StoreLocation::file(dataFile), parent) {}

TDM::TDM(const StoreLocation& store, QObject* parent)
    : QObject(parent), m_store(store), m_connectionName(connectionNameFor())
{
    liveModules().append(this);
    DM = this;
    DataModuleCreate();
}

TDM::~TDM()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
    liveModules().removeOne(this);
    DM = liveModules().isEmpty() ? nullptr : liveModules().constLast();
}

void TDM::DataModuleCreate()
{
    open();
}

QSqlDatabase TDM::ADOLocal() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void TDM::setPassword(const QString& password)
{
    m_store.server.password = password;
    if (QSqlDatabase::contains(m_connectionName))
        QSqlDatabase::database(m_connectionName, false).setPassword(password);
}

bool TDM::connectServer()
{
    close();
    if (!QSqlDatabase::contains(m_connectionName))
        SqlEngine::addServerConnection(m_store.server, m_connectionName);
    QSqlDatabase db = ADOLocal();
    m_needsPassword = false;
    if (!db.open()) {
        m_lastError = db.lastError().text();
        m_needsPassword = refusedForPassword(m_lastError);
        return false;
    }
    return true;
}

bool TDM::connectFile()
{
    if (m_store.engine == Engine::Server)
        return connectServer();
    close();
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    db.setDatabaseName(ScratchConnection::fileUri(m_store.dataFile, "rw"));
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
    if (m_store.engine != Engine::File)
        return DbResult::failed(QStringLiteral("the school is not a file"));
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

namespace {

DbValue<bool> createTablesOn(const QSqlDatabase& db)
{
    const DbValue<QStringList> found = tablesIn(db);
    if (!found)
        return DbResult(found);
    if (hasAllTables(db))
        return false;
    // Tables of another program, or some of ours, are no place for a school.
    for (const QString& table : TDM::tableNames())
        if (found->contains(table.toLower()))
            return DbResult::failed(QStringLiteral("the database already has a table %1").arg(table));
    if (DbResult made = SchemaVersions::program().upgrade(db, 0); !made)
        return made;
    return true;
}

} // namespace

DbValue<bool> TDM::createServerSchema(const ServerLocation& server)
{
    const QString name = QStringLiteral("create-schema");
    DbValue<bool> made = false;
    {
        QSqlDatabase db = SqlEngine::addServerConnection(server, name);
        made = db.open() ? createTablesOn(db) : DbValue<bool>(DbResult::failed(db.lastError().text()));
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return made;
}

DbResult TDM::isGradeDatabase(const QString& path)
{
    return CheckDataFile(path);
}
