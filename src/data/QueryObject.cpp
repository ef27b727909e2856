#include "data/QueryObject.h"

#include "data/SqlText.h"
#include "data/uDM.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>

namespace {

bool connectionReady(QString* error)
{
    if (DM && DM->ensureOpen())
        return true;
    *error = DM ? DM->lastError() : QStringLiteral("no data module");
    return false;
}

bool isIntegerType(QMetaType::Type type)
{
    switch (type) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

} // namespace

QueryObject::QueryObject(QObject* parent) : QObject(parent) {}

void QueryObject::close()
{
    if (!m_active && m_rows.isEmpty())
        return;
    emit aboutToReset();
    m_active = false;
    m_rows.clear();
    setColumns(QSqlRecord());
    m_current = -1;
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
    emit reset();
    emit currentRowChanged(-1);
}

void QueryObject::setSql(const QString& sql)
{
    m_sql = sql;
}

bool QueryObject::open()
{
    close();
    if (!connectionReady(&m_lastError))
        return false;
    QSqlQuery q(DM->ADOLocal());
    q.setForwardOnly(true);
    if (!q.exec(m_sql) || !q.isSelect()) {
        m_lastError = q.lastError().text();
        return false;
    }
    const int columns = q.record().count();
    QVector<Row> rows;
    while (q.next()) {
        Row row(columns);
        for (int i = 0; i < columns; ++i)
            row[i] = q.value(i);
        rows.append(std::move(row));
    }
    if (q.lastError().isValid()) {
        m_lastError = q.lastError().text();
        return false;
    }
    emit aboutToReset();
    setColumns(q.record());
    m_rows = std::move(rows);
    m_active = true;
    m_current = m_rows.isEmpty() ? -1 : 0;
    m_lastError.clear();
    emit reset();
    emit currentRowChanged(m_current);
    return true;
}

void QueryObject::first()
{
    setCurrentRow(m_rows.isEmpty() ? -1 : 0);
}

void QueryObject::next()
{
    if (m_current >= 0 && m_current < m_rows.size()) {
        m_current++;
        if (m_current < m_rows.size())
            emit currentRowChanged(m_current);
    }
}

bool QueryObject::eof() const
{
    return m_current < 0 || m_current >= m_rows.size();
}

void QueryObject::setCurrentRow(int row)
{
    if (row < -1 || row >= m_rows.size() || row == m_current)
        return;
    m_current = row;
    emit currentRowChanged(m_current);
}

QStringList QueryObject::fieldNames() const
{
    QStringList names;
    for (int i = 0; i < m_columns.count(); ++i)
        names << m_columns.fieldName(i);
    return names;
}

bool QueryObject::hasField(const QString& name) const
{
    return m_columns.indexOf(name) >= 0 || (isEditing() && m_buffer.indexOf(name) >= 0);
}

void QueryObject::setColumns(const QSqlRecord& columns)
{
    m_columns = columns;
    m_columnIndex.clear();
}

int QueryObject::columnIndex(const QString& field) const
{
    const auto found = m_columnIndex.constFind(field);
    if (found != m_columnIndex.cend())
        return found.value();
    const int column = m_columns.indexOf(field);
    m_columnIndex.insert(field, column);
    return column;
}

QVariant QueryObject::valueAt(int row, const QString& field) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return m_rows.at(row).value(columnIndex(field));
}

QueryObject::Row QueryObject::rowFrom(const QSqlRecord& record) const
{
    Row row(m_columns.count());
    for (int i = 0; i < row.size(); ++i)
        row[i] = record.value(m_columns.fieldName(i));
    return row;
}

QVariant QueryObject::value(const QString& field) const
{
    if (isEditing())
        return m_buffer.value(field);
    return valueAt(m_current, field);
}

QString QueryObject::fieldText(const QString& field) const
{
    const QVariant v = value(field);
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::Double)
        return FormatPlainNumber(v.toDouble());
    return v.toString();
}

int QueryObject::fieldInt(const QString& field) const
{
    const QVariant v = value(field);
    if (v.isNull())
        return 0;
    return StrToInt(v.toString(), field);
}

double QueryObject::fieldDouble(const QString& field) const
{
    const QVariant v = value(field);
    if (v.isNull())
        return 0;
    return StrToFloat(v.toString(), field);
}

QVariant QueryObject::firstColumn() const
{
    if (m_rows.isEmpty() || m_rows.first().isEmpty())
        return 0;
    const QVariant v = m_rows.first().first();
    return v.isNull() ? QVariant(0) : v;
}

bool QueryObject::locate(const QString& field, const QVariant& value)
{
    const QString wanted = value.toString();
    for (int row = 0; row < m_rows.size(); ++row) {
        if (valueAt(row, field).toString() == wanted) {
            setCurrentRow(row);
            return true;
        }
    }
    return false;
}

QString QueryObject::firstTable() const
{
    static const QRegularExpression from(QStringLiteral("\\bfrom\\s+([A-Za-z_][A-Za-z0-9_]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = from.match(m_sql);
    return m.hasMatch() ? m.captured(1) : QString();
}

bool QueryObject::loadTableRecord()
{
    m_table = firstTable();
    if (m_table.isEmpty() || !DM)
        return false;
    m_tableRecord = DM->ADOLocal().record(m_table);
    return !m_tableRecord.isEmpty();
}

QMetaType::Type QueryObject::columnType(const QString& field) const
{
    const int i = m_tableRecord.indexOf(field);
    return i < 0 ? QMetaType::UnknownType
                 : static_cast<QMetaType::Type>(m_tableRecord.field(i).metaType().id());
}

void QueryObject::append()
{
    loadTableRecord();
    m_buffer = m_tableRecord;
    m_buffer.clearValues();
    m_changed.clear();
    m_state = State::Insert;
}

void QueryObject::edit()
{
    if (m_current < 0 || m_current >= m_rows.size())
        return;
    loadTableRecord();
    m_buffer = m_columns;
    const Row& row = m_rows.at(m_current);
    for (int i = 0; i < row.size(); ++i)
        m_buffer.setValue(i, row.at(i));
    m_changed.clear();
    m_state = State::Edit;
}

void QueryObject::setField(const QString& field, const QString& text)
{
    const QMetaType::Type type = columnType(field);
    QVariant v;
    if (isIntegerType(type))
        v = StrToInt(text, field);
    else if (type == QMetaType::Double)
        v = StrToFloat(text, field);
    else
        v = text;
    if (m_buffer.indexOf(field) < 0)
        m_buffer.append(QSqlField(field, v.metaType()));
    m_buffer.setValue(field, v);
    if (!m_changed.contains(field))
        m_changed << field;
}

void QueryObject::setField(const QString& field, int value)
{
    setField(field, QString::number(value));
}

void QueryObject::setField(const QString& field, double value)
{
    if (m_buffer.indexOf(field) < 0)
        m_buffer.append(QSqlField(field, QMetaType(QMetaType::Double)));
    m_buffer.setValue(field, value);
    if (!m_changed.contains(field))
        m_changed << field;
}

bool QueryObject::post()
{
    if (!isEditing())
        return true;
    if (!connectionReady(&m_lastError))
        return false;
    if (m_tableRecord.isEmpty() && !loadTableRecord()) {
        m_lastError = QStringLiteral("no table to store into");
        return false;
    }
    // Only the first table's own columns are written; joined columns are shown only.
    QStringList columns;
    for (const QString& field : m_changed)
        if (m_tableRecord.indexOf(field) >= 0 && field.compare(QLatin1String("ID"), Qt::CaseInsensitive) != 0)
            columns << field;

    QSqlQuery q(DM->ADOLocal());
    if (m_state == State::Insert) {
        QString sql;
        if (columns.isEmpty()) {
            sql = QStringLiteral("insert into %1 default values").arg(m_table);
        } else {
            QStringList marks;
            for (int i = 0; i < columns.size(); ++i)
                marks << QStringLiteral("?");
            sql = QStringLiteral("insert into %1 (%2) values (%3)")
                      .arg(m_table, columns.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        }
        q.prepare(sql);
    } else {
        if (columns.isEmpty()) {
            m_state = State::Browse;
            return true;
        }
        QStringList sets;
        for (const QString& c : columns)
            sets << c + QStringLiteral("=?");
        q.prepare(QStringLiteral("update %1 set %2 where ID=?").arg(m_table, sets.join(QLatin1Char(','))));
    }
    for (const QString& c : columns)
        q.addBindValue(m_buffer.value(c));
    if (m_state == State::Edit)
        q.addBindValue(m_buffer.value(QStringLiteral("ID")));
    if (!q.exec()) {
        m_lastError = q.lastError().text();
        return false; // the row stays in editing with the entered values
    }
    if (m_state == State::Edit && q.numRowsAffected() == 0) {
        m_lastError = QStringLiteral("the row no longer exists");
        return false; // never report a store that stored nothing
    }
    if (m_state == State::Insert) {
        m_buffer.setValue(QStringLiteral("ID"), q.lastInsertId());
        const int at = m_rows.size();
        emit rowAboutToBeAppended(at);
        if (m_columns.isEmpty())
            setColumns(m_tableRecord);
        m_rows.append(rowFrom(m_buffer));
        m_active = true;
        m_state = State::Browse;
        emit rowAppended(at);
        setCurrentRow(at);
    } else {
        Row& row = m_rows[m_current];
        for (const QString& c : columns) {
            const int column = columnIndex(c);
            if (column >= 0)
                row[column] = m_buffer.value(c);
        }
        m_state = State::Browse;
        emit rowChanged(m_current);
    }
    m_changed.clear();
    m_lastError.clear();
    return true;
}

void QueryObject::cancel()
{
    m_state = State::Browse;
    m_buffer.clear();
    m_changed.clear();
}

bool QueryObject::deleteCurrent()
{
    if (m_current < 0 || m_current >= m_rows.size())
        return false;
    if (!connectionReady(&m_lastError))
        return false;
    if (!loadTableRecord()) {
        m_lastError = QStringLiteral("no table to delete from");
        return false;
    }
    QSqlQuery q(DM->ADOLocal());
    q.prepare(QStringLiteral("delete from %1 where ID=?").arg(m_table));
    q.addBindValue(valueAt(m_current, QStringLiteral("ID")));
    if (!q.exec()) {
        m_lastError = q.lastError().text();
        return false;
    }
    const int row = m_current;
    emit rowAboutToBeRemoved(row);
    m_rows.removeAt(row);
    // The following row becomes current; after the last row, the new last row.
    m_current = m_rows.isEmpty() ? -1 : qMin(row, m_rows.size() - 1);
    emit rowRemoved(row);
    emit currentRowChanged(m_current);
    return true;
}

CommandObject::CommandObject(QObject* parent) : QObject(parent) {}

bool CommandObject::execute()
{
    if (!connectionReady(&m_lastError))
        return false;
    QSqlQuery q(DM->ADOLocal());
    if (!q.exec(m_sql)) {
        m_lastError = q.lastError().text();
        return false;
    }
    m_lastError.clear();
    return true;
}

Transaction::Transaction()
{
    QString error;
    if (connectionReady(&error))
        m_started = DM->ADOLocal().transaction();
}

Transaction::~Transaction()
{
    if (m_started && !m_done)
        DM->ADOLocal().rollback();
}

bool Transaction::commit()
{
    if (!m_started || m_done)
        return false;
    m_done = DM->ADOLocal().commit();
    return m_done;
}
