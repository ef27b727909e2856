#include "TempDataFile.h"

#include "data/uDM.h"

#include <QSqlError>
#include <QSqlQuery>

TempDataFile::TempDataFile()
{
    const QString file = m_dir.path() + QStringLiteral("/db/Student.dat");
    if (const DbResult made = TDM::createDatabase(file); !made)
        qFatal("cannot create the test database: %s", qPrintable(made.error()));
    m_dm = std::make_unique<TDM>(file);
    if (!m_dm->isOpen())
        qFatal("cannot open the test database: %s", qPrintable(m_dm->lastError()));
}

TempDataFile::~TempDataFile()
{
    m_dm.reset();
}

QString TempDataFile::dir() const
{
    return m_dir.path() + QLatin1Char('/');
}

QString TempDataFile::dataFile() const
{
    return dir() + QStringLiteral("db/Student.dat");
}

void TempDataFile::reopen()
{
    m_dm->open();
}

bool TempDataFile::tryExec(const QString& sql) const
{
    if (!m_dm->ensureOpen())
        return false;
    QSqlQuery q(m_dm->ADOLocal());
    return q.exec(sql);
}

void TempDataFile::exec(const QString& sql) const
{
    m_dm->ensureOpen();
    QSqlQuery q(m_dm->ADOLocal());
    if (!q.exec(sql))
        qFatal("statement failed: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
}

QVariant TempDataFile::scalar(const QString& sql) const
{
    m_dm->ensureOpen();
    QSqlQuery q(m_dm->ADOLocal());
    if (!q.exec(sql))
        qFatal("query failed: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    return q.next() ? q.value(0) : QVariant();
}

int TempDataFile::count(const QString& table, const QString& where) const
{
    return scalar(QStringLiteral("select count(*) from %1 %2")
                      .arg(table, where.isEmpty() ? QString() : QStringLiteral("where ") + where))
        .toInt();
}

static QString q(const QString& text)
{
    QString t = text;
    t.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + t + QLatin1Char('\'');
}

void TempDataFile::addTerm(int code, const QString& name) const
{
    exec(QStringLiteral("insert into TTerm (TermCode,TermName) values (%1,%2)").arg(code).arg(q(name)));
}

void TempDataFile::addSubject(const QString& code, const QString& name) const
{
    exec(QStringLiteral("insert into TSubject (SubjCode,SubjName) values (%1,%2)").arg(q(code), q(name)));
}

void TempDataFile::addClass(const QString& code, const QString& name) const
{
    exec(QStringLiteral("insert into TClass (ClassCode,ClassName) values (%1,%2)").arg(q(code), q(name)));
}

void TempDataFile::activate(int term, const QString& classCode) const
{
    exec(QStringLiteral("insert into TTermToClass (TermCode,ClassCode) values (%1,%2)")
             .arg(term)
             .arg(q(classCode)));
}

void TempDataFile::plan(int term, const QString& classCode, const QString& subject) const
{
    exec(QStringLiteral("insert into TClassToSubject (TermCode,ClassCode,SubjCode) values (%1,%2,%3)")
             .arg(term)
             .arg(q(classCode), q(subject)));
}

int TempDataFile::addStudent(const QString& classCode, const QString& name, const QString& number) const
{
    exec(QStringLiteral("insert into TStudent (ClassCode,SName,SNumber) values (%1,%2,%3)")
             .arg(q(classCode), q(name), q(number)));
    return scalar(QStringLiteral("select max(ID) from TStudent")).toInt();
}

void TempDataFile::addGrade(int term, const QString& classCode, int student, const QString& subject,
                            double score) const
{
    exec(QStringLiteral(
             "insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) values (%1,%2,%3,%4,%5)")
             .arg(term)
             .arg(q(classCode))
             .arg(student)
             .arg(q(subject))
             .arg(score, 0, 'g', 17));
}

void TempDataFile::addStandard(int term, const QString& classCode, const QString& subject, double score) const
{
    exec(QStringLiteral("insert into THonoursStd (TermCode,ClassCode,SubjectCode,Score) values (%1,%2,%3,%4)")
             .arg(term)
             .arg(q(classCode), q(subject))
             .arg(score, 0, 'g', 17));
}

void TempDataFile::addTwoTermSchool() const
{
    addTerm(1, QStringLiteral("一学期"));
    addTerm(2, QStringLiteral("二学期"));
    addClass(QStringLiteral("C1"), QStringLiteral("一班"));
    addClass(QStringLiteral("C2"), QStringLiteral("二班"));
    addSubject(QStringLiteral("CN"), QStringLiteral("语文"));
    addSubject(QStringLiteral("MA"), QStringLiteral("数学"));
    activate(1, QStringLiteral("C1"));
    activate(1, QStringLiteral("C2"));
    activate(2, QStringLiteral("C1"));
    plan(1, QStringLiteral("C1"), QStringLiteral("CN"));
    plan(1, QStringLiteral("C1"), QStringLiteral("MA"));
}
