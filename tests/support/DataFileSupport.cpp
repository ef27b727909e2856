#include "DataFileSupport.h"

#include "data/SchemaVersions.h"
#include "data/ScratchConnection.h"

#include <QDeadlineTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTest>

namespace {
QString shellProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
}
} // namespace

SqliteShell::SqliteShell(const QString& file)
{
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(shellProgram(), {file});
    if (!m_process.waitForStarted())
        qFatal("cannot start sqlite3");
    run(QStringLiteral(".timeout 20000"));
}

SqliteShell::~SqliteShell()
{
    if (!isRunning())
        return;
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(30000))
        kill();
}

bool SqliteShell::available()
{
    return !shellProgram().isEmpty();
}

QString SqliteShell::run(const QString& sql, int timeoutMs)
{
    const QByteArray mark = "-- done " + QByteArray::number(++m_marks) + " --";
    m_process.write(sql.toUtf8() + "\n.print '" + mark + "'\n");
    QByteArray output;
    QDeadlineTimer deadline(timeoutMs);
    while (!output.contains(mark)) {
        if (deadline.hasExpired() || !isRunning())
            qFatal("sqlite3 did not answer: %s", output.constData());
        m_process.waitForReadyRead(100);
        output += m_process.readAll();
    }
    return QString::fromUtf8(output.left(output.indexOf(mark))).trimmed();
}

void SqliteShell::holdSpilledWrite()
{
    run(QStringLiteral(
        "PRAGMA cache_size=5;\nBEGIN;\n"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM n WHERE i<3000)\n"
        "INSERT INTO TSubject (SubjCode,SubjName) SELECT 'spilled'||i, hex(zeroblob(250)) FROM n;"));
}

void SqliteShell::kill()
{
    m_process.kill();
    m_process.waitForFinished(30000);
}

namespace {

// A file of the schema script, then the statements of more, one per line.
DbResult writeDatabase(const QString& path, const QString& script, const QString& more)
{
    ScratchConnection connection(ScratchConnection::fileUri(path, "rwc"), true);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return DbResult::failed(db.lastError().text());
    if (DbResult made = SchemaVersions(script).upgrade(db, 0); !made)
        return made;
    for (const QString& sql : more.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QSqlQuery q(db);
        if (!q.exec(sql))
            return DbResult::failed(q.lastError().text() + QStringLiteral(": ") + sql);
    }
    return {};
}

} // namespace

DbResult WriteVariantDatabase(const QString& path, const QString& from, const QString& to,
                              const QString& more)
{
    QString script = SchemaVersions::programScript();
    if (!from.isEmpty()) {
        if (!script.contains(from))
            return DbResult::failed(QStringLiteral("the schema has no \"%1\"").arg(from));
        script.replace(from, to);
    }
    return writeDatabase(path, script, more);
}

DbResult WriteFirstReleaseDatabase(const QString& path, const QString& more)
{
    // The script up to the section of version 2.
    const QString script = SchemaVersions::programScript();
    const qsizetype second = script.indexOf(QStringLiteral("-- version 2:"));
    return writeDatabase(path, second < 0 ? script : script.left(second),
                         QStringLiteral("PRAGMA user_version=0\n") + more);
}
