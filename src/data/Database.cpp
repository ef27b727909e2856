#include "data/Database.h"

#include "data/LockWait.h"
#include "data/ServerStatement.h"
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

// What a statement that answers no rows did, whichever way it ran.
struct Done {
    DbResult result;
    bool lockTimedOut = false;
    qint64 affected = 0;
    bool anyRow = false; // it answered a row (a lock's select)
};

// On a server, a statement goes through libpq on the driver's handle (one
// round trip, see ServerStatement) whenever the connection can take it; on
// the file, and on a server connection busy with a read of the driver's,
// through the driver.
pg_conn* serverHandle(const QSqlDatabase& db)
{
    return SqlEngine::isServer(db) ? ServerStatement::handleOf(db) : nullptr;
}

Done perform(const QSqlDatabase& db, const Statement& statement)
{
    Done done;
    if (pg_conn* connection = serverHandle(db)) {
        const ServerStatement ran(connection, statement);
        done.result = ran.result();
        done.lockTimedOut = ran.lockTimedOut();
        done.affected = ran.affectedRows();
        done.anyRow = ran.rowCount() > 0;
        return done;
    }
    QSqlQuery q(db);
    done.result = run(q, statement, &done.lockTimedOut);
    if (done.result) {
        done.affected = q.numRowsAffected();
        done.anyRow = q.isSelect() && q.next();
    }
    return done;
}

void setLockTimeout(const QSqlDatabase& db, const QString& scope, int ms)
{
    perform(db, {ms < 0 ? QStringLiteral("set %1 lock_timeout to default").arg(scope)
                        : QStringLiteral("set %1 lock_timeout = %2").arg(scope).arg(ms),
                 {}});
}

// A statement that may wait for another clerk's row lock. On the server the
// wait is announced once it lasts half a second (the file's busy handler
// does the same): the statement runs with that short limit first and, if it
// had to give up, once more with the rest of the clerk's limit. Inside a
// transaction a failed statement spoils the transaction, so it runs once.
Done runWaiting(const Statement& statement)
{
    const QSqlDatabase db = DM->ADOLocal();
    if (!SqlEngine::isServer(db) || Transaction::isActive())
        return perform(db, statement);
    setLockTimeout(db, QString(), LockWait::NoticeAfterMs);
    Done done = perform(db, statement);
    if (done.lockTimedOut) {
        LockWait::announceLongWait();
        setLockTimeout(db, QString(), SqlEngine::LockTimeoutMs - LockWait::NoticeAfterMs);
        done = perform(db, statement);
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

DbResult changedOne(const Done& done, const QString& table)
{
    if (!done.result)
        return done.result;
    if (done.affected == 0)
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

} // namespace

// One statement prepared by SQLite itself, finalised when it goes out of
// scope: Qt's driver would name every "?" of a text, and SQLite look each
// name up among the ones before it, which costs with the square of a long
// values list.
class SqlitePrepared {
public:
    SqlitePrepared(sqlite3* db, const QString& text) : m_db(db)
    {
        const QByteArray utf8 = text.toUtf8();
        m_code = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_statement, nullptr);
    }
    ~SqlitePrepared() { sqlite3_finalize(m_statement); }
    SqlitePrepared(const SqlitePrepared&) = delete;
    SqlitePrepared& operator=(const SqlitePrepared&) = delete;

    bool isPrepared() const { return m_code == SQLITE_OK && m_statement; }
    sqlite3_stmt* get() const { return m_statement; }
    DbResult failure() const { return DbResult::failed(QString::fromUtf8(sqlite3_errmsg(m_db))); }

    // Gives every mark its value, first to last.
    DbResult bind(const QVariantList& values) const
    {
        if (sqlite3_bind_parameter_count(m_statement) != values.size())
            return DbResult::failed(QStringLiteral("the statement has %1 marks for %2 values")
                                        .arg(sqlite3_bind_parameter_count(m_statement))
                                        .arg(values.size()));
        for (int i = 0; i < values.size(); ++i) {
            if (bindStreamed(m_statement, i + 1, values.at(i)) != SQLITE_OK)
                return failure();
        }
        return {};
    }

    // A write: bound, run to its end and reset for the next, failed or not.
    DbResult run(const QVariantList& values) const
    {
        DbResult done = bind(values);
        if (done) {
            int step;
            while ((step = sqlite3_step(m_statement)) == SQLITE_ROW) {
            }
            if (step != SQLITE_DONE)
                done = failure();
        }
        sqlite3_reset(m_statement);
        return done;
    }

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
    int m_code = SQLITE_ERROR;
};

QString Placeholders(int count)
{
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

QString Tuples(int count, const QString& tuple)
{
    QStringList tuples;
    tuples.reserve(count);
    for (int i = 0; i < count; ++i)
        tuples << tuple;
    return tuples.join(QLatin1Char(','));
}

QString Tuples(int count, int width)
{
    return Tuples(count, QLatin1Char('(') + Placeholders(width) + QLatin1Char(')'));
}

int RowsPerStatement()
{
    return DM && SqlEngine::isServer(DM->ADOLocal()) ? 1000 : 50;
}

bool StreamRow::isNull(int column) const
{
    if (m_answer)
        return m_answer->isNull(m_row, column);
    if (m_values)
        return m_values->value(column).isNull();
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 StreamRow::integer(int column) const
{
    if (m_answer)
        return m_answer->integer(m_row, column);
    if (m_values)
        return m_values->value(column).toLongLong();
    return sqlite3_column_int64(m_statement, column);
}

double StreamRow::real(int column) const
{
    if (m_answer)
        return m_answer->real(m_row, column);
    if (m_values)
        return m_values->value(column).toDouble();
    return sqlite3_column_double(m_statement, column);
}

QByteArrayView StreamRow::utf8(int column) const
{
    if (m_answer)
        return m_answer->text(m_row, column);
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
    if (pg_conn* connection = serverHandle(DM->ADOLocal())) {
        const ServerStatement read(connection, statement);
        if (!read.result())
            return read.result();
        if (!read.isRead())
            return DbResult::failed(QStringLiteral("not a read: ") + statement.text);
        const int columns = read.columnCount();
        QStringList fields;
        fields.reserve(columns);
        for (int i = 0; i < columns; ++i)
            fields << spelledAsIn(read.fieldName(i), statement.text);
        QVector<RowSet::Row> rows;
        rows.reserve(read.rowCount());
        for (int r = 0; r < read.rowCount(); ++r) {
            RowSet::Row row(columns);
            for (int i = 0; i < columns; ++i)
                row[i] = read.value(r, i);
            rows.append(std::move(row));
        }
        return RowSet(std::move(fields), std::move(rows));
    }
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
    if (pg_conn* connection = serverHandle(DM->ADOLocal())) {
        // Only a read may run here: its text must be a select.
        if (statement.text.trimmed().left(6).toLower() != QLatin1String("select"))
            return DbResult::failed(QStringLiteral("not a read: ") + statement.text);
        const ServerStatement read(connection, statement);
        if (!read.result())
            return read.result();
        if (!read.isRead())
            return DbResult::failed(QStringLiteral("not a read: ") + statement.text);
        for (int r = 0; r < read.rowCount(); ++r)
            visit(StreamRow(&read, r));
        return {};
    }
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
    const SqlitePrepared prepared(db, statement.text);
    if (!prepared.isPrepared())
        return prepared.failure();
    if (!sqlite3_stmt_readonly(prepared.get()))
        return DbResult::failed(QStringLiteral("not a read: ") + statement.text);
    if (DbResult bound = prepared.bind(statement.values); !bound)
        return bound;
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
    return perform(DM->ADOLocal(), statement).result;
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
    if (pg_conn* connection = serverHandle(DM->ADOLocal())) {
        const ServerStatement inserted(connection, insert);
        if (!inserted.result())
            return inserted.result();
        if (inserted.rowCount() == 0)
            return DbResult::failed(QStringLiteral("the new row's ID did not come back"));
        return inserted.integer(0, 0);
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
    return changedOne(runWaiting(update), table);
}

DbResult deleteRow(const QString& table, const RowImage& read)
{
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    Statement remove;
    const QString where = stillAsRead(read, remove.values);
    remove.text = QStringLiteral("delete from %1 where %2").arg(table, where);
    return changedOne(runWaiting(remove), table);
}

} // namespace Db

PreparedStatement::PreparedStatement(const QString& text)
{
    m_prepared = connectionReady();
    if (!m_prepared)
        return;
    if (pg_conn* connection = serverHandle(DM->ADOLocal())) {
        m_server = std::make_unique<ServerPrepared>(connection, text);
        m_prepared = m_server->result();
        return;
    }
    sqlite3* db = SqliteHandle(DM->ADOLocal());
    if (!db) {
        m_prepared = DbResult::failed(QStringLiteral("no SQLite handle"));
        return;
    }
    m_file = std::make_unique<SqlitePrepared>(db, text);
    if (!m_file->isPrepared())
        m_prepared = m_file->failure();
}

namespace {

// The server connection a statement was prepared on is still the data module's.
bool stillConnected(const ServerPrepared& prepared)
{
    return DM && ServerStatement::connectionOf(DM->ADOLocal()) == prepared.connection();
}

} // namespace

PreparedStatement::~PreparedStatement()
{
    if (m_server && stillConnected(*m_server) && ServerStatement::handleOf(DM->ADOLocal()))
        m_server->release();
}

DbResult PreparedStatement::run(const QVariantList& values)
{
    if (!m_prepared)
        return m_prepared;
    if (m_server) {
        if (!stillConnected(*m_server) || !ServerStatement::handleOf(DM->ADOLocal()))
            return DbResult::failed(QStringLiteral("the connection it was prepared on is busy or closed"));
        return m_server->run(values);
    }
    return m_file->run(values);
}

BatchedWrite::BatchedWrite(QString text, QString tuple, int width, QVariantList leading,
                           QVariantList trailing)
    : m_text(std::move(text)),
      m_tuple(std::move(tuple)),
      m_width(width),
      m_rows(RowsPerStatement()),
      m_leading(std::move(leading)),
      m_trailing(std::move(trailing))
{
}

QVariantList BatchedWrite::valuesOfWaiting() const
{
    return m_leading + m_waiting + m_trailing;
}

DbResult BatchedWrite::add(const QVariantList& row)
{
    Q_ASSERT(row.size() == m_width);
    m_waiting << row;
    if (m_waiting.size() < m_rows * m_width)
        return {};
    if (!m_full)
        m_full = std::make_unique<PreparedStatement>(m_text.arg(Tuples(m_rows, m_tuple)));
    const DbResult done = m_full->run(valuesOfWaiting());
    m_waiting.clear();
    return done;
}

DbResult BatchedWrite::flush()
{
    if (m_waiting.isEmpty())
        return {};
    const Statement rest{m_text.arg(Tuples(int(m_waiting.size()) / m_width, m_tuple)), valuesOfWaiting()};
    m_waiting.clear();
    return Db::execute(rest);
}

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
    Done locked = perform(db, locking);
    if (locked.lockTimedOut) {
        // Nothing ran before the lock, so the transaction starts again.
        db.rollback();
        LockWait::announceLongWait();
        if (DbResult again = begin(); !again) {
            m_done = true;
            --openTransactions;
            return again;
        }
        setLockTimeout(db, QStringLiteral("local"), SqlEngine::LockTimeoutMs - LockWait::NoticeAfterMs);
        locked = perform(db, locking);
    }
    if (!locked.result)
        return locked.result;
    const bool found = locked.anyRow;
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
