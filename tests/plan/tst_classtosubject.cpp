#include "TestSupport.h"

#include "data/Messages.h"
#include "plan/uClassToSubject.h"
#include "widgets/DataGrid.h"
#include "widgets/TermClassTree.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

// The subject-plan window on a real data file, driven through its tree.
class ClassToSubjectTest : public QObject {
    Q_OBJECT

private:
    struct Window {
        std::unique_ptr<TfrmClassToSubject> form = std::make_unique<TfrmClassToSubject>();
        TTermClassTree* tree() const { return form->tree(); }
        DataGrid* planned() const { return form->findChild<DataGrid*>(QStringLiteral("DBGridEh1")); }
        DataGrid* available() const { return form->findChild<DataGrid*>(QStringLiteral("DBGridEh2")); }
        QString caption() const { return form->findChild<QGroupBox*>(QStringLiteral("GroupBox2"))->title(); }
        void up() const { Button(form.get(), "sbUp")->click(); }
        void down() const { Button(form.get(), "sbDown")->click(); }
        void click(int term, int klass) const { ClickNode(tree(), ClassNode(tree(), term, klass)); }
        bool open() const
        {
            if (!form->ReadyData())
                return false;
            form->show();
            return QTest::qWaitForWindowExposed(form.get());
        }
    };

    static QStringList codes(const DataGrid* grid)
    {
        QStringList list;
        for (int row = 0; row < grid->rowCount(); ++row)
            list << grid->cellText(row, QStringLiteral("SubjCode"));
        list.sort(); // the plan comes in the database's order
        return list;
    }

    static QStringList planOf(const TempDatabase& db, int term, const QString& klass)
    {
        QString quoted = klass;
        quoted.replace(QLatin1Char('\''), QLatin1String("''"));
        const QString list =
            db.scalar((db.onServer()
                           ? QStringLiteral("select string_agg(SubjCode, ',' order by SubjCode) from "
                                            "TClassToSubject where TermCode=%1 and ClassCode='%2'")
                           : QStringLiteral("select group_concat(SubjCode) from (select SubjCode from "
                                            "TClassToSubject where TermCode=%1 and ClassCode='%2' "
                                            "order by SubjCode)"))
                          .arg(term)
                          .arg(quoted))
                .toString();
        return list.isEmpty() ? QStringList{} : list.split(QLatin1Char(','));
    }

    // Terms 1 and 2; class A in both, class O'B (a quote in its code) in term 1;
    // three subjects, one with a quote.
    static void fill(const TempDatabase& db)
    {
        db.addTerm(1, QStringLiteral("一学期"));
        db.addTerm(2, QStringLiteral("二学期"));
        db.addClass(QStringLiteral("A"), QStringLiteral("甲班"));
        db.addClass(QStringLiteral("O'B"), QStringLiteral("引号班"));
        db.addSubject(QStringLiteral("SX"), QStringLiteral("数学"));
        db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
        db.addSubject(QStringLiteral("X'Y"), QStringLiteral("引号课"));
        db.activate(1, QStringLiteral("A"));
        db.activate(1, QStringLiteral("O'B"));
        db.activate(2, QStringLiteral("A"));
        db.plan(1, QStringLiteral("A"), QStringLiteral("YW"));
    }

private slots:
    void loadsNothingUntilAClassIsClicked()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        fill(db);
        Window w;
        QVERIFY(w.open());
        QCOMPARE(w.caption(), QStringLiteral("学期xx班级yy开的科目"));
        QCOMPARE(w.planned()->rowCount() + w.available()->rowCount(), 0);
        QCOMPARE(w.form->focusWidget(), w.tree()->Tree());
        QTest::keyClick(w.tree()->Tree(), Qt::Key_Tab);
        QCOMPARE(w.form->focusWidget(), w.planned());
        QTest::keyClick(w.planned(), Qt::Key_Tab);
        QCOMPARE(w.form->focusWidget(), w.available());
        w.up();
        w.down();
        QCOMPARE(db.count(QStringLiteral("TClassToSubject")), 1);

        w.click(0, 0);
        QCOMPARE(w.caption(), QStringLiteral("学期[一学期]班级[甲班]开设的课程科目！"));
        QCOMPARE(codes(w.planned()), QStringList{"YW"});
        QCOMPARE(codes(w.available()), (QStringList{"SX", "X'Y"}));

        // A term node empties both lists and keeps the caption.
        ClickNode(w.tree(), TermNode(w.tree(), 1));
        QCOMPARE(w.planned()->rowCount() + w.available()->rowCount(), 0);
        QCOMPARE(w.caption(), QStringLiteral("学期[一学期]班级[甲班]开设的课程科目！"));
        w.up();
        QCOMPARE(db.count(QStringLiteral("TClassToSubject")), 1);
        QVERIFY(dialogs.all().isEmpty());
    }

    void plansAreIndependentPerClassAndTerm()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        fill(db);
        Window w;
        QVERIFY(w.open());

        // Class O'B in term 1 takes the subject X'Y: quotes go through intact.
        w.click(0, 1);
        QCOMPARE(codes(w.planned()), QStringList{});
        w.available()->query()->locate(QStringLiteral("SubjCode"), QStringLiteral("X'Y"));
        w.up();
        QCOMPARE(codes(w.planned()), QStringList{"X'Y"});
        QCOMPARE(codes(w.available()), (QStringList{"SX", "YW"}));

        // Class A in term 2 gets its own plan by double-clicks.
        w.click(1, 0);
        QCOMPARE(w.caption(), QStringLiteral("学期[二学期]班级[甲班]开设的课程科目！"));
        QVERIFY(codes(w.planned()).isEmpty());
        for (int i = 0; i < 2; ++i) {
            const QRect row = w.available()->visualRect(w.available()->model()->index(0, 1));
            QTest::mouseDClick(w.available()->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
            Settle();
        }
        QCOMPARE(codes(w.planned()), (QStringList{"SX", "X'Y"}));

        QCOMPARE(planOf(db, 1, QStringLiteral("A")), QStringList{"YW"});
        QCOMPARE(planOf(db, 1, QStringLiteral("O'B")), QStringList{"X'Y"});
        QCOMPARE(planOf(db, 2, QStringLiteral("A")), (QStringList{"SX", "X'Y"}));

        // Removing from one plan leaves the others.
        w.planned()->query()->locate(QStringLiteral("SubjCode"), QStringLiteral("X'Y"));
        w.down();
        const QRect row = w.planned()->visualRect(w.planned()->model()->index(0, 1));
        QTest::mouseDClick(w.planned()->viewport(), Qt::LeftButton, Qt::NoModifier, row.center());
        Settle();
        QVERIFY(codes(w.planned()).isEmpty());
        QCOMPARE(codes(w.available()), (QStringList{"SX", "X'Y", "YW"}));
        QVERIFY(planOf(db, 2, QStringLiteral("A")).isEmpty());
        QCOMPARE(planOf(db, 1, QStringLiteral("O'B")), QStringList{"X'Y"});
        QVERIFY(dialogs.all().isEmpty());
    }

    void movesActOnTheClassTheListsShow()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        fill(db);
        Window w;
        QVERIFY(w.open());
        w.click(0, 0);

        // The keyboard moves the selection to the next class; nothing reloads...
        w.tree()->Tree()->setFocus();
        QTest::keyClick(w.tree()->Tree(), Qt::Key_Down);
        Settle();
        QCOMPARE(w.tree()->SelectedClass().ClassCode, QStringLiteral("O'B"));
        QCOMPARE(w.caption(), QStringLiteral("学期[一学期]班级[甲班]开设的课程科目！"));

        // ...and "↑" still adds to the class shown.
        w.up();
        QCOMPARE(planOf(db, 1, QStringLiteral("A")), (QStringList{"SX", "YW"}));
        QVERIFY(planOf(db, 1, QStringLiteral("O'B")).isEmpty());
        QCOMPARE(codes(w.planned()), (QStringList{"SX", "YW"}));
        QCOMPARE(w.caption(), QStringLiteral("学期[一学期]班级[甲班]开设的课程科目！"));

        // A keyboard move onto a term node does not disable the buttons' class either.
        QTest::keyClick(w.tree()->Tree(), Qt::Key_Up);
        QTest::keyClick(w.tree()->Tree(), Qt::Key_Up);
        Settle();
        QVERIFY(w.tree()->SelectedClass().isEmpty());
        w.down();
        QCOMPARE(planOf(db, 1, QStringLiteral("A")).size(), 1);
    }

    void failuresAreReportedAndNothingIsLost()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        fill(db);
        Window w;
        QVERIFY(w.open());
        w.click(0, 0);

        // The database refuses the removal: message, the row and the lists stay.
        db.exec(QStringLiteral("CREATE TRIGGER KeepPlan BEFORE DELETE ON TClassToSubject BEGIN "
                               "SELECT RAISE(ABORT, 'in use'); END"));
        w.down();
        QCOMPARE(dialogs.messages, QStringList{Msg::DeleteAssignmentFailed});
        QCOMPARE(planOf(db, 1, QStringLiteral("A")), QStringList{"YW"});
        QCOMPARE(codes(w.planned()), QStringList{"YW"});

        // A subject deleted behind the window's back cannot be added.
        dialogs.clear();
        w.available()->query()->locate(QStringLiteral("SubjCode"), QStringLiteral("SX"));
        db.exec(QStringLiteral("delete from TSubject where SubjCode='SX'"));
        w.up();
        QCOMPARE(dialogs.messages, QStringList{Msg::InsertFailed});
        QCOMPARE(codes(w.available()), (QStringList{"SX", "X'Y"}));

        // The plan cannot be read: its own message, the caption of the class before.
        dialogs.clear();
        db.exec(QStringLiteral("DROP TRIGGER KeepPlan"));
        db.exec(QStringLiteral("ALTER TABLE TClassToSubject RENAME TO TPlanGone"));
        w.click(1, 0);
        QCOMPARE(dialogs.messages, QStringList{Msg::OpenFailed});
        QCOMPARE(w.planned()->rowCount(), 0);
        QCOMPARE(w.caption(), QStringLiteral("学期[一学期]班级[甲班]开设的课程科目！"));
    }

    void treeReadFailureKeepsTheWindowClosed()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.exec(QStringLiteral("ALTER TABLE TTermToClass RENAME TO TGone"));
        QVERIFY(!ShowClassToSubject());
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
    }
};

QTEST_MAIN(ClassToSubjectTest)
#include "tst_classtosubject.moc"
