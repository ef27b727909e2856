#pragma once

#include <QHash>
#include <QObject>
#include <QSqlRecord>
#include <QString>
#include <QVariant>
#include <QVector>

// A query object: one statement text and, once opened, a static snapshot of
// its result with a current row. Reads close, set the text and open again;
// edit dialogs append or edit one row and post it, which writes the first
// table named after "from". List windows delete their current row through it.
class QueryObject : public QObject {
    Q_OBJECT
public:
    explicit QueryObject(QObject* parent = nullptr);

    void close();
    void setSql(const QString& sql);
    QString sql() const { return m_sql; }
    // Runs the statement on DM's connection, opening the connection first when
    // it is closed. False on failure: the object stays closed.
    bool open();
    bool isActive() const { return m_active; }
    QString lastError() const { return m_lastError; }

    bool isEmpty() const { return m_rows.isEmpty(); }
    int rowCount() const { return m_rows.size(); }
    void first();
    void next();
    bool eof() const;
    int currentRow() const { return m_current; }
    void setCurrentRow(int row);

    QStringList fieldNames() const;
    bool hasField(const QString& name) const;
    // The current row's columns; while editing, the row being edited.
    QVariant value(const QString& field) const;
    QString fieldText(const QString& field) const;
    int fieldInt(const QString& field) const;       // null reads as 0; throws ConversionError
    double fieldDouble(const QString& field) const; // null reads as 0; throws ConversionError
    QVariant valueAt(int row, const QString& field) const;
    // The first column of the first row, for aggregates; null reads as 0.
    QVariant firstColumn() const;
    // Moves to the first row whose field equals value; false when none does.
    bool locate(const QString& field, const QVariant& value);

    // Editing. setField converts text to the column's type and throws
    // ConversionError when it cannot, before anything is stored.
    void append();
    void edit();
    bool isEditing() const { return m_state != State::Browse; }
    void setField(const QString& field, const QString& text);
    void setField(const QString& field, int value);
    void setField(const QString& field, double value);
    bool post();
    void cancel();
    bool deleteCurrent();

signals:
    void aboutToReset();
    void reset();                    // opened or closed
    void currentRowChanged(int row); // the "after scroll" of the windows
    void rowAboutToBeRemoved(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void rowAboutToBeAppended(int row);
    void rowAppended(int row);

private:
    enum class State { Browse, Edit, Insert };
    QString firstTable() const;
    bool loadTableRecord();
    QMetaType::Type columnType(const QString& field) const;
    // The column of a field in every held row, remembered per name: the
    // lists read a few fields of every row, and a search by name each time
    // costs more than the rest of the loop.
    int columnIndex(const QString& field) const;
    void setColumns(const QSqlRecord& columns);

    QString m_sql;
    bool m_active = false;
    // A held row is its values alone, in the order of m_columns: a record per
    // row would carry every column's name and type again, and building those
    // is most of the cost of reading a long result.
    using Row = QVector<QVariant>;
    Row rowFrom(const QSqlRecord& record) const;

    QSqlRecord m_columns;
    mutable QHash<QString, int> m_columnIndex;
    QVector<Row> m_rows;
    int m_current = -1;
    QString m_lastError;

    State m_state = State::Browse;
    QString m_table;
    QSqlRecord m_tableRecord; // the first table's columns and types
    QSqlRecord m_buffer;      // the row being edited
    QStringList m_changed;
};

// A command object: runs one insert or delete statement at a time.
class CommandObject : public QObject {
    Q_OBJECT
public:
    explicit CommandObject(QObject* parent = nullptr);
    void setSql(const QString& sql) { m_sql = sql; }
    QString sql() const { return m_sql; }
    bool execute();
    QString lastError() const { return m_lastError; }

private:
    QString m_sql;
    QString m_lastError;
};

// Runs a sequence of statements as one unit: commits only when each has
// succeeded, and rolls back otherwise.
class Transaction {
public:
    Transaction();
    ~Transaction(); // rolls back unless committed
    bool isStarted() const { return m_started; }
    bool commit();

private:
    bool m_started = false;
    bool m_done = false;
};
