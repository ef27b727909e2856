#include "data/TermClassData.h"

#include "data/SqliteHandle.h"
#include "data/uDM.h"

#include <QByteArray>

#include <sqlite3.h>

#include <algorithm>

// The plan is read with SQLite's own interface on the connection's handle: a
// school's history holds thousands of term–class pairs, and the Qt driver's
// cost per row would make every window with the navigator open noticeably
// slower.

namespace {

sqlite3* connectionHandle()
{
    if (!DM || !DM->ensureOpen())
        return nullptr;
    return SqliteHandle(DM->ADOLocal());
}

// One prepared statement, finalised when it goes out of scope.
class Statement {
public:
    Statement(sqlite3* db, const char* sql)
    {
        m_ok = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) == SQLITE_OK;
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isPrepared() const { return m_ok; }
    // Steps to the next row; false at the end or on a failure (see failed()).
    bool next()
    {
        m_last = sqlite3_step(m_stmt);
        return m_last == SQLITE_ROW;
    }
    bool failed() const { return !m_ok || (m_last != SQLITE_ROW && m_last != SQLITE_DONE); }

    qint64 integer(int column) const { return sqlite3_column_int64(m_stmt, column); }
    QString text(int column) const { return QString::fromUtf8(bytes(column)); }
    // The column's bytes without a copy, valid until the next step.
    QByteArray bytes(int column) const
    {
        return QByteArray::fromRawData(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                                       sqlite3_column_bytes(m_stmt, column));
    }

private:
    sqlite3_stmt* m_stmt = nullptr;
    bool m_ok = false;
    int m_last = SQLITE_OK;
};

// Makes the reads inside one moment of the file: no other connection can
// commit until it ends. Inside a transaction already open, that one does it.
class ReadTransaction {
public:
    explicit ReadTransaction(sqlite3* db) : m_db(db)
    {
        m_own = sqlite3_get_autocommit(db) != 0;
        m_ok = !m_own || sqlite3_exec(db, "begin", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    ~ReadTransaction()
    {
        // Nothing was written, so ending it either way releases the read alone.
        if (m_own && m_ok)
            sqlite3_exec(m_db, "rollback", nullptr, nullptr, nullptr);
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

    bool isStarted() const { return m_ok; }

private:
    sqlite3* m_db;
    bool m_own = false;
    bool m_ok = false;
};

} // namespace

std::optional<TermClassPlan> ReadTermClassPlan()
{
    sqlite3* db = connectionHandle();
    if (!db)
        return std::nullopt;
    const ReadTransaction moment(db);
    if (!moment.isStarted())
        return std::nullopt;

    // Classes and terms first, each in the order of the pairs' index, so that
    // the pairs are one pass over that index, matched in memory as they come.
    TermClassPlan plan;
    QList<QByteArray> codes; // the classes' codes as stored, ascending as SQLite compares them
    {
        Statement classes(db, "select ClassCode,ClassName from TClass order by ClassCode");
        if (!classes.isPrepared())
            return std::nullopt;
        while (classes.next()) {
            const QByteArray code = classes.bytes(0);
            codes.append(QByteArray(code.constData(), code.size())); // a copy of its own
            plan.classes.append({classes.text(0), classes.text(1)});
        }
        if (classes.failed())
            return std::nullopt;
    }
    QList<TermClassPlan::Term> terms;
    {
        Statement termRows(db, "select TermCode,TermName from TTerm order by TermCode");
        if (!termRows.isPrepared())
            return std::nullopt;
        while (termRows.next())
            terms.append({termRows.integer(0), termRows.text(1), {}});
        if (termRows.failed())
            return std::nullopt;
    }
    {
        Statement pairs(db, "select TermCode,ClassCode from TTermToClass order by TermCode,ClassCode");
        if (!pairs.isPrepared())
            return std::nullopt;
        int term = 0;
        int klass = -1; // the class of the pair before, within the same term
        while (pairs.next()) {
            const qint64 termCode = pairs.integer(0);
            if (term < terms.size() && terms.at(term).code != termCode) {
                while (term < terms.size() && terms.at(term).code < termCode)
                    ++term;
                klass = -1;
            }
            const QByteArray code = pairs.bytes(1);
            // A term's classes are mostly neighbours in code order as well.
            if (klass + 1 < codes.size() && codes.at(klass + 1) == code) {
                ++klass;
            } else {
                const auto at = std::lower_bound(codes.cbegin(), codes.cend(), code);
                klass = at != codes.cend() && *at == code ? int(at - codes.cbegin()) : -1;
            }
            // As an inner join: a pair whose term or class is gone is not shown.
            if (term < terms.size() && terms.at(term).code == termCode && klass >= 0)
                terms[term].classes.append(klass);
        }
        if (pairs.failed())
            return std::nullopt;
    }
    for (TermClassPlan::Term& term : terms) {
        if (!term.classes.isEmpty())
            plan.terms.append(std::move(term));
    }
    return plan;
}
