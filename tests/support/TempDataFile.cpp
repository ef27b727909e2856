#include "TempDataFile.h"

#include "data/SqlEngine.h"
#include "data/uDM.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

// The connection to the test server's own database, kept for the whole run.
QSqlDatabase serverAdmin()
{
    const QString name = QStringLiteral("test-server-admin");
    if (QSqlDatabase::contains(name))
        return QSqlDatabase::database(name);
    QSqlDatabase db = SqlEngine::addServerConnection(TestServer(), name);
    if (!db.open())
        qFatal("cannot reach the test server: %s", qPrintable(db.lastError().text()));
    return db;
}

void adminExec(const QString& sql)
{
    QSqlQuery q(serverAdmin());
    if (!q.exec(sql))
        qFatal("test server: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
}

// A new database on the test server, named after the process and a counter.
ServerLocation newServerDatabase()
{
    static int made = 0;
    ServerLocation server = TestServer();
    server.database = QStringLiteral("grades_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
    adminExec(QStringLiteral("create database %1 template template0").arg(server.database));
    return server;
}

// The few statements of the tests that only SQLite speaks, as the server
// takes them, so that a test is written once for both engines: references
// switched off and on, a trigger that refuses a write, dropping it, and
// dropping a table that others refer to.
QString forServer(const QString& sql)
{
    static const QRegularExpression references(
        QStringLiteral("^\\s*PRAGMA\\s+foreign_keys\\s*=\\s*(ON|OFF)\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression trigger(
        QStringLiteral(
            "^\\s*create\\s+trigger\\s+(\\w+)\\s+before\\s+(insert|update|delete)\\s+on\\s+(\\w+)"
            "(?:\\s+when\\s+(.*?))?\\s+begin\\s+select\\s+raise\\s*\\(\\s*abort\\s*,\\s*('[^']*')\\s*\\)\\s*;"
            "\\s*end\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression dropTrigger(QStringLiteral("^\\s*drop\\s+trigger\\s+(\\w+)\\s*$"),
                                                QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression dropTable(QStringLiteral("^\\s*drop\\s+table\\s+(\\w+)\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
    static QHash<QString, QString> triggerTables; // trigger -> its table
    if (const auto m = references.match(sql); m.hasMatch())
        return QStringLiteral("set session_replication_role = %1")
            .arg(m.captured(1).compare(QLatin1String("ON"), Qt::CaseInsensitive) == 0 ? "origin" : "replica");
    if (const auto m = trigger.match(sql); m.hasMatch()) {
        const QString name = m.captured(1);
        triggerTables.insert(name.toLower(), m.captured(3));
        return QStringLiteral(
                   "create function %1() returns trigger language plpgsql as $$ begin raise exception %5; "
                   "end $$; create trigger %1 before %2 on %3 for each row %4 execute function %1()")
            .arg(name, m.captured(2), m.captured(3),
                 m.captured(4).isEmpty() ? QString() : QStringLiteral("when (%1)").arg(m.captured(4)),
                 m.captured(5));
    }
    if (const auto m = dropTrigger.match(sql); m.hasMatch()) {
        const QString name = m.captured(1);
        return QStringLiteral("drop trigger %1 on %2; drop function %1()")
            .arg(name, triggerTables.value(name.toLower()));
    }
    if (const auto m = dropTable.match(sql); m.hasMatch())
        return QStringLiteral("drop table %1 cascade").arg(m.captured(1));
    return sql;
}

} // namespace

Engine TestEngine()
{
    return qEnvironmentVariable("GRADES_TEST_ENGINE") == QLatin1String("server") ? Engine::Server
                                                                                 : Engine::File;
}

ServerLocation TestServer()
{
    const QString url = qEnvironmentVariable("GRADES_TEST_SERVER_URL");
    const std::optional<ServerLocation> server = ParseServerUrl(url);
    if (!server)
        qFatal("GRADES_TEST_SERVER_URL names no server: \"%s\"", qPrintable(url));
    return *server;
}

TempDataFile::TempDataFile(Engine engine)
{
    if (engine == Engine::Server) {
        m_store = StoreLocation::onServer(newServerDatabase());
        if (const DbValue<bool> made = TDM::createServerSchema(m_store.server); !made)
            qFatal("cannot create the test database: %s", qPrintable(made.error()));
    } else {
        m_store = StoreLocation::file(m_dir.path() + QStringLiteral("/db/Student.dat"));
        if (const DbResult made = TDM::createDatabase(m_store.dataFile); !made)
            qFatal("cannot create the test database: %s", qPrintable(made.error()));
    }
    m_dm = std::make_unique<TDM>(m_store);
    if (!m_dm->isOpen())
        qFatal("cannot open the test database: %s", qPrintable(m_dm->lastError()));
}

TempDataFile::~TempDataFile()
{
    m_dm.reset();
    if (onServer())
        adminExec(QStringLiteral("drop database if exists %1 with (force)").arg(m_store.server.database));
}

OtherClerk::OtherClerk(const TempDataFile& db)
    : m_name(QStringLiteral("other-clerk-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    QSqlDatabase connection;
    if (db.onServer()) {
        connection = SqlEngine::addServerConnection(db.store().server, m_name);
    } else {
        connection = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        connection.setDatabaseName(db.dataFile());
    }
    if (!connection.open())
        qFatal("the other clerk cannot connect: %s", qPrintable(connection.lastError().text()));
    if (!db.onServer())
        exec(QStringLiteral("PRAGMA foreign_keys=ON"));
}

OtherClerk::~OtherClerk()
{
    {
        QSqlDatabase db = connection();
        db.rollback();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_name);
}

QSqlDatabase OtherClerk::connection() const
{
    return QSqlDatabase::database(m_name, false);
}

bool OtherClerk::tryExec(const QString& sql) const
{
    QSqlQuery q(connection());
    return q.exec(sql);
}

void OtherClerk::exec(const QString& sql) const
{
    QSqlQuery q(connection());
    if (!q.exec(sql))
        qFatal("the other clerk's statement failed: %s\n%s", qPrintable(q.lastError().text()),
               qPrintable(sql));
}

QVariant OtherClerk::scalar(const QString& sql) const
{
    QSqlQuery q(connection());
    if (!q.exec(sql))
        qFatal("the other clerk's query failed: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    return q.next() ? q.value(0) : QVariant();
}

void OtherClerk::begin() const
{
    exec(QStringLiteral("begin"));
}

void OtherClerk::commit() const
{
    exec(QStringLiteral("commit"));
}

void OtherClerk::rollback() const
{
    exec(QStringLiteral("rollback"));
}

QString TempDataFile::dir() const
{
    return m_dir.path() + QLatin1Char('/');
}

QString TempDataFile::dataFile() const
{
    return dir() + QStringLiteral("db/Student.dat");
}

void TempDataFile::reopen()
{
    m_dm->open();
}

bool TempDataFile::tryExec(const QString& sql) const
{
    if (!m_dm->ensureOpen())
        return false;
    QSqlQuery q(m_dm->ADOLocal());
    return q.exec(onServer() ? forServer(sql) : sql);
}

void TempDataFile::exec(const QString& sql) const
{
    m_dm->ensureOpen();
    QSqlQuery q(m_dm->ADOLocal());
    if (!q.exec(onServer() ? forServer(sql) : sql))
        qFatal("statement failed: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
}

QVariant TempDataFile::scalar(const QString& sql) const
{
    m_dm->ensureOpen();
    QSqlQuery q(m_dm->ADOLocal());
    if (!q.exec(sql))
        qFatal("query failed: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    return q.next() ? q.value(0) : QVariant();
}

int TempDataFile::count(const QString& table, const QString& where) const
{
    return scalar(QStringLiteral("select count(*) from %1 %2")
                      .arg(table, where.isEmpty() ? QString() : QStringLiteral("where ") + where))
        .toInt();
}

static QString q(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

void TempDataFile::addTerm(int code, const QString& name) const
{
    exec(QStringLiteral("insert into TTerm (TermCode,TermName) values (%1,%2)").arg(code).arg(q(name)));
}

void TempDataFile::addSubject(const QString& code, const QString& name) const
{
    exec(QStringLiteral("insert into TSubject (SubjCode,SubjName) values (%1,%2)").arg(q(code), q(name)));
}

void TempDataFile::addClass(const QString& code, const QString& name) const
{
    exec(QStringLiteral("insert into TClass (ClassCode,ClassName) values (%1,%2)").arg(q(code), q(name)));
}

void TempDataFile::activate(int term, const QString& classCode) const
{
    exec(QStringLiteral("insert into TTermToClass (TermCode,ClassCode) values (%1,%2)")
             .arg(term)
             .arg(q(classCode)));
}

void TempDataFile::plan(int term, const QString& classCode, const QString& subject) const
{
    exec(QStringLiteral("insert into TClassToSubject (TermCode,ClassCode,SubjCode) values (%1,%2,%3)")
             .arg(term)
             .arg(q(classCode), q(subject)));
}

int TempDataFile::addStudent(const QString& classCode, const QString& name, const QString& number) const
{
    exec(QStringLiteral("insert into TStudent (ClassCode,SName,SNumber) values (%1,%2,%3)")
             .arg(q(classCode), q(name), q(number)));
    return scalar(QStringLiteral("select max(ID) from TStudent")).toInt();
}

void TempDataFile::addGrade(int term, const QString& classCode, int student, const QString& subject,
                            double score) const
{
    exec(QStringLiteral(
             "insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) values (%1,%2,%3,%4,%5)")
             .arg(term)
             .arg(q(classCode))
             .arg(student)
             .arg(q(subject))
             .arg(score, 0, 'g', 17));
}

void TempDataFile::addStandard(int term, const QString& classCode, const QString& subject, double score) const
{
    exec(QStringLiteral("insert into THonoursStd (TermCode,ClassCode,SubjectCode,Score) values (%1,%2,%3,%4)")
             .arg(term)
             .arg(q(classCode), q(subject))
             .arg(score, 0, 'g', 17));
}

void TempDataFile::addTwoTermSchool() const
{
    addTerm(1, QStringLiteral("一学期"));
    addTerm(2, QStringLiteral("二学期"));
    addClass(QStringLiteral("C1"), QStringLiteral("一班"));
    addClass(QStringLiteral("C2"), QStringLiteral("二班"));
    addSubject(QStringLiteral("CN"), QStringLiteral("语文"));
    addSubject(QStringLiteral("MA"), QStringLiteral("数学"));
    activate(1, QStringLiteral("C1"));
    activate(1, QStringLiteral("C2"));
    activate(2, QStringLiteral("C1"));
    plan(1, QStringLiteral("C1"), QStringLiteral("CN"));
    plan(1, QStringLiteral("C1"), QStringLiteral("MA"));
}
