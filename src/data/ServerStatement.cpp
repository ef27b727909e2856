#include "data/ServerStatement.h"

#include "data/Database.h"

#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QTime>
#include <QtNumeric>

#include <charconv>
#include <libpq-fe.h>

namespace {

// The server's type identifiers (pg_type.oid) that the driver reads as numbers or truth values.
constexpr Oid BoolOid = 16, Int8Oid = 20, Int2Oid = 21, Int4Oid = 23, RegprocOid = 24, OidOid = 26,
              XidOid = 28, CidOid = 29, Float4Oid = 700, Float8Oid = 701, NumericOid = 1700;

// A bound value as the server reads it in text; a byte array goes as it is.
QByteArray parameter(const QVariant& value, int& format)
{
    format = 0;
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QByteArrayLiteral("true") : QByteArrayLiteral("false");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return QByteArray::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return QByteArray::number(value.toULongLong());
    case QMetaType::Float:
    case QMetaType::Double: {
        const double d = value.toDouble();
        if (qIsNaN(d))
            return QByteArrayLiteral("NaN");
        if (qIsInf(d))
            return d > 0 ? QByteArrayLiteral("Infinity") : QByteArrayLiteral("-Infinity");
        // The shortest text that reads back as the same double.
        return QByteArray::number(d, 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::QByteArray:
        format = 1;
        return value.toByteArray();
    case QMetaType::QDate:
        return value.toDate().toString(Qt::ISODate).toLatin1();
    case QMetaType::QTime:
        return value.toTime().toString(Qt::ISODateWithMs).toLatin1();
    case QMetaType::QDateTime:
        return value.toDateTime().toString(Qt::ISODateWithMs).toLatin1();
    default:
        return value.toString().toUtf8();
    }
}

// The values of a statement as libpq takes them.
class Parameters {
public:
    explicit Parameters(const QVariantList& list)
        : m_texts(list.size()), m_values(list.size(), nullptr), m_lengths(list.size(), 0),
          m_formats(list.size(), 0)
    {
        for (int i = 0; i < list.size(); ++i) {
            const QVariant& value = list.at(i);
            if (value.isNull())
                continue; // a null is no text at all
            m_texts[i] = parameter(value, m_formats[i]);
            m_values[i] = m_texts.at(i).constData();
            m_lengths[i] = int(m_texts.at(i).size());
        }
    }
    int count() const { return int(m_values.size()); }
    const char* const* values() const { return m_values.constData(); }
    const int* lengths() const { return m_lengths.constData(); }
    const int* formats() const { return m_formats.constData(); }

private:
    QVector<QByteArray> m_texts;
    QVector<const char*> m_values;
    QVector<int> m_lengths;
    QVector<int> m_formats;
};

DbResult MarksMismatch(int marks, int values)
{
    return DbResult::failed(
        QStringLiteral("the statement has %1 marks for %2 values").arg(marks).arg(values));
}

double readDouble(QByteArrayView text)
{
    if (text == "NaN")
        return qQNaN();
    if (text == "Infinity")
        return qInf();
    if (text == "-Infinity")
        return -qInf();
    double d = 0;
    std::from_chars(text.data(), text.data() + text.size(), d);
    return d;
}

} // namespace

pg_conn* ServerStatement::connectionOf(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.constData());
}

pg_conn* ServerStatement::handleOf(const QSqlDatabase& db)
{
    PGconn* connection = connectionOf(db);
    // A read of the driver's that is still being fetched holds the connection.
    if (!connection || PQstatus(connection) != CONNECTION_OK ||
        PQtransactionStatus(connection) == PQTRANS_ACTIVE || PQisBusy(connection))
        return nullptr;
    return connection;
}

QByteArray ServerStatement::numbered(const QString& text, int* count)
{
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 16);
    int marks = 0;
    char quote = 0;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8.at(i);
        if (quote) {
            // A doubled quote inside stays inside: the scan leaves and enters again.
            if (c == quote)
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '?') {
            out += '$';
            out += QByteArray::number(++marks);
            continue;
        }
        out += c;
    }
    if (count)
        *count = marks;
    return out;
}

ServerStatement::ServerStatement(pg_conn* connection, const Statement& statement)
{
    int marks = 0;
    const QByteArray text = numbered(statement.text, &marks);
    if (marks != statement.values.size()) {
        m_result = MarksMismatch(marks, int(statement.values.size()));
        return;
    }
    const Parameters p(statement.values);
    take(connection, PQexecParams(connection, text.constData(), p.count(), nullptr, p.values(), p.lengths(),
                                  p.formats(), 0));
}

ServerStatement::ServerStatement(pg_conn* connection, const QByteArray& name, const QVariantList& values)
{
    const Parameters p(values);
    take(connection,
         PQexecPrepared(connection, name.constData(), p.count(), p.values(), p.lengths(), p.formats(), 0));
}

void ServerStatement::take(pg_conn* connection, pg_result* answer)
{
    m_answer = answer;
    const ExecStatusType status = m_answer ? PQresultStatus(m_answer) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        m_sqlState = m_answer ? QByteArray(PQresultErrorField(m_answer, PG_DIAG_SQLSTATE)) : QByteArray();
        m_result = DbResult::failed(
            QString::fromUtf8(m_answer ? PQresultErrorMessage(m_answer) : PQerrorMessage(connection))
                .trimmed());
        return;
    }
    const int columns = PQnfields(m_answer);
    m_kinds.reserve(columns);
    for (int c = 0; c < columns; ++c) {
        switch (PQftype(m_answer, c)) {
        case BoolOid:
            m_kinds.append(Kind::Bool);
            break;
        case Int8Oid:
            m_kinds.append(Kind::LongLong);
            break;
        case Int2Oid:
        case Int4Oid:
        case OidOid:
        case RegprocOid:
        case XidOid:
        case CidOid:
            m_kinds.append(Kind::Int);
            break;
        case Float4Oid:
        case Float8Oid:
        case NumericOid:
            m_kinds.append(Kind::Double);
            break;
        default:
            m_kinds.append(Kind::Text);
        }
    }
}

ServerStatement::~ServerStatement()
{
    PQclear(m_answer);
}

bool ServerStatement::isRead() const
{
    return m_result && PQresultStatus(m_answer) == PGRES_TUPLES_OK;
}

bool ServerStatement::lockTimedOut() const
{
    return m_sqlState == "55P03"; // lock_not_available, which lock_timeout raises
}

int ServerStatement::rowCount() const
{
    return m_result ? PQntuples(m_answer) : 0;
}

int ServerStatement::columnCount() const
{
    return int(m_kinds.size());
}

QString ServerStatement::fieldName(int column) const
{
    return QString::fromUtf8(PQfname(m_answer, column));
}

bool ServerStatement::isNull(int row, int column) const
{
    return PQgetisnull(m_answer, row, column) != 0;
}

QByteArrayView ServerStatement::text(int row, int column) const
{
    return QByteArrayView(PQgetvalue(m_answer, row, column), PQgetlength(m_answer, row, column));
}

QVariant ServerStatement::value(int row, int column) const
{
    const Kind kind = m_kinds.at(column);
    if (isNull(row, column)) {
        switch (kind) {
        case Kind::Bool:
            return QVariant(QMetaType::fromType<bool>());
        case Kind::Int:
            return QVariant(QMetaType::fromType<int>());
        case Kind::LongLong:
            return QVariant(QMetaType::fromType<qlonglong>());
        case Kind::Double:
            return QVariant(QMetaType::fromType<double>());
        case Kind::Text:
            return QVariant(QMetaType::fromType<QString>());
        }
    }
    const QByteArrayView bytes = text(row, column);
    switch (kind) {
    case Kind::Bool:
        return bytes.startsWith('t');
    case Kind::Int:
        return int(integer(row, column));
    case Kind::LongLong:
        // As the driver reads it: a bigint that is not negative comes as unsigned.
        if (bytes.startsWith('-'))
            return qlonglong(integer(row, column));
        return qulonglong(integer(row, column));
    case Kind::Double:
        return readDouble(bytes);
    case Kind::Text:
        break;
    }
    return QString::fromUtf8(bytes.data(), bytes.size());
}

qint64 ServerStatement::integer(int row, int column) const
{
    const QByteArrayView bytes = text(row, column);
    if (m_kinds.at(column) == Kind::Double)
        return qint64(readDouble(bytes)); // as SQLite reads a real as an integer: cut toward zero
    qint64 n = 0;
    std::from_chars(bytes.data(), bytes.data() + bytes.size(), n);
    return n;
}

double ServerStatement::real(int row, int column) const
{
    return readDouble(text(row, column));
}

qint64 ServerStatement::affectedRows() const
{
    if (!m_answer)
        return 0;
    const QByteArrayView tuples(PQcmdTuples(m_answer));
    qint64 n = 0;
    std::from_chars(tuples.data(), tuples.data() + tuples.size(), n);
    return n;
}

ServerPrepared::ServerPrepared(pg_conn* connection, const QString& text) : m_connection(connection)
{
    static int made = 0;
    m_name = "grades_" + QByteArray::number(++made);
    const QByteArray numberedText = ServerStatement::numbered(text, &m_marks);
    PGresult* prepared = PQprepare(connection, m_name.constData(), numberedText.constData(), 0, nullptr);
    if (!prepared || PQresultStatus(prepared) != PGRES_COMMAND_OK)
        m_result = DbResult::failed(
            QString::fromUtf8(prepared ? PQresultErrorMessage(prepared) : PQerrorMessage(connection))
                .trimmed());
    PQclear(prepared);
}

DbResult ServerPrepared::run(const QVariantList& values) const
{
    if (!m_result)
        return m_result;
    if (values.size() != m_marks)
        return MarksMismatch(m_marks, int(values.size()));
    return ServerStatement(m_connection, m_name, values).result();
}

void ServerPrepared::release()
{
    // Refused inside a failed transaction, where it is freed with the connection instead.
    if (m_result)
        PQclear(PQexec(m_connection, ("deallocate " + m_name).constData()));
}
