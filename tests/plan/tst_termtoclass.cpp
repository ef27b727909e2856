#include "TestSupport.h"

#include "data/Messages.h"
#include "plan/uTermToClass.h"
#include "widgets/DataGrid.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTest>

// The term–class window on a real data file: moves, reloads and refusals.
class TermToClassTest : public QObject {
    Q_OBJECT

private:
    struct Window {
        std::unique_ptr<TfrmTermToClass> form = std::make_unique<TfrmTermToClass>();
        DataGrid* grid(const char* name) const { return form->findChild<DataGrid*>(QLatin1String(name)); }
        DataGrid* terms() const { return grid("DBGridEh1"); }
        DataGrid* active() const { return grid("DBGridEh2"); }
        DataGrid* available() const { return grid("DBGridEh3"); }
        QString caption() const { return form->findChild<QGroupBox*>(QStringLiteral("GroupBox2"))->title(); }
        void up() const { Button(form.get(), "sbUp")->click(); }
        void down() const { Button(form.get(), "sbDown")->click(); }
        void show() const
        {
            form->show();
            (void)QTest::qWaitForWindowExposed(form.get());
        }
    };

    static QStringList codes(const DataGrid* grid)
    {
        QStringList list;
        for (int row = 0; row < grid->rowCount(); ++row)
            list << grid->cellText(row, QStringLiteral("ClassCode"));
        return list;
    }

    static int currentRow(const DataGrid* grid) { return grid->query()->currentRow(); }

    static void doubleClickRow(DataGrid* grid, int row)
    {
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        Settle();
    }

    // Two terms and four classes, one of them with a quote in its code.
    static void fill(const TempDatabase& db)
    {
        db.addTerm(1, QStringLiteral("一学期"));
        db.addTerm(2, QStringLiteral("二学期"));
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        db.addClass(QStringLiteral("C3"), QStringLiteral("三班"));
        db.addClass(QStringLiteral("O'B"), QStringLiteral("引号班"));
        db.activate(1, QStringLiteral("C2"));
    }

    static int pairs(const TempDatabase& db, int term, const QString& klass)
    {
        QString quoted = klass;
        quoted.replace(QLatin1Char('\''), QLatin1String("''"));
        return db.count(QStringLiteral("TTermToClass"),
                        QStringLiteral("TermCode=%1 and ClassCode='%2'").arg(term).arg(quoted));
    }

private slots:
    void opensOnTheFirstTerm()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        fill(db);
        Window w;
        QVERIFY(w.form->ReadyData());
        QCOMPARE(w.terms()->rowCount(), 2);
        QCOMPARE(w.caption(), QStringLiteral("学期[一学期]有效的班级！"));
        QCOMPARE(codes(w.active()), QStringList{QStringLiteral("C2")});
        QCOMPARE(codes(w.available()), (QStringList{"C1", "C3", "O'B"}));
        w.show();
        QCOMPARE(w.form->focusWidget(), w.terms());
        QVERIFY(dialogs.all().isEmpty());
    }

    void movesReloadBothListsAtTheirFirstRows()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        fill(db);
        Window w;
        QVERIFY(w.form->ReadyData());
        w.show();

        // "↑" adds the current available class, quote and all.
        w.available()->query()->setCurrentRow(2);
        w.up();
        QCOMPARE(pairs(db, 1, QStringLiteral("O'B")), 1);
        QCOMPARE(codes(w.active()), (QStringList{"C2", "O'B"}));
        QCOMPARE(codes(w.available()), (QStringList{"C1", "C3"}));
        QCOMPARE(currentRow(w.active()), 0);
        QCOMPARE(currentRow(w.available()), 0);

        // A double-click in the lower list adds the row clicked.
        doubleClickRow(w.available(), 1);
        QCOMPARE(codes(w.active()), (QStringList{"C2", "C3", "O'B"}));
        QCOMPARE(codes(w.available()), QStringList{"C1"});

        // A double-click in the upper list removes the row clicked.
        doubleClickRow(w.active(), 2);
        QCOMPARE(pairs(db, 1, QStringLiteral("O'B")), 0);
        QCOMPARE(codes(w.active()), (QStringList{"C2", "C3"}));
        QCOMPARE(currentRow(w.active()), 0);

        // "↓" removes the current active class; the term stays.
        w.down();
        QCOMPARE(codes(w.active()), QStringList{"C3"});
        QCOMPARE(codes(w.available()), (QStringList{"C1", "C2", "O'B"}));
        QCOMPARE(currentRow(w.terms()), 0);
        QCOMPARE(pairs(db, 2, QStringLiteral("C3")), 0); // the other term untouched
        QVERIFY(dialogs.all().isEmpty());
    }

    void arrowKeysReloadAtEveryStep()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        fill(db);
        db.addTerm(3, QStringLiteral("三学期"));
        db.activate(3, QStringLiteral("C1"));
        db.activate(3, QStringLiteral("C3"));
        Window w;
        QVERIFY(w.form->ReadyData());
        w.show();
        w.terms()->setFocus();

        QTest::keyClick(w.terms(), Qt::Key_Down);
        QCOMPARE(w.caption(), QStringLiteral("学期[二学期]有效的班级！"));
        QVERIFY(codes(w.active()).isEmpty());
        QCOMPARE(codes(w.available()).size(), 4);

        QTest::keyClick(w.terms(), Qt::Key_Down);
        QCOMPARE(w.caption(), QStringLiteral("学期[三学期]有效的班级！"));
        QCOMPARE(codes(w.active()), (QStringList{"C1", "C3"}));
        QCOMPARE(codes(w.available()), (QStringList{"C2", "O'B"}));

        // A move acts on the term now current.
        w.up();
        QCOMPARE(pairs(db, 3, QStringLiteral("C2")), 1);
        QCOMPARE(pairs(db, 1, QStringLiteral("C2")), 1);
        QCOMPARE(db.count(QStringLiteral("TTermToClass")), 4);

        QTest::keyClick(w.terms(), Qt::Key_Up);
        QCOMPARE(w.caption(), QStringLiteral("学期[二学期]有效的班级！"));
        QVERIFY(codes(w.active()).isEmpty());
    }

    void emptyListsAndNoTermDoNothing()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        {
            Window w; // no term at all
            QVERIFY(w.form->ReadyData());
            QCOMPARE(w.caption(), QStringLiteral("学期..有效的班级"));
            QCOMPARE(w.terms()->rowCount() + w.active()->rowCount() + w.available()->rowCount(), 0);
            w.up();
            w.down();
        }
        db.addTerm(1, QStringLiteral("一学期"));
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        Window w;
        QVERIFY(w.form->ReadyData());
        w.down(); // nothing active yet
        QCOMPARE(db.count(QStringLiteral("TTermToClass")), 0);
        w.up();
        w.up(); // everything active now
        QCOMPARE(db.count(QStringLiteral("TTermToClass")), 1);
        QVERIFY(codes(w.available()).isEmpty());
        QVERIFY(dialogs.all().isEmpty());
    }

    void refusalsKeepTheStoredState()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        fill(db);
        db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
        db.plan(1, QStringLiteral("C2"), QStringLiteral("YW"));
        Window w;
        QVERIFY(w.form->ReadyData());

        // A class with a subject plan in the term cannot be removed from it.
        w.down();
        QCOMPARE(dialogs.messages, QStringList{Msg::DeleteAssignmentFailed});
        QCOMPARE(pairs(db, 1, QStringLiteral("C2")), 1);
        QCOMPARE(codes(w.active()), QStringList{"C2"});

        // A term deleted behind the window's back cannot receive classes.
        dialogs.clear();
        w.terms()->query()->setCurrentRow(1);
        db.exec(QStringLiteral("delete from TTerm where TermCode=2"));
        w.up();
        QCOMPARE(dialogs.messages, QStringList{Msg::InsertFailed});
        QCOMPARE(db.count(QStringLiteral("TTermToClass"), QStringLiteral("TermCode=2")), 0);
        QCOMPARE(codes(w.available()).size(), 4);
    }

    void readFailures()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        fill(db);
        {
            Window w;
            QVERIFY(w.form->ReadyData());
            // The class lists cannot be read after a term change: the window stays
            // with an empty upper list and the caption of the term before.
            db.exec(QStringLiteral("ALTER TABLE TClass RENAME TO TClassGone"));
            w.terms()->query()->setCurrentRow(1);
            QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
            QCOMPARE(w.active()->rowCount(), 0);
            QCOMPARE(w.caption(), QStringLiteral("学期[一学期]有效的班级！"));
        }
        dialogs.clear();
        db.exec(QStringLiteral("ALTER TABLE TTerm RENAME TO TTermGone"));
        QVERIFY(!ShowTermToClass());
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
    }
};

QTEST_MAIN(TermToClassTest)
#include "tst_termtoclass.moc"
