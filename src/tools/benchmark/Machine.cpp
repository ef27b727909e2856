#include "tools/benchmark/Machine.h"

#include "data/uDM.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QUuid>

#include <cstdlib>
#include <functional>
#include <unistd.h>

namespace bench {

qint64 StatusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

void ResetPeakMemory()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (refs.open(QIODevice::WriteOnly))
        refs.write("5");
}

QString LoadAverage()
{
    double load[1] = {-1};
    return getloadavg(load, 1) == 1 ? QString::number(load[0], 'f', 2) : QStringLiteral("n/a");
}

QString Megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + " MB";
}

QString Machine()
{
    QString cpu;
    QFile info(QStringLiteral("/proc/cpuinfo"));
    if (info.open(QIODevice::ReadOnly))
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("model name")) {
                cpu = QString::fromUtf8(line.mid(line.indexOf(':') + 1).trimmed());
                break;
            }
    return QStringLiteral("%1, %2 cores, %3 (%4), Qt %5")
        .arg(cpu.isEmpty() ? QStringLiteral("unknown CPU") : cpu)
        .arg(sysconf(_SC_NPROCESSORS_ONLN))
        .arg(QSysInfo::prettyProductName(), QSysInfo::kernelVersion(), QString::fromLatin1(qVersion()));
}

namespace {

// Runs read on a read-only connection of its own to the file at path, apart
// from the program's connection.
void readFile(const QString& path, const std::function<void(QSqlQuery&)>& read)
{
    const QString name = QStringLiteral("bench-read-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            read(q);
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
}

QString schemaOf(const QString& path)
{
    QString schema;
    readFile(path, [&schema](QSqlQuery& q) {
        if (q.exec(QStringLiteral("select type, name, sql from sqlite_master where name not like 'sqlite_%' "
                                  "order by type, name")))
            while (q.next())
                schema += q.value(0).toString() + q.value(1).toString() + q.value(2).toString() + '\n';
    });
    return schema;
}

} // namespace

bool SchemaIsCurrent(const QString& path)
{
    QTemporaryDir scratch;
    const QString fresh = scratch.filePath(QStringLiteral("fresh.dat"));
    return TDM::createDatabase(fresh) && schemaOf(fresh) == schemaOf(path);
}

FileCounts CountsOf(const QString& path)
{
    FileCounts counts;
    readFile(path, [&counts](QSqlQuery& q) {
        if (q.exec(QStringLiteral("select sqlite_version(),(select count(*) from TGrade),"
                                  "(select count(*) from TStudent),(select count(*) from THonoursStd)")) &&
            q.next()) {
            counts.sqliteVersion = q.value(0).toString();
            counts.grades = q.value(1).toLongLong();
            counts.students = q.value(2).toInt();
            counts.standards = q.value(3).toLongLong();
        }
    });
    return counts;
}

} // namespace bench
