#include "SheetBuilder.h"
#include "TestSupport.h"

#include "data/Scores.h"
#include "exchange/Exports.h"
#include "exchange/ImportTexts.h"
#include "exchange/ScoreImport.h"
#include "sheets/SheetFile.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

const QVariant Empty;

QString S(const char* text)
{
    return QString::fromUtf8(text);
}

// Term 1 with classes A (语文, 数学) and B (语文, 英语); three students in A,
// two in B, and a few grades of A.
struct School {
    int zhang, li, wang, zhao, qian;
};

School addSchool(const TempDatabase& db)
{
    db.addTerm(1, S("2024-2025学年第一学期"));
    db.addClass("A", S("高一(1)班"));
    db.addClass("B", S("高一(2)班"));
    db.addSubject("CN", S("语文"));
    db.addSubject("MA", S("数学"));
    db.addSubject("EN", S("英语"));
    db.activate(1, "A");
    db.activate(1, "B");
    db.plan(1, "A", "CN");
    db.plan(1, "A", "MA");
    db.plan(1, "B", "CN");
    db.plan(1, "B", "EN");
    School s{db.addStudent("A", S("张三"), "0012"), db.addStudent("A", S("李四"), "20240002"),
             db.addStudent("A", S("王五"), "20240003"), db.addStudent("B", S("赵六"), "20240101"),
             db.addStudent("B", S("钱七"), "20240102")};
    db.addGrade(1, "A", s.zhang, "CN", 59.96);
    db.addGrade(1, "A", s.zhang, "MA", 85.5);
    db.addGrade(1, "A", s.li, "CN", 100);
    return s;
}

// The term's grades as "class student subject score", sorted.
QStringList GradesOf()
{
    QStringList out;
    const DbValue<RowSet> read = Db::select(Scores::TermGrades(1));
    for (int r = 0; read && r < read->rowCount(); ++r)
        out << QStringLiteral("%1 %2 %3 %4")
                   .arg(read->text(r, "ClassCode"), read->text(r, "StudentID"), read->text(r, "SubjectCode"),
                        read->text(r, "Score"));
    out.sort();
    return out;
}

ScoreImport Plan(const Sheets::Table& sheet, const ScoreTarget& target)
{
    const DbValue<ScoreImport> plan = PlanScoreImport(sheet, target);
    if (!plan)
        qFatal("planning failed: %s", qPrintable(plan.error()));
    return *plan;
}

const ScoreTarget ClassA{1, "A", S("高一(1)班")};
const ScoreTarget NoClass{1, {}, {}};

} // namespace

class TestScoreImport : public QObject {
    Q_OBJECT

private slots:
    // The score sheet exported, the class's grades removed, the file read
    // back: the same grades, through .xlsx and .csv; once more: no change.
    void roundTrips_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("xlsx") << "xlsx";
        QTest::newRow("csv") << "csv";
    }

    void roundTrips()
    {
        QFETCH(QString, suffix);
        TempDatabase db;
        addSchool(db);
        const QStringList before = GradesOf();
        QTemporaryDir dir;
        const QString path = dir.filePath("scores." + suffix);
        const DbValue<Sheets::Table> exported = Exports::ScoreSheet(ClassA, S("2024-2025学年第一学期"), true);
        QVERIFY(exported);
        QCOMPARE(exported->cell(0, 0).text(), S("2024-2025学年第一学期 高一(1)班 成绩"));
        QVERIFY(Sheets::WriteSheet(path, *exported));
        db.exec("delete from TGrade");

        const ScoreImport plan = Plan(*Sheets::ReadSheet(path), ClassA);
        QVERIFY2(!plan.preview.hasProblems(), qPrintable(ProblemsOf(plan.preview).join('\n')));
        QCOMPARE(plan.preview.scoresAdded, 3);
        QCOMPARE(plan.preview.unchanged, 1); // 王五 has no scores: blank cells
        QCOMPARE(*StoreScoreImport(plan), Stored::Done);
        QCOMPARE(GradesOf(), before);

        const ScoreImport again = Plan(*Sheets::ReadSheet(path), ClassA);
        QCOMPARE(again.preview.unchanged, 3);
        QVERIFY(again.changes.isEmpty());
    }

    // A table like the statistics window's: a title and a legend above the
    // header, one-decimal texts, 总分, 上学期总分 and the places beside the
    // subjects, the summary rows below. Only the students' scores count; an
    // empty cell keeps the stored score; both rows of a key are replaced.
    void statisticsLayoutReadsBack()
    {
        TempDatabase db;
        const School s = addSchool(db);
        db.addGrade(1, "A", s.zhang, "CN", 59.96); // a second row for one key
        const Sheets::Table sheet = SheetOf({
            {S("2024-2025学年第一学期 高一(1)班 成绩统计")},
            {S("颜色标示说明："), S("有不及格项"), S("符合评优标准")},
            {S("姓名"), S("学号"), S("语文"), S("数学"), S("总分"), S("上学期总分"), S("名次"),
             S("名次变化")},
            {S("李四"), "20240002", "100.0", "70.0", "170.0", "0.0", 1, S("—")},
            {S("张三"), "0012", "61.0", Empty, "146.5", "0.0", 2, S("↑3")},
            {S("王五"), "20240003", Empty, Empty, "0.0", "0.0", Empty, S("—")},
            {Empty, Empty, Empty},
            {S("参考人数"), Empty, 2, 2},
            {S("平均分"), Empty, "80.5", "77.8"},
            {S("及格率"), Empty, "100.0%", "100.0%"},
        });
        const ScoreImport plan = Plan(sheet, ClassA);
        QVERIFY2(!plan.preview.hasProblems(), qPrintable(ProblemsOf(plan.preview).join('\n')));
        QCOMPARE(plan.preview.rows.size(), 3);
        QCOMPARE(RowAt(plan.preview, 4).action, S("新增成绩1项"));
        QCOMPARE(RowAt(plan.preview, 5).action, S("成绩替换1项"));
        QCOMPARE(RowAt(plan.preview, 6).action, ImportText::Unchanged);
        QCOMPARE(plan.preview.scoresAdded, 1);
        QCOMPARE(plan.preview.scoresReplaced, 1);
        QCOMPARE(*StoreScoreImport(plan), Stored::Done);
        // Both rows of the cell hold the score, on either engine.
        const QString zhangCn = QStringLiteral("StudentID=%1 and SubjectCode='CN'").arg(s.zhang);
        QCOMPARE(db.count(QStringLiteral("TGrade"), zhangCn), 2);
        QCOMPARE(db.count(QStringLiteral("TGrade"), zhangCn + QStringLiteral(" and Score=61")), 2);
        QCOMPARE(db.scalar(QStringLiteral("select Score from TGrade where StudentID=%1 and SubjectCode='MA'")
                               .arg(s.zhang))
                     .toDouble(),
                 85.5);
        QCOMPARE(db.scalar(QStringLiteral("select Score from TGrade where StudentID=%1 and SubjectCode='MA'")
                               .arg(s.li))
                     .toDouble(),
                 70.0);
    }

    // Without 学号 the name finds the student when the class has one of it;
    // a number cell that lost its leading zeros still finds 0012.
    void matchedByNameOrByNumberValue()
    {
        TempDatabase db;
        const School s = addSchool(db);
        const ScoreImport byName =
            Plan(SheetOf({{S("姓名"), S("数学")}, {S("王五"), 90}, {S("李四"), "75.5"}}), ClassA);
        QVERIFY2(!byName.preview.hasProblems(), qPrintable(ProblemsOf(byName.preview).join('\n')));
        QCOMPARE(byName.preview.scoresAdded, 2);

        const ScoreImport byValue = Plan(SheetOf({{S("学号"), S("数学")}, {12, 95}}), ClassA);
        QVERIFY2(!byValue.preview.hasProblems(), qPrintable(ProblemsOf(byValue.preview).join('\n')));
        QCOMPARE(byValue.changes.value(0).studentId, s.zhang);
        QCOMPARE(byValue.preview.scoresReplaced, 1);

        db.addStudent("A", S("王五"), "20240009");
        const ScoreImport twoNamesakes = Plan(SheetOf({{S("姓名"), S("数学")}, {S("王五"), 90}}), ClassA);
        QCOMPARE(ProblemsOf(twoNamesakes.preview), QStringList{S("2: 班级中有多个学生叫“王五”，请写学号")});
    }

    // A term's file for every class: the 班级 column decides each row's
    // class and plan; a subject only some classes take is blank for others.
    void everyClassOfTheTerm()
    {
        TempDatabase db;
        const School s = addSchool(db);
        const Sheets::Table sheet = SheetOf({
            {S("班级"), S("学号"), S("姓名"), S("语文"), S("数学"), S("英语")},
            {S("高一(1)班"), "20240003", S("王五"), 66, 77, Empty},
            {"B", "20240101", S("赵六"), 88, Empty, 99},
        });
        const ScoreImport plan = Plan(sheet, NoClass);
        QVERIFY2(!plan.preview.hasProblems(), qPrintable(ProblemsOf(plan.preview).join('\n')));
        QCOMPARE(RowAt(plan.preview, 3).className, S("高一(2)班"));
        QCOMPARE(*StoreScoreImport(plan), Stored::Done);
        QVERIFY(GradesOf().contains(QStringLiteral("B %1 EN 99").arg(s.zhao)));
        QVERIFY(GradesOf().contains(QStringLiteral("A %1 MA 77").arg(s.wang)));
        QCOMPARE(db.count("TGrade"), 7);
    }

    // A class far larger than one statement's rows on either engine: every
    // replacement and every new score lands, each in its own student's row.
    void aLargeClassInManyStatements()
    {
        TempDatabase db;
        db.addTerm(1, S("2024-2025学年第一学期"));
        db.addClass("C", S("高三(9)班"));
        db.addSubject("CN", S("语文"));
        db.addSubject("MA", S("数学"));
        db.activate(1, "C");
        db.plan(1, "C", "CN");
        db.plan(1, "C", "MA");
        constexpr int students = 1234;
        db.exec(QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                               "insert into TStudent (ClassCode, SName, SNumber) "
                               "select 'C', 'S' || cast(i as text), cast(100000 + i as text) from n")
                    .arg(students));
        db.exec("insert into TGrade (TermCode, ClassCode, StudentID, SubjectCode, Score) "
                "select 1, 'C', ID, 'CN', 1 from TStudent");
        QVector<QVariantList> rows{{S("学号"), S("语文"), S("数学")}};
        for (int i = 1; i <= students; ++i)
            rows.append({QString::number(100000 + i), i % 100 + 2, (i * 7) % 100 + 0.5});
        const ScoreImport plan = Plan(SheetOf(rows), {1, "C", S("高三(9)班")});
        QCOMPARE(plan.preview.scoresReplaced, students);
        QCOMPARE(plan.preview.scoresAdded, students);
        QCOMPARE(*StoreScoreImport(plan), Stored::Done);

        QCOMPARE(db.count("TGrade"), 2 * students);
        const DbValue<RowSet> read = Db::select(
            {"select s.SNumber, g.SubjectCode, g.Score from TGrade g join TStudent s on s.ID = g.StudentID",
             {}});
        QVERIFY(read);
        int wrong = 0;
        for (int r = 0; r < read->rowCount(); ++r) {
            const int i = read->text(r, "SNumber").toInt() - 100000;
            const double expected = read->text(r, "SubjectCode") == "CN" ? i % 100 + 2 : (i * 7) % 100 + 0.5;
            wrong += read->value(r, "Score").toDouble() == expected ? 0 : 1;
        }
        QCOMPARE(wrong, 0);
    }

    // Every problem with its row; nothing is stored while any row has one.
    void everyProblemNamesItsRow()
    {
        TempDatabase db;
        addSchool(db);
        db.addClass("C", S("高一(3)班")); // not active in the term
        const QStringList before = GradesOf();
        const Sheets::Table sheet = SheetOf({
            {S("班级"), S("学号"), S("姓名"), S("语文"), S("数学"), S("英语")},
            {S("高一(1)班"), "20240002", S("李四"), 90, Empty, Empty},
            {S("高一(3)班"), "20240003", S("王五"), 90, Empty, Empty},
            {S("高一(1)班"), "20249999", S("无人"), 90, Empty, Empty},
            {S("高一(1)班"), "20240101", S("赵六"), 90, Empty, Empty},
            {S("高一(1)班"), "20240003", S("王六"), 90, Empty, Empty},
            {S("高一(1)班"), Empty, S("无名"), 90, Empty, Empty},
            {S("高一(1)班"), "20240002", S("李四"), S("缺考"), -5, Empty},
            {S("高一(1)班"), "0012", S("张三"), S("8.5.5"), Empty, 60},
            {S("高一(1)班"), "2024x", S("张三"), Empty, Empty, Empty},
        });
        const ScoreImport plan = Plan(sheet, NoClass);
        QCOMPARE(ProblemsOf(plan.preview),
                 (QStringList{S("2: 同一学生在文件中出现了多次（第8行）"), S("3: 本学期没有班级“高一(3)班”"),
                              S("4: 班级中没有学号为20249999的学生"), S("5: 学号已属于其他班级"),
                              S("6: 姓名与学号不符（学号20240003是“王五”）"), S("7: 班级中没有学生“无名”"),
                              S("8: 同一学生在文件中出现了多次（第2行）"), S("8: 语文：“缺考”不是分数"),
                              S("8: 数学：“-5”不是分数"), S("9: 语文：“8.5.5”不是分数"),
                              S("9: 本班本学期没有科目“英语”"), S("10: 学号“2024x”不全是数字")}));
        // Every row has a problem: none counts.
        QCOMPARE(plan.preview.scoresAdded + plan.preview.scoresReplaced, 0);
        QVERIFY(!StoreScoreImport(plan));
        QCOMPARE(GradesOf(), before);

        const ScoreImport unknownSubject =
            Plan(SheetOf({{S("学号"), S("语文"), S("物理")}, {"0012", 80, Empty}}), ClassA);
        QCOMPARE(ProblemsOf(unknownSubject.preview), QStringList{S("1: 没有科目“物理”")});
        const ScoreImport noClass = Plan(SheetOf({{S("学号"), S("语文")}, {"0012", 80}}), NoClass);
        QCOMPARE(ProblemsOf(noClass.preview), QStringList{S("1: 没有选定班级，文件中也没有“班级”列")});
    }

    void cancellingStoresNothing()
    {
        TempDatabase db;
        addSchool(db);
        const QStringList before = GradesOf();
        const ScoreImport plan = Plan(
            SheetOf({{S("学号"), S("语文"), S("数学")}, {"0012", 70, 71}, {"20240003", 72, 73}}), ClassA);
        QCOMPARE(plan.changes.size(), 4);
        CancellingProgress cancelled(0);
        QCOMPARE(*StoreScoreImport(plan, &cancelled), Stored::Cancelled);
        QCOMPARE(GradesOf(), before);

        // A refused statement half-way rolls back the rows stored before it.
        db.exec("create trigger refuse before insert on TGrade when new.Score=73 "
                "begin select raise(abort, 'refused'); end");
        QVERIFY(!StoreScoreImport(plan));
        QCOMPARE(GradesOf(), before);
    }

    // Between the preview and the storing another clerk may store too: a
    // score of the plan changed, or a score added where the plan adds one,
    // refuses the whole import; a change elsewhere does not.
    void anotherClerksScoresMeanwhile()
    {
        TempDatabase db;
        const School s = addSchool(db);
        const Sheets::Table sheet =
            SheetOf({{S("学号"), S("语文")}, {"0012", 70}, {"20240003", 72}}); // a replacement, a new score
        const QString zhangCn = QStringLiteral("StudentID=%1 and SubjectCode='CN'").arg(s.zhang);

        ScoreImport plan = Plan(sheet, ClassA);
        db.exec(QStringLiteral("update TGrade set Score=61 where ") + zhangCn);
        QStringList before = GradesOf();
        DbValue<Stored> stored = StoreScoreImport(plan);
        QVERIFY(!stored);
        QVERIFY(stored.isConflict());
        QCOMPARE(GradesOf(), before);

        plan = Plan(sheet, ClassA);
        db.addGrade(1, "A", s.wang, "CN", 65);
        before = GradesOf();
        stored = StoreScoreImport(plan);
        QVERIFY(stored.isConflict());
        QCOMPARE(GradesOf(), before);

        db.exec(QStringLiteral("delete from TGrade where StudentID=%1").arg(s.wang));
        plan = Plan(sheet, ClassA);
        db.addGrade(1, "A", s.li, "MA", 90);
        QCOMPARE(*StoreScoreImport(plan), Stored::Done);
        QCOMPARE(db.scalar(QStringLiteral("select Score from TGrade where ") + zhangCn).toDouble(), 70.0);
    }
};

QTEST_MAIN(TestScoreImport)
#include "tst_scoreimport.moc"
