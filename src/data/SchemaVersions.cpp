#include "data/SchemaVersions.h"

#include "data/ScratchConnection.h"
#include "data/SqlEngine.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// The tables SQLite makes by itself for ANALYZE; any file may have them.
const QHash<QString, QString>& statisticsTables()
{
    static const QHash<QString, QString> tables{
        {QStringLiteral("sqlite_stat1"),
         SchemaVersions::normalised("CREATE TABLE sqlite_stat1(tbl,idx,stat)")},
        {QStringLiteral("sqlite_stat4"),
         SchemaVersions::normalised("CREATE TABLE sqlite_stat4(tbl,idx,neq,nlt,ndlt,sample)")},
    };
    return tables;
}

DbResult run(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return {};
    return DbResult::failed(q.lastError().text() + QStringLiteral(": ") + sql);
}

} // namespace

SchemaVersions::SchemaVersions(const QString& script)
{
    static const QRegularExpression header(QStringLiteral("^--\\s*version\\s+(\\d+)\\s*:"));
    QString statement;
    for (const QString& line : script.split(QLatin1Char('\n'))) {
        const QString trimmed = line.trimmed();
        const QRegularExpressionMatch match = header.match(trimmed);
        if (match.hasMatch()) {
            if (match.captured(1).toInt() != m_sections.size() + 1)
                m_error = QStringLiteral("section %1 is out of order").arg(match.captured(1));
            m_sections.append(QStringList());
            continue;
        }
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1String("--")))
            continue;
        if (m_sections.isEmpty()) {
            m_error = QStringLiteral("a statement stands before the first version");
            continue;
        }
        // A statement ends with the line that ends in ";".
        statement += line + QLatin1Char('\n');
        if (trimmed.endsWith(QLatin1Char(';'))) {
            statement = statement.trimmed();
            statement.chop(1);
            m_sections.last().append(statement);
            statement.clear();
        }
    }
    if (!statement.trimmed().isEmpty())
        m_error = QStringLiteral("the last statement has no \";\"");
}

const SchemaVersions& SchemaVersions::program()
{
    static const SchemaVersions versions(programScript());
    return versions;
}

QString SchemaVersions::programScript()
{
    QFile file(QStringLiteral(":/schema.sql"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList SchemaVersions::statements(int version) const
{
    return version >= 1 && version <= current() ? m_sections.at(version - 1) : QStringList();
}

QStringList SchemaVersions::objects(int version) const
{
    if (version < 1 || version > current() || !m_error.isEmpty())
        return {};
    auto cached = m_objects.constFind(version);
    if (cached != m_objects.constEnd())
        return *cached;
    QStringList objects;
    {
        ScratchConnection memory(QStringLiteral(":memory:"));
        QSqlDatabase db = memory.db();
        bool ok = db.open();
        for (int v = 1; ok && v <= version; ++v)
            for (const QString& sql : statements(v))
                ok = ok && run(db, sql);
        if (ok)
            objects = objectsIn(db).value();
    }
    m_objects.insert(version, objects);
    return objects;
}

DbValue<QStringList> SchemaVersions::objectsIn(const QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("select type, name, tbl_name, sql from sqlite_master")))
        return DbResult::failed(q.lastError().text());
    QStringList objects;
    while (q.next()) {
        const QString type = q.value(0).toString().toLower();
        const QString name = q.value(1).toString().toLower();
        const QString sql = normalised(q.value(3).toString());
        if (type == QLatin1String("table") && statisticsTables().value(name) == sql)
            continue;
        objects << type + QLatin1Char(' ') + name + QLatin1Char(' ') + q.value(2).toString().toLower() +
                       QLatin1Char(' ') + sql;
    }
    objects.sort();
    return objects;
}

DbValue<SchemaVersions::Found> SchemaVersions::identify(const QSqlDatabase& db) const
{
    if (!m_error.isEmpty())
        return DbResult::failed(m_error);
    if (SqlEngine::isServer(db))
        return identifyOnServer(db);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return DbResult::failed(q.lastError().text());
    const int stamp = q.value(0).toInt();
    q.finish();
    if (stamp < 0 || stamp > current())
        return DbResult::failed(QStringLiteral("version %1 is not known").arg(stamp));
    const int version = stamp == 0 ? 1 : stamp;
    const DbValue<QStringList> found = objectsIn(db);
    if (!found)
        return found;
    const QStringList expected = objects(version);
    if (expected.isEmpty())
        return DbResult::failed(QStringLiteral("the schema of version %1 cannot be built").arg(version));
    if (*found != expected)
        return DbResult::failed(QStringLiteral("the schema is not that of version %1").arg(version));
    return Found{version, stamp != 0};
}

DbValue<SchemaVersions::Found> SchemaVersions::identifyOnServer(const QSqlDatabase& db) const
{
    QSqlQuery q(db);
    if (!q.exec(SqlEngine::serverStampQuery()) || !q.next())
        return DbResult::failed(q.lastError().text());
    const int version = SqlEngine::serverStampVersion(q.value(0).toString());
    if (version < 1 || version > current())
        return DbResult::failed(QStringLiteral("the database carries no known schema version"));
    return Found{version, true};
}

DbResult SchemaVersions::upgrade(const QSqlDatabase& db, int from) const
{
    if (!m_error.isEmpty())
        return DbResult::failed(m_error);
    if (from < 0 || from > current())
        return DbResult::failed(QStringLiteral("version %1 is not known").arg(from));
    QSqlDatabase connection = db;
    if (!connection.transaction())
        return DbResult::failed(connection.lastError().text());
    DbResult result = steps(db, from);
    if (result && !connection.commit())
        result = DbResult::failed(connection.lastError().text());
    if (!result)
        connection.rollback();
    return result;
}

DbResult SchemaVersions::steps(const QSqlDatabase& db, int from) const
{
    const bool server = SqlEngine::isServer(db);
    for (int v = from + 1; v <= current(); ++v)
        for (const QString& sql : statements(v))
            if (DbResult done = run(db, server ? SqlEngine::serverDdl(sql) : sql); !done)
                return done;
    // The server checks every reference as the rows change.
    if (server)
        return run(db, SqlEngine::serverStampStatement(current()));
    if (DbResult stamped = run(db, QStringLiteral("PRAGMA user_version=%1").arg(current())); !stamped)
        return stamped;
    // Rows that a step moved must still refer to what exists.
    if (from > 0 && from < current()) {
        QSqlQuery check(db);
        if (!check.exec(QStringLiteral("PRAGMA foreign_key_check")))
            return DbResult::failed(check.lastError().text());
        if (check.next())
            return DbResult::failed(
                QStringLiteral("the upgrade left a reference to %1 unmet").arg(check.value(2).toString()));
    }
    return {};
}

QString SchemaVersions::normalised(const QString& sql)
{
    static const QString tight = QStringLiteral("(),");
    QString out;
    out.reserve(sql.size());
    bool blank = false;
    const int n = sql.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = sql.at(i);
        const QChar next = i + 1 < n ? sql.at(i + 1) : QChar();
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            while (i < n && sql.at(i) != QLatin1Char('\n'))
                ++i;
            blank = true;
            continue;
        }
        if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const int end = sql.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 1;
            blank = true;
            continue;
        }
        if (c.isSpace()) {
            blank = true;
            continue;
        }
        if (blank && !out.isEmpty() && !tight.contains(c) && !tight.contains(out.back()))
            out += QLatin1Char(' ');
        blank = false;
        if (c == QLatin1Char('\'')) {
            // A literal as it stands, its doubled quotes included.
            int end = i + 1;
            for (; end < n; ++end) {
                if (sql.at(end) != QLatin1Char('\''))
                    continue;
                if (end + 1 < n && sql.at(end + 1) == QLatin1Char('\'')) {
                    ++end;
                    continue;
                }
                break;
            }
            out += sql.mid(i, end - i + 1);
            i = end;
            continue;
        }
        out += c.toLower();
    }
    return out;
}
