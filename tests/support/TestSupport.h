#pragma once

#include "data/StoreLocation.h"
#include "forms/uPub.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <deque>
#include <functional>
#include <memory>

class TDM;
class QSqlDatabase;
class TTermClassTree;
class QTreeWidgetItem;

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

// A fresh school made from the schema: a data file in a temporary program
// directory, or on the server a database of its own that is dropped at the
// end. AppPath points to the temporary directory either way, and DM is open
// on the school for the test's lifetime.
class TempDatabase {
public:
    explicit TempDatabase(Engine engine = TestEngine());
    ~TempDatabase();

    Engine engine() const { return m_store.engine; }
    bool onServer() const { return engine() == Engine::Server; }
    const StoreLocation& store() const { return m_store; }
    QString dir() const;      // the program directory, ending in "/"
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
    explicit OtherClerk(const TempDatabase& db);
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

// The dialog seam for tests: records every message and answers questions
// and file dialogs from queues (questions default to No, files to cancel).
class ScriptedDialogs : public DialogProvider {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    void message(const QString& text) override;
    bool question(const QString& text) override;
    void errorReport(const QString& text) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString password(const QString& prompt) override;

    QStringList messages; // plain boxes, in order
    QStringList passwordPrompts;
    std::deque<QString> passwords; // answers to password prompts (empty: cancelled)
    QStringList questions;         // questions asked
    QStringList errors;            // top-level error reports
    QList<FileRequest> fileRequests;
    std::deque<bool> answers;
    std::deque<QString> files;
    // Runs while a plain box is "shown", e.g. to look at the focus behind it.
    std::function<void(const QString&)> onMessage;

    QStringList all() const { return messages + errors; }
    void clear();

private:
    DialogProvider* m_previous = nullptr;
};

// Runs action on the next modal window that appears (found through
// QApplication::activeModalWidget()), then returns; the call is queued so it
// runs inside that window's event loop.
void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
// Closes the active modal window by its close box (reject).
void CloseModal(QWidget* window);
// Sends a key press and release to the focused widget of window.
void SendKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Lets queued calls and timers run.
void Settle(int ms = 0);

// Clicks a node of a navigator with the mouse, as a user would, and lets the
// click notification run.
void ClickNode(TTermClassTree* tree, QTreeWidgetItem* item);
// Clicks the blank area below the last node.
void ClickBlank(TTermClassTree* tree);
// The node of the term with the given position, and of a class under it.
QTreeWidgetItem* TermNode(TTermClassTree* tree, int term);
QTreeWidgetItem* ClassNode(TTermClassTree* tree, int term, int klass);
