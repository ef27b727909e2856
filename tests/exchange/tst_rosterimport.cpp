#include "SheetBuilder.h"
#include "TestSupport.h"

#include "../sheets/OtherTool.h"

#include "exchange/Exports.h"
#include "exchange/ImportTexts.h"
#include "exchange/RosterImport.h"
#include "sheets/SheetFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QVariant Empty;

QString S(const char* text)
{
    return QString::fromUtf8(text);
}

// Class A with students whose columns hold what files lose easily: leading
// zeros, a line break, a comma, every flag value.
void addClassA(const TempDatabase& db)
{
    db.addClass("A", S("高一(1)班"));
    db.addClass("B", S("高一(2)班"));
    db.exec(
        S("insert into TStudent (ClassCode,SName,SNumber,Room,Address,PostCode,Patriarchy,HomeTel,"
          "IsTY,HasWJ,WJContent,IsActive) values "
          "('A','张三','0012','301','北京市海淀区, 中关村','010020','张父','01062345678',1,1,'迟到\n早退',1),"
          "('A','李四','20240002','','','','','',0,0,'',0),"
          "('A','王五','20240003','302','\"引号\"','','','',1,0,'',1)"));
}

RosterImport Plan(const Sheets::Table& sheet, const RosterTarget& target)
{
    const DbValue<RosterImport> plan = PlanRosterImport(sheet, target);
    if (!plan)
        qFatal("planning failed: %s", qPrintable(plan.error()));
    return *plan;
}

Sheets::Table ThroughFile(const Sheets::Table& table, const QString& suffix)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("roster." + suffix);
    if (!Sheets::WriteSheet(path, table))
        qFatal("cannot write the sheet");
    const Sheets::Result<Sheets::Table> read = Sheets::ReadSheet(path);
    if (!read)
        qFatal("cannot read the sheet back: %s", qPrintable(read.message()));
    return *read;
}

const RosterTarget ClassA{"A", S("高一(1)班")};
const RosterTarget ClassB{"B", S("高一(2)班")};

} // namespace

class TestRosterImport : public QObject {
    Q_OBJECT

private slots:
    // Export a class, import the file into an empty class: the same
    // students, column for column, through .xlsx and .csv alike; imported
    // once more it changes nothing.
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
        addClassA(db);
        const Sheets::Table sheet = ThroughFile(*Exports::ClassRoster("A", ClassA.className), suffix);
        // Their numbers would belong to another class while class A has them.
        const QStringList exported = StudentsOf("A");
        QCOMPARE(Plan(sheet, ClassB).preview.problemRows(), 3);
        db.exec("delete from TStudent");

        const RosterImport plan = Plan(sheet, ClassB);
        QVERIFY2(!plan.preview.hasProblems(), qPrintable(ProblemsOf(plan.preview).join('\n')));
        QCOMPARE(plan.preview.added, 3);
        QCOMPARE(RowAt(plan.preview, 3).action, ImportText::Added);
        QCOMPARE(*StoreRosterImport(plan), Stored::Done);
        QCOMPARE(StudentsOf("B"), exported);
        QVERIFY(StudentsOf("B").contains(
            S("张三|0012|301|北京市海淀区, 中关村|010020|张父|01062345678|1|1|迟到\n早退|1")));

        const RosterImport again = Plan(sheet, ClassB);
        QCOMPARE(again.preview.unchanged, 3);
        QCOMPARE(again.preview.added + again.preview.updated, 0);
        QVERIFY(again.changes.isEmpty());
    }

    // A whole school's file, exported with the class column, reads back into
    // a school without students; classes by name or by code.
    void wholeSchool()
    {
        TempDatabase db;
        addClassA(db);
        db.exec(S("insert into TStudent (ClassCode,SName,SNumber) values ('B','赵六','20240101')"));
        const Sheets::Table sheet = ThroughFile(*Exports::SchoolRoster(), "xlsx");
        const QStringList a = StudentsOf("A");
        const QStringList b = StudentsOf("B");
        db.exec("delete from TStudent");

        const RosterImport plan = Plan(sheet, RosterTarget{});
        QVERIFY2(!plan.preview.hasProblems(), qPrintable(ProblemsOf(plan.preview).join('\n')));
        QCOMPARE(plan.preview.added, 4);
        QCOMPARE(*StoreRosterImport(plan), Stored::Done);
        QCOMPARE(StudentsOf("A"), a);
        QCOMPARE(StudentsOf("B"), b);

        // By code too, whatever class is current.
        const RosterImport byCode =
            Plan(SheetOf({{S("班级"), S("姓名"), S("学号")}, {"B", S("钱七"), "20240102"}}), ClassA);
        QCOMPARE(RowAt(byCode.preview, 2).className, S("高一(2)班"));
        QCOMPARE(*StoreRosterImport(byCode), Stored::Done);
        QCOMPARE(db.count("TStudent", "ClassCode='B'"), 2);
    }

    // A row whose 学号 matches a student of the class updates the sheet's
    // columns alone; a new row takes the dialog's defaults for the rest;
    // students the sheet leaves out stay.
    void updatesOnlyWhatTheSheetHolds()
    {
        TempDatabase db;
        addClassA(db);
        const Sheets::Table sheet = SheetOf({
            {S("新生名单（教务处）")},
            {},
            {S("学号"), S("姓名"), S("寝室号"), S("备注"), S("是否在校")},
            {"0012", S("张三"), "401", S("不读"), Empty},
            {20240003, S("王五"), "302", Empty, S("否")},
            {"20240009", S("孙八"), Empty, Empty, Empty},
        });
        const RosterImport plan = Plan(sheet, ClassA);
        QVERIFY2(!plan.preview.hasProblems(), qPrintable(ProblemsOf(plan.preview).join('\n')));
        QCOMPARE(RowAt(plan.preview, 4).action, S("更新（寝室）"));
        QCOMPARE(RowAt(plan.preview, 5).action, S("更新（是否在校）"));
        QCOMPARE(RowAt(plan.preview, 6).action, ImportText::Added);
        QCOMPARE(plan.preview.updated, 2);
        QCOMPARE(plan.preview.added, 1);
        QCOMPARE(*StoreRosterImport(plan), Stored::Done);

        QCOMPARE(StudentsOf("A"),
                 Sorted(QStringList{
                     S("李四|20240002||||||0|0||0"), S("孙八|20240009||||||0|0||1"),
                     S("王五|20240003|302|\"引号\"||||1|0||0"),
                     S("张三|0012|401|北京市海淀区, 中关村|010020|张父|01062345678|1|1|迟到\n早退|1")}));
    }

    // A student another clerk changed between the preview and the storing
    // refuses the whole import: nothing of it is stored.
    void anotherClerksChangeMeanwhile()
    {
        TempDatabase db;
        addClassA(db);
        const RosterImport plan = Plan(
            SheetOf(
                {{S("学号"), S("姓名"), S("寝室号")}, {"0012", S("张三"), "401"}, {"20240009", S("孙八")}}),
            ClassA);
        QCOMPARE(plan.preview.updated, 1);
        db.exec("update TStudent set Patriarchy='张母' where SNumber='0012'");
        const QStringList before = StudentsOf("A");
        const DbValue<Stored> stored = StoreRosterImport(plan);
        QVERIFY(!stored);
        QVERIFY(stored.isConflict());
        QCOMPARE(StudentsOf("A"), before);
    }

    void flagsAsTheRosterShowsThemAndAsSpreadsheetsWriteThem()
    {
        TempDatabase db;
        addClassA(db);
        const Sheets::Table sheet = SheetOf({
            {S("姓名"), S("学号"), S("是否团员"), S("有否违纪记录"), S("是否在校")},
            {S("甲"), "1", S("是"), S("有"), S("在校")},
            {S("乙"), "2", S("否"), S("无"), S("否")},
            {S("丙"), "3", 1, "1", true},
            {S("丁"), "4", 0, S("false"), false},
            {S("戊"), "5", S("TRUE"), S("否"), S("是")},
            {S("己"), "6", Empty, Empty, Empty},
        });
        const RosterImport plan = Plan(sheet, ClassB);
        QVERIFY2(!plan.preview.hasProblems(), qPrintable(ProblemsOf(plan.preview).join('\n')));
        QCOMPARE(*StoreRosterImport(plan), Stored::Done);
        QCOMPARE(StudentsOf("B"),
                 Sorted(QStringList{S("丙|3||||||1|1||1"), S("丁|4||||||0|0||0"), S("己|6||||||0|0||1"),
                                    S("甲|1||||||1|1||1"), S("戊|5||||||1|0||1"), S("乙|2||||||0|0||0")}));
    }

    // Every problem with its row; nothing is stored while any row has one.
    void everyProblemNamesItsRow()
    {
        TempDatabase db;
        addClassA(db);
        db.exec(S("insert into TStudent (ClassCode,SName,SNumber) values ('B','赵六','20240101')"));
        const int before = db.count("TStudent");
        const Sheets::Table sheet = SheetOf({
            {S("班级"), S("姓名"), S("学号"), S("是否团员")},
            {S("高一(1)班"), S("新人"), "20240010", S("是")},
            {S("高一(1)班"), Empty, "20240011", Empty},
            {S("高一(1)班"), S("重复甲"), "20240012", Empty},
            {S("高一(1)班"), S("重复乙"), "20240012", Empty},
            {S("高一(1)班"), S("横线"), "2024-13", Empty},
            {S("高一(1)班"), S("舍入"), 1.23456789012346e19, Empty},
            {S("高一(1)班"), S("别班"), "20240101", Empty},
            {S("高一(1)班"), S("旗子"), "20240014", "Y"},
            {S("高三(9)班"), S("无班"), "20240015", Empty},
            {Empty, S("空班"), "20240016", Empty},
            {S("高一(1)班"), S("无号"), Empty, Empty},
        });
        const RosterImport plan = Plan(sheet, ClassA);
        QCOMPARE(ProblemsOf(plan.preview),
                 (QStringList{S("3: 没有姓名"), S("4: 学号20240012在文件中重复（第5行）"),
                              S("5: 学号20240012在文件中重复（第4行）"), S("6: 学号“2024-13”不全是数字"),
                              S("7: 学号12345678901234600000超过15位，已被电子表格舍入"),
                              S("8: 学号已属于其他班级"), S("9: 是否团员“Y”无法识别，应为是/否/1/0"),
                              S("10: 没有班级“高三(9)班”"), S("11: 没有班级"), S("12: 没有学号")}));
        QCOMPARE(RowAt(plan.preview, 2).problems, QStringList());
        QCOMPARE(plan.preview.problemRows(), 10);
        QCOMPARE(plan.preview.added, 1);
        QVERIFY(!StoreRosterImport(plan));
        QCOMPARE(db.count("TStudent"), before);
    }

    // A school that numbers its students by seat has each number in every
    // class: a number is twice in a file only within one class, and a new
    // student's number may be another class's.
    void seatNumbers()
    {
        TempDatabase db;
        db.addClass("A", S("高一(1)班"));
        db.addClass("B", S("高一(2)班"));
        db.exec(S("insert into TStudent (ClassCode,SName,SNumber) values ('A','甲','01'),('A','乙','02'),"
                  "('B','丙','01'),('B','丁','02')"));
        const Sheets::Table school = ThroughFile(*Exports::SchoolRoster(), "xlsx");
        QCOMPARE(Plan(school, {}).preview.unchanged, 4);

        const RosterImport plan = Plan(SheetOf({{S("班级"), S("姓名"), S("学号")},
                                                {"A", S("戊"), "03"},
                                                {"B", S("己"), "03"},
                                                {"B", S("庚"), "04"},
                                                {"B", S("辛"), "04"}}),
                                       {});
        QCOMPARE(ProblemsOf(plan.preview),
                 (QStringList{S("4: 学号04在文件中重复（第5行）"), S("5: 学号04在文件中重复（第4行）")}));
        QCOMPARE(plan.preview.added, 2); // rows with a problem count for nothing

        db.exec(S("insert into TStudent (ClassCode,SName,SNumber) values ('B','癸','09')"));
        const RosterImport fresh = Plan(SheetOf({{S("姓名"), S("学号")}, {S("壬"), "09"}}), ClassA);
        QVERIFY2(!fresh.preview.hasProblems(), qPrintable(ProblemsOf(fresh.preview).join('\n')));
        QCOMPARE(fresh.preview.added, 1);
    }

    void sheetsThatCannotBeImported()
    {
        TempDatabase db;
        addClassA(db);
        const RosterImport noHeader = Plan(SheetOf({{S("名字"), S("编号")}, {S("张三"), "1"}}), ClassA);
        QCOMPARE(ProblemsOf(noHeader.preview), QStringList{S("1: 文件中没有含“姓名”或“学号”的标题行")});

        const RosterImport noClass = Plan(SheetOf({{}, {S("姓名"), S("姓名")}, {S("张三"), S("李四")}}), {});
        QCOMPARE(ProblemsOf(noClass.preview),
                 (QStringList{S("2: 标题“姓名”出现了不止一次"), S("2: 没有选定班级，文件中也没有“班级”列")}));
        QVERIFY(!StoreRosterImport(noClass));

        // Two classes of one name: the file must use the code.
        db.addClass("A2", S("高一(1)班"));
        const RosterImport shared =
            Plan(SheetOf({{S("班级"), S("姓名"), S("学号")}, {S("高一(1)班"), S("张三"), "0012"}}), {});
        QCOMPARE(ProblemsOf(shared.preview), QStringList{S("2: 有多个班级名为“高一(1)班”，请写班级简码")});
    }

    // Cancelling while storing stores nothing; cancelling while reading the
    // sheet leaves a plan that cannot be stored.
    void cancelling()
    {
        TempDatabase db;
        addClassA(db);
        QVector<QVariantList> rows{{S("姓名"), S("学号")}};
        for (int i = 0; i < 450; ++i)
            rows.append({S("学生%1").arg(i), QString::number(30000 + i)});
        const Sheets::Table sheet = SheetOf(rows);

        CancellingProgress readCancelled(1);
        const DbValue<RosterImport> cut = PlanRosterImport(sheet, ClassB, &readCancelled);
        QVERIFY(cut->cancelled);
        QVERIFY(!StoreRosterImport(*cut));

        const RosterImport plan = Plan(sheet, ClassB);
        QCOMPARE(plan.preview.added, 450);
        CancellingProgress storeCancelled(2);
        QCOMPARE(*StoreRosterImport(plan, &storeCancelled), Stored::Cancelled);
        QCOMPARE(storeCancelled.calls(), 3);
        QCOMPARE(db.count("TStudent", "ClassCode='B'"), 0);

        // A statement refused half-way rolls back what was stored before it.
        db.exec("create trigger refuse before insert on TStudent when new.SName='学生300' "
                "begin select raise(abort, 'refused'); end");
        QVERIFY(!StoreRosterImport(plan));
        QCOMPARE(db.count("TStudent", "ClassCode='B'"), 0);
    }

    // A file saved by another program: openpyxl, numbers for 学号 and the
    // post code, booleans for the flags, the header under title lines.
    void fileOfAnotherProgram()
    {
        TempDatabase db;
        addClassA(db);
        QTemporaryDir dir;
        const QString path = dir.filePath("admissions.xlsx");
        const QJsonArray rows{QJsonArray{S("高一新生")}, QJsonArray{},
                              QJsonArray{S("学号"), S("姓名"), S("邮编"), S("是否团员"), S("家长电话")},
                              QJsonArray{20240021, S("周一"), 100080, true, S("013900000000")},
                              QJsonArray{20240022, S("吴二"), QJsonValue(), false, 13911112222.0}};
        const QJsonArray book{QJsonObject{{"name", S("新生")}, {"rows", rows}}};
        QVERIFY(RunScript("write_workbook.py",
                          {path, QString::fromUtf8(QJsonDocument(book).toJson(QJsonDocument::Compact))}));
        const RosterImport plan = Plan(*Sheets::ReadSheet(path), ClassB);
        QVERIFY2(!plan.preview.hasProblems(), qPrintable(ProblemsOf(plan.preview).join('\n')));
        QCOMPARE(*StoreRosterImport(plan), Stored::Done);
        QCOMPARE(StudentsOf("B"), Sorted(QStringList{S("吴二|20240022|||||13911112222|0|0||1"),
                                                     S("周一|20240021|||100080||013900000000|1|0||1")}));
    }
};

QTEST_MAIN(TestRosterImport)
#include "tst_rosterimport.moc"
