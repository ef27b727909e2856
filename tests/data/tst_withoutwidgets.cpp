// The data layer on its own: this program links the data library, Qt Core,
// Qt SQL and QtTest, nothing of the windows (the build refuses to link Qt
// Gui or Widgets into it), and runs the layer's statements on a real data
// file made from the schema.
#include "TempDataFile.h"

#include "data/ClassResults.h"
#include "data/CodeTables.h"
#include "data/Plan.h"
#include "data/QueryObject.h"
#include "data/Roster.h"
#include "data/Scores.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

namespace {

qint64 studentId(const QString& classCode, const QString& name)
{
    const DbValue<RowSet> roster = Db::select(Roster::Students(classCode));
    for (int row = 0; roster && row < roster->rowCount(); ++row)
        if (roster->text(row, QStringLiteral("SName")) == name)
            return roster->value(row, QStringLiteral("ID")).toLongLong();
    return -1;
}

} // namespace

class WithoutWidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void noGuiInTheProcess();
    void aClassFromItsCodesToItsResults();
    void aRefusedStatementChangesNothing();
};

void WithoutWidgetsTest::noGuiInTheProcess()
{
    TempDataFile db;
    QVERIFY(Db::select(CodeTables::List(CodeTables::Terms()))); // the SQL driver is loaded by now
    QVERIFY(!QCoreApplication::instance()->inherits("QGuiApplication"));
#ifdef Q_OS_LINUX
    // Neither linked in nor pulled in by a plugin.
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    QVERIFY(mapped.contains("libQt6Core"));
    QVERIFY(!mapped.contains("libQt6Gui"));
    QVERIFY(!mapped.contains("libQt6Widgets"));
#endif
}

void WithoutWidgetsTest::aClassFromItsCodesToItsResults()
{
    TempDataFile db;
    QVERIFY(CodeTables::Store(CodeTables::Terms(), std::nullopt, "1", "一学期"));
    QVERIFY(CodeTables::Store(CodeTables::Terms(), std::nullopt, "2", "二学期"));
    QVERIFY(CodeTables::Store(CodeTables::Classes(), std::nullopt, "C1", "一班"));
    QVERIFY(CodeTables::Store(CodeTables::Subjects(), std::nullopt, "YW", "语文"));
    QVERIFY(CodeTables::Store(CodeTables::Subjects(), std::nullopt, "SX", "数学"));
    QVERIFY(Plan::Activate(1, "C1"));
    QVERIFY(Plan::Activate(2, "C1"));
    QVERIFY(Plan::AddSubject(2, "C1", "YW"));
    QVERIFY(Plan::AddSubject(2, "C1", "SX"));
    for (const char* name : {"Bob", "Ann"}) {
        Roster::Student student;
        student.ClassCode = "C1";
        student.SName = name;
        QVERIFY(Roster::StoreStudent(std::nullopt, student));
    }
    const qint64 ann = studentId("C1", "Ann");
    const qint64 bob = studentId("C1", "Bob");
    QVERIFY(ann > 0 && bob > 0);

    // Ann's rows from the plan, one score written; Bob has none. A row of
    // the first term written as the windows write one, naming its table.
    const ScoreRows annsRows{&Scores::Grades(), 2, "C1", int(ann)};
    QCOMPARE(*Scores::Initialise(annsRows, true), Scores::Initialised::Done);
    const DbValue<RowSet> rows = Db::select(Scores::List(annsRows));
    QVERIFY(rows);
    QCOMPARE(rows->rowCount(), 2);
    QCOMPARE(rows->text(0, "SubjectCode"), QString("SX"));
    QVERIFY(Scores::StoreScore(Scores::Grades(),
                               (*Scores::Find(Scores::Grades(), rows->value(0, "ID").toInt()))->read, 72.5));
    const DbValue<qint64> earlier = Db::insertRow(
        QStringLiteral("TGrade"),
        {{"TermCode", 1}, {"ClassCode", "C1"}, {"StudentID", ann}, {"SubjectCode", "YW"}, {"Score", 60.0}});
    QVERIFY(earlier && *earlier > 0);

    // The rows as a model, on Qt Core alone.
    QueryObject roster;
    QVERIFY(roster.open(Roster::Students("C1")));
    QCOMPARE(roster.rowCount(), 2);
    QCOMPARE(roster.data(roster.index(0, roster.fieldIndex("SName"))).toString(), QString("Ann"));

    const ClassResultsLoad load = LoadClassResults(2, "C1");
    QVERIFY(load.complete());
    const ClassResults& results = load.results;
    QCOMPARE(results.subjectCount(), 2);
    QCOMPARE(results.subjects().at(0).code, QString("SX"));
    const int a = results.indexOfStudent(ann);
    const int b = results.indexOfStudent(bob);
    QCOMPARE(results.score(a, 0), std::optional<double>(72.5));
    QCOMPARE(results.score(a, 1), std::optional<double>(0.0)); // initialised, not missing
    QCOMPARE(results.score(b, 0), std::nullopt);
    QCOMPARE(results.previousTotal(a), std::optional<double>(60.0));
    QCOMPARE(results.previousTotal(b), std::nullopt);
}

void WithoutWidgetsTest::aRefusedStatementChangesNothing()
{
    TempDataFile db;
    db.addClass("C1", "一班");
    const int pupil = db.addStudent("C1", "Ann");
    const int classId = db.scalar("select ID from TClass where ClassCode='C1'").toInt();

    // Still used by a student: refused with the engine's reason, kept.
    const DbResult removed =
        CodeTables::Remove(CodeTables::Classes(), (*CodeTables::Find(CodeTables::Classes(), classId))->read);
    QVERIFY(!removed);
    QVERIFY(!removed.error().isEmpty());
    QCOMPARE(db.count("TClass"), 1);

    QVERIFY(
        Db::updateRow(QStringLiteral("TStudent"), RowImage{pupil + 1, {}}, {{"SName", "Bob"}}).isConflict());
    QVERIFY(!Db::execute({QStringLiteral("insert into TNoSuchTable values (?)"), {1}}));

    // A unit whose second statement fails leaves nothing of the first.
    {
        Transaction transaction;
        QVERIFY(transaction.isStarted());
        QVERIFY(Db::insertRow(QStringLiteral("TTerm"), {{"TermCode", 1}, {"TermName", "一学期"}}));
        QVERIFY(!Db::insertRow(QStringLiteral("TTerm"), {{"TermCode", 1}, {"TermName", "again"}}));
    }
    QCOMPARE(db.count("TTerm"), 0);
    QCOMPARE(db.scalar("select SName from TStudent").toString(), QString("Ann"));
}

QTEST_GUILESS_MAIN(WithoutWidgetsTest)
#include "tst_withoutwidgets.moc"
