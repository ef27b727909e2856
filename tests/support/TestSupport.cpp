#include "TestSupport.h"

#include "data/uDM.h"
#include "widgets/TermClassTree.h"

#include <QTreeWidget>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QSettings>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

TempDatabase::TempDatabase()
{
    const QString file = m_dir.path() + QStringLiteral("/db/Student.dat");
    if (const DbResult made = TDM::createDatabase(file); !made)
        qFatal("cannot create the test database: %s", qPrintable(made.error()));
    AppPath = m_dir.path() + QLatin1Char('/');
    m_dm = std::make_unique<TDM>(file);
    if (!m_dm->isOpen())
        qFatal("cannot open the test database: %s", qPrintable(m_dm->lastError()));
}

TempDatabase::~TempDatabase()
{
    m_dm.reset();
}

QString TempDatabase::dir() const
{
    return m_dir.path() + QLatin1Char('/');
}

QString TempDatabase::dataFile() const
{
    return dir() + QStringLiteral("db/Student.dat");
}

void TempDatabase::reopen()
{
    m_dm->open();
}

bool TempDatabase::tryExec(const QString& sql) const
{
    if (!m_dm->ensureOpen())
        return false;
    QSqlQuery q(m_dm->ADOLocal());
    return q.exec(sql);
}

void TempDatabase::exec(const QString& sql) const
{
    m_dm->ensureOpen();
    QSqlQuery q(m_dm->ADOLocal());
    if (!q.exec(sql))
        qFatal("statement failed: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
}

QVariant TempDatabase::scalar(const QString& sql) const
{
    m_dm->ensureOpen();
    QSqlQuery q(m_dm->ADOLocal());
    if (!q.exec(sql))
        qFatal("query failed: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    return q.next() ? q.value(0) : QVariant();
}

int TempDatabase::count(const QString& table, const QString& where) const
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

void TempDatabase::addTerm(int code, const QString& name) const
{
    exec(QStringLiteral("insert into TTerm (TermCode,TermName) values (%1,%2)").arg(code).arg(q(name)));
}

void TempDatabase::addSubject(const QString& code, const QString& name) const
{
    exec(QStringLiteral("insert into TSubject (SubjCode,SubjName) values (%1,%2)").arg(q(code), q(name)));
}

void TempDatabase::addClass(const QString& code, const QString& name) const
{
    exec(QStringLiteral("insert into TClass (ClassCode,ClassName) values (%1,%2)").arg(q(code), q(name)));
}

void TempDatabase::activate(int term, const QString& classCode) const
{
    exec(QStringLiteral("insert into TTermToClass (TermCode,ClassCode) values (%1,%2)")
             .arg(term)
             .arg(q(classCode)));
}

void TempDatabase::plan(int term, const QString& classCode, const QString& subject) const
{
    exec(QStringLiteral("insert into TClassToSubject (TermCode,ClassCode,SubjCode) values (%1,%2,%3)")
             .arg(term)
             .arg(q(classCode), q(subject)));
}

int TempDatabase::addStudent(const QString& classCode, const QString& name, const QString& number) const
{
    exec(QStringLiteral("insert into TStudent (ClassCode,SName,SNumber) values (%1,%2,%3)")
             .arg(q(classCode), q(name), q(number)));
    return scalar(QStringLiteral("select max(ID) from TStudent")).toInt();
}

void TempDatabase::addGrade(int term, const QString& classCode, int student, const QString& subject,
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

void TempDatabase::addStandard(int term, const QString& classCode, const QString& subject, double score) const
{
    exec(QStringLiteral("insert into THonoursStd (TermCode,ClassCode,SubjectCode,Score) values (%1,%2,%3,%4)")
             .arg(term)
             .arg(q(classCode), q(subject))
             .arg(score, 0, 'g', 17));
}

void TempDatabase::addTwoTermSchool() const
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

ScriptedDialogs::ScriptedDialogs() : m_previous(SetDialogProvider(this)) {}

ScriptedDialogs::~ScriptedDialogs()
{
    SetDialogProvider(m_previous);
}

void ScriptedDialogs::message(const QString& text)
{
    messages << text;
    if (onMessage)
        onMessage(text);
}

bool ScriptedDialogs::question(const QString& text)
{
    questions << text;
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedDialogs::errorReport(const QString& text)
{
    errors << text;
}

QString ScriptedDialogs::saveFileName(QWidget*, const FileRequest& request)
{
    fileRequests << request;
    if (files.empty())
        return {};
    const QString file = files.front();
    files.pop_front();
    return file;
}

QString ScriptedDialogs::openFileName(QWidget* parent, const FileRequest& request)
{
    return saveFileName(parent, request);
}

void ScriptedDialogs::clear()
{
    messages.clear();
    questions.clear();
    errors.clear();
    fileRequests.clear();
}

void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs)
{
    auto* timer = new QTimer(qApp);
    auto started = std::make_shared<QElapsedTimer>();
    started->start();
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, started, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        } else if (started->elapsed() > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            qWarning("OnNextModal: no modal window appeared");
        }
    });
    timer->start();
}

void CloseModal(QWidget* window)
{
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    else if (window)
        window->close();
}

void SendKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers)
{
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

void Settle(int ms)
{
    QCoreApplication::processEvents();
    if (ms > 0)
        QTest::qWait(ms);
    QCoreApplication::processEvents();
}

void ClickNode(TTermClassTree* tree, QTreeWidgetItem* item)
{
    QTreeWidget* view = tree->Tree();
    view->scrollToItem(item);
    const QRect rect = view->visualItemRect(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    Settle();
}

void ClickBlank(TTermClassTree* tree)
{
    QTreeWidget* view = tree->Tree();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(5, view->viewport()->height() - 3));
    Settle();
}

QTreeWidgetItem* TermNode(TTermClassTree* tree, int term)
{
    return tree->Tree()->topLevelItem(term);
}

QTreeWidgetItem* ClassNode(TTermClassTree* tree, int term, int klass)
{
    QTreeWidgetItem* node = TermNode(tree, term);
    if (!node)
        return nullptr;
    node->setExpanded(true);
    return node->child(klass);
}

TempUserSettings::TempUserSettings()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
}
