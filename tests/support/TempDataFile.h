#pragma once

#include "data/StoreLocation.h"

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

class TDM;

// The engine the tests run on: the server when GRADES_TEST_ENGINE is
// "server" (its URL in GRADES_TEST_SERVER_URL, see support/pg_server.sh),
// the file otherwise.
Engine TestEngine();
// For the cases about the data file itself (its journal, its stamp, the
// sqlite3 shell beside it), which have nothing to run on a server.
#define FILE_ENGINE_ONLY()                                                                                   \
    do {                                                                                                     \
        if (TestEngine() == Engine::Server)                                                                  \
            QSKIP("the data file's own behaviour");                                                          \
    } while (false)
// The test server's own database, for making and dropping the tests' ones.
ServerLocation TestServer();

// A fresh school made from the schema: db/Student.dat in a temporary
// folder, or on the test server a database of its own that is dropped at
// the end; DM is open on it for the object's lifetime. Qt Core and the data
// layer alone, for the tests that prove the data layer needs nothing more.
class TempDataFile {
public:
    explicit TempDataFile(Engine engine = TestEngine());
    ~TempDataFile();
    TempDataFile(const TempDataFile&) = delete;
    TempDataFile& operator=(const TempDataFile&) = delete;

    Engine engine() const { return m_store.engine; }
    bool onServer() const { return engine() == Engine::Server; }
    const StoreLocation& store() const { return m_store; }
    QString dir() const;      // the folder, ending in "/"
    QString dataFile() const; // dir() + "db/Student.dat"
    TDM* dm() const { return m_dm.get(); }
    void reopen();

    // Runs statements on the open connection; fails the test when one fails.
    void exec(const QString& sql) const;
    bool tryExec(const QString& sql) const;
    // The first column of the first row of a select (an invalid QVariant when none).
    QVariant scalar(const QString& sql) const;
    int count(const QString& table, const QString& where = QString()) const;

    // Small fixtures used throughout the tests.
    void addTerm(int code, const QString& name) const;
    void addSubject(const QString& code, const QString& name) const;
    void addClass(const QString& code, const QString& name) const;
    void activate(int term, const QString& classCode) const;
    void plan(int term, const QString& classCode, const QString& subject) const;
    int addStudent(const QString& classCode, const QString& name, const QString& number = "1") const;
    void addGrade(int term, const QString& classCode, int student, const QString& subject,
                  double score) const;
    void addStandard(int term, const QString& classCode, const QString& subject, double score) const;
    // Terms 1 and 2; classes C1 (一班) and C2 (二班), subjects CN (语文) and
    // MA (数学); C1 is active in both terms with a plan of both subjects in
    // term 1, C2 is active in term 1 without a plan.
    void addTwoTermSchool() const;

private:
    QTemporaryDir m_dir;
    StoreLocation m_store;
    std::unique_ptr<TDM> m_dm;
};

// Another clerk on the same school: a connection of its own, as a second
// copy of the program on another machine would have.
class OtherClerk {
public:
    explicit OtherClerk(const TempDataFile& db);
    ~OtherClerk();
    OtherClerk(const OtherClerk&) = delete;
    OtherClerk& operator=(const OtherClerk&) = delete;

    QSqlDatabase connection() const;
    // Fails the test when the statement fails.
    void exec(const QString& sql) const;
    bool tryExec(const QString& sql) const;
    QVariant scalar(const QString& sql) const;
    void begin() const; // a transaction held until commit() or rollback()
    void commit() const;
    void rollback() const;

private:
    QString m_name;
};
