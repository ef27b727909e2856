#pragma once

#include "forms/uPub.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <deque>
#include <functional>
#include <memory>

class TDM;
class TTermClassTree;
class QTreeWidgetItem;

// A fresh data file made from the schema in a temporary program directory:
// AppPath points there and DM is open on it for the test's lifetime.
class TempDatabase {
public:
    TempDatabase();
    ~TempDatabase();

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
    std::unique_ptr<TDM> m_dm;
};

// The user's remembered choices kept in a temporary folder for the test's
// lifetime, so that tests neither read nor change the real user's.
class TempUserSettings {
public:
    TempUserSettings();

private:
    QTemporaryDir m_dir;
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

    QStringList messages;  // plain boxes, in order
    QStringList questions; // questions asked
    QStringList errors;    // top-level error reports
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
