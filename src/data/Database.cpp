#include "data/Database.h"

#include "data/LockWait.h"
#include "data/SqlEngine.h"
#include "data/SqlText.h"
#include "data/SqliteHandle.h"
#include "data/uDM.h"

#include <QScopeGuard>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace {

int openTransactions = 0;

DbResult connectionReady()
{
    if (!DM)
        return DbResult::failed(QStringLiteral("no data module"));
    if (!DM->ensureOpen())
        return DbResult::failed(DM->lastError());
    return {};
}

// Prepares the statement on the connection, binds its values and runs it.
// lockTimeout, when given, says whether it failed for another connection's lock.
DbResult run(QSqlQuery& q, const Statement& statement, bool* lockTimeout = nullptr)
{
    bool ok = q.prepare(statement.text);
    if (ok) {
        for (const QVariant& value : statement.values)
            q.addBindValue(value);
        ok = q.exec();
    }
    if (lockTimeout)
        *lockTimeout = !ok && SqlEngine::isLockTimeout(q.lastError());
    return ok ? DbResult() : DbResult::failed(q.lastError().text());
}

void setLockTimeout(const QSqlDatabase& db, const QString& scope, int ms)
{
    QSqlQuery(db).exec(ms < 0 ? QStringLiteral("set %1 lock_timeout to default").arg(scope)
                              : QStringLiteral("set %1 lock_timeout = %2").arg(scope).arg(ms));
}

// A statement that may wait for another clerk's row lock. On the server the
// wait is announced once it lasts half a second (the file's busy handler
// does the same): the statement runs with that short limit first and, if it
// had to give up, once more with the rest of the clerk's limit. Inside a
// transaction a failed statement spoils the transaction, so it runs once.
DbResult runWaiting(QSqlQuery& q, const Statement& statement)
{
    const QSqlDatabase db = DM->ADOLocal();
    if (!SqlEngine::isServer(db) || Transaction::isActive())
        return run(q, statement);
    setLockTimeout(db, QString(), LockWait::NoticeAfterMs);
    bool timedOut = false;
    DbResult done = run(q, statement, &timedOut);
    if (timedOut) {
        LockWait::announceLongWait();
        setLockTimeout(db, QString(), SqlEngine::LockTimeoutMs - LockWait::NoticeAfterMs);
        done = run(q, statement);
    }
    setLockTimeout(db, QString(), -1);
    return done;
}

// The server folds the names of unquoted columns to lower case; a field is
// named as the statement spells it, as on the file, so that windows find
// their columns and headers by the names they wrote.
QString spelledAsIn(const QString& field, const QString& text)
{
    const auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); };
    for (qsizetype at = text.indexOf(field, 0, Qt::CaseInsensitive); at >= 0;
         at = text.indexOf(field, at + 1, Qt::CaseInsensitive)) {
        const qsizetype end = at + field.size();
        if ((at == 0 || !isWordChar(text.at(at - 1))) && (end == text.size() || !isWordChar(text.at(end))))
            return text.mid(at, field.size());
    }
    return field;
}

QString joined(const FieldValues& values, const QString& each)
{
    QStringList parts;
    for (const FieldValue& v : values)
        parts << each.arg(v.field);
    return parts.join(QLatin1Char(','));
}

QVariantList valuesOf(const FieldValues& values)
{
    QVariantList list;
    for (const FieldValue& v : values)
        list << v.value;
    return list;
}

// "ID=? and <column> is not distinct from ? ...": the row only while it holds
// what was read, a null matching a null. Both engines take the same text.
QString stillAsRead(const RowImage& read, QVariantList& values)
{
    QString where = QStringLiteral("ID=?");
    values << read.id;
    for (const FieldValue& v : read.columns) {
        if (v.field.compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
            continue;
        where += QStringLiteral(" and %1 is not distinct from ?").arg(v.field);
        values << v.value;
    }
    return where;
}

DbResult changedOne(const QSqlQuery& q, const QString& table)
{
    if (q.numRowsAffected() == 0)
        return DbResult::conflict(
            QStringLiteral("the row of %1 was changed or deleted since it was read").arg(table));
    return {};
}
int bindStreamed(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (value.isNull())
        return sqlite3_bind_null(statement, index);
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return sqlite3_bind_int64(statement, index, value.toLongLong());
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble());
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
    }
    }
}

// One prepared statement of the engine's own, finalised when it goes out of scope.
class Prepared {
public:
    Prepared(sqlite3* db, const QString& text)
    {
        const QByteArray utf8 = text.toUtf8();
        m_code = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_statement, nullptr);
    }
    ~Prepared() { sqlite3_finalize(m_statement); }
    Prepared(const Prepared&) = delete;
    Prepared& operator=(const Prepared&) = delete;

    bool isPrepared() const { return m_code == SQLITE_OK && m_statement; }
    sqlite3_stmt* get() const { return m_statement; }

private:
    sqlite3_stmt* m_statement = nullptr;
    int m_code = SQLITE_ERROR;
};

} // namespace

QString Placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

bool StreamRow::isNull(int column) const
{
    if (m_values)
        return m_values->value(column).isNull();
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 StreamRow::integer(int column) const
{
    if (m_values)
        return m_values->value(column).toLongLong();
    return sqlite3_column_int64(m_statement, column);
}

double StreamRow::real(int column) const
{
    if (m_values)
        return m_values->value(column).toDouble();
    return sqlite3_column_double(m_statement, column);
}

QByteArrayView StreamRow::utf8(int column) const
{
    if (m_values) {
        if (column < 0 || column >= m_texts.size())
            return {};
        if (m_texts.at(column).isNull())
            m_texts[column] = m_values->at(column).toString().toUtf8();
        return QByteArrayView(m_texts.at(column));
    }
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(bytes, sqlite3_column_bytes(m_statement, column));
}

QString StreamRow::text(int column) const
{
    const QByteArrayView bytes = utf8(column);
    return QString::fromUtf8(bytes.data(), bytes.size());
}

RowSet::RowSet(QStringList fields, QVector<Row> rows) : m_fields(std::move(fields)), m_rows(std::move(rows))
{
}

int RowSet::indexOf(const QString& field) const
{
    const auto found = m_index.constFind(field);
    if (found != m_index.cend())
        return found.value();
    int index = -1;
    for (int i = 0; i < m_fields.size(); ++i) {
        if (m_fields.at(i).compare(field, Qt::CaseInsensitive) == 0) {
            index = i;
            break;
        }
    }
    m_index.insert(field, index);
    return index;
}

QVariant RowSet::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows.at(row).value(column);
}

QString RowSet::text(int row, const QString& field) const
{
    return FieldText(value(row, field));
}

RowImage RowSet::image(int row, const QStringList& columns) const
{
    RowImage image;
    image.id = value(row, QStringLiteral("ID")).toLongLong();
    const QStringList& names = columns.isEmpty() ? m_fields : columns;
    for (const QString& name : names) {
        if (name.compare(QLatin1String("ID"), Qt::CaseInsensitive) != 0)
            image.columns.append({name, value(row, name)});
    }
    return image;
}

namespace Db {

DbValue<RowSet> select(const Statement& statement)
{
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    QSqlQuery q(DM->ADOLocal());
    q.setForwardOnly(true);
    if (DbResult done = run(q, statement); !done)
        return done;
    if (!q.isSelect())
        return DbResult::failed(QStringLiteral("not a read: ") + statement.text);
    const QSqlRecord record = q.record();
    const int columns = record.count();
    const bool folded = SqlEngine::isServer(DM->ADOLocal());
    QStringList fields;
    fields.reserve(columns);
    for (int i = 0; i < columns; ++i)
        fields << (folded ? spelledAsIn(record.fieldName(i), statement.text) : record.fieldName(i));
    QVector<RowSet::Row> rows;
    while (q.next()) {
        RowSet::Row row(columns);
        for (int i = 0; i < columns; ++i)
            row[i] = q.value(i);
        rows.append(std::move(row));
    }
    if (q.lastError().isValid())
        return DbResult::failed(q.lastError().text());
    return RowSet(std::move(fields), std::move(rows));
}

DbResult selectEach(const Statement& statement, const std::function<void(const StreamRow&)>& visit)
{
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    if (SqlEngine::isServer(DM->ADOLocal())) {
        // Only a read may run here: outside a transaction the server is told
        // so; inside one the text must be a select.
        const bool guarded = !Transaction::isActive();
        const QString start = statement.text.trimmed().left(6).toLower();
        if (!guarded && start != QLatin1String("select"))
            return DbResult::failed(QStringLiteral("not a read: ") + statement.text);
        QSqlQuery q(DM->ADOLocal());
        if (guarded && !q.exec(QStringLiteral("begin transaction read only")))
            return DbResult::failed(q.lastError().text());
        const auto endGuard = qScopeGuard([&] {
            if (guarded)
                QSqlQuery(DM->ADOLocal()).exec(QStringLiteral("rollback"));
        });
        q.setForwardOnly(true);
        if (DbResult done = run(q, statement); !done)
            return done;
        if (!q.isSelect())
            return DbResult::failed(QStringLiteral("not a read: ") + statement.text);
        const int columns = q.record().count();
        QVector<QVariant> values(columns);
        while (q.next()) {
            for (int i = 0; i < columns; ++i)
                values[i] = q.value(i);
            visit(StreamRow(&values));
        }
        if (q.lastError().isValid())
            return DbResult::failed(q.lastError().text());
        return {};
    }
    sqlite3* db = SqliteHandle(DM->ADOLocal());
    if (!db)
        return DbResult::failed(QStringLiteral("no SQLite handle"));
    const Prepared prepared(db, statement.text);
    if (!prepared.isPrepared())
        return DbResult::failed(QString::fromUtf8(sqlite3_errmsg(db)));
    if (!sqlite3_stmt_readonly(prepared.get()))
        return DbResult::failed(QStringLiteral("not a read: ") + statement.text);
    if (sqlite3_bind_parameter_count(prepared.get()) != statement.values.size())
        return DbResult::failed(QStringLiteral("values do not match the statement's marks"));
    for (int i = 0; i < statement.values.size(); ++i) {
        if (bindStreamed(prepared.get(), i + 1, statement.values.at(i)) != SQLITE_OK)
            return DbResult::failed(QString::fromUtf8(sqlite3_errmsg(db)));
    }
    const StreamRow row(prepared.get());
    int step;
    while ((step = sqlite3_step(prepared.get())) == SQLITE_ROW)
        visit(row);
    if (step != SQLITE_DONE)
        return DbResult::failed(QString::fromUtf8(sqlite3_errmsg(db)));
    return {};
}

DbResult execute(const Statement& statement)
{
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    QSqlQuery q(DM->ADOLocal());
    return run(q, statement);
}

DbResult executeEach(const QString& text, const QVector<QVariantList>& values)
{
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    if (SqlEngine::isServer(DM->ADOLocal())) {
        QSqlQuery q(DM->ADOLocal());
        if (!q.prepare(text))
            return DbResult::failed(q.lastError().text());
        for (const QVariantList& list : values) {
            for (int i = 0; i < list.size(); ++i)
                q.bindValue(i, list.at(i));
            if (!q.exec())
                return DbResult::failed(q.lastError().text());
        }
        return {};
    }
    // On the file straight through SQLite: Qt's driver would name every "?"
    // of the text, and SQLite look each name up among the ones before it.
    sqlite3* db = SqliteHandle(DM->ADOLocal());
    if (!db)
        return DbResult::failed(QStringLiteral("no SQLite handle"));
    const Prepared prepared(db, text);
    if (!prepared.isPrepared())
        return DbResult::failed(QString::fromUtf8(sqlite3_errmsg(db)));
    sqlite3_stmt* statement = prepared.get();
    for (const QVariantList& list : values) {
        if (sqlite3_bind_parameter_count(statement) != list.size())
            return DbResult::failed(QStringLiteral("values do not match the statement's marks"));
        for (int i = 0; i < list.size(); ++i) {
            if (bindStreamed(statement, i + 1, list.at(i)) != SQLITE_OK)
                return DbResult::failed(QString::fromUtf8(sqlite3_errmsg(db)));
        }
        int step;
        while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        }
        if (step != SQLITE_DONE)
            return DbResult::failed(QString::fromUtf8(sqlite3_errmsg(db)));
        sqlite3_reset(statement);
    }
    return {};
}

DbValue<qint64> insertRow(const QString& table, const FieldValues& values)
{
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    Statement insert;
    if (values.isEmpty()) {
        insert.text = QStringLiteral("insert into %1 default values returning ID").arg(table);
    } else {
        insert.text = QStringLiteral("insert into %1 (%2) values (%3) returning ID")
                          .arg(table, joined(values, QStringLiteral("%1")),
                               QStringList(values.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        insert.values = valuesOf(values);
    }
    QSqlQuery q(DM->ADOLocal());
    if (DbResult done = run(q, insert); !done)
        return done;
    if (!q.next())
        return DbResult::failed(QStringLiteral("the new row's ID did not come back"));
    return q.value(0).toLongLong();
}

DbResult updateRow(const QString& table, const RowImage& read, const FieldValues& values)
{
    if (values.isEmpty())
        return {};
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    Statement update{QString(), valuesOf(values)};
    const QString where = stillAsRead(read, update.values);
    update.text =
        QStringLiteral("update %1 set %2 where %3").arg(table, joined(values, QStringLiteral("%1=?")), where);
    QSqlQuery q(DM->ADOLocal());
    if (DbResult done = runWaiting(q, update); !done)
        return done;
    return changedOne(q, table);
}

DbResult deleteRow(const QString& table, const RowImage& read)
{
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    Statement remove;
    const QString where = stillAsRead(read, remove.values);
    remove.text = QStringLiteral("delete from %1 where %2").arg(table, where);
    QSqlQuery q(DM->ADOLocal());
    if (DbResult done = runWaiting(q, remove); !done)
        return done;
    return changedOne(q, table);
}

} // namespace Db

Transaction::Transaction(Kind kind) : m_kind(kind)
{
    if (connectionReady())
        m_started = bool(begin());
    if (m_started)
        ++openTransactions;
}

DbResult Transaction::begin()
{
    QSqlDatabase db = DM->ADOLocal();
    // On the file a writer takes the write lock at once: two writers that
    // both first read would otherwise find each other out only at their
    // first write, and one of them would fail without waiting.
    if (m_kind == Kind::Write && !SqlEngine::isServer(db)) {
        QSqlQuery q(db);
        return q.exec(QStringLiteral("begin immediate")) ? DbResult()
                                                         : DbResult::failed(q.lastError().text());
    }
    return db.transaction() ? DbResult() : DbResult::failed(db.lastError().text());
}

Transaction::~Transaction()
{
    if (m_started && !m_done) {
        DM->ADOLocal().rollback();
        --openTransactions;
    }
}

bool Transaction::isActive()
{
    return openTransactions > 0;
}

DbResult Transaction::lock(const Statement& rows, bool noneFoundFails)
{
    if (!m_started || m_done)
        return DbResult::failed(QStringLiteral("no transaction to lock in"));
    QSqlDatabase db = DM->ADOLocal();
    if (!SqlEngine::isServer(db))
        return {};
    const Statement locking{rows.text + QStringLiteral(" for update"), rows.values};
    setLockTimeout(db, QStringLiteral("local"), LockWait::NoticeAfterMs);
    QSqlQuery q(db);
    bool timedOut = false;
    DbResult locked = run(q, locking, &timedOut);
    if (timedOut) {
        // Nothing ran before the lock, so the transaction starts again.
        q.finish();
        db.rollback();
        LockWait::announceLongWait();
        if (DbResult again = begin(); !again) {
            m_done = true;
            --openTransactions;
            return again;
        }
        setLockTimeout(db, QStringLiteral("local"), SqlEngine::LockTimeoutMs - LockWait::NoticeAfterMs);
        locked = run(q, locking);
    }
    if (!locked)
        return locked;
    const bool found = q.next();
    q.finish();
    setLockTimeout(db, QStringLiteral("local"), -1);
    return found || !noneFoundFails ? DbResult()
                                    : DbResult::failed(QStringLiteral("the row to lock does not exist"));
}

DbResult Transaction::commit()
{
    if (!m_started || m_done)
        return DbResult::failed(QStringLiteral("no transaction to commit"));
    if (!DM->ADOLocal().commit())
        return DbResult::failed(DM->ADOLocal().lastError().text());
    m_done = true;
    --openTransactions;
    return {};
}
