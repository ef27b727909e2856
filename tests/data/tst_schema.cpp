// The database refuses what the windows rely on it to refuse, and accepts the
// SQL the windows write.
#include "DataFileSupport.h"
#include "TestSupport.h"

#include "data/DataFileCheck.h"
#include "data/QueryObject.h"
#include "data/SchemaVersions.h"
#include "data/ScratchConnection.h"
#include "data/SqlText.h"
#include "data/uDM.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class SchemaTest : public QObject {
    Q_OBJECT
private slots:
    void duplicateCodesAreRefused();
    void referredRowsCannotBeDeleted();
    void typesAreEnforced();
    void dialectFeaturesWork();
    void quotedCodesCannotBreakOut();
    void creationNeverOverwrites();
    void recognisesOnlyItsOwnDatabases();
    void newFilesCarryTheCurrentVersion();
    void upgradesRunInOneTransaction();
    void schemaTextsCompareWithoutTheirLayout();
};

void SchemaTest::duplicateCodesAreRefused()
{
    TempDatabase db;
    db.addTerm(1, "一");
    db.addSubject("YW", "语文");
    db.addClass("C1", "一班");
    QVERIFY(!db.tryExec("insert into TTerm (TermCode,TermName) values (1,'again')"));
    QVERIFY(!db.tryExec("insert into TSubject (SubjCode,SubjName) values ('YW','again')"));
    QVERIFY(!db.tryExec("insert into TClass (ClassCode,ClassName) values ('C1','again')"));
    db.addTerm(2, "二");
    QVERIFY(!db.tryExec("update TTerm set TermCode=1 where TermCode=2"));
    // Codes differing only in case are different codes.
    QVERIFY(db.tryExec("insert into TClass (ClassCode,ClassName) values ('c1','small')"));
}

void SchemaTest::referredRowsCannotBeDeleted()
{
    TempDatabase db;
    db.addTerm(1, "一");
    db.addSubject("YW", "语文");
    db.addSubject("SX", "数学");
    db.addSubject("YY", "英语");
    db.addClass("C1", "一班");
    db.activate(1, "C1");
    db.plan(1, "C1", "YW");
    const int student = db.addStudent("C1", "张三");
    db.addGrade(1, "C1", student, "SX", 90);
    db.addStandard(1, "C1", "YY", 85);

    QVERIFY(!db.tryExec("delete from TTerm where TermCode=1"));
    QVERIFY(!db.tryExec("delete from TClass where ClassCode='C1'"));
    QVERIFY(!db.tryExec("delete from TTermToClass where TermCode=1"));
    QVERIFY(!db.tryExec("delete from TSubject where SubjCode='YW'"));
    QVERIFY(!db.tryExec(QString("delete from TStudent where ID=%1").arg(student)));
    QVERIFY(!db.tryExec("delete from TSubject where SubjCode='SX'")); // has scores
    QVERIFY(!db.tryExec("delete from TSubject where SubjCode='YY'")); // has a standard
    QCOMPARE(db.count("TTerm") + db.count("TClass") + db.count("TSubject") + db.count("TStudent"),
             1 + 1 + 3 + 1);

    // Nothing cascades: once the referring rows are gone, each delete succeeds.
    // A plan row may go while scores of that subject exist.
    QVERIFY(db.tryExec("delete from TClassToSubject"));
    QCOMPARE(db.count("TGrade"), 1);
    QVERIFY(db.tryExec("delete from TGrade"));
    QVERIFY(db.tryExec("delete from THonoursStd"));
    QVERIFY(db.tryExec("delete from TStudent"));
    QVERIFY(db.tryExec("delete from TTermToClass"));
    QVERIFY(db.tryExec("delete from TSubject"));
    QVERIFY(db.tryExec("delete from TClass"));
    QVERIFY(db.tryExec("delete from TTerm"));
}

void SchemaTest::typesAreEnforced()
{
    TempDatabase db;
    QVERIFY(!db.tryExec("insert into TTerm (TermCode,TermName) values ('abc','x')"));
    QVERIFY(!db.tryExec("insert into TTerm (TermCode,TermName) values (2147483648,'x')"));
    QVERIFY(!db.tryExec("insert into TTerm (TermCode,TermName) values (-2147483649,'x')"));
    QVERIFY(!db.tryExec("insert into TTerm (TermCode,TermName) values (1.5,'x')"));
    QVERIFY(db.tryExec("insert into TTerm (TermCode,TermName) values (2147483647,'max')"));
    db.addClass("C1", "一班");
    db.addSubject("YW", "语文");
    QVERIFY(!db.tryExec("insert into TStudent (ClassCode,SName,IsTY) values ('C1','a',2)"));
    QVERIFY(!db.tryExec("insert into TStudent (ClassCode,SName,HasWJ) values ('C1','a',-1)"));
    QVERIFY(!db.tryExec("insert into TStudent (ClassCode,SName,IsActive) values ('C1','a','yes')"));
    QVERIFY(db.tryExec("insert into TStudent (ClassCode,SName) values ('C1','a')"));
    QCOMPARE(db.scalar("select IsTY||HasWJ||IsActive from TStudent").toString(), QString("001"));
    const int id = db.scalar("select ID from TStudent").toInt();
    QVERIFY(!db.tryExec(QString("insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) "
                                "values (1,'C1',%1,'YW','abc')")
                            .arg(id)));
    QVERIFY(db.tryExec(QString("insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) "
                               "values (1,'C1',%1,'YW',85.5)")
                           .arg(id)));
    QCOMPARE(db.scalar("select Score from TGrade").toDouble(), 85.5);
    // Without references being enforced by the open, this would be a dangling score.
    QVERIFY(!db.tryExec("insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) "
                        "values (1,'C1',999,'YW',1)"));
}

void SchemaTest::dialectFeaturesWork()
{
    TempDatabase db;
    db.addTerm(1, "一");
    db.addTerm(3, "三");
    db.addClass("C1", "一班");
    db.addClass("C2", "二班");
    db.addSubject("YW", "语文");
    db.activate(3, "C2");
    db.activate(1, "C1");
    db.plan(1, "C1", "YW");
    const int s = db.addStudent("C1", "张三");
    db.addGrade(1, "C1", s, "YW", 80);
    db.addGrade(1, "C1", s, "YW", 5.5);

    QueryObject q;
    auto rows = [&q](const QString& sql) {
        q.close();
        q.setStatement({sql, {}});
        if (!q.open())
            qWarning("%s failed", qPrintable(sql));
        return q.isActive() ? q.rowCount() : -1;
    };
    // Star of one table beside other columns; joins in the where clause; two-column order.
    QCOMPARE(
        rows("select TTermToClass.*,TTerm.TermName,TClass.ClassName from TTermToClass,TTerm,TClass where "
             "TTermToClass.TermCode=TTerm.TermCode And TTermToClass.ClassCode=TClass.ClassCode Order by "
             "TTermToClass.TermCode,TTermToClass.ClassCode"),
        2);
    QCOMPARE(q.fieldText("ClassName"), QString("一班"));
    QVERIFY(q.hasField("ID") && q.hasField("TermName"));
    // Negated membership after "1=1", with runs of blanks.
    QCOMPARE(
        rows(
            "select * from TClass Where 1=1  and Not ClassCode in (Select ClassCode from TTermToClass where  "
            "TermCode=1) Order by ClassCode"),
        1);
    QCOMPARE(q.fieldText("ClassCode"), QString("C2"));
    // Aggregates; over no rows the null reads as 0.
    QCOMPARE(rows("Select Max(TermCode) from TTerm Where TermCode<3"), 1);
    QCOMPARE(q.firstColumn().toInt(), 1);
    rows("Select Max(TermCode) from TTerm Where TermCode<1");
    QCOMPARE(q.firstColumn().toInt(), 0);
    // Table names in any case; "Select*" without a blank.
    rows(
        QString("Select Sum(Score) from Tgrade Where TermCode=1 And ClassCode='C1' And StudentID=%1").arg(s));
    QCOMPARE(q.firstColumn().toDouble(), 85.5);
    QCOMPARE(rows("Select* from TClassToSubject Where TermCode=1 And ClassCode='C1'"), 1);
    QCOMPARE(rows("SELECT * FROM tclass where classcode='C2'"), 1);
    // Inserts naming their columns and deletes with a where clause.
    QVERIFY(Db::execute({"Insert into TTermToClass (TermCode,ClassCode) Values(3,'C1')", {}}));
    QVERIFY(Db::execute({"Delete From TTermToClass where TermCode=3 And ClassCode='C1'", {}}));
    QCOMPARE(db.count("TTermToClass"), 2);
}

void SchemaTest::quotedCodesCannotBreakOut()
{
    TempDatabase db;
    db.addClass("C1", "一班");
    const QString evil = "x') or 1=1 or ('";
    const QString brien = "O'Brien";
    QCOMPARE(QuotedStr(brien), QString("'O''Brien'"));
    QVERIFY(
        Db::execute({"Insert into TClass (ClassCode,ClassName) Values(" + QuotedStr(brien) + ",'b')", {}}));
    QVERIFY(
        Db::execute({"Insert into TClass (ClassCode,ClassName) Values(" + QuotedStr(evil) + ",'e')", {}}));
    QueryObject q;
    q.setStatement({"select * from TClass where ClassCode=" + QuotedStr(brien), {}});
    QVERIFY(q.open());
    QCOMPARE(q.rowCount(), 1);
    QCOMPARE(q.fieldText("ClassCode"), brien);
    q.close();
    q.setStatement({"select * from TClass where ClassCode=" + QuotedStr(evil), {}});
    QVERIFY(q.open());
    QCOMPARE(q.rowCount(), 1); // not every row: the code stayed inside its quotes
    QVERIFY(Db::execute({"Delete From TClass where ClassCode=" + QuotedStr(evil), {}}));
    QCOMPARE(db.count("TClass"), 2);
}

void SchemaTest::creationNeverOverwrites()
{
    TempDatabase db;
    db.addTerm(7, "kept");
    QVERIFY(!TDM::createDatabase(db.dataFile()));
    QCOMPARE(db.count("TTerm"), 1);
    QCOMPARE(QDir(db.dir() + "db").entryList(QDir::Files | QDir::Hidden), QStringList{"Student.dat"});
}

void SchemaTest::recognisesOnlyItsOwnDatabases()
{
    TempDatabase db;
    QVERIFY(TDM::isGradeDatabase(db.dataFile()));
    const QString junk = db.dir() + "junk.dat";
    QFile f(junk);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'x'));
    f.close();
    QVERIFY(!TDM::isGradeDatabase(junk));
    QVERIFY(!TDM::isGradeDatabase(db.dir() + "missing.dat"));
    // A database, but not this system's.
    const QString other = db.dir() + "other.dat";
    {
        QSqlDatabase o = QSqlDatabase::addDatabase("QSQLITE", "other");
        o.setDatabaseName(other);
        QVERIFY(o.open());
        QSqlQuery(o).exec("create table T (x)");
        o.close();
    }
    QSqlDatabase::removeDatabase("other");
    QVERIFY(!TDM::isGradeDatabase(other));
    // A truncated copy of a real one.
    QFile real(db.dataFile());
    QVERIFY(real.open(QIODevice::ReadOnly));
    const QByteArray bytes = real.readAll();
    QFile cut(db.dir() + "cut.dat");
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(bytes.left(bytes.size() / 2));
    cut.close();
    QVERIFY(!TDM::isGradeDatabase(db.dir() + "cut.dat"));
    // Ours but for an index added by hand, or kept in a write-ahead log.
    QVERIFY(WriteVariantDatabase(db.dir() + "index.dat", {}, {}, "CREATE INDEX IX_Mine ON TTerm (TermName)"));
    QVERIFY(!TDM::isGradeDatabase(db.dir() + "index.dat"));
    QVERIFY(WriteVariantDatabase(db.dir() + "wal.dat", {}, {}, "PRAGMA journal_mode=WAL"));
    QCOMPARE(TDM::isGradeDatabase(db.dir() + "wal.dat").error(), QString("not in rollback-journal mode"));
}

namespace {
// Runs statements on a file through a connection of its own.
QVariant onFile(const QString& file, const QString& sql)
{
    ScratchConnection connection(file);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return {};
    QSqlQuery q(db);
    return q.exec(sql) && q.next() ? q.value(0) : QVariant();
}
} // namespace

void SchemaTest::newFilesCarryTheCurrentVersion()
{
    const SchemaVersions& versions = SchemaVersions::program();
    QVERIFY(versions.current() >= 1);
    TempDatabase db;
    QCOMPARE(db.scalar("PRAGMA user_version").toInt(), versions.current());
    const DbValue<SchemaVersions::Found> found = CheckDataFile(db.dataFile());
    QVERIFY(found);
    QCOMPARE(found->version, versions.current());
    QVERIFY(found->stamped);
    QCOMPARE(*SchemaVersions::objectsIn(db.dm()->ADOLocal()), versions.objects(versions.current()));
    // Every table the windows use is there, each of them STRICT.
    for (const QString& table : TDM::tableNames())
        QVERIFY2(db.scalar(QString("select sql from sqlite_master where name='%1'").arg(table))
                     .toString()
                     .endsWith("STRICT"),
                 qPrintable(table));
}

void SchemaTest::upgradesRunInOneTransaction()
{
    const QString first = "-- version 1: one table\nCREATE TABLE A (x INTEGER);\n";
    const SchemaVersions one(first);
    const SchemaVersions two(first +
                             "-- version 2: another\nCREATE TABLE B (y TEXT);\nCREATE INDEX IB ON B (y);\n");
    QTemporaryDir dir;
    const QString file = dir.filePath("f.dat");
    {
        ScratchConnection connection(file);
        QSqlDatabase db = connection.db();
        QVERIFY(db.open());
        QVERIFY(one.upgrade(db, 0));
        QVERIFY(QSqlQuery(db).exec("insert into A values (7)"));
        const SchemaVersions::Found old = *two.identify(db);
        QCOMPARE(old.version, 1);
        QVERIFY(old.stamped);
        QVERIFY(!old.isCurrent(two));

        // A step that fails half-way leaves the file as it was.
        const SchemaVersions broken(first +
                                    "-- version 2: fails\nCREATE TABLE B (y TEXT);\nCREATE TABLE A (x);\n");
        const DbResult refused = broken.upgrade(db, 1);
        QVERIFY(!refused);
        QVERIFY(refused.error().contains("A"));
        QCOMPARE(two.identify(db)->version, 1);

        QVERIFY(two.upgrade(db, 1));
        QVERIFY(two.identify(db)->isCurrent(two));
        QCOMPARE(*SchemaVersions::objectsIn(db), two.objects(2));
        QVERIFY(!one.identify(db)); // too new for a program that knows version 1 only
    }
    QCOMPARE(onFile(file, "select x from A").toInt(), 7);
    QCOMPARE(onFile(file, "PRAGMA user_version").toInt(), 2);

    // Sections must be numbered from 1 without gaps; a statement must end.
    QCOMPARE(SchemaVersions("-- version 2: first\nCREATE TABLE A (x);\n").objects(1), QStringList());
    QCOMPARE(SchemaVersions(first + "CREATE TABLE C (z)").objects(1), QStringList());
    QCOMPARE(SchemaVersions("CREATE TABLE C (z);\n" + first).objects(1), QStringList());
    QVERIFY(!SchemaVersions("CREATE TABLE C (z);\n" + first).upgrade(QSqlDatabase(), 0));
}

void SchemaTest::schemaTextsCompareWithoutTheirLayout()
{
    const QString stored = "CREATE TABLE TTerm (\n    ID  INTEGER PRIMARY KEY, -- row\n    TermName TEXT "
                           "DEFAULT 'A  b' /* name */\n) STRICT";
    QCOMPARE(SchemaVersions::normalised(stored),
             SchemaVersions::normalised(
                 "create table tterm(id integer primary key,termname text default 'A  b')strict"));
    QCOMPARE(SchemaVersions::normalised(stored),
             QString("create table tterm(id integer primary key,termname text "
                     "default 'A  b')strict"));
    // What a literal says, and every word, still counts.
    QVERIFY(SchemaVersions::normalised(stored) !=
            SchemaVersions::normalised(QString(stored).replace("'A  b'", "'a b'")));
    QVERIFY(SchemaVersions::normalised(stored) !=
            SchemaVersions::normalised(QString(stored).replace("TEXT", "INTEGER")));
    QCOMPARE(SchemaVersions::normalised("CHECK (x IN ('it''s', 'B'))"), QString("check(x in('it''s','B'))"));
}

QTEST_MAIN(SchemaTest)
#include "tst_schema.moc"
