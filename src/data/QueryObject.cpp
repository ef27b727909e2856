#include "data/QueryObject.h"

#include "data/SqlText.h"

QueryObject::QueryObject(QObject* parent) : QAbstractTableModel(parent) {}

void QueryObject::setStatement(Statement statement)
{
    m_statement = std::move(statement);
}

void QueryObject::close()
{
    if (!m_active && m_rows.isEmpty() && m_rows.fieldCount() == 0)
        return;
    beginResetModel();
    m_active = false;
    m_rows = RowSet();
    m_current = -1;
    mapColumns();
    endResetModel();
    emit currentRowChanged(-1);
}

DbResult QueryObject::open(Statement statement)
{
    setStatement(std::move(statement));
    return open();
}

DbResult QueryObject::open()
{
    close();
    DbValue<RowSet> read = Db::select(m_statement);
    if (!read)
        return read;
    beginResetModel();
    m_rows = std::move(read.value());
    m_active = true;
    m_current = m_rows.isEmpty() ? -1 : 0;
    mapColumns();
    endResetModel();
    emit currentRowChanged(m_current);
    return {};
}

void QueryObject::setColumnFields(const QStringList& fields)
{
    if (fields == m_columnFields)
        return;
    beginResetModel();
    m_columnFields = fields;
    mapColumns();
    endResetModel();
}

void QueryObject::mapColumns()
{
    m_resultColumn.clear();
    if (m_columnFields.isEmpty()) {
        for (int i = 0; i < m_rows.fieldCount(); ++i)
            m_resultColumn << i;
        return;
    }
    for (const QString& field : std::as_const(m_columnFields))
        m_resultColumn << m_rows.indexOf(field);
}

QString QueryObject::columnField(int column) const
{
    if (column < 0 || column >= m_resultColumn.size())
        return {};
    return m_columnFields.isEmpty() ? m_rows.fields().at(column) : m_columnFields.at(column);
}

int QueryObject::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int QueryObject::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_resultColumn.size();
}

QVariant QueryObject::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_rows.value(index.row(), m_resultColumn.value(index.column(), -1));
}

QVariant QueryObject::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        // The row indicator marks the current row.
        if (role == Qt::DisplayRole)
            return section == m_current ? QStringLiteral("▶") : QString();
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignCenter);
        return {};
    }
    const QString field = columnField(section);
    if (field.isEmpty())
        return {};
    const QVariant set = m_headers.value(field).value(role == Qt::EditRole ? int(Qt::DisplayRole) : role);
    if (set.isValid())
        return set;
    return role == Qt::DisplayRole ? QVariant(field) : QVariant();
}

bool QueryObject::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    const QString field = columnField(section);
    if (orientation != Qt::Horizontal || field.isEmpty())
        return false;
    QVariant& kept = m_headers[field][role == Qt::EditRole ? int(Qt::DisplayRole) : role];
    if (kept == value)
        return true;
    kept = value;
    emit headerDataChanged(orientation, section, section);
    return true;
}

Qt::ItemFlags QueryObject::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int QueryObject::fieldInt(const QString& field) const
{
    const QVariant v = value(field);
    return v.isNull() ? 0 : StrToInt(v.toString(), field);
}

double QueryObject::fieldDouble(const QString& field) const
{
    const QVariant v = value(field);
    return v.isNull() ? 0 : StrToFloat(v.toString(), field);
}

QVariant QueryObject::firstColumn() const
{
    const QVariant v = m_rows.value(0, 0);
    return v.isNull() ? QVariant(0) : v;
}

void QueryObject::setCurrentRow(int row)
{
    if (row < -1 || row >= m_rows.rowCount() || row == m_current)
        return;
    const int previous = m_current;
    m_current = row;
    moved(previous);
}

void QueryObject::moved(int previous)
{
    // Only the two row headers whose indicator changed are redrawn.
    if (previous >= 0 && previous < m_rows.rowCount())
        emit headerDataChanged(Qt::Vertical, previous, previous);
    if (m_current >= 0 && m_current != previous)
        emit headerDataChanged(Qt::Vertical, m_current, m_current);
    emit currentRowChanged(m_current);
}

void QueryObject::first()
{
    setCurrentRow(m_rows.isEmpty() ? -1 : 0);
}

void QueryObject::next()
{
    // Walking past the last row leaves the cursor at the end (eof) without a
    // row change to report.
    if (m_current >= 0 && m_current < m_rows.rowCount()) {
        const int previous = m_current++;
        if (m_current < m_rows.rowCount())
            moved(previous);
    }
}

bool QueryObject::eof() const
{
    return m_current < 0 || m_current >= m_rows.rowCount();
}

bool QueryObject::locate(const QString& field, const QVariant& value)
{
    const int column = m_rows.indexOf(field);
    const QString wanted = value.toString();
    for (int row = 0; row < m_rows.rowCount(); ++row) {
        if (m_rows.value(row, column).toString() == wanted) {
            setCurrentRow(row);
            return true;
        }
    }
    return false;
}

void QueryObject::removeCurrentRow()
{
    if (eof())
        return;
    const int row = m_current;
    beginRemoveRows({}, row, row);
    m_rows.removeRow(row);
    m_current = m_rows.isEmpty() ? -1 : qMin(row, m_rows.rowCount() - 1);
    endRemoveRows();
    moved(-1);
}
