#include "tools/benchmark/ServerSchool.h"

#include "data/SchoolCopy.h"
#include "data/SqlEngine.h"
#include "data/uDM.h"
#include "tools/benchmark/LocalServer.h"
#include "tools/benchmark/Machine.h"
#include "tools/benchmark/Report.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace bench {

namespace {

// Runs the statements on a connection of their own to the school's database.
DbResult onServer(const ServerLocation& server, const QStringList& statements)
{
    const QString name = QStringLiteral("bench-server-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    DbResult result;
    {
        QSqlDatabase db = SqlEngine::addServerConnection(server, name);
        if (!db.open()) {
            result = DbResult::failed(db.lastError().text());
        } else {
            QSqlQuery q(db);
            for (const QString& statement : statements)
                if (!q.exec(statement)) {
                    result = DbResult::failed(q.lastError().text());
                    break;
                }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

bool copy(const QString& file, const ServerLocation& server, SchoolFacts& facts)
{
    Out() << "copying the school onto the server (" << server.describe() << ") ..." << Qt::flush;
    QElapsedTimer clock;
    clock.start();
    if (const DbValue<CopiedRows> copied =
            CopySchool(StoreLocation::file(file), StoreLocation::onServer(server));
        !copied) {
        Out() << "\ncannot copy the school onto the server: " << copied.error() << "\n";
        return false;
    }
    // What the planner knows of the new rows, and the pages marked all
    // visible, so that the scores are read from their index alone.
    const QString tables =
        (TDM::tableNames() + QStringList{QStringLiteral("TSchool")}).join(QLatin1Char(','));
    if (DbResult analysed = onServer(server, {QStringLiteral("vacuum analyze ") + tables}); !analysed) {
        Out() << "\ncannot gather the server's statistics: " << analysed.error() << "\n";
        return false;
    }
    facts.copiedSeconds = clock.elapsed() / 1000.0;
    Out() << " " << QString::number(facts.copiedSeconds, 'f', 1) << " s\n" << Qt::flush;
    return true;
}

bool writeSettings(const ServerLocation& server, const QString& dir)
{
    QSettings settings(StoreSettingsPath(dir), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Server"));
    settings.setValue(QStringLiteral("Host"), server.host);
    settings.setValue(QStringLiteral("Port"), server.port);
    settings.setValue(QStringLiteral("Database"), server.database);
    settings.setValue(QStringLiteral("User"), server.user);
    settings.endGroup();
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        Out() << "cannot write " << settings.fileName() << "\n";
        return false;
    }
    return true;
}

} // namespace

bool PutOnServer(const QString& file, const ServerLocation& server, const QString& dir, SchoolFacts& facts)
{
    if (CountsOf(StoreLocation::onServer(server)).grades > 0)
        Out() << "reusing the school on the server (" << server.describe() << ")\n" << Qt::flush;
    else if (!copy(file, server, facts))
        return false;
    // The server's counterpart of the data file in the system's cache.
    const DbResult warmed = onServer(
        server,
        {QStringLiteral("select %1.pg_prewarm(c.oid) from pg_class c "
                        "where c.relnamespace = current_schema()::regnamespace and c.relkind in ('r','i')")
             .arg(kWarmSchema)});
    if (!warmed) {
        Out() << "cannot read the school into the server's buffers: " << warmed.error() << "\n";
        return false;
    }
    return writeSettings(server, dir);
}

} // namespace bench
