#pragma once

#include "data/DbResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QSqlDatabase>
#include <QVariant>
#include <QVector>

struct Statement;
struct pg_conn;
struct pg_result;

// One statement on a server, through libpq's own interface on the handle of
// the Qt driver's connection: the text and its values go to the server in
// one message, the values bound apart from the text (never part of it), and
// the whole answer comes back at once. The driver takes three round trips
// for the same (PREPARE, EXECUTE, DEALLOCATE), which a click's dozen
// statements feel on a busy machine, and makes a variant of every value of a
// long read. The values come out typed as the driver types them, so that
// what a read gives does not depend on the way it took.
class ServerStatement {
public:
    // The handle of a QPSQL connection that can take a statement now, or
    // nullptr: not the server's driver, not open, or a command of the driver
    // still in progress on it.
    static pg_conn* handleOf(const QSqlDatabase& db);
    // The handle of an open QPSQL connection, busy or not.
    static pg_conn* connectionOf(const QSqlDatabase& db);

    // Runs statement on connection.
    ServerStatement(pg_conn* connection, const Statement& statement);
    // Runs the statement prepared under name (see ServerPrepared) with values.
    ServerStatement(pg_conn* connection, const QByteArray& name, const QVariantList& values);
    ~ServerStatement();
    ServerStatement(const ServerStatement&) = delete;
    ServerStatement& operator=(const ServerStatement&) = delete;

    // Success, or the server's text of why not.
    const DbResult& result() const { return m_result; }
    // It ran and answered rows (a select, or a write with "returning").
    bool isRead() const;
    // The server gave up waiting for another connection's lock.
    bool lockTimedOut() const;

    int rowCount() const;
    int columnCount() const;
    QString fieldName(int column) const; // as the server names it (unquoted names in lower case)
    // A value as the Qt driver reads it: int for smallint and integer,
    // qlonglong (qulonglong when not negative) for bigint, double for the
    // floating and numeric types, bool, and QString for the rest; a null
    // is a null variant of the column's type.
    QVariant value(int row, int column) const;
    bool isNull(int row, int column) const;
    // The value's text as the server sent it, without a copy.
    QByteArrayView text(int row, int column) const;
    qint64 integer(int row, int column) const;
    double real(int row, int column) const;
    // The rows an insert, update or delete changed.
    qint64 affectedRows() const;

    // The "?" marks of text numbered as the server writes them ("$1", "$2",
    // ...), leaving quoted texts and names alone; count gets the marks.
    static QByteArray numbered(const QString& text, int* count = nullptr);

private:
    enum class Kind { Text, Int, LongLong, Double, Bool };

    void take(pg_conn* connection, pg_result* answer);

    pg_result* m_answer = nullptr;
    DbResult m_result;
    QVector<Kind> m_kinds;
    QByteArray m_sqlState;
};

// One statement prepared on the server once and run for many rows: its text
// parsed once, each row one round trip with its values bound.
class ServerPrepared {
public:
    ServerPrepared(pg_conn* connection, const QString& text);
    ServerPrepared(const ServerPrepared&) = delete;
    ServerPrepared& operator=(const ServerPrepared&) = delete;

    pg_conn* connection() const { return m_connection; }
    // Whether it was prepared, or the server's text of why not.
    const DbResult& result() const { return m_result; }
    DbResult run(const QVariantList& values) const;
    // Frees it on the server; only while the connection it was prepared on is open.
    void release();

private:
    pg_conn* m_connection;
    QByteArray m_name;
    int m_marks = 0;
    DbResult m_result;
};
