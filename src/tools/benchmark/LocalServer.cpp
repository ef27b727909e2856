#include "tools/benchmark/LocalServer.h"

#include "data/ServerTransfer.h"
#include "data/SqlEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace bench {

namespace {

const QString kRole = QStringLiteral("grades_bench");
// The server refuses to run as root: as root its programs run as the user
// the server's package made for it, on folders that user owns.
const char* const kServerUser = "postgres";

bool asRoot()
{
    return ::geteuid() == 0;
}

// A port of the loopback nobody listens on now (0 when none was had).
int freeLoopbackPort()
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(s);
    return port;
}

DbResult giveToServerUser(const QString& path)
{
    const passwd* user = ::getpwnam(kServerUser);
    if (!user)
        return DbResult::failed(QStringLiteral("as root the server runs as the user %1, and there is none")
                                    .arg(QLatin1String(kServerUser)));
    if (::chown(QFile::encodeName(path).constData(), user->pw_uid, user->pw_gid) != 0)
        return DbResult::failed(
            QStringLiteral("cannot give %1 to the user %2").arg(path, QLatin1String(kServerUser)));
    return {};
}

} // namespace

LocalServer::LocalServer() : m_dir(QDir::tempPath() + QStringLiteral("/grades-benchmark-pg-XXXXXX"))
{
    // Hex digits only: the password goes into a statement as it is.
    const quint64 a = QRandomGenerator::system()->generate64();
    const quint64 b = QRandomGenerator::system()->generate64();
    m_password = QString::number(a, 16) + QString::number(b, 16);
}

LocalServer::~LocalServer()
{
    if (m_running)
        run(FindPgProgram(QStringLiteral("pg_ctl")),
            {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"), QStringLiteral("fast"),
             QStringLiteral("-w"), QStringLiteral("stop")});
}

QString LocalServer::dataDir() const
{
    return m_dir.filePath(QStringLiteral("data"));
}

QString LocalServer::socketDir() const
{
    return m_dir.filePath(QStringLiteral("socket"));
}

DbResult LocalServer::run(const QString& program, const QStringList& arguments) const
{
    if (program.isEmpty())
        return DbResult::failed(QStringLiteral("the PostgreSQL server's programs (initdb, pg_ctl) are not "
                                               "installed (Debian: postgresql)"));
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (asRoot())
        process.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QLatin1String(kServerUser),
                                                             QStringLiteral("--"), program} +
                                                     arguments);
    else
        process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        process.kill();
        process.waitForFinished();
        return DbResult::failed(
            QStringLiteral("%1 failed: %2")
                .arg(QFileInfo(program).fileName(), QString::fromLocal8Bit(process.readAll()).trimmed()));
    }
    return {};
}

DbResult LocalServer::start()
{
    if (!m_dir.isValid())
        return DbResult::failed(QStringLiteral("no temporary folder for the server"));
    if (!QDir(m_dir.path()).mkdir(QStringLiteral("socket")))
        return DbResult::failed(QStringLiteral("cannot make %1").arg(socketDir()));
    if (asRoot()) {
        for (const QString& path : {m_dir.path(), socketDir()})
            if (DbResult given = giveToServerUser(path); !given)
                return given;
    }
    // The schema orders every text column itself, so the cluster's locale does not matter.
    if (DbResult made =
            run(FindPgProgram(QStringLiteral("initdb")),
                {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), QStringLiteral("postgres"),
                 QStringLiteral("--auth-local=trust"), QStringLiteral("--auth-host=scram-sha-256"),
                 QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--locale=C.UTF-8")});
        !made)
        return made;
    if (DbResult started = startOnFreePort(); !started)
        return started;
    return createRole();
}

DbResult LocalServer::startOnFreePort()
{
    // Another program may take the port between its choice and the server's
    // start: then another one is tried.
    DbResult started = DbResult::failed(QStringLiteral("no free port on the loopback"));
    for (int attempt = 0; attempt < 5 && !started; ++attempt) {
        m_port = freeLoopbackPort();
        if (m_port == 0)
            continue;
        // Only the loopback, and the superuser's socket in the run's own folder.
        const QString options =
            QStringLiteral("-c listen_addresses=127.0.0.1 -p %1 -k %2").arg(m_port).arg(socketDir());
        started =
            run(FindPgProgram(QStringLiteral("pg_ctl")),
                {QStringLiteral("-D"), dataDir(), QStringLiteral("-l"),
                 m_dir.filePath(QStringLiteral("server.log")), QStringLiteral("-w"), QStringLiteral("-t"),
                 QStringLiteral("60"), QStringLiteral("-o"), options, QStringLiteral("start")});
    }
    m_running = bool(started);
    return started;
}

DbResult LocalServer::asSuperuser(const QStringList& statements, const QString& database) const
{
    const QString name = QStringLiteral("bench-admin-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    DbResult result;
    {
        ServerLocation admin;
        admin.host = socketDir();
        admin.port = m_port;
        admin.database = database;
        admin.user = QStringLiteral("postgres");
        QSqlDatabase db = SqlEngine::addServerConnection(admin, name);
        if (!db.open()) {
            result = DbResult::failed(db.lastError().text());
        } else {
            QSqlQuery q(db);
            for (const QString& statement : statements) {
                if (!q.exec(statement)) {
                    result = DbResult::failed(q.lastError().text());
                    break;
                }
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

DbResult LocalServer::createRole() const
{
    return asSuperuser({QStringLiteral("create role %1 login password '%2'").arg(kRole, m_password)},
                       QStringLiteral("postgres"));
}

DbValue<ServerLocation> LocalServer::createDatabase(const QString& name) const
{
    if (DbResult made =
            asSuperuser({QStringLiteral("create database %1 owner %2 template template0").arg(name, kRole)},
                        QStringLiteral("postgres"));
        !made)
        return made;
    if (DbResult warm =
            asSuperuser({QStringLiteral("create schema %1").arg(kWarmSchema),
                         QStringLiteral("create extension pg_prewarm schema %1").arg(kWarmSchema),
                         QStringLiteral("grant usage on schema %1 to %2").arg(kWarmSchema, kRole)},
                        name);
        !warm)
        return warm;
    ServerLocation server;
    server.host = QStringLiteral("127.0.0.1");
    server.port = m_port;
    server.database = name;
    server.user = kRole;
    return server;
}

QString LocalServer::describe() const
{
    return QStringLiteral("PostgreSQL on 127.0.0.1:%1, a cluster of the run's own in %2")
        .arg(m_port)
        .arg(m_dir.path());
}

} // namespace bench
