// Two clerks on one school at once, on either engine: the other clerk is a
// connection of its own (another program on the file, another machine on the
// server). Nobody's work is lost or silently overwritten.
#include "TestSupport.h"

#include "data/CodeTables.h"
#include "data/LockWait.h"
#include "data/Messages.h"
#include "data/Roster.h"
#include "data/Scores.h"
#include "data/uDM.h"
#include "reference/uClass.h"
#include "scores/uGrade.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

namespace {

// A wait that is announced sets the busy cursor; the event loop takes it
// back once the statement has returned.
struct BusyCursorSeen {
    int announced = 0;
    bool cursorWasBusy = false;
    BusyCursorSeen()
    {
        LockWait::setLongWaitHook([this] {
            ++announced;
            QApplication::setOverrideCursor(Qt::WaitCursor);
            cursorWasBusy =
                QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            QTimer::singleShot(0, qApp, [] { QApplication::restoreOverrideCursor(); });
        });
    }
    ~BusyCursorSeen() { LockWait::setLongWaitHook({}); }
};

// The other clerk holds the lock an initialisation of that student takes.
void holdStudentsLock(const TempDatabase& db, const OtherClerk& other, int student)
{
    if (db.onServer()) {
        other.begin();
        QCOMPARE(other.scalar(QStringLiteral("select ID from TStudent where ID=%1 for update").arg(student))
                     .toInt(),
                 student);
    } else {
        other.exec(QStringLiteral("begin immediate"));
    }
}

} // namespace

class ClerksTest : public QObject {
    Q_OBJECT
private slots:
    void aRowChangedByTheOtherClerkIsNotOverwritten()
    {
        TempDatabase db;
        const OtherClerk other(db);
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        const int id = db.scalar(QStringLiteral("select ID from TClass")).toInt();
        const auto read = CodeTables::Find(CodeTables::Classes(), id);
        QVERIFY(read && read->has_value());

        other.exec(QStringLiteral("update TClass set ClassName='甲班' where ID=%1").arg(id));
        const DbResult stored = CodeTables::Store(CodeTables::Classes(), (*read)->read, "C1", "一班改");
        QVERIFY(stored.isConflict());
        QCOMPARE(db.scalar(QStringLiteral("select ClassName from TClass")).toString(),
                 QStringLiteral("甲班"));
        QVERIFY(CodeTables::Remove(CodeTables::Classes(), (*read)->read).isConflict());
        QCOMPARE(db.count(QStringLiteral("TClass")), 1);

        // Read again, the change goes through; a null read matches a null.
        other.exec(QStringLiteral("update TClass set ClassName=null where ID=%1").arg(id));
        const auto again = CodeTables::Find(CodeTables::Classes(), id);
        QVERIFY(CodeTables::Store(CodeTables::Classes(), (*again)->read, "C1", "一班改"));
        QCOMPARE(db.scalar(QStringLiteral("select ClassName from TClass")).toString(),
                 QStringLiteral("一班改"));

        // A student and a score: the same check, on every column.
        const int ann = db.addStudent(QStringLiteral("C1"), QStringLiteral("Ann"));
        const auto student = Roster::FindStudent(ann);
        other.exec(QStringLiteral("update TStudent set IsTY=1 where ID=%1").arg(ann));
        Roster::Student changed = **student;
        changed.Room = QStringLiteral("301");
        QVERIFY(Roster::StoreStudent((*student)->read, changed).isConflict());
        QCOMPARE(db.scalar(QStringLiteral("select Room from TStudent")).toString(), QString());
        QVERIFY(Roster::RemoveStudent((*student)->read).isConflict());

        db.addTerm(1, QStringLiteral("一"));
        db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
        db.addGrade(1, QStringLiteral("C1"), ann, QStringLiteral("YW"), 72.5);
        const int grade = db.scalar(QStringLiteral("select ID from TGrade")).toInt();
        const auto score = Scores::Find(Scores::Grades(), grade);
        other.exec(QStringLiteral("update TGrade set Score=73 where ID=%1").arg(grade));
        QVERIFY(Scores::StoreScore(Scores::Grades(), (*score)->read, 90).isConflict());
        QCOMPARE(db.scalar(QStringLiteral("select Score from TGrade")).toDouble(), 73.0);
        // A score read exactly as stored (a fraction included) is found again.
        const auto fresh = Scores::Find(Scores::Grades(), grade);
        other.exec(QStringLiteral("update TGrade set Score=0.1 where ID=%1").arg(grade));
        const auto tenth = Scores::Find(Scores::Grades(), grade);
        QVERIFY(Scores::StoreScore(Scores::Grades(), (*fresh)->read, 1).isConflict());
        QVERIFY(Scores::StoreScore(Scores::Grades(), (*tenth)->read, 1));
    }

    void theEditDialogSaysSoAndStaysOpen()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        const OtherClerk other(db);
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        TfrmClassEdit edit(db.scalar(QStringLiteral("select ID from TClass")).toInt());
        QVERIFY(edit.ReadyData());
        other.exec(QStringLiteral("delete from TClass"));
        edit.EditName->setText(QStringLiteral("改名"));
        edit.ensureButton()->click();
        QCOMPARE(dialogs.messages, QStringList{Msg::Conflict});
        QVERIFY(edit.NotStored);
        QCOMPARE(db.count(QStringLiteral("TClass")), 0);
    }

    void codesAndReferencesHoldAcrossClerks()
    {
        TempDatabase db;
        const OtherClerk other(db);
        other.exec(QStringLiteral("insert into TClass (ClassCode,ClassName) values ('C9','九班')"));
        const DbResult duplicate = CodeTables::Store(CodeTables::Classes(), std::nullopt, "C9", "又一个");
        QVERIFY(!duplicate);
        QVERIFY(!duplicate.isConflict());
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        const int c1 = db.scalar(QStringLiteral("select ID from TClass where ClassCode='C1'")).toInt();
        const auto listed = CodeTables::Find(CodeTables::Classes(), c1);
        other.exec(QStringLiteral("insert into TStudent (ClassCode,SName) values ('C1','Ann')"));
        const DbResult removed = CodeTables::Remove(CodeTables::Classes(), (*listed)->read);
        QVERIFY(!removed);
        QVERIFY(!removed.isConflict()); // refused as in use: the window's own message
        QCOMPARE(db.count(QStringLiteral("TClass")), 2);
    }

    void anInitialisationWaitsForTheOtherClerkThenGivesUp()
    {
        TempDatabase db;
        BusyCursorSeen busy;
        db.addTwoTermSchool();
        const int ann = db.addStudent(QStringLiteral("C1"), QStringLiteral("Ann"));
        db.addGrade(1, QStringLiteral("C1"), ann, QStringLiteral("CN"), 80);
        const OtherClerk other(db);
        // The file's wait is its busy handler's; shorter here than the program's five seconds.
        LockWait::ScopedLimit limit(db.dm()->ADOLocal(), 2000);

        holdStudentsLock(db, other, ann);
        QElapsedTimer clock;
        clock.start();
        const DbValue<Scores::Initialised> refused =
            Scores::Initialise({&Scores::Grades(), 1, "C1", ann}, true);
        QVERIFY(!refused);
        QVERIFY2(clock.elapsed() >= 1500 && clock.elapsed() < 4500,
                 qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(busy.announced, 1);
        QVERIFY(busy.cursorWasBusy);
        other.rollback();
        QCOMPARE(db.count(QStringLiteral("TGrade")), 1);
        QCOMPARE(db.scalar(QStringLiteral("select Score from TGrade")).toDouble(), 80.0);

        // Once the other clerk is done, it runs at once and replaces the rows whole.
        QVERIFY(Scores::Initialise({&Scores::Grades(), 1, "C1", ann}, true));
        QCOMPARE(db.count(QStringLiteral("TGrade")), 2);
        QCOMPARE(busy.announced, 1);
    }

    void theGradeWindowReportsTheWaitAsAFailedInitialisation()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        BusyCursorSeen busy;
        db.addTwoTermSchool();
        const int ann = db.addStudent(QStringLiteral("C1"), QStringLiteral("Ann"));
        const OtherClerk other(db);
        LockWait::ScopedLimit limit(db.dm()->ADOLocal(), 2000);
        TfrmGrade w;
        QVERIFY(w.ReadyData());
        w.show();
        ClickNode(w.tree(), ClassNode(w.tree(), 0, 0));
        holdStudentsLock(db, other, ann);
        w.findChild<QPushButton*>(QStringLiteral("cmdAppend"))->click();
        QCOMPARE(dialogs.messages, QStringList{Msg::InitFailed});
        QCOMPARE(busy.announced, 1);
        other.rollback();
        QCOMPARE(db.count(QStringLiteral("TGrade")), 0);
        QTRY_VERIFY(!QApplication::overrideCursor());
    }
};

QTEST_MAIN(ClerksTest)
#include "tst_clerks.moc"
