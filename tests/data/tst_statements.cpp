// The named statements of the data layer on a real data file: each reads or
// writes what it names, in its order, and a value stays a value whatever
// characters it holds.
#include "TestSupport.h"

#include "data/CodeTables.h"
#include "data/Plan.h"
#include "data/QueryObject.h"
#include "data/Roster.h"
#include "data/Scores.h"

#include <QTest>

namespace {

// One field of every row a statement reads.
QStringList column(const Statement& statement, const QString& field)
{
    const DbValue<RowSet> read = Db::select(statement);
    if (!read)
        qWarning("%s: %s", qPrintable(statement.text), qPrintable(read.error()));
    QStringList values;
    for (int row = 0; read && row < read->rowCount(); ++row)
        values << read->text(row, field);
    return values;
}

} // namespace

class StatementsTest : public QObject {
    Q_OBJECT
private slots:
    void planListsComplementEachOther();
    void valuesNeverBecomeText();
    void rosterListsOneClassByName();
    void initialisationFollowsThePlan();
    void transactionKeepsNothingUncommitted();
};

void StatementsTest::planListsComplementEachOther()
{
    TempDatabase db;
    db.addTerm(1, "一");
    db.addTerm(2, "二");
    for (const char* code : {"C3", "C1", "C2"})
        db.addClass(code, QString("班%1").arg(code));
    for (const char* code : {"YW", "SX", "YY"})
        db.addSubject(code, QString("课%1").arg(code));
    QVERIFY(Plan::Activate(1, "C3"));
    QVERIFY(Plan::Activate(1, "C1"));
    QVERIFY(!Plan::Activate(1, "C1"));   // a pair occurs once
    QVERIFY(!Plan::Activate(1, "NONE")); // references are checked
    QCOMPARE(column(Plan::ActiveClasses(1), "ClassCode"), (QStringList{"C1", "C3"}));
    QCOMPARE(column(Plan::ActiveClasses(1), "ClassName"), (QStringList{"班C1", "班C3"}));
    QCOMPARE(column(Plan::InactiveClasses(1), "ClassCode"), QStringList{"C2"});
    QCOMPARE(column(Plan::InactiveClasses(2), "ClassCode"), (QStringList{"C1", "C2", "C3"}));

    // Planned in any order, listed by subject code.
    for (const char* code : {"YY", "SX", "YW"})
        QVERIFY(Plan::AddSubject(1, "C1", code));
    QVERIFY(Plan::RemoveSubject(1, "C1", "SX"));
    QCOMPARE(column(Plan::Subjects(1, "C1"), "SubjCode"), (QStringList{"YW", "YY"}));
    QCOMPARE(column(Plan::Subjects(1, "C1"), "SubjName"), (QStringList{"课YW", "课YY"}));
    QCOMPARE(column(Plan::OtherSubjects(1, "C1"), "SubjCode"), QStringList{"SX"});
    QCOMPARE(column(Plan::Subjects(1, "C3"), "SubjCode"), QStringList{});
    QCOMPARE(*Plan::SubjectCodes(1, "C1"), (QStringList{"YW", "YY"}));

    // A class with a plan stays active; the refusal changes nothing.
    QVERIFY(!Plan::Deactivate(1, "C1"));
    QVERIFY(Plan::Deactivate(1, "C3"));
    QCOMPARE(column(Plan::ActiveClasses(1), "ClassCode"), QStringList{"C1"});

    // A plan row whose subject has gone (a damaged file) is not listed, but
    // the codes of the plan still name it.
    db.exec("PRAGMA foreign_keys=OFF");
    db.plan(1, "C1", "ZZ");
    db.exec("PRAGMA foreign_keys=ON");
    QCOMPARE(column(Plan::Subjects(1, "C1"), "SubjCode"), (QStringList{"YW", "YY"}));
    QCOMPARE(*Plan::SubjectCodes(1, "C1"), (QStringList{"YW", "YY", "ZZ"}));
}

void StatementsTest::valuesNeverBecomeText()
{
    TempDatabase db;
    const QString brien = "O'Brien";
    const QString evil = "x' or '1'='1";
    db.addTerm(1, "一");
    QVERIFY(CodeTables::Store(CodeTables::Classes(), std::nullopt, brien, "引号班"));
    QVERIFY(CodeTables::Store(CodeTables::Classes(), std::nullopt, "C1", "一班"));
    db.addStudent("C1", "张三");
    db.addStudent(brien, "李四");
    QCOMPARE(column(Roster::Students(brien), "SName"), QStringList{"李四"});
    QCOMPARE(column(Roster::Students(evil), "SName"), QStringList{}); // not every student
    QVERIFY(Plan::Activate(1, brien));
    QCOMPARE(column(Plan::ActiveClasses(1), "ClassCode"), QStringList{brien});
    QVERIFY(Plan::Deactivate(1, evil)); // removes nothing
    QCOMPARE(db.count("TTermToClass"), 1);
    QVERIFY(Plan::Deactivate(1, brien));
    QCOMPARE(db.count("TTermToClass"), 0);
}

void StatementsTest::rosterListsOneClassByName()
{
    TempDatabase db;
    db.addClass("C1", "一班");
    db.addClass("C2", "二班");
    db.addSubject("YW", "语文");
    db.addStudent("C1", "b");
    db.addStudent("C2", "a");
    db.addStudent("C1", "a");
    QCOMPARE(column(Roster::Students("C1"), "SName"), (QStringList{"a", "b"}));
    QueryObject roster;
    QVERIFY(roster.open(Roster::Students("C1")));
    QCOMPARE(roster.fieldNames(),
             (QStringList{"ID", "ClassCode", "SName", "SNumber", "Room", "Address", "PostCode", "Patriarchy",
                          "HomeTel", "IsTY", "HasWJ", "WJContent", "IsActive"}));

    // A student stored, read back and changed; unset columns read as empty.
    Roster::Student s;
    s.ClassCode = "C2";
    s.SName = "王五";
    s.SNumber = "07";
    s.WJContent = "第一行\n第二行";
    s.IsTY = 1;
    s.IsActive = 0;
    QVERIFY(Roster::StoreStudent(std::nullopt, s));
    const int id = db.scalar("select ID from TStudent where SName='王五'").toInt();
    auto found = Roster::FindStudent(id);
    QVERIFY(found && found->has_value());
    QCOMPARE((*found)->SNumber, QString("07"));
    QCOMPARE((*found)->WJContent, s.WJContent);
    QCOMPARE((*found)->Room, QString());
    QCOMPARE((*found)->IsTY, 1);
    QCOMPARE((*found)->HasWJ, 0);
    QCOMPARE((*found)->IsActive, 0);
    s.Room = "301";
    QVERIFY(Roster::StoreStudent((*found)->read, s));
    QCOMPARE(db.scalar("select Room from TStudent where ID=" + QString::number(id)).toString(),
             QString("301"));
    QCOMPARE(db.count("TStudent"), 4);

    // A student with scores cannot be deleted; one without can.
    db.addGrade(1, "C2", id, "YW", 90);
    const RowImage listed = (*Roster::FindStudent(id))->read;
    QVERIFY(!Roster::RemoveStudent(listed));
    QVERIFY(!Roster::RemoveStudent(listed).isConflict());
    db.exec("delete from TGrade");
    QVERIFY(Roster::RemoveStudent(listed));
    QVERIFY(Roster::FindStudent(id) && !Roster::FindStudent(id)->has_value());
}

void StatementsTest::initialisationFollowsThePlan()
{
    TempDatabase db;
    db.addTerm(1, "一");
    db.addClass("C1", "一班");
    db.activate(1, "C1");
    for (const char* code : {"YW", "SX", "OLD"})
        db.addSubject(code, code);
    db.plan(1, "C1", "YW");
    db.plan(1, "C1", "SX");
    const int ann = db.addStudent("C1", "Ann");
    const int bob = db.addStudent("C1", "Bob");
    db.addGrade(1, "C1", ann, "OLD", 50);
    db.addGrade(1, "C1", bob, "OLD", 60);

    const ScoreRows annsRows{&Scores::Grades(), 1, "C1", ann};
    const DbValue<Scores::Initialised> done = Scores::Initialise(annsRows, true);
    QVERIFY(done);
    QCOMPARE(*done, Scores::Initialised::Done);
    QCOMPARE(column(Scores::List(annsRows), "SubjectCode"), (QStringList{"SX", "YW"}));
    QCOMPARE(column(Scores::List(annsRows), "Score"), (QStringList{"0", "0"}));
    QCOMPARE(column(Scores::List({&Scores::Grades(), 1, "C1", bob}), "SubjectCode"), QStringList{"OLD"});

    // The class's standards start at 85; an empty plan keeps a student's
    // scores but removes the standards.
    const ScoreRows standards{&Scores::Standards(), 1, "C1"};
    QVERIFY(Scores::Initialise(standards, false));
    QCOMPARE(column(Scores::List(standards), "Score"), (QStringList{"85", "85"}));
    db.exec("delete from TClassToSubject");
    const DbValue<Scores::Initialised> empty = Scores::Initialise(annsRows, true);
    QVERIFY(empty);
    QCOMPARE(*empty, Scores::Initialised::PlanEmpty);
    QCOMPARE(db.count("TGrade", QString("StudentID=%1").arg(ann)), 2);
    QCOMPARE(*Scores::Initialise(standards, false), Scores::Initialised::Done);
    QCOMPARE(db.count("THonoursStd"), 0);

    // One row for its dialog, and its score alone written back.
    const int id =
        db.scalar(QString("select ID from TGrade where StudentID=%1 and SubjectCode='YW'").arg(ann)).toInt();
    const auto record = Scores::Find(Scores::Grades(), id);
    QVERIFY(record && record->has_value());
    QCOMPARE((*record)->subjectName, QString("YW"));
    QVERIFY(Scores::StoreScore(Scores::Grades(), (*record)->read, 88.5));
    QCOMPARE(column(Scores::List(annsRows), "Score"), (QStringList{"0", "88.5"}));
    QVERIFY(Scores::Find(Scores::Standards(), id) && !Scores::Find(Scores::Standards(), id)->has_value());
}

void StatementsTest::transactionKeepsNothingUncommitted()
{
    TempDatabase db;
    {
        Transaction transaction;
        QVERIFY(transaction.isStarted());
        QVERIFY(CodeTables::Store(CodeTables::Terms(), std::nullopt, "1", "一"));
    }
    QCOMPARE(db.count("TTerm"), 0);
    {
        Transaction transaction;
        QVERIFY(CodeTables::Store(CodeTables::Terms(), std::nullopt, "1", "一"));
        QVERIFY(transaction.commit());
        QVERIFY(!transaction.commit()); // once
    }
    QCOMPARE(db.count("TTerm"), 1);
}

QTEST_MAIN(StatementsTest)
#include "tst_statements.moc"
