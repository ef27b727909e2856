// The one connection: a missing or foreign data file is reported once at
// start-up, later statements fail cleanly, and the next statement after the
// file is back opens it again with references enforced.
#include "DataFileSupport.h"
#include "TestSupport.h"

#include "app/Application.h"
#include "data/LockWait.h"
#include "data/Messages.h"
#include "data/QueryObject.h"
#include "data/SchemaVersions.h"
#include "data/ScratchConnection.h"
#include "data/SqlText.h"
#include "data/uDM.h"

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
    void queryObjectReadsAndWrites();
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
        q.setSql("Select * from TTerm Order by TermCode");
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
    CommandObject c;
    c.setSql("Insert into TTerm (TermCode,TermName) Values(1,'x')");
    QVERIFY(!c.execute());
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
    CommandObject c;
    c.setSql("Delete From TClass where ClassCode='C1'");
    QVERIFY(!c.execute());
    QVERIFY(db.dm()->isOpen());
    QCOMPARE(db.scalar("PRAGMA foreign_keys").toInt(), 1);
    QCOMPARE(db.count("TClass"), 1);
}

void ConnectionTest::keepsTheOneFileJournal()
{
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

void setUserVersion(const QString& file, int version, const QString& more = QString())
{
    ScratchConnection c(file);
    QSqlDatabase db = c.db();
    QVERIFY(db.open());
    QVERIFY(QSqlQuery(db).exec(QString("PRAGMA user_version=%1").arg(version)));
    if (!more.isEmpty())
        QVERIFY(QSqlQuery(db).exec(more));
}
} // namespace

void ConnectionTest::unstampedFileOfOursIsStampedOnFirstOpen()
{
    const int current = SchemaVersions::program().current();
    QTemporaryDir dir;
    const QString ours = dir.filePath("ours.dat");
    QVERIFY(TDM::createDatabase(ours));
    QCOMPARE(userVersion(ours), current);
    setUserVersion(ours, 0);
    {
        TDM dm(ours);
        QVERIFY(dm.isOpen());
    }
    QCOMPARE(userVersion(ours), current);

    // A file with all the tables but something added by hand is used as it
    // stands: it is not ours to stamp.
    const QString touched = dir.filePath("touched.dat");
    QVERIFY(TDM::createDatabase(touched));
    setUserVersion(touched, 0, "create index IX_Mine on TTerm (TermName)");
    {
        TDM dm(touched);
        QVERIFY(dm.isOpen());
    }
    QCOMPARE(userVersion(touched), 0);
}

void ConnectionTest::lockedFileIsWaitedForWithoutProcessingEvents()
{
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
    q.setSql("select * from TTerm");
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

void ConnectionTest::queryObjectReadsAndWrites()
{
    TempDatabase db;
    db.addTerm(3, "三");
    db.addTerm(1, "一");
    db.addTerm(2, "二");
    QueryObject q;
    QList<int> afterScroll;
    connect(&q, &QueryObject::currentRowChanged, this, [&afterScroll](int row) { afterScroll << row; });
    q.setSql("Select * from TTerm Order by TermCode");
    QVERIFY(q.open());
    QCOMPARE(afterScroll, QList<int>{0}); // opening makes the first row current
    QStringList names;
    for (q.first(); !q.eof(); q.next())
        names << q.fieldText("TermName");
    QCOMPARE(names, (QStringList{"一", "二", "三"}));

    // Deleting moves to the following row; after the last row, to the new last row.
    q.setCurrentRow(1);
    QVERIFY(q.deleteCurrent());
    QCOMPARE(q.fieldText("TermName"), QString("三"));
    QVERIFY(q.deleteCurrent());
    QCOMPARE(q.fieldText("TermName"), QString("一"));
    QCOMPARE(db.count("TTerm"), 1);

    // Append and post insert; the database assigns the ID.
    q.append();
    q.setField("TermCode", QString("007"));
    q.setField("TermName", QString("七"));
    QVERIFY(q.post());
    QCOMPARE(db.scalar("select TermCode from TTerm where TermName='七'").toInt(), 7);
    QVERIFY(q.fieldInt("ID") > 0);

    // Text that is no number never reaches the row; the failure names the value and the field.
    q.edit();
    QVERIFY_THROWS_EXCEPTION(ConversionError, q.setField("TermCode", QString("12a")));
    QVERIFY_THROWS_EXCEPTION(ConversionError, q.setField("TermCode", QString("2147483648")));
    try {
        q.setField("TermCode", QString("12a"));
    } catch (const ConversionError& e) {
        QCOMPARE(e.message(), QString("'12a' is not a valid integer value for field 'TermCode'"));
    }
    q.cancel();

    // A post changes only the first table of a join.
    db.addClass("C1", "一班");
    db.activate(1, "C1");
    QueryObject join;
    join.setSql("select TTermToClass.*,TClass.ClassName from TTermToClass,TClass Where "
                "TClass.ClassCode=TTermToClass.ClassCode");
    QVERIFY(join.open());
    join.edit();
    join.setField("ClassName", QString("changed"));
    QVERIFY(join.post());
    QCOMPARE(db.scalar("select ClassName from TClass").toString(), QString("一班"));

    // A refused post keeps the row in editing with what was entered.
    q.append();
    q.setField("TermCode", QString("1"));
    q.setField("TermName", QString("dup"));
    QVERIFY(!q.post());
    QVERIFY(q.isEditing());
    QCOMPARE(q.fieldText("TermName"), QString("dup"));
    q.setField("TermCode", QString("8"));
    QVERIFY(q.post());
    QCOMPARE(db.count("TTerm"), 3);

    // Editing a row that was deleted meanwhile is a failure, not a silent success.
    q.edit();
    q.setField("TermName", QString("gone"));
    db.exec("delete from TTerm where TermCode=8");
    QVERIFY(!q.post());
    QCOMPARE(db.count("TTerm"), 2);
}

QTEST_MAIN(ConnectionTest)
#include "tst_connection.moc"
