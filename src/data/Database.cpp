#include "data/Database.h"

#include "data/SqlText.h"
#include "data/SqliteHandle.h"
#include "data/uDM.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <sqlite3.h>

namespace {

DbResult connectionReady()
{
    if (!DM)
        return DbResult::failed(QStringLiteral("no data module"));
    if (!DM->ensureOpen())
        return DbResult::failed(DM->lastError());
    return {};
}

// Prepares the statement on the connection and binds its values.
DbResult run(QSqlQuery& q, const Statement& statement)
{
    if (!q.prepare(statement.text))
        return DbResult::failed(q.lastError().text());
    for (const QVariant& value : statement.values)
        q.addBindValue(value);
    if (!q.exec())
        return DbResult::failed(q.lastError().text());
    return {};
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

// One prepared statement of a streamed read, finalised when it goes out of scope.
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
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 StreamRow::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double StreamRow::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QByteArrayView StreamRow::utf8(int column) const
{
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
    QStringList fields;
    fields.reserve(columns);
    for (int i = 0; i < columns; ++i)
        fields << record.fieldName(i);
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

DbValue<qint64> insertRow(const QString& table, const FieldValues& values)
{
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    Statement insert;
    if (values.isEmpty()) {
        insert.text = QStringLiteral("insert into %1 default values").arg(table);
    } else {
        insert.text =
            QStringLiteral("insert into %1 (%2) values (%3)")
                .arg(table, joined(values, QStringLiteral("%1")), joined(values, QStringLiteral("?")));
        insert.values = valuesOf(values);
    }
    QSqlQuery q(DM->ADOLocal());
    if (DbResult done = run(q, insert); !done)
        return done;
    return q.lastInsertId().toLongLong();
}

DbResult updateRow(const QString& table, qint64 id, const FieldValues& values)
{
    if (values.isEmpty())
        return {};
    if (DbResult ready = connectionReady(); !ready)
        return ready;
    Statement update{
        QStringLiteral("update %1 set %2 where ID=?").arg(table, joined(values, QStringLiteral("%1=?"))),
        valuesOf(values)};
    update.values << id;
    QSqlQuery q(DM->ADOLocal());
    if (DbResult done = run(q, update); !done)
        return done;
    if (q.numRowsAffected() == 0)
        return DbResult::failed(QStringLiteral("the row no longer exists"));
    return {};
}

DbResult deleteRow(const QString& table, qint64 id)
{
    return execute({QStringLiteral("delete from %1 where ID=?").arg(table), {id}});
}

} // namespace Db

PreparedStatement::PreparedStatement(const QString& text)
{
    m_prepared = connectionReady();
    if (!m_prepared)
        return;
    m_query = std::make_unique<QSqlQuery>(DM->ADOLocal());
    if (!m_query->prepare(text))
        m_prepared = DbResult::failed(m_query->lastError().text());
}

PreparedStatement::~PreparedStatement() = default;

DbResult PreparedStatement::run(const QVariantList& values)
{
    if (!m_prepared)
        return m_prepared;
    for (int i = 0; i < values.size(); ++i)
        m_query->bindValue(i, values.at(i));
    if (!m_query->exec())
        return DbResult::failed(m_query->lastError().text());
    return {};
}

Transaction::Transaction()
{
    if (connectionReady())
        m_started = DM->ADOLocal().transaction();
}

Transaction::~Transaction()
{
    if (m_started && !m_done)
        DM->ADOLocal().rollback();
}

DbResult Transaction::commit()
{
    if (!m_started || m_done)
        return DbResult::failed(QStringLiteral("no transaction to commit"));
    if (!DM->ADOLocal().commit())
        return DbResult::failed(DM->ADOLocal().lastError().text());
    m_done = true;
    return {};
}
