#pragma once

#include "data/DbResult.h"

#include <QByteArrayView>
#include <QHash>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>

struct sqlite3_stmt;
class ServerPrepared;
class SqlitePrepared;
class ServerStatement;

#include <memory>

// One statement and the values bound to its "?" marks, in order. A value
// never becomes part of the text.
struct Statement {
    QString text;
    QVariantList values;
};

// "?, ?, ?": the marks of a list of count values bound in turn, for "in (...)".
QString Placeholders(int count);
// count rows of a values list: Tuples(2, 3) is "(?, ?, ?),(?, ?, ?)"; the
// other form repeats a tuple of its own, casts and all.
QString Tuples(int count, int width);
QString Tuples(int count, const QString& tuple);
// Rows per statement where many rows are written at once. On the file not
// more than 50: the driver names every "?" and SQLite looks each name up
// among the statement's earlier ones, so a statement's cost grows with the
// square of its values. A server takes the values apart from the text and
// each statement costs a round trip: 1000.
int RowsPerStatement();

// A column of one table and the value to write into it.
struct FieldValue {
    QString field;
    QVariant value;
};
using FieldValues = QVector<FieldValue>;

// A row as it was read: its ID and what its other columns held. Changing or
// deleting it succeeds only while every one of those columns still holds
// that: a row that another clerk changed or deleted meanwhile is a conflict.
struct RowImage {
    qint64 id = -1;
    FieldValues columns;
};

// The rows a read returned: the names of its fields and each row's values in
// that order. A row is its values alone; a record per row would carry every
// field's name and type again, which is most of the cost of a long result.
class RowSet {
public:
    using Row = QVector<QVariant>;

    RowSet() = default;
    RowSet(QStringList fields, QVector<Row> rows);

    const QStringList& fields() const { return m_fields; }
    int fieldCount() const { return m_fields.size(); }
    int rowCount() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    // The position of a field, regardless of case; -1 when there is none.
    // Remembered per name: lists read a few fields of every row, and a
    // search by name each time costs more than the rest of the loop.
    int indexOf(const QString& field) const;
    QVariant value(int row, int column) const;
    QVariant value(int row, const QString& field) const { return value(row, indexOf(field)); }
    // The value as the windows show it (see FieldText).
    QString text(int row, const QString& field) const;

    // The row as read, for changing or deleting it: its ID and every other
    // field (or those named) with its value.
    RowImage image(int row, const QStringList& columns = {}) const;

    void removeRow(int row) { m_rows.removeAt(row); }

private:
    QStringList m_fields;
    QVector<Row> m_rows;
    mutable QHash<QString, int> m_index;
};

// The row a streamed read (Db::selectEach) is at, by column position; valid
// only while the visitor is called with it. On the file it reads SQLite's
// statement; on a server, the server's answer as libpq holds it, or the
// values its driver fetched.
class StreamRow {
public:
    explicit StreamRow(sqlite3_stmt* statement) : m_statement(statement) {}
    StreamRow(const ServerStatement* answer, int row) : m_answer(answer), m_row(row) {}
    explicit StreamRow(const QVector<QVariant>* values) : m_values(values), m_texts(values->size()) {}

    bool isNull(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    QString text(int column) const;
    // The text's bytes without a copy.
    QByteArrayView utf8(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    const ServerStatement* m_answer = nullptr;
    int m_row = 0;
    const QVector<QVariant>* m_values = nullptr;
    mutable QVector<QByteArray> m_texts; // a server row's texts as bytes, made when asked for
};

// Every statement of the program runs through these, on DM's connection,
// which they open first when it is closed. A failure is returned, never
// thrown, and changes nothing that the statement did not already change.
namespace Db {
DbValue<RowSet> select(const Statement& statement);
DbResult execute(const Statement& statement);
// A read of many thousand rows (every score of a term), handed to visit one
// row at a time, straight from SQLite on the same connection (on a server,
// from libpq's answer): the Qt driver's variant for every value costs
// several times the reading itself. Only a read may run through it.
// A failure half-way is returned after the rows before it were visited.
DbResult selectEach(const Statement& statement, const std::function<void(const StreamRow&)>& visit);

// Writing one row: the caller names the table; the database assigns the
// ID of an inserted row (INSERT ... RETURNING on both engines). Updating or
// deleting a row that no longer holds what was read stores nothing and
// answers a conflict, so a store that stored nothing is never reported as
// done and no clerk's change is silently overwritten.
DbValue<qint64> insertRow(const QString& table, const FieldValues& values);
DbResult updateRow(const QString& table, const RowImage& read, const FieldValues& values);
DbResult deleteRow(const QString& table, const RowImage& read);
} // namespace Db

// One statement prepared once and run for many rows, each with its own
// values for the "?" marks: an import stores thousands of rows through it,
// inside one Transaction.
class PreparedStatement {
public:
    explicit PreparedStatement(const QString& text);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    DbResult run(const QVariantList& values);

private:
    std::unique_ptr<SqlitePrepared> m_file;   // on the file: through SQLite
    std::unique_ptr<ServerPrepared> m_server; // on a server: through libpq
    DbResult m_prepared;
};

// Many rows written RowsPerStatement() to a statement, inside one
// Transaction: text holds "%1" where the values list goes, a tuple of width
// values per row; leading and trailing are the values of the marks before
// and after the list, the same in every statement. The statement of a full
// list is prepared once and run for each; the rows that wait for a full list
// are written by flush(), which must come before the commit.
class BatchedWrite {
public:
    BatchedWrite(QString text, QString tuple, int width, QVariantList leading = {},
                 QVariantList trailing = {});
    DbResult add(const QVariantList& row);
    DbResult flush();

private:
    QVariantList valuesOfWaiting() const;

    const QString m_text;
    const QString m_tuple;
    const int m_width;
    const int m_rows;
    const QVariantList m_leading;
    const QVariantList m_trailing;
    QVariantList m_waiting;
    std::unique_ptr<PreparedStatement> m_full;
};

// Runs a sequence of statements as one unit: commits only when asked to
// after each has succeeded, and rolls back otherwise. A writing transaction
// that replaces rows which another clerk may be replacing at the same time
// first locks their parent row (lock()); on the file it holds the file's
// write lock from its start (BEGIN IMMEDIATE) instead.
class Transaction {
public:
    enum class Kind { Read, Write };
    explicit Transaction(Kind kind = Kind::Read);
    ~Transaction(); // rolls back unless committed
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool isStarted() const { return m_started; }
    // Locks the rows the statement (a select) reads until the end of the
    // transaction: SELECT ... FOR UPDATE on the server, nothing more on the
    // file. It must be the transaction's first statement. A wait for another
    // clerk's lock ends after about two seconds, announced after half a
    // second (the busy cursor); none of the rows found fails as well, unless
    // noneFoundFails is false.
    DbResult lock(const Statement& rows, bool noneFoundFails = true);
    DbResult commit();

    // Whether a transaction of the program is open on the connection.
    static bool isActive();

private:
    DbResult begin();

    Kind m_kind;
    bool m_started = false;
    bool m_done = false;
};
