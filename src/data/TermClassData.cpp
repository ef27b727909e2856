#include "data/TermClassData.h"

#include "data/Database.h"
#include "data/SqliteHandle.h"
#include "data/uDM.h"

#include <QByteArray>
#include <QSqlQuery>

#include <sqlite3.h>

#include <algorithm>

// On the file the plan is read with SQLite's own interface on the
// connection's handle: a school's history holds thousands of term–class
// pairs, and the Qt driver's cost per row would make every window with the
// navigator open noticeably slower. A server's rows come through its driver.

namespace {

sqlite3* connectionHandle()
{
    if (!DM || !DM->ensureOpen())
        return nullptr;
    return SqliteHandle(DM->ADOLocal());
}

// One prepared statement, finalised when it goes out of scope.
class SqliteStatement {
public:
    SqliteStatement(sqlite3* db, const char* sql)
    {
        m_ok = sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) == SQLITE_OK;
    }
    ~SqliteStatement() { sqlite3_finalize(m_stmt); }
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

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

// Matches the pairs, in the order of their index, to the terms and classes
// read before them, each in that same order.
class PlanBuilder {
public:
    void addClass(const QByteArray& code, const QString& name)
    {
        m_codes.append(QByteArray(code.constData(), code.size())); // a copy of its own
        m_plan.classes.append({QString::fromUtf8(code), name});
    }
    void addTerm(qint64 code, const QString& name) { m_terms.append({code, name, {}}); }
    void addPair(qint64 termCode, const QByteArray& code)
    {
        if (m_term < m_terms.size() && m_terms.at(m_term).code != termCode) {
            while (m_term < m_terms.size() && m_terms.at(m_term).code < termCode)
                ++m_term;
            m_class = -1;
        }
        // A term's classes are mostly neighbours in code order as well.
        if (m_class + 1 < m_codes.size() && m_codes.at(m_class + 1) == code) {
            ++m_class;
        } else {
            const auto at = std::lower_bound(m_codes.cbegin(), m_codes.cend(), code);
            m_class = at != m_codes.cend() && *at == code ? int(at - m_codes.cbegin()) : -1;
        }
        // As an inner join: a pair whose term or class is gone is not shown.
        if (m_term < m_terms.size() && m_terms.at(m_term).code == termCode && m_class >= 0)
            m_terms[m_term].classes.append(m_class);
    }
    TermClassPlan finished()
    {
        for (TermClassPlan::Term& term : m_terms) {
            if (!term.classes.isEmpty())
                m_plan.terms.append(std::move(term));
        }
        m_terms.clear();
        return std::move(m_plan);
    }

private:
    TermClassPlan m_plan;
    QList<QByteArray> m_codes; // the classes' codes as stored, ascending byte by byte
    QList<TermClassPlan::Term> m_terms;
    int m_term = 0;
    int m_class = -1; // the class of the pair before, within the same term
};

const char* const ClassesSql = "select ClassCode,ClassName from TClass order by ClassCode";
const char* const TermsSql = "select TermCode,TermName from TTerm order by TermCode";
const char* const PairsSql = "select TermCode,ClassCode from TTermToClass order by TermCode,ClassCode";

std::optional<TermClassPlan> readFromFile(sqlite3* db)
{
    const ReadTransaction moment(db);
    if (!moment.isStarted())
        return std::nullopt;
    // Classes and terms first, each in the order of the pairs' index, so that
    // the pairs are one pass over that index, matched in memory as they come.
    PlanBuilder plan;
    {
        SqliteStatement classes(db, ClassesSql);
        if (!classes.isPrepared())
            return std::nullopt;
        while (classes.next())
            plan.addClass(classes.bytes(0), classes.text(1));
        if (classes.failed())
            return std::nullopt;
    }
    {
        SqliteStatement terms(db, TermsSql);
        if (!terms.isPrepared())
            return std::nullopt;
        while (terms.next())
            plan.addTerm(terms.integer(0), terms.text(1));
        if (terms.failed())
            return std::nullopt;
    }
    {
        SqliteStatement pairs(db, PairsSql);
        if (!pairs.isPrepared())
            return std::nullopt;
        while (pairs.next())
            plan.addPair(pairs.integer(0), pairs.bytes(1));
        if (pairs.failed())
            return std::nullopt;
    }
    return plan.finished();
}

// On a server the three reads are one snapshot of a read-only transaction;
// its text columns sort byte by byte ("C"), as the file's do.
std::optional<TermClassPlan> readFromServer()
{
    std::optional<Transaction> moment;
    if (!Transaction::isActive()) {
        moment.emplace();
        // A setting, which the server does not take as a prepared statement.
        if (!moment->isStarted() ||
            !QSqlQuery(DM->ADOLocal())
                 .exec(QStringLiteral("set transaction isolation level repeatable read, read only")))
            return std::nullopt;
    }
    const DbValue<RowSet> classes = Db::select({QString::fromLatin1(ClassesSql), {}});
    const DbValue<RowSet> terms =
        classes ? Db::select({QString::fromLatin1(TermsSql), {}}) : DbValue<RowSet>(classes);
    const DbValue<RowSet> pairs =
        terms ? Db::select({QString::fromLatin1(PairsSql), {}}) : DbValue<RowSet>(terms);
    if (!pairs)
        return std::nullopt;
    PlanBuilder plan;
    for (int row = 0; row < classes->rowCount(); ++row)
        plan.addClass(classes->value(row, 0).toString().toUtf8(), classes->value(row, 1).toString());
    for (int row = 0; row < terms->rowCount(); ++row)
        plan.addTerm(terms->value(row, 0).toLongLong(), terms->value(row, 1).toString());
    for (int row = 0; row < pairs->rowCount(); ++row)
        plan.addPair(pairs->value(row, 0).toLongLong(), pairs->value(row, 1).toString().toUtf8());
    return plan.finished();
}

} // namespace

std::optional<TermClassPlan> ReadTermClassPlan()
{
    if (!DM || !DM->ensureOpen())
        return std::nullopt;
    if (DM->engine() == Engine::Server)
        return readFromServer();
    sqlite3* db = connectionHandle();
    if (!db)
        return std::nullopt;
    return readFromFile(db);
}
