// Reading a class's results from a real data file into the plain value the
// statistics table, and later the summaries and exports, work from.
#include "TestSupport.h"

#include "data/ClassResults.h"

#include <QTest>

namespace {

const QString C1 = QStringLiteral("C1");

// A term, class C1 with a plan entered out of code order: YW, SX, WL.
void planned(TempDatabase& db, int term = 1)
{
    db.addTerm(term, QStringLiteral("学期%1").arg(term));
    db.addClass(C1, QStringLiteral("一班"));
    db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
    db.addSubject(QStringLiteral("SX"), QStringLiteral("数学"));
    db.addSubject(QStringLiteral("WL"), QStringLiteral("物理"));
    db.activate(term, C1);
    for (const char* code : {"YW", "SX", "WL"})
        db.plan(term, C1, QLatin1String(code));
}

QStringList codes(const ClassResults& results)
{
    QStringList list;
    for (const PlanSubject& subject : results.subjects())
        list << subject.code;
    return list;
}

} // namespace

class ClassResultsTest : public QObject {
    Q_OBJECT

private slots:
    void rosterPlanAndScores()
    {
        TempDatabase db;
        planned(db);
        db.addSubject(QStringLiteral("HX"), QStringLiteral("化学")); // not in the plan
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        const int zhang1 = db.addStudent(C1, QStringLiteral("张三"), QStringLiteral("7"));
        const int li = db.addStudent(C1, QStringLiteral("李四"), QStringLiteral("3"));
        const int zhang2 = db.addStudent(C1, QStringLiteral("张三"), QStringLiteral("9")); // a namesake
        const int other = db.addStudent(QStringLiteral("C2"), QStringLiteral("王五"));
        db.addGrade(1, C1, li, QStringLiteral("SX"), 0); // a stored 0
        db.addGrade(1, C1, li, QStringLiteral("YW"), 59.96);
        db.addGrade(1, C1, li, QStringLiteral("HX"), 90);    // outside the plan
        db.addGrade(1, C1, other, QStringLiteral("YW"), 88); // outside the roster
        db.addTerm(2, QStringLiteral("学期2"));
        db.addGrade(2, C1, li, QStringLiteral("WL"), 77); // another term

        const ClassResultsLoad load = LoadClassResults(1, C1);
        QVERIFY(load.complete());
        const ClassResults& r = load.results;

        // The roster by name (character codes: 张 before 李), namesakes in
        // the order entered.
        QCOMPARE(r.studentCount(), 3);
        QCOMPARE(r.students().at(0).id, qint64(zhang1));
        QCOMPARE(r.students().at(1).id, qint64(zhang2));
        QCOMPARE(r.students().at(1).number, QStringLiteral("9"));
        QCOMPARE(r.students().at(2).id, qint64(li));
        QCOMPARE(r.indexOfStudent(li), 2);
        // The plan by subject code, with the names.
        QCOMPARE(codes(r), QStringList({"SX", "WL", "YW"}));
        QCOMPARE(r.subjects().at(2).name, QStringLiteral("语文"));

        // A stored 0 is a score; a missing score is none, and both show 0.
        const int sx = r.indexOfSubject(QStringLiteral("SX"));
        const int wl = r.indexOfSubject(QStringLiteral("WL"));
        const int yw = r.indexOfSubject(QStringLiteral("YW"));
        QCOMPARE(r.score(2, sx), std::optional<double>(0.0));
        QCOMPARE(r.score(2, wl), std::nullopt);
        QCOMPARE(r.shownScore(2, wl), 0.0);
        QCOMPARE(r.score(2, yw), std::optional<double>(59.96));
        QCOMPARE(r.shownScore(2, yw), 60.0);
        QCOMPARE(r.total(2), 60.0);
        QCOMPARE(r.indexOfSubject(QStringLiteral("HX")), -1);
        QCOMPARE(r.indexOfStudent(other), -1);
        for (int s = 0; s < 2; ++s)
            for (int j = 0; j < 3; ++j)
                QCOMPARE(r.score(s, j), std::nullopt);
    }

    void theLaterOfTwoScoreRowsCounts()
    {
        TempDatabase db;
        planned(db);
        const int s = db.addStudent(C1, QStringLiteral("甲"));
        db.addGrade(1, C1, s, QStringLiteral("YW"), 90);
        db.addGrade(1, C1, s, QStringLiteral("YW"), 70);
        db.addGrade(1, C1, s, QStringLiteral("SX"), 60);
        db.addGrade(1, C1, s, QStringLiteral("SX"), 80);
        const ClassResults r = LoadClassResults(1, C1).results;
        QCOMPARE(r.score(0, r.indexOfSubject(QStringLiteral("YW"))), std::optional<double>(70.0));
        QCOMPARE(r.score(0, r.indexOfSubject(QStringLiteral("SX"))), std::optional<double>(80.0));
    }

    void subjectsOfOneNameAreKeptApartByCode()
    {
        TempDatabase db;
        planned(db);
        db.addSubject(QStringLiteral("YW2"), QStringLiteral("语文"));
        db.plan(1, C1, QStringLiteral("YW2"));
        const int s = db.addStudent(C1, QStringLiteral("甲"));
        db.addGrade(1, C1, s, QStringLiteral("YW"), 70);
        db.addGrade(1, C1, s, QStringLiteral("YW2"), 90);
        db.addStandard(1, C1, QStringLiteral("YW2"), 95);
        const ClassResults r = LoadClassResults(1, C1).results;
        QCOMPARE(codes(r), QStringList({"SX", "WL", "YW", "YW2"}));
        QCOMPARE(r.score(0, 2), std::optional<double>(70.0));
        QCOMPARE(r.score(0, 3), std::optional<double>(90.0));
        QCOMPARE(r.standard(2), std::nullopt);
        QCOMPARE(r.standard(3), std::optional<double>(95.0));
    }

    void standardsAndTheMarks()
    {
        TempDatabase db;
        planned(db);
        db.addStandard(1, C1, QStringLiteral("YW"), 85);
        db.addStandard(1, C1, QStringLiteral("YW"), 99); // a second row for one subject: the first counts
        db.addStandard(1, C1, QStringLiteral("SX"), 0);
        const int a = db.addStudent(C1, QStringLiteral("a"));
        const int b = db.addStudent(C1, QStringLiteral("b"));
        for (const auto& [id, yw] : {std::pair{a, 85.0}, {b, 84.96}}) {
            db.addGrade(1, C1, id, QStringLiteral("YW"), yw);
            db.addGrade(1, C1, id, QStringLiteral("SX"), 59.96);
            db.addGrade(1, C1, id, QStringLiteral("WL"), 59.94);
        }
        const ClassResults r = LoadClassResults(1, C1).results;
        const int yw = r.indexOfSubject(QStringLiteral("YW"));
        const int wl = r.indexOfSubject(QStringLiteral("WL"));
        QCOMPARE(r.standard(yw), std::optional<double>(85.0));
        QCOMPARE(r.standard(r.indexOfSubject(QStringLiteral("SX"))), std::optional<double>(0.0));
        QCOMPARE(r.standard(wl), std::nullopt);
        QCOMPARE(r.threshold(wl), 0.0);
        // 84.96 shows as 85.0 and reaches 85; 59.94 shows as 59.9 and fails.
        QVERIFY(r.marks(0).honours && r.marks(1).honours);
        QVERIFY(r.marks(0).failing);
        QVERIFY(!r.marks(0).progress); // no earlier term
    }

    void previousTermTotals()
    {
        TempDatabase db;
        planned(db, 5);
        db.addTerm(1, QStringLiteral("学期1"));
        db.addTerm(3, QStringLiteral("学期3")); // the previous term, though the class was not active in it
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        const int before = db.addStudent(C1, QStringLiteral("a"));
        const int zero = db.addStudent(C1, QStringLiteral("b"));
        const int elsewhere = db.addStudent(C1, QStringLiteral("c"));
        const int none = db.addStudent(C1, QStringLiteral("d"));
        db.addGrade(5, C1, before, QStringLiteral("YW"), 220.1);
        db.addGrade(5, C1, before, QStringLiteral("SX"), 220);
        db.addGrade(3, C1, before, QStringLiteral("YW"), 200);
        db.addSubject(QStringLiteral("X"), QStringLiteral("选修"));
        db.addGrade(3, C1, before, QStringLiteral("X"), 200); // outside this term's plan: counted
        db.addGrade(3, C1, zero, QStringLiteral("YW"), 0);
        db.addGrade(3, QStringLiteral("C2"), elsewhere, QStringLiteral("YW"), 90); // under another class
        db.addGrade(1, C1, none, QStringLiteral("YW"), 50);                        // an older term

        const ClassResultsLoad load = LoadClassResults(5, C1);
        QVERIFY(load.complete());
        const ClassResults& r = load.results;
        QCOMPARE(r.previousTerm(), std::optional<qint64>(3));
        QCOMPARE(r.previousTotal(0), std::optional<double>(400.0));
        QCOMPARE(r.previousTotal(1), std::optional<double>(0.0));
        QCOMPARE(r.previousTotal(2), std::nullopt);
        QCOMPARE(r.previousTotal(3), std::nullopt);
        QCOMPARE(r.shownPreviousTotal(3), 0.0);
        QVERIFY(r.marks(0).progress); // 440.1 against 400.0

        // The first term has no previous one.
        db.activate(1, C1);
        const ClassResults first = LoadClassResults(1, C1).results;
        QCOMPARE(first.previousTerm(), std::nullopt);
        QCOMPARE(first.previousTotal(0), std::nullopt);
    }

    void aFailedStepStopsTheReading_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("step");
        QTest::newRow("roster") << "TStudent" << int(ClassResultsLoad::Step::Students);
        QTest::newRow("plan") << "TClassToSubject" << int(ClassResultsLoad::Step::Plan);
        QTest::newRow("subject names") << "TSubject" << int(ClassResultsLoad::Step::Plan);
        QTest::newRow("scores") << "TGrade" << int(ClassResultsLoad::Step::Scores);
        QTest::newRow("standards") << "THonoursStd" << int(ClassResultsLoad::Step::Standards);
        QTest::newRow("previous term") << "TTerm" << int(ClassResultsLoad::Step::PreviousTerm);
    }
    void aFailedStepStopsTheReading()
    {
        QFETCH(QString, table);
        QFETCH(int, step);
        TempDatabase db;
        planned(db);
        const int s = db.addStudent(C1, QStringLiteral("甲"));
        db.addGrade(1, C1, s, QStringLiteral("YW"), 70);
        db.exec(QStringLiteral("PRAGMA foreign_keys = OFF"));
        db.exec(QStringLiteral("alter table %1 rename to TGone").arg(table));

        const ClassResultsLoad load = LoadClassResults(1, C1);
        QCOMPARE(int(load.failed), step);
        QVERIFY(!load.complete());
        const auto failed = ClassResultsLoad::Step(step);
        QVERIFY(!load.has(failed));
        // What came before is in the value.
        if (load.has(ClassResultsLoad::Step::Students))
            QCOMPARE(load.results.studentCount(), 1);
        if (load.has(ClassResultsLoad::Step::Plan))
            QCOMPARE(load.results.subjectCount(), 3);
        if (load.has(ClassResultsLoad::Step::Scores))
            QCOMPARE(load.results.score(0, load.results.indexOfSubject(QStringLiteral("YW"))),
                     std::optional<double>(70.0));
    }

    void thePlanAlone()
    {
        TempDatabase db;
        planned(db);
        const DbValue<QVector<PlanSubject>> plan = ReadPlanSubjects(1, C1);
        QVERIFY(plan);
        QCOMPARE(plan->size(), 3);
        QCOMPARE(plan->first().code, QStringLiteral("SX"));
        QCOMPARE(plan->first().name, QStringLiteral("数学"));
        // A class without a plan in a term has none, which is not a failure.
        const DbValue<QVector<PlanSubject>> empty = ReadPlanSubjects(2, C1);
        QVERIFY(empty && empty->isEmpty());
        // A code with a quote is a value like any other.
        const DbValue<QVector<PlanSubject>> quoted = ReadPlanSubjects(1, QStringLiteral("C1' or '1'='1"));
        QVERIFY(quoted && quoted->isEmpty());
    }
};

QTEST_MAIN(ClassResultsTest)
#include "tst_classresults.moc"
