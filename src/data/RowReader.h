#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVariantList>

struct sqlite3_stmt;

// A forward-only read straight through SQLite on the data module's
// connection, for the reads of many thousand rows (every score of a term):
// QSqlQuery turns each value of each row into a variant first, which costs
// several times the reading itself. Values are bound, never spliced.
//
//     RowReader rows(sql, {termCode});
//     while (rows.next()) ... rows.integer(0) ...
//     if (rows.failed()) ...
class RowReader {
public:
    // The connection is opened first when it is closed.
    RowReader(const QString& sql, const QVariantList& values);
    ~RowReader();
    RowReader(const RowReader&) = delete;
    RowReader& operator=(const RowReader&) = delete;

    // Steps to the next row; false at the end and on a failure.
    bool next();
    // True when the statement could not be run or stopped half-way.
    bool failed() const { return m_failed; }

    bool isNull(int column) const;
    qint64 integer(int column) const;
    double real(int column) const;
    // The text's bytes, valid until the next step.
    QByteArrayView utf8(int column) const;
    QString text(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
    bool m_failed = false;
};
