// The one connection: a missing or foreign data file is reported once at
// start-up, later statements fail cleanly, and the next statement after the
// file is back opens it again with references enforced.
#include "TestSupport.h"

#include "data/Messages.h"
#include "data/QueryObject.h"
#include "data/SqlText.h"
#include "data/uDM.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class ConnectionTest : public QObject {
    Q_OBJECT
private slots:
    void missingFileIsReportedOnceAndRecovers();
    void foreignFileCountsAsFailure();
    void everyOpenEnforcesReferences();
    void keepsTheOneFileJournal();
    void queryObjectReadsAndWrites();
};

void ConnectionTest::missingFileIsReportedOnceAndRecovers()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    AppPath = dir.path() + "/";
    {
        TDM dm;
        QCOMPARE(dialogs.messages, QStringList{Msg::ConnectFailed});
        QVERIFY(!dm.isOpen());
        QVERIFY(!QFile::exists(dir.path() + "/db/Student.dat")); // opening never creates it

        QueryObject q;
        q.setSql("Select * from TTerm Order by TermCode");
        QVERIFY(!q.open());
        QVERIFY(!q.isActive());
        QCOMPARE(dialogs.messages.size(), 1); // statements report through their windows, not here

        QVERIFY(TDM::createDatabase(dir.path() + "/db/Student.dat"));
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
    AppPath = dir.path() + "/";
    QDir().mkpath(dir.path() + "/db");
    QFile f(dir.path() + "/db/Student.dat");
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("this is a letter, not a database");
    f.close();
    TDM dm;
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
