#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>

class TDM;

// A fresh data file made from the schema, db/Student.dat in a temporary
// folder; DM is open on it for the object's lifetime. Qt Core and the data
// layer alone, for the tests that prove the data layer needs nothing more.
class TempDataFile {
public:
    TempDataFile();
    ~TempDataFile();
    TempDataFile(const TempDataFile&) = delete;
    TempDataFile& operator=(const TempDataFile&) = delete;

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
    std::unique_ptr<TDM> m_dm;
};
