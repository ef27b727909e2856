// The figures of a class (参考人数, averages, rates, places, score bands)
// on hand-made classes, against values worked out by hand below; and the
// grouped reads behind the comparison of classes and a student's history,
// which must come to the very same figures as a single class's reading.
#include "TestSupport.h"

#include "data/ClassComparison.h"
#include "data/ClassResults.h"
#include "data/Figures.h"
#include "data/GroupedResults.h"
#include "data/Places.h"
#include "data/Roster.h"
#include "data/ScoreBands.h"
#include "data/Scores.h"
#include "data/StudentHistory.h"
#include <QTest>

using Values = std::vector<std::optional<qint64>>;
Q_DECLARE_METATYPE(Values)
Q_DECLARE_METATYPE(Places)

namespace {

const QString A = QStringLiteral("A");
const QString B = QStringLiteral("B");

struct Ids {
    int jia, yi, bing, ding, wu, ji;
};

// Term 2, class A: 语文 (YW, standard 85), 数学 (SX, standard 90), 物理
// (WL, no standard). By hand:
//   甲 YW 90    SX 95     WL 100  total 285.0  place 1
//   乙 YW 60    SX 59.96  WL 105  total 225.0  place 2  (59.96 shows as 60.0)
//   丙 YW 85    SX 90     WL 50   total 225.0  place 2  (exactly the standards)
//   丁 YW 59.94                   total  59.9  place 4  (shows as 59.9, fails)
//   戊 no score at all                          no place
//   己          SX 0 (stored)     total   0.0  place 5
// Term 1, class A, only YW: 甲 70, 乙 80, 丙 90, 己 60 -> places 丙 1, 乙 2,
// 甲 3, 己 4; 丁 and 戊 have none there.
// Class B in term 2 takes YW and 化学 (HX) only; class C in term 2 has no
// earlier term of its own but term 1 exists.
Ids schoolOfTwoTerms(TempDatabase& db)
{
    db.addTerm(1, QStringLiteral("第一学期"));
    db.addTerm(2, QStringLiteral("第二学期"));
    db.addClass(A, QStringLiteral("甲班"));
    db.addClass(B, QStringLiteral("乙班"));
    db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
    db.addSubject(QStringLiteral("SX"), QStringLiteral("数学"));
    db.addSubject(QStringLiteral("WL"), QStringLiteral("物理"));
    db.addSubject(QStringLiteral("HX"), QStringLiteral("化学"));
    db.activate(1, A);
    db.plan(1, A, QStringLiteral("YW"));
    db.activate(2, A);
    db.activate(2, B);
    for (const char* code : {"YW", "SX", "WL"})
        db.plan(2, A, QLatin1String(code));
    db.plan(2, B, QStringLiteral("YW"));
    db.plan(2, B, QStringLiteral("HX"));
    db.addStandard(2, A, QStringLiteral("YW"), 85);
    db.addStandard(2, A, QStringLiteral("SX"), 90);
    db.addStandard(2, B, QStringLiteral("HX"), 80);

    Ids id{};
    id.jia = db.addStudent(A, QStringLiteral("甲"), QStringLiteral("1"));
    id.yi = db.addStudent(A, QStringLiteral("乙"), QStringLiteral("2"));
    id.bing = db.addStudent(A, QStringLiteral("丙"), QStringLiteral("3"));
    id.ding = db.addStudent(A, QStringLiteral("丁"), QStringLiteral("4"));
    id.wu = db.addStudent(A, QStringLiteral("戊"), QStringLiteral("5"));
    id.ji = db.addStudent(A, QStringLiteral("己"), QStringLiteral("6"));
    const auto scores = [&](int student, std::initializer_list<std::pair<const char*, double>> list) {
        for (const auto& [subject, score] : list)
            db.addGrade(2, A, student, QLatin1String(subject), score);
    };
    scores(id.jia, {{"YW", 90}, {"SX", 95}, {"WL", 100}});
    scores(id.yi, {{"YW", 60}, {"SX", 59.96}, {"WL", 105}});
    scores(id.bing, {{"YW", 85}, {"SX", 90}, {"WL", 50}});
    scores(id.ding, {{"YW", 59.94}, {"HX", 99}}); // HX is not in A's plan
    scores(id.ji, {{"SX", 0}});
    for (const auto& [student, score] :
         {std::pair{id.jia, 70.0}, {id.yi, 80.0}, {id.bing, 90.0}, {id.ji, 60.0}})
        db.addGrade(1, A, student, QStringLiteral("YW"), score);

    // Class B: two students; 2 x YW and one HX.
    const int b1 = db.addStudent(B, QStringLiteral("子"));
    const int b2 = db.addStudent(B, QStringLiteral("丑"));
    db.addGrade(2, B, b1, QStringLiteral("YW"), 70);
    db.addGrade(2, B, b2, QStringLiteral("YW"), 75);
    db.addGrade(2, B, b1, QStringLiteral("HX"), 80);
    return id;
}

QStringList texts(const ColumnFigures& f)
{
    return {FigureText::Count(f.sat),    FigureText::Average(f.average), FigureText::Score(f.highest),
            FigureText::Score(f.lowest), FigureText::Rate(f.passRate),   FigureText::Rate(f.excellentRate)};
}

QStringList bandTexts(const BandSpread& spread)
{
    QStringList list;
    for (const ScoreBand& band : spread.bands)
        list << QStringLiteral("%1:%2").arg(band.label).arg(band.count);
    return list;
}

bool sameFigures(const ColumnFigures& a, const ColumnFigures& b)
{
    return texts(a) == texts(b);
}

} // namespace

class FiguresTest : public QObject {
    Q_OBJECT

private slots:
    void subjectFigures_data()
    {
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QStringList>("expected"); // 参考人数, 平均分, 最高分, 最低分, 及格率, 优秀率
        // YW: 90 + 60 + 85 + 59.9 = 294.9 over 4 = 73.725, shown 73.73; 3 of 4
        // pass (59.9 does not); 90 and exactly 85 reach the standard.
        QTest::newRow("语文") << "YW" << QStringList{"4", "73.73", "90.0", "59.9", "75.0%", "50.0%"};
        // SX: 95 + 60.0 + 90 + 0 (a stored 0 counts) = 245 over 4 = 61.25;
        // 59.96 shows as 60.0 and passes; 95 and exactly 90 reach the standard.
        QTest::newRow("数学") << "SX" << QStringList{"4", "61.25", "95.0", "0.0", "75.0%", "50.0%"};
        // WL: 100 + 105 + 50 = 255 over 3 = 85; 2 of 3 pass = 66.7%; no standard.
        QTest::newRow("物理 without a standard")
            << "WL" << QStringList{"3", "85.00", "105.0", "50.0", "66.7%", "—"};
    }
    void subjectFigures()
    {
        QFETCH(QString, subject);
        QFETCH(QStringList, expected);
        TempDatabase db;
        schoolOfTwoTerms(db);
        const ClassResults r = LoadClassResults(2, A).results;
        QCOMPARE(texts(SubjectFigures(r, r.indexOfSubject(subject))), expected);
    }

    void totalFigures()
    {
        TempDatabase db;
        schoolOfTwoTerms(db);
        const ClassResults r = LoadClassResults(2, A).results;
        // 戊 without a score is left out: 285 + 225 + 225 + 59.9 + 0 = 794.9
        // over 5 = 158.98; the totals have no rates.
        const ColumnFigures total = TotalFigures(r);
        QCOMPARE(texts(total), (QStringList{"5", "158.98", "285.0", "0.0", "—", "—"}));
        QVERIFY(!total.passRate && !total.excellentRate);
    }

    void nobodySat()
    {
        TempDatabase db;
        schoolOfTwoTerms(db);
        db.exec(QStringLiteral("delete from TGrade where TermCode = 2 and ClassCode = 'A'"));
        const ClassResults r = LoadClassResults(2, A).results;
        QCOMPARE(texts(SubjectFigures(r, 0)), (QStringList{"0", "—", "—", "—", "—", "—"}));
        QCOMPARE(TotalFigures(r).sat, 0);
        QCOMPARE(TermPlaces(r), Places(6));
    }

    void percentsRoundHalvesAway_data()
    {
        QTest::addColumn<int>("part");
        QTest::addColumn<int>("whole");
        QTest::addColumn<QString>("text");
        QTest::newRow("7 of 8") << 7 << 8 << "87.5%";
        QTest::newRow("1 of 3") << 1 << 3 << "33.3%";
        QTest::newRow("2 of 3") << 2 << 3 << "66.7%";
        QTest::newRow("1 of 16 = 6.25") << 1 << 16 << "6.3%";
        QTest::newRow("all") << 5 << 5 << "100.0%";
        QTest::newRow("none") << 0 << 5 << "0.0%";
    }
    void percentsRoundHalvesAway()
    {
        QFETCH(int, part);
        QFETCH(int, whole);
        QFETCH(QString, text);
        QCOMPARE(FigureText::Rate(Percent(part, whole)), text);
    }

    void competitionPlaces_data()
    {
        QTest::addColumn<Values>("values");
        QTest::addColumn<Places>("places");
        QTest::newRow("1 2 2 4") << Values{10, 20, 20, 30} << Places{4, 2, 2, 1};
        QTest::newRow("all equal") << Values{5, 5, 5} << Places{1, 1, 1};
        QTest::newRow("no value, no place") << Values{std::nullopt, 1, 2} << Places{std::nullopt, 2, 1};
        QTest::newRow("a tie at the end") << Values{3, 1, 1} << Places{1, 2, 2};
        QTest::newRow("nothing") << Values{} << Places{};
    }
    void competitionPlaces()
    {
        QFETCH(Values, values);
        QFETCH(Places, places);
        QCOMPARE(CompetitionPlaces(values), places);
    }

    void placesAndTheirChange()
    {
        TempDatabase db;
        const Ids id = schoolOfTwoTerms(db);
        const ClassResultsLoad load = LoadClassResults(2, A);
        const ClassResults& r = load.results;
        const Places now = TermPlaces(r);
        const DbValue<Places> before = ReadPreviousPlaces(r);
        QVERIFY(before);
        const auto change = [&](int student) {
            const int s = r.indexOfStudent(student);
            return PlaceText(now.at(s)) + QLatin1Char(' ') + PlaceChangeText(now.at(s), before->at(s));
        };
        // Totals 285, 225, 225 share places 1, 2, 2; 59.9 is 4th, 0.0 5th.
        QCOMPARE(change(id.jia), QStringLiteral("1 ↑2"));  // 3rd before
        QCOMPARE(change(id.yi), QStringLiteral("2 0"));    // 2nd before
        QCOMPARE(change(id.bing), QStringLiteral("2 ↓1")); // 1st before
        QCOMPARE(change(id.ding), QStringLiteral("4 —"));  // no score before
        QCOMPARE(change(id.wu), QStringLiteral("— —"));    // no score now
        QCOMPARE(change(id.ji), QStringLiteral("5 ↓1"));
    }

    void aClassWithoutAnEarlierTermHasNoChange()
    {
        TempDatabase db;
        schoolOfTwoTerms(db);
        const ClassResults r = LoadClassResults(1, A).results; // the first term
        const DbValue<Places> before = ReadPreviousPlaces(r);
        QVERIFY(before);
        QCOMPARE(*before, Places(r.studentCount()));
        QCOMPARE(PlaceChangeText(1, std::nullopt), QStringLiteral("—"));
    }

    void scoreBands_data()
    {
        QTest::addColumn<QString>("subject"); // empty: 总分
        QTest::addColumn<QStringList>("bands");
        QTest::addColumn<int>("sat");
        // YW 59.9 | 60 | - | 85 | 90.
        QTest::newRow("语文") << "YW" << QStringList{"0–59:1", "60–69:1", "70–79:0", "80–89:1", "90–100:1"}
                              << 4;
        // WL 50 | 100 in 90–100 | 105 above 100.
        QTest::newRow("物理 above 100")
            << "WL" << QStringList{"0–59:1", "60–69:0", "70–79:0", "80–89:0", "90–100:1", "100以上:1"} << 3;
        // 总分 of three subjects: bounds times 3; 59.9 and 0.0 | 225 twice | 285.
        QTest::newRow("总分") << QString()
                              << QStringList{"0–179:2", "180–209:0", "210–239:2", "240–269:0", "270–300:1"}
                              << 5;
    }
    void scoreBands()
    {
        QFETCH(QString, subject);
        QFETCH(QStringList, bands);
        QFETCH(int, sat);
        TempDatabase db;
        schoolOfTwoTerms(db);
        const ClassResults r = LoadClassResults(2, A).results;
        const BandSpread spread =
            subject.isEmpty() ? TotalSpread(r) : SubjectSpread(r, r.indexOfSubject(subject));
        QCOMPARE(bandTexts(spread), bands);
        QCOMPARE(spread.sat, sat);
    }

    void aTermReadAtOnceEqualsEachClassReadAlone()
    {
        TempDatabase db;
        schoolOfTwoTerms(db);
        // A second row for one score: the later one counts in both readings.
        db.addGrade(2, B, db.scalar("select ID from TStudent where SName = '子'").toInt(),
                    QStringLiteral("YW"), 40);
        const DbValue<TermResults> term = LoadTermResults(2);
        QVERIFY(term);
        QCOMPARE(term->classes.size(), 2);
        QCOMPARE(term->classes.at(1).name, QStringLiteral("乙班"));
        for (int k = 0; k < 2; ++k) {
            const ClassResults alone = LoadClassResults(2, term->classes.at(k).code).results;
            const ClassResults& grouped = term->results.at(k);
            QCOMPARE(grouped.studentCount(), alone.studentCount());
            QCOMPARE(grouped.subjectCount(), alone.subjectCount());
            for (int j = 0; j < alone.subjectCount(); ++j) {
                QCOMPARE(grouped.subjects().at(j).code, alone.subjects().at(j).code);
                QCOMPARE(grouped.standard(j), alone.standard(j));
                QVERIFY(sameFigures(SubjectFigures(grouped, j), SubjectFigures(alone, j)));
                for (int s = 0; s < alone.studentCount(); ++s)
                    QCOMPARE(grouped.score(s, j), alone.score(s, j));
            }
            QVERIFY(sameFigures(TotalFigures(grouped), TotalFigures(alone)));
        }
        QCOMPARE(term->results.at(1).score(1, term->results.at(1).indexOfSubject("YW")), std::optional(40.0));
    }

    void comparisonOfTheTermsClasses()
    {
        TempDatabase db;
        schoolOfTwoTerms(db);
        const ClassComparison c = CompareClasses(*LoadTermResults(2));
        QStringList codes;
        for (const PlanSubject& subject : c.subjects)
            codes << subject.code;
        QCOMPARE(codes, (QStringList{"HX", "SX", "WL", "YW"})); // every plan's, by code
        QCOMPARE(c.rows.size(), size_t(2));
        const ClassComparison::Row& a = c.rows.at(0);
        const ClassComparison::Row& b = c.rows.at(1);
        // Subjects only some classes take are blank for the others.
        QVERIFY(!a.subjects.at(0) && a.subjects.at(1) && a.subjects.at(3));
        QVERIFY(b.subjects.at(0) && !b.subjects.at(1) && !b.subjects.at(2));
        QCOMPARE(FigureText::Average(a.subjects.at(3)->average), QStringLiteral("73.73"));
        // B: 子 70 + 80 = 150, 丑 75: average 112.50 below A's 158.98.
        QCOMPARE(FigureText::Average(b.total.average), QStringLiteral("112.50"));
        QCOMPARE(b.subjects.at(0)->excellentRate, std::optional(100.0)); // 80 of 80 reached
        QCOMPARE(a.place, Place(1));
        QCOMPARE(b.place, Place(2));
        QCOMPARE(a.total.sat, 5);
    }

    void equalAveragesShareAPlace()
    {
        TempDatabase db;
        db.addTerm(1, QStringLiteral("t"));
        db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
        for (const char* code : {"C1", "C2", "C3"}) {
            db.addClass(QLatin1String(code), QLatin1String(code));
            db.activate(1, QLatin1String(code));
            db.plan(1, QLatin1String(code), QStringLiteral("YW"));
        }
        // C1 and C3 average 80.00, C2 90.00; C3 by two students.
        db.addGrade(1, "C1", db.addStudent("C1", "a"), "YW", 80);
        db.addGrade(1, "C2", db.addStudent("C2", "b"), "YW", 90);
        db.addGrade(1, "C3", db.addStudent("C3", "c"), "YW", 70);
        db.addGrade(1, "C3", db.addStudent("C3", "d"), "YW", 90);
        const ClassComparison c = CompareClasses(*LoadTermResults(1));
        QCOMPARE(c.rows.at(0).place, Place(2));
        QCOMPARE(c.rows.at(1).place, Place(1));
        QCOMPARE(c.rows.at(2).place, Place(2));
    }

    void aStudentsHistory()
    {
        TempDatabase db;
        const Ids id = schoolOfTwoTerms(db);
        const DbValue<StudentHistory> history = LoadStudentHistory(id.jia);
        QVERIFY(history);
        QCOMPARE(history->name, QStringLiteral("甲"));
        QCOMPARE(history->terms.size(), 2);
        QCOMPARE(history->terms.at(0).termName, QStringLiteral("第一学期"));
        QCOMPARE(history->terms.at(0).total, 70.0);
        QCOMPARE(history->terms.at(0).place, 3);
        QCOMPARE(history->terms.at(0).ranked, 4);
        QCOMPARE(history->terms.at(1).total, 285.0);
        QCOMPARE(history->terms.at(1).place, 1);
        QCOMPARE(history->terms.at(1).ranked, 5);

        // 丁 has no score in term 1 and, in term 2, besides YW one of HX
        // outside the plan: only term 2, place 4 of 5.
        const StudentHistory ding = *LoadStudentHistory(id.ding);
        QCOMPARE(ding.terms.size(), 1);
        QCOMPARE(ding.terms.at(0).place, 4);
        // Without any score, and an unknown student: nothing.
        QVERIFY(LoadStudentHistory(id.wu)->terms.isEmpty());
        QVERIFY(LoadStudentHistory(99999)->terms.isEmpty());
    }

    void manyScoresAreReadFromTheIndexAlone()
    {
        // The statements of the grouped reads, as the planner takes them: a
        // whole term's or class's scores without a look into the table and
        // without sorting them.
        FILE_ENGINE_ONLY();
        TempDatabase db;
        schoolOfTwoTerms(db);
        const auto plan = [](const Statement& read) {
            const DbValue<RowSet> rows =
                Db::select({QStringLiteral("explain query plan ") + read.text, read.values});
            QStringList steps;
            for (int row = 0; rows && row < rows->rowCount(); ++row)
                steps << rows->text(row, QStringLiteral("detail"));
            return steps.join(QLatin1Char('|'));
        };
        const QString term = plan(Scores::OfTerm(2));
        const QString klass = plan(Scores::OfClassInTerms(A, {1, 2}));
        QVERIFY(!term.isEmpty() && !klass.isEmpty());
        for (const QString& steps : {term, klass}) {
            QVERIFY2(steps.contains(QStringLiteral("COVERING INDEX IX_TGrade_Scores")), qPrintable(steps));
            QVERIFY2(!steps.contains(QStringLiteral("TEMP B-TREE")), qPrintable(steps));
        }
        // Nor are a term's students and standards sorted: they come in the
        // order of their indexes.
        for (const Statement& read : {Roster::StudentsOfTerm(2), Scores::StandardsOfTerm(2)}) {
            const QString steps = plan(read);
            QVERIFY2(!steps.isEmpty() && !steps.contains(QStringLiteral("TEMP B-TREE")), qPrintable(steps));
        }
    }

    void aStatementOfSeveralRowsRunsOnceForEachListOfValues()
    {
        TempDatabase db;
        const QString insert =
            QStringLiteral("Insert into TClass (ClassCode, ClassName) Values (?, ?), (?, ?)");
        {
            PreparedStatement twoRows(insert);
            QVERIFY(twoRows.run({QStringLiteral("A1"), QStringLiteral("甲'一"), QStringLiteral("A2"),
                                 QStringLiteral("甲二")}));
            QVERIFY(twoRows.run({QStringLiteral("B1"), QStringLiteral("乙一"), QStringLiteral("B2"),
                                 QStringLiteral("乙二")}));
        }
        const auto classes = [] {
            const DbValue<RowSet> rows = Db::select(
                {QStringLiteral("select ClassCode, ClassName from TClass order by ClassCode"), {}});
            QStringList seen;
            for (int row = 0; rows && row < rows->rowCount(); ++row)
                seen << rows->value(row, 0).toString() + rows->value(row, 1).toString();
            return seen;
        };
        QCOMPARE(classes(), (QStringList{"A1甲'一", "A2甲二", "B1乙一", "B2乙二"}));

        // A list that fails (a class code that exists, values that do not
        // match the marks) leaves the statement usable for the next.
        {
            PreparedStatement twoRows(insert);
            const DbResult taken = twoRows.run(
                {QStringLiteral("A1"), QStringLiteral("甲"), QStringLiteral("C3"), QStringLiteral("丙")});
            QVERIFY(!taken);
            QVERIFY(!taken.error().isEmpty());
            QVERIFY(!twoRows.run({QStringLiteral("D1"), QStringLiteral("丁")}));
            QVERIFY(twoRows.run(
                {QStringLiteral("C4"), QStringLiteral("丙"), QStringLiteral("C5"), QStringLiteral("丙")}));
        }
        QCOMPARE(classes().size(), 6);
        // Inside a transaction nothing of it is kept once that is rolled back.
        {
            Transaction transaction(Transaction::Kind::Write);
            QVERIFY(transaction.isStarted());
            PreparedStatement twoRows(insert);
            QVERIFY(twoRows.run(
                {QStringLiteral("E1"), QStringLiteral("戊"), QStringLiteral("E2"), QStringLiteral("戊")}));
            QVERIFY(!twoRows.run(
                {QStringLiteral("A1"), QStringLiteral("甲"), QStringLiteral("E3"), QStringLiteral("戊")}));
        }
        QCOMPARE(classes().size(), 6);
        QVERIFY(!PreparedStatement(QStringLiteral("Insert into Nothing Values (?)")).run({1}));
    }

    void aStreamedReadBindsItsValuesAndSaysWhenItFails()
    {
        TempDatabase db;
        db.addClass(QStringLiteral("O'B"), QStringLiteral("名'字"));
        db.addClass(QStringLiteral("X"), QStringLiteral("x"));
        QStringList seen;
        const auto names = [&seen](const StreamRow& row) {
            seen << row.text(1) + QLatin1Char('|') + row.text(0);
        };
        // A value with a quote stays a value.
        QVERIFY(Db::selectEach({QStringLiteral("Select ClassCode, ClassName from TClass Where ClassCode = ?"),
                                {QStringLiteral("O'B")}},
                               names));
        QCOMPARE(seen, QStringList{QStringLiteral("名'字|O'B")});

        // Refused: a statement the engine does not take, a write, values that
        // do not match the marks. Nothing is visited and nothing written.
        seen.clear();
        QVERIFY(!Db::selectEach({QStringLiteral("Select Nothing from TClass"), {}}, names));
        QVERIFY(!Db::selectEach(
            {QStringLiteral("Delete from TClass Where ClassCode = ?"), {QStringLiteral("X")}}, names));
        QVERIFY(!Db::selectEach(
            {QStringLiteral("Select ClassCode, ClassName from TClass Where ClassCode = ?"), {}}, names));
        QVERIFY(seen.isEmpty());
        QCOMPARE(db.scalar("select count(*) from TClass").toInt(), 2);

        // A failure on the way: the rows before it were visited, and the read
        // failed. A server's driver takes the whole result before the first row.
        if (db.onServer())
            return;
        QVector<qint64> numbers;
        const DbResult halfWay = Db::selectEach(
            {QStringLiteral("with n(x) as (select 1 union all select x + 1 from n where x < 5) "
                            "select case when x = 3 then abs(-9223372036854775807 - 1) else x end from n"),
             {}},
            [&numbers](const StreamRow& row) { numbers << row.integer(0); });
        QVERIFY(!halfWay);
        QVERIFY(!halfWay.error().isEmpty());
        QCOMPARE(numbers, (QVector<qint64>{1, 2}));
    }

    void aFailedReadIsSaidSo()
    {
        TempDatabase db;
        schoolOfTwoTerms(db);
        const ClassResults r = LoadClassResults(2, A).results;
        db.exec(QStringLiteral("drop table TGrade"));
        QVERIFY(!LoadTermResults(2));
        QVERIFY(!ReadPreviousPlaces(r));
        QVERIFY(!LoadStudentHistory(1));
    }
};

QTEST_GUILESS_MAIN(FiguresTest)
#include "tst_figures.moc"
