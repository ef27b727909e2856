#include "data/uDM.h"

#include "app/uPub.h"
#include "data/Messages.h"
#include "data/ScratchConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

TDM* DM = nullptr;

namespace {

const QString kConnection = QStringLiteral("ADOLocal");

// SQLite in read-write mode never creates a missing file.
QString uriFor(const QString& path, const char* mode)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded) +
           QStringLiteral("?mode=") + QLatin1String(mode);
}

bool hasAllTables(QSqlDatabase& db, QString* why)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select name from sqlite_master where type='table'"))) {
        if (why)
            *why = q.lastError().text();
        return false;
    }
    QStringList found;
    while (q.next())
        found << q.value(0).toString().toLower();
    for (const QString& table : TDM::tableNames()) {
        if (!found.contains(table.toLower())) {
            if (why)
                *why = QStringLiteral("table %1 is missing").arg(table);
            return false;
        }
    }
    return true;
}

} // namespace

TDM::TDM(QObject* parent) : QObject(parent), m_connectionName(kConnection)
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
    if (!open())
        ShowMessage(Msg::ConnectFailed);
}

QString TDM::dataFile() const
{
    return AppPath + QStringLiteral("db/Student.dat");
}

QSqlDatabase TDM::ADOLocal() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

bool TDM::open()
{
    close();
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
                          ? QSqlDatabase::database(m_connectionName, false)
                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    db.setDatabaseName(uriFor(dataFile(), "rw"));
    if (!db.open()) {
        m_lastError = db.lastError().text();
        return false;
    }
    // A file that is not a database of this system counts as failing to open.
    if (!hasAllTables(db, &m_lastError)) {
        db.close();
        return false;
    }
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA foreign_keys=ON"))) {
        m_lastError = q.lastError().text();
        db.close();
        return false;
    }
    m_lastError.clear();
    return true;
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

const QStringList& TDM::tableNames()
{
    static const QStringList names{"TTerm",    "TSubject",        "TClass",      "TTermToClass",
                                   "TStudent", "TClassToSubject", "THonoursStd", "TGrade"};
    return names;
}

QString TDM::schemaSql()
{
    QFile file(QStringLiteral(":/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

namespace {

// Runs each statement of a script; SQLite's driver takes one at a time.
bool runScript(QSqlDatabase& db, const QString& script, QString* why)
{
    QString sql;
    for (const QString& line : script.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        sql += line + QLatin1Char('\n');
    }
    for (const QString& statement : sql.split(QLatin1Char(';'))) {
        if (statement.trimmed().isEmpty())
            continue;
        QSqlQuery q(db);
        if (!q.exec(statement)) {
            if (why)
                *why = q.lastError().text() + QStringLiteral(": ") + statement.trimmed();
            return false;
        }
    }
    return true;
}


} // namespace

bool TDM::createDatabase(const QString& path, QString* why)
{
    if (QFileInfo::exists(path)) {
        if (why)
            *why = QStringLiteral("%1 already exists").arg(path);
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Build beside the target and rename, so a failed creation leaves nothing.
    const QString temp = path + QStringLiteral(".creating");
    QFile::remove(temp);
    bool ok = false;
    {
        ScratchConnection connection(uriFor(temp, "rwc"), true);
        QSqlDatabase db = connection.db();
        if (!db.open()) {
            if (why)
                *why = db.lastError().text();
        } else {
            ok = runScript(db, schemaSql(), why);
        }
    }
    if (ok)
        ok = QFile::rename(temp, path);
    if (!ok)
        QFile::remove(temp);
    return ok;
}

bool TDM::isGradeDatabase(const QString& path, QString* why)
{
    if (!QFileInfo(path).isFile()) {
        if (why)
            *why = QStringLiteral("no such file");
        return false;
    }
    ScratchConnection connection(uriFor(path, "ro"), true);
    QSqlDatabase db = connection.db();
    if (!db.open()) {
        if (why)
            *why = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA integrity_check")) || !q.next() ||
        q.value(0).toString() != QLatin1String("ok")) {
        if (why)
            *why = q.lastError().isValid() ? q.lastError().text() : q.value(0).toString();
        return false;
    }
    q.finish();
    // A file cut short inside its last page can still pass the integrity
    // check; a complete one is exactly its pages long.
    QSqlQuery size(db);
    if (!size.exec(QStringLiteral("select page_count * page_size from pragma_page_count(), pragma_page_size()")) ||
        !size.next() || size.value(0).toLongLong() != QFileInfo(path).size()) {
        if (why)
            *why = QStringLiteral("the file is incomplete");
        return false;
    }
    size.finish();
    return hasAllTables(db, why);
}
