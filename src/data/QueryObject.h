#pragma once

#include "data/Database.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QString>
#include <QVariant>

// A query object: the rows of one read statement as a table model, one
// column per field of the result, with a current row (the "after scroll"
// of the windows). Reading closes, sets the statement and opens again;
// the rows are a snapshot and change only when it is opened again, or
// when the window takes out the current row after deleting it.
class QueryObject : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryObject(QObject* parent = nullptr);

    void setStatement(Statement statement);
    const Statement& statement() const { return m_statement; }
    // Runs the statement. On failure the object stays closed and shows no rows.
    DbResult open();
    DbResult open(Statement statement);
    void close();
    bool isActive() const { return m_active; }

    // The model: one column per field, the values as stored, the field names
    // (or the titles set for them) as column headers, and the current row
    // marked in the row headers. By default the columns are the fields of the
    // result; a view that declares its own columns names the fields it shows,
    // and they stay the model's columns while it is closed, too.
    void setColumnFields(const QStringList& fields);
    QString columnField(int column) const;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // Header data is kept per field name, so it outlives every reopening.
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    bool isEmpty() const { return m_rows.isEmpty(); }
    const QStringList& fieldNames() const { return m_rows.fields(); }
    bool hasField(const QString& name) const { return m_rows.indexOf(name) >= 0; }
    int fieldIndex(const QString& name) const { return m_rows.indexOf(name); }
    QVariant valueAt(int row, const QString& field) const { return m_rows.value(row, field); }
    // The current row's fields.
    QVariant value(const QString& field) const { return m_rows.value(m_current, field); }
    QString fieldText(const QString& field) const { return m_rows.text(m_current, field); }
    int fieldInt(const QString& field) const;       // null reads as 0; throws ConversionError
    double fieldDouble(const QString& field) const; // null reads as 0; throws ConversionError
    // The current row as read, for deleting it.
    RowImage currentImage() const { return m_rows.image(m_current); }
    // The first column of the first row, for aggregates; null reads as 0.
    QVariant firstColumn() const;

    // The cursor.
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);
    void first();
    void next();
    bool eof() const;
    // Moves to the first row whose field equals value; false when none does.
    bool locate(const QString& field, const QVariant& value);
    // Takes the current row out after the window deleted it from its table:
    // the following row becomes current; after the last row, the new last row.
    void removeCurrentRow();

signals:
    void currentRowChanged(int row);

private:
    void moved(int previous);
    void mapColumns();

    Statement m_statement;
    RowSet m_rows;
    bool m_active = false;
    int m_current = -1;
    QStringList m_columnFields;
    QVector<int> m_resultColumn;                    // per model column, its field's place in the result
    QHash<QString, QHash<int, QVariant>> m_headers; // field -> role -> value
};
