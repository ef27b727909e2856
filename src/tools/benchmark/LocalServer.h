#pragma once

// The PostgreSQL server a run measures the program on: a cluster of the
// run's own in a temporary folder, reached as a clerk's machine reaches one,
// over TCP, here on this machine's loopback (127.0.0.1, a free port), by a
// role that logs in with a password of the run's own. Commits are as durable
// as the server's defaults make them. Stopped and removed with the object.
#include "data/DbResult.h"
#include "data/StoreLocation.h"

#include <QString>
#include <QTemporaryDir>

namespace bench {

// Every database of the run's server holds the extension pg_prewarm, which
// reads a table or index into the server's buffers, in this schema of its
// own, apart from the school's tables.
inline const QString kWarmSchema = QStringLiteral("bench_warm");

class LocalServer {
public:
    LocalServer();
    ~LocalServer();
    LocalServer(const LocalServer&) = delete;
    LocalServer& operator=(const LocalServer&) = delete;

    // Makes the cluster and starts it; the server's own words when it could not.
    DbResult start();
    // A new database, owned by the run's role, without tables; where the program finds it.
    DbValue<ServerLocation> createDatabase(const QString& name) const;
    // The role's password, which libpq takes from PGPASSWORD.
    const QString& password() const { return m_password; }
    // "PostgreSQL 15.18 on 127.0.0.1:port", for the report.
    QString describe() const;

private:
    DbResult run(const QString& program, const QStringList& arguments) const;
    DbResult startOnFreePort();
    DbResult createRole() const;
    DbResult asSuperuser(const QStringList& statements, const QString& database) const;
    QString dataDir() const;
    QString socketDir() const;

    QTemporaryDir m_dir;
    QString m_password;
    int m_port = 0;
    bool m_running = false;
};

} // namespace bench
