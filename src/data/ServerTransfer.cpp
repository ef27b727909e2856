#include "data/ServerTransfer.h"

#include "data/FileCopy.h"
#include "data/SqlEngine.h"
#include "data/TempFiles.h"
#include "data/uDM.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>

namespace {

constexpr int ToolLimitMs = 10 * 60 * 1000;

struct Outcome {
    bool ran = false;
    int exitCode = -1;
    QString output;
};

// Runs a PostgreSQL program with the server's connection in its environment
// (the password only when one was typed), waiting for it to end.
Outcome runTool(const QString& program, const QStringList& arguments, const ServerLocation& server)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!server.host.isEmpty())
        environment.insert(QStringLiteral("PGHOST"), server.host);
    environment.insert(QStringLiteral("PGPORT"), QString::number(server.port));
    if (!server.user.isEmpty())
        environment.insert(QStringLiteral("PGUSER"), server.user);
    if (!server.password.isEmpty())
        environment.insert(QStringLiteral("PGPASSWORD"), server.password);
    environment.insert(QStringLiteral("PGCONNECT_TIMEOUT"), QString::number(SqlEngine::ConnectTimeoutS));
    environment.insert(QStringLiteral("PGOPTIONS"),
                       QStringLiteral("-c lock_timeout=%1").arg(SqlEngine::LockTimeoutMs));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Outcome outcome;
    if (!process.waitForStarted())
        return outcome;
    outcome.ran = process.waitForFinished(ToolLimitMs) && process.exitStatus() == QProcess::NormalExit;
    outcome.exitCode = process.exitCode();
    outcome.output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return outcome;
}

int majorVersionOf(const QString& versionText)
{
    static const QRegularExpression number(QStringLiteral("\\(PostgreSQL\\)\\s+(\\d+)"));
    const QRegularExpressionMatch match = number.match(versionText);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

DbValue<int> serverMajorVersion(const ServerLocation& server)
{
    const QString name = QStringLiteral("version-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    DbValue<int> version = DbResult::failed(QString());
    {
        QSqlDatabase db = SqlEngine::addServerConnection(server, name);
        QSqlQuery q(db);
        if (!db.open())
            version = DbResult::failed(db.lastError().text());
        else if (!q.exec(QStringLiteral("show server_version_num")) || !q.next())
            version = DbResult::failed(q.lastError().text());
        else
            version = q.value(0).toInt() / 10000;
    }
    QSqlDatabase::removeDatabase(name);
    return version;
}

// The program, found and no older than the server.
DbValue<QString> usableTool(const QString& name, const ServerLocation& server)
{
    const QString program = FindPgProgram(name);
    if (program.isEmpty())
        return DbResult::toolMissing(QStringLiteral("%1 is not installed").arg(name));
    const Outcome version = runTool(program, {QStringLiteral("--version")}, server);
    const int major = majorVersionOf(version.output);
    if (!version.ran || version.exitCode != 0 || major == 0)
        return DbResult::toolMissing(QStringLiteral("%1 does not run: %2").arg(program, version.output));
    const DbValue<int> serverMajor = serverMajorVersion(server);
    if (!serverMajor)
        return DbResult(serverMajor);
    if (major < *serverMajor)
        return DbResult::toolMissing(QStringLiteral("%1 is of version %2, older than the server's %3")
                                         .arg(program)
                                         .arg(major)
                                         .arg(*serverMajor));
    return program;
}

DbResult listsTheSchool(const QString& dump)
{
    const DbValue<QStringList> tables = TablesInDump(dump);
    if (!tables)
        return tables;
    for (const QString& table : TDM::tableNames())
        if (!tables->contains(table.toLower()))
            return DbResult::failed(QStringLiteral("the backup holds no table %1").arg(table));
    return {};
}

} // namespace

BackupKind KindOfBackup(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return BackupKind::Unknown;
    const QByteArray head = file.read(16);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return BackupKind::DataFile;
    if (head.startsWith("PGDMP"))
        return BackupKind::ServerDump;
    return BackupKind::Unknown;
}

QString FindPgProgram(const QString& name)
{
    if (qEnvironmentVariableIsSet("GRADES_PG_BIN")) {
        const QFileInfo only(QDir(qEnvironmentVariable("GRADES_PG_BIN")).filePath(name));
        return only.isExecutable() ? only.absoluteFilePath() : QString();
    }
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList numbers = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(numbers.begin(), numbers.end(),
              [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& number : numbers) {
        const QFileInfo program(versions.filePath(number + QStringLiteral("/bin/") + name));
        if (program.isExecutable())
            return program.absoluteFilePath();
    }
    return QStandardPaths::findExecutable(name);
}

DbValue<QStringList> TablesInDump(const QString& dump)
{
    const QString program = FindPgProgram(QStringLiteral("pg_restore"));
    if (program.isEmpty())
        return DbResult::toolMissing(QStringLiteral("pg_restore is not installed"));
    const Outcome listed = runTool(program, {QStringLiteral("--list"), dump}, {});
    if (!listed.ran || listed.exitCode != 0)
        return DbResult::failed(QStringLiteral("pg_restore cannot read %1: %2").arg(dump, listed.output));
    // "215; 1259 16390 TABLE public tterm postgres"
    static const QRegularExpression table(
        QStringLiteral("^\\d+;\\s+\\d+\\s+\\d+\\s+TABLE\\s+\\S+\\s+(\\S+)\\s"),
        QRegularExpression::MultilineOption);
    QStringList tables;
    for (auto it = table.globalMatch(listed.output); it.hasNext();)
        tables << it.next().captured(1).toLower();
    return tables;
}

DbResult BackupServerSchool(const ServerLocation& server, const QString& target)
{
    const DbValue<QString> pgDump = usableTool(QStringLiteral("pg_dump"), server);
    if (!pgDump)
        return pgDump;
    TempCopy copy(target);
    TempFiles::removeLeftovers(QFileInfo(copy.destination()).absolutePath());
    if (DbResult made = copy.create(); !made)
        return made;
    const Outcome dumped =
        runTool(*pgDump,
                {QStringLiteral("--format=custom"),
                 QStringLiteral("--lock-wait-timeout=%1").arg(SqlEngine::LockTimeoutMs),
                 QStringLiteral("--file=") + copy.fileName(), QStringLiteral("--dbname=") + server.database},
                server);
    if (!dumped.ran || dumped.exitCode != 0)
        return DbResult::failed(QStringLiteral("pg_dump failed: %1").arg(dumped.output));
    if (KindOfBackup(copy.fileName()) != BackupKind::ServerDump)
        return DbResult::failed(QStringLiteral("pg_dump wrote no dump"));
    if (DbResult sound = listsTheSchool(copy.fileName()); !sound)
        return sound;
    return copy.replaceDestination();
}

DbResult RestoreServerSchool(const ServerLocation& server, const QString& source)
{
    if (!QFileInfo(source).isFile())
        return DbResult::failed(QStringLiteral("%1 is not a file").arg(source));
    if (KindOfBackup(source) != BackupKind::ServerDump)
        return DbResult::failed(QStringLiteral("%1 is no backup of a server's school").arg(source));
    const DbValue<QString> pgRestore = usableTool(QStringLiteral("pg_restore"), server);
    if (!pgRestore)
        return pgRestore;
    if (DbResult sound = listsTheSchool(source); !sound)
        return sound;
    const Outcome restored = runTool(*pgRestore,
                                     {QStringLiteral("--clean"), QStringLiteral("--if-exists"),
                                      QStringLiteral("--single-transaction"), QStringLiteral("--no-owner"),
                                      QStringLiteral("--dbname=") + server.database, source},
                                     server);
    if (!restored.ran || restored.exitCode != 0)
        return DbResult::failed(QStringLiteral("pg_restore failed: %1").arg(restored.output));
    return {};
}
