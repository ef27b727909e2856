// The one connection: a missing or foreign data file is reported once at
// start-up, later statements fail cleanly, and the next statement after the
// file is back opens it again with references enforced. Reads, row writes
// and the query object's rows and cursor on top of it.
#include "DataFileSupport.h"
#include "TestSupport.h"

#include "data/CodeTables.h"
#include "data/LockWait.h"
#include "data/Messages.h"
#include "data/QueryObject.h"
#include "data/SchemaVersions.h"
#include "data/Scores.h"
#include "data/ScratchConnection.h"
#include "data/SqlText.h"
#include "data/uDM.h"
#include "shell/Application.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class ConnectionTest : public QObject {
    Q_OBJECT
private slots:
    void missingFileIsReportedOnceAndRecovers();
    void foreignFileCountsAsFailure();
    void everyOpenEnforcesReferences();
    void keepsTheOneFileJournal();
    void unstampedFileOfOursIsStampedOnFirstOpen();
    void lockedFileIsWaitedForWithoutProcessingEvents();
    void queryObjectReadsAndMoves();
    void rowWritesNameTheirTable();
    void queryObjectIsAConsistentModel();
};

void ConnectionTest::missingFileIsReportedOnceAndRecovers()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString file = dir.path() + "/db/Student.dat";
    {
        TDM dm(file);
        QVERIFY(!dm.isOpen());
        QVERIFY(!dm.lastError().isEmpty());
        QVERIFY(dialogs.messages.isEmpty()); // the data module shows nothing itself
        TApplication::dataModuleCreated(dm);
        QCOMPARE(dialogs.messages, QStringList{Msg::ConnectFailed});
        QVERIFY(!QFile::exists(file)); // opening never creates it

        QueryObject q;
        q.setStatement({"Select * from TTerm Order by TermCode", {}});
        QVERIFY(!q.open());
        QVERIFY(!q.isActive());
        QCOMPARE(dialogs.messages.size(), 1); // statements report through their windows, not here

        QVERIFY(TDM::createDatabase(file));
        QVERIFY(q.open());
        QVERIFY(dm.isOpen());
        QCOMPARE(q.rowCount(), 0);
    }
    QVERIFY(DM == nullptr);
}

void ConnectionTest::foreignFileCountsAsFailure()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    QDir().mkpath(dir.path() + "/db");
    QFile f(dir.path() + "/db/Student.dat");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("this is a letter, not a database");
    f.close();
    TDM dm(f.fileName());
    TApplication::dataModuleCreated(dm);
    QCOMPARE(dialogs.messages, QStringList{Msg::ConnectFailed});
    QVERIFY(!dm.isOpen());
    const DbResult refused = Db::execute({"Insert into TTerm (TermCode,TermName) Values(1,'x')", {}});
    QVERIFY(!refused);
    QVERIFY(!refused.error().isEmpty());
    QFile back(dir.path() + "/db/Student.dat");
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), QByteArray("this is a letter, not a database"));
}

void ConnectionTest::everyOpenEnforcesReferences()
{
    TempDatabase db;
    db.addClass("C1", "一班");
    db.addStudent("C1", "张三");
    db.dm()->close();
    // The implicit reopen of a statement enforces references like the first open.
    QVERIFY(!CodeTables::Remove(
        CodeTables::Classes(),
        (*CodeTables::Find(CodeTables::Classes(), db.scalar("select ID from TClass").toInt()))->read));
    QVERIFY(db.dm()->isOpen());
    if (!db.onServer())
        QCOMPARE(db.scalar("PRAGMA foreign_keys").toInt(), 1);
    QCOMPARE(db.count("TClass"), 1);
}

void ConnectionTest::keepsTheOneFileJournal()
{
    FILE_ENGINE_ONLY();
    TempDatabase db;
    QCOMPARE(db.scalar("PRAGMA journal_mode").toString().toLower(), QString("delete"));
    db.addTerm(1, "一");
    QVERIFY(!QFile::exists(db.dataFile() + "-wal"));
}

namespace {
int userVersion(const QString& file)
{
    ScratchConnection c(file);
    QSqlDatabase db = c.db();
    if (!db.open())
        return -1;
    QSqlQuery q(db);
    return q.exec("PRAGMA user_version") && q.next() ? q.value(0).toInt() : -1;
}

} // namespace

void ConnectionTest::unstampedFileOfOursIsStampedOnFirstOpen()
{
    FILE_ENGINE_ONLY();
    const int current = SchemaVersions::program().current();
    QTemporaryDir dir;
    const QString fresh = dir.filePath("fresh.dat");
    QVERIFY(TDM::createDatabase(fresh));
    QCOMPARE(userVersion(fresh), current);
    const QString ours = dir.filePath("ours.dat");
    const DbResult oursWritten = WriteFirstReleaseDatabase(ours, {});
    QVERIFY2(oursWritten, qPrintable(oursWritten.error()));
    QCOMPARE(userVersion(ours), 0);
    {
        TDM dm(ours);
        QVERIFY(dm.isOpen());
    }
    QCOMPARE(userVersion(ours), current);

    // A file with all the tables but something added by hand is used as it
    // stands: it is not ours to stamp.
    const QString touched = dir.filePath("touched.dat");
    const DbResult touchedWritten =
        WriteFirstReleaseDatabase(touched, "create index IX_Mine on TTerm (TermName)");
    QVERIFY2(touchedWritten, qPrintable(touchedWritten.error()));
    {
        TDM dm(touched);
        QVERIFY(dm.isOpen());
    }
    QCOMPARE(userVersion(touched), 0);
}

void ConnectionTest::lockedFileIsWaitedForWithoutProcessingEvents()
{
    FILE_ENGINE_ONLY();
    if (!SqliteShell::available())
        QSKIP("the sqlite3 shell is not installed");
    TempDatabase db;
    db.addTerm(1, "一");
    int announced = 0;
    LockWait::setLongWaitHook([&announced] { ++announced; });

    SqliteShell other(db.dataFile());
    other.run("BEGIN EXCLUSIVE;");
    bool queuedRan = false;
    QTimer::singleShot(0, this, [&queuedRan] { queuedRan = true; });
    QueryObject q;
    q.setStatement({"select * from TTerm", {}});
    QElapsedTimer waited;
    waited.start();
    {
        LockWait::ScopedLimit limit(db.dm()->ADOLocal(), 1200);
        QVERIFY(!q.open());
    }
    QVERIFY2(waited.elapsed() >= 1100, qPrintable(QString::number(waited.elapsed())));
    QCOMPARE(announced, 1);     // once per wait, after half a second
    QVERIFY(!queuedRan);        // the wait let no event through
    QVERIFY(db.dm()->isOpen()); // a refused statement does not close the connection

    // Opening a file that another program is writing does not wait for it.
    waited.restart();
    QVERIFY(db.dm()->open());
    QVERIFY2(waited.elapsed() < LockWait::NoticeAfterMs, qPrintable(QString::number(waited.elapsed())));
    QCOMPARE(announced, 1);

    // Once the other program lets go, the statement goes through without a wait.
    other.run("COMMIT;");
    announced = 0;
    QVERIFY(q.open());
    QCOMPARE(q.rowCount(), 1);
    QCOMPARE(announced, 0);
    LockWait::setLongWaitHook({});
    QTRY_VERIFY(queuedRan);
}

void ConnectionTest::queryObjectReadsAndMoves()
{
    TempDatabase db;
    db.addTerm(3, "三");
    db.addTerm(1, "一");
    db.addTerm(2, "二");
    QueryObject q;
    QList<int> afterScroll;
    connect(&q, &QueryObject::currentRowChanged, this, [&afterScroll](int row) { afterScroll << row; });
    QVERIFY(q.open(CodeTables::List(CodeTables::Terms())));
    QCOMPARE(afterScroll, QList<int>{0}); // opening makes the first row current
    QStringList names;
    for (q.first(); !q.eof(); q.next())
        names << q.fieldText("TermName");
    QCOMPARE(names, (QStringList{"一", "二", "三"}));
    QCOMPARE(q.fieldNames(), (QStringList{"ID", "TermCode", "TermName"}));

    // Deleting moves to the following row; after the last row, to the new last row.
    q.setCurrentRow(1);
    QVERIFY(CodeTables::Remove(CodeTables::Terms(), q.currentImage()));
    q.removeCurrentRow();
    QCOMPARE(q.fieldText("TermName"), QString("三"));
    QVERIFY(CodeTables::Remove(CodeTables::Terms(), q.currentImage()));
    q.removeCurrentRow();
    QCOMPARE(q.fieldText("TermName"), QString("一"));
    QCOMPARE(q.rowCount(), 1);
    QCOMPARE(db.count("TTerm"), 1);

    // A failed read leaves the object closed and empty, the cursor nowhere.
    afterScroll.clear();
    QVERIFY(!q.open({"select * from TNoSuchTable", {}}));
    QVERIFY(!q.isActive());
    QCOMPARE(q.rowCount(), 0);
    QVERIFY(q.eof());
    QCOMPARE(afterScroll, QList<int>{-1});
}

void ConnectionTest::rowWritesNameTheirTable()
{
    TempDatabase db;
    const CodeTableColumns& terms = CodeTables::Terms();

    // A new row: the database assigns the ID; a numeric code is stored as a number.
    QVERIFY(CodeTables::Store(terms, std::nullopt, "007", "七"));
    const int seven = db.scalar("select ID from TTerm where TermName='七'").toInt();
    QCOMPARE(db.scalar("select TermCode from TTerm where ID=" + QString::number(seven)).toInt(), 7);
    const auto found = CodeTables::Find(terms, seven);
    QVERIFY(found && found->has_value());
    QCOMPARE((*found)->code, QString("7"));
    QVERIFY(CodeTables::Find(terms, seven + 100) && !CodeTables::Find(terms, seven + 100)->has_value());

    // Text that is no number never reaches the row; the failure names the value and the field.
    const RowImage sevenRead = (*found)->read;
    QVERIFY_THROWS_EXCEPTION(ConversionError, CodeTables::Store(terms, sevenRead, "12a", "x"));
    QVERIFY_THROWS_EXCEPTION(ConversionError, CodeTables::Store(terms, std::nullopt, "2147483648", "x"));
    try {
        CodeTables::Store(terms, sevenRead, "12a", "x");
    } catch (const ConversionError& e) {
        QCOMPARE(e.message(), QString("'12a' is not a valid integer value for field 'TermCode'"));
    }
    QCOMPARE(db.scalar("select TermName from TTerm").toString(), QString("七"));

    // A refused write stores nothing and says why.
    QVERIFY(CodeTables::Store(terms, std::nullopt, "8", "八"));
    const DbResult duplicate = CodeTables::Store(terms, std::nullopt, "8", "dup");
    QVERIFY(!duplicate);
    QVERIFY(!duplicate.error().isEmpty());
    QCOMPARE(db.count("TTerm"), 2);
    QVERIFY(!CodeTables::Store(terms, sevenRead, "8", "changed"));
    QCOMPARE(db.scalar("select TermCode from TTerm where ID=" + QString::number(seven)).toInt(), 7);

    // Changing a row that was deleted meanwhile is a failure, not a silent success.
    const RowImage eightRead = (*CodeTables::Find(terms, seven + 1))->read;
    db.exec("delete from TTerm where TermCode=8");
    QVERIFY(CodeTables::Store(terms, eightRead, "9", "gone").isConflict());
    QCOMPARE(db.count("TTerm"), 1);

    // A score is written alone, into its own table.
    db.addSubject("YW", "语文");
    db.addClass("C1", "一班");
    const int s = db.addStudent("C1", "张三");
    db.addGrade(7, "C1", s, "YW", 60);
    db.addStandard(7, "C1", "YW", 85);
    const int grade = db.scalar("select ID from TGrade").toInt();
    const RowImage gradeRead = (*Scores::Find(Scores::Grades(), grade))->read;
    QVERIFY(Scores::StoreScore(Scores::Grades(), gradeRead, 72.5));
    QCOMPARE(db.scalar("select Score from TGrade").toDouble(), 72.5);
    QCOMPARE(db.scalar("select Score from THonoursStd").toDouble(), 85.0);
    QCOMPARE(db.scalar("select SubjName from TSubject").toString(), QString("语文"));
    QVERIFY(Scores::StoreScore(Scores::Grades(), RowImage{grade + 100, {}}, 1).isConflict());
}

void ConnectionTest::queryObjectIsAConsistentModel()
{
    TempDatabase db;
    for (int i = 1; i <= 3; ++i)
        db.addClass(QString("C%1").arg(i), QString("%1班").arg(i));
    QueryObject q;
    QAbstractItemModelTester tester(&q, QAbstractItemModelTester::FailureReportingMode::QtTest);

    // Without declared columns, the fields of the result.
    QVERIFY(q.open(CodeTables::List(CodeTables::Classes())));
    QCOMPARE(q.columnCount(), 3);
    QCOMPARE(q.headerData(2, Qt::Horizontal).toString(), QString("ClassName"));
    QCOMPARE(q.index(1, 1).data().toString(), QString("C2"));

    // Declared columns stay while closed; a field the result lacks shows nothing.
    q.setColumnFields({"ClassName", "Missing", "ID"});
    QCOMPARE(q.columnCount(), 3);
    QCOMPARE(q.index(0, 0).data().toString(), QString("1班"));
    QVERIFY(q.index(0, 1).data().isNull());
    QVERIFY(q.setHeaderData(0, Qt::Horizontal, "班级名称"));
    q.close();
    QCOMPARE(q.columnCount(), 3);
    QCOMPARE(q.rowCount(), 0);
    QCOMPARE(q.headerData(0, Qt::Horizontal).toString(), QString("班级名称"));
    QVERIFY(q.open());
    QCOMPARE(q.headerData(0, Qt::Horizontal).toString(), QString("班级名称"));

    // The row headers mark the current row.
    q.setCurrentRow(2);
    QCOMPARE(q.headerData(2, Qt::Vertical).toString(), QString("▶"));
    QCOMPARE(q.headerData(0, Qt::Vertical).toString(), QString());
    q.removeCurrentRow();
    QCOMPARE(q.rowCount(), 2);
    QCOMPARE(q.currentRow(), 1);
    QCOMPARE(q.headerData(1, Qt::Vertical).toString(), QString("▶"));
}

QTEST_MAIN(ConnectionTest)
#include "tst_connection.moc"
