#include "data/RowReader.h"

#include "data/SqliteHandle.h"
#include "data/uDM.h"

#include <sqlite3.h>

namespace {

bool bind(sqlite3_stmt* statement, int index, const QVariant& value)
{
    if (value.isNull())
        return sqlite3_bind_null(statement, index) == SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::Bool:
        return sqlite3_bind_int64(statement, index, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
        return sqlite3_bind_double(statement, index, value.toDouble()) == SQLITE_OK;
    default: {
        const QByteArray text = value.toString().toUtf8();
        return sqlite3_bind_text(statement, index, text.constData(), int(text.size()), SQLITE_TRANSIENT) ==
               SQLITE_OK;
    }
    }
}

} // namespace

RowReader::RowReader(const QString& sql, const QVariantList& values)
{
    sqlite3* db = DM && DM->ensureOpen() ? SqliteHandle(DM->ADOLocal()) : nullptr;
    const QByteArray text = sql.toUtf8();
    if (!db ||
        sqlite3_prepare_v2(db, text.constData(), int(text.size()), &m_statement, nullptr) != SQLITE_OK ||
        !m_statement) {
        m_failed = true;
        return;
    }
    for (int i = 0; i < values.size(); ++i) {
        if (!bind(m_statement, i + 1, values.at(i))) {
            m_failed = true;
            return;
        }
    }
}

RowReader::~RowReader()
{
    sqlite3_finalize(m_statement);
}

bool RowReader::next()
{
    if (m_failed || !m_statement)
        return false;
    const int step = sqlite3_step(m_statement);
    if (step == SQLITE_ROW)
        return true;
    if (step != SQLITE_DONE)
        m_failed = true;
    sqlite3_finalize(m_statement);
    m_statement = nullptr;
    return false;
}

bool RowReader::isNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

qint64 RowReader::integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

double RowReader::real(int column) const
{
    return sqlite3_column_double(m_statement, column);
}

QByteArrayView RowReader::utf8(int column) const
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return QByteArrayView(bytes, sqlite3_column_bytes(m_statement, column));
}

QString RowReader::text(int column) const
{
    const QByteArrayView bytes = utf8(column);
    return QString::fromUtf8(bytes.data(), bytes.size());
}
