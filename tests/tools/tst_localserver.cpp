// The benchmark's own PostgreSQL: started for a run on the loopback, reached
// only with the run's password by a role that is no superuser, a school's
// database with what reads it into the buffers, and gone with the object.
#include "data/ServerTransfer.h"
#include "data/SqlEngine.h"
#include "data/uDM.h"
#include "tools/benchmark/LocalServer.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QUuid>

#include <functional>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Runs read on a connection of its own; false when it did not open.
bool OnConnection(const ServerLocation& server, const std::function<void(QSqlQuery&)>& read = {})
{
    const QString name = QUuid::createUuid().toString();
    bool opened = false;
    {
        QSqlDatabase db = SqlEngine::addServerConnection(server, name);
        opened = db.open();
        if (opened && read) {
            QSqlQuery q(db);
            read(q);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return opened;
}

QVariant Scalar(QSqlQuery& q, const QString& sql)
{
    if (!q.exec(sql) || !q.next())
        qWarning("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
    return q.value(0);
}

bool SomethingListensOn(int port)
{
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(quint16(port));
    const bool connected = ::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(s);
    return connected;
}

} // namespace

class TestLocalServer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Nothing but the run's own password may let a connection in.
        qputenv("PGPASSFILE", "/nonexistent");
        qunsetenv("PGPASSWORD");
    }

    void aServerOfTheRunsOwn()
    {
        if (FindPgProgram(QStringLiteral("initdb")).isEmpty())
            QSKIP("no PostgreSQL server programs (initdb)");
        int port = 0;
        {
            bench::LocalServer server;
            const DbResult started = server.start();
            QVERIFY2(started, qPrintable(started.error()));
            const DbValue<ServerLocation> school = server.createDatabase(QStringLiteral("school_x1"));
            QVERIFY2(school, qPrintable(school.error()));
            QCOMPARE(school->host, QStringLiteral("127.0.0.1"));
            port = school->port;
            QVERIFY(SomethingListensOn(port));

            // Without the password the server lets nobody in; with it, the
            // program's schema is made there and the school's role is no superuser.
            QVERIFY(!OnConnection(*school));
            ServerLocation withPassword = *school;
            withPassword.password = server.password();
            QVERIFY(!server.password().isEmpty());
            const DbValue<bool> made = TDM::createServerSchema(withPassword);
            QVERIFY2(made && *made, qPrintable(made.error()));
            QVERIFY(OnConnection(withPassword, [](QSqlQuery& q) {
                QCOMPARE(
                    Scalar(q, QStringLiteral("select rolsuper from pg_roles where rolname = current_user"))
                        .toBool(),
                    false);
                QVERIFY(Scalar(q, QStringLiteral("select %1.pg_prewarm('tgrade'::regclass) >= 0")
                                      .arg(bench::kWarmSchema))
                            .toBool());
                QCOMPARE(Scalar(q, QStringLiteral("select current_setting('listen_addresses')")).toString(),
                         QStringLiteral("127.0.0.1"));
                QCOMPARE(Scalar(q, QStringLiteral("select current_setting('fsync')")).toString(),
                         QStringLiteral("on"));
            }));

            // A database per school; one name once.
            QVERIFY(server.createDatabase(QStringLiteral("school_x5")));
            QVERIFY(!server.createDatabase(QStringLiteral("school_x5")));
        }
        // Stopped with the object.
        QVERIFY(!SomethingListensOn(port));
    }
};

QTEST_GUILESS_MAIN(TestLocalServer)
#include "tst_localserver.moc"
