// The student roster and the student dialog on a real data file.
#include "TestSupport.h"

#include "data/Messages.h"
#include "data/QueryObject.h"
#include "shell/Application.h"
#include "students/uStudent.h"
#include "students/uStudentEdit.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

QStringList Names(TfrmStudent& roster)
{
    QStringList names;
    for (int row = 0; row < roster.DBGridEh2->rowCount(); ++row)
        names << roster.DBGridEh2->cellText(row, "SName");
    return names;
}

// Fails when a command opened a dialog although it should have done nothing.
struct NoDialogExpected {
    bool opened = false;
    NoDialogExpected()
    {
        OnNextModal(
            [this](QWidget* dialog) {
                opened = true;
                CloseModal(dialog);
            },
            300);
    }
};

} // namespace

class RosterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::applyLook(); }

    void everyClassChangeListsItsStudents()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        db.addClass(QStringLiteral("O'K"), QStringLiteral("引号班"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("b"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("a"));
        db.addStudent(QStringLiteral("C2"), QStringLiteral("c"));
        db.addStudent(QStringLiteral("O'K"), QStringLiteral("q"));

        TfrmStudent roster;
        QCOMPARE(roster.GroupBox2->title(), QStringLiteral("班级XX的学生信息列表"));
        QVERIFY(roster.ReadyData());
        QCOMPARE(roster.dsQuery->currentRow(), 0);
        QCOMPARE(Names(roster), (QStringList{"a", "b"}));
        QCOMPARE(roster.GroupBox2->title(), QStringLiteral("班级 [一班] 的学生信息列表！"));

        // The keyboard moves the class as the mouse does.
        ShowActive(&roster);
        QCOMPARE(roster.focusWidget(), roster.DBGridEh1);
        QTest::keyClick(roster.DBGridEh1, Qt::Key_Down);
        QCOMPARE(roster.dsQuery->fieldText("ClassCode"), QStringLiteral("C2"));
        QCOMPARE(Names(roster), QStringList{"c"});
        QTest::keyClick(roster.DBGridEh1, Qt::Key_Down);
        QCOMPARE(Names(roster), QStringList{"q"});
        QCOMPARE(roster.GroupBox2->title(), QStringLiteral("班级 [引号班] 的学生信息列表！"));
        QVERIFY(dialogs.all().isEmpty());
    }

    void withoutClassesOrStudentsTheCommandsDoNothing()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        {
            TfrmStudent roster;
            QVERIFY(roster.ReadyData());
            QCOMPARE(roster.GroupBox2->title(), QStringLiteral("班级XX的学生信息列表"));
            NoDialogExpected none;
            roster.cmdAppendClick();
            roster.cmdEditClick();
            dialogs.answers = {true};
            roster.cmdDeleteClick();
            Settle(350);
            QVERIFY(!none.opened);
        }
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        NoDialogExpected none;
        roster.cmdEditClick();
        emit roster.DBGridEh2->dblClick();
        roster.cmdDeleteClick();
        Settle(350);
        QVERIFY(!none.opened);
        QVERIFY(dialogs.questions.isEmpty());
        QVERIFY(dialogs.all().isEmpty());
    }

    void addEditCancelAndDelete()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        db.addStudent(QStringLiteral("C2"), QStringLiteral("b"));
        db.addStudent(QStringLiteral("C2"), QStringLiteral("d"));
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        roster.dsQuery->setCurrentRow(1);
        roster.dsStudent->setCurrentRow(1);

        // A new student gets the defaults and the current class.
        QString shownClass;
        int defaults[3] = {};
        QString number;
        OnNextModal([&](QWidget* w) {
            auto* d = static_cast<TfrmStudentEdit*>(w);
            shownClass = d->EditClassCode->text() + "/" + d->EditClassName->text();
            defaults[0] = d->cmbIsTY->currentIndex();
            defaults[1] = d->cmbHasWJ->currentIndex();
            defaults[2] = d->cmbIsActive->currentIndex();
            number = d->EditSCode->text();
            d->EditSName->setText(QStringLiteral("c"));
            d->ensureButton()->click();
        });
        roster.cmdAppendClick();
        QCOMPARE(shownClass, QStringLiteral("C2/二班"));
        QCOMPARE(defaults[0], 0);
        QCOMPARE(defaults[1], 0);
        QCOMPARE(defaults[2], 1);
        QCOMPARE(number, QStringLiteral("0"));
        QCOMPARE(db.count("TStudent",
                          "ClassCode='C2' and SName='c' and SNumber='0' and IsTY=0 and HasWJ=0 and "
                          "IsActive=1"),
                 1);
        QCOMPARE(Names(roster), (QStringList{"b", "c", "d"}));
        QCOMPARE(roster.dsStudent->currentRow(), 0);

        // Editing shows the stored flags as positions and stores the chosen ones.
        roster.dsStudent->setCurrentRow(1);
        OnNextModal([](QWidget* w) {
            auto* d = static_cast<TfrmStudentEdit*>(w);
            QCOMPARE(d->EditSName->text(), QStringLiteral("c"));
            d->cmbIsTY->setCurrentIndex(1);
            d->cmbHasWJ->setCurrentIndex(1);
            d->cmbIsActive->setCurrentIndex(0);
            d->EditWJContent->setPlainText(QStringLiteral("迟到\n早退"));
            d->ensureButton()->click();
        });
        emit roster.DBGridEh2->dblClick();
        QCOMPARE(db.count("TStudent", "SName='c' and IsTY=1 and HasWJ=1 and IsActive=0"), 1);
        QVERIFY(roster.dsStudent->locate("SName", "c"));
        const int row = roster.dsStudent->currentRow();
        QCOMPARE(roster.DBGridEh2->cellText(row, "IsTY"), QStringLiteral("是"));
        QCOMPARE(roster.DBGridEh2->cellText(row, "HasWJ"), QStringLiteral("有"));
        QCOMPARE(roster.DBGridEh2->cellText(row, "IsActive"), QStringLiteral("否"));
        QCOMPARE(roster.DBGridEh2->cellText(0, "IsActive"), QStringLiteral("在校"));

        OnNextModal([](QWidget* w) {
            auto* d = static_cast<TfrmStudentEdit*>(w);
            QCOMPARE(d->cmbIsTY->currentIndex(), 1);
            QCOMPARE(d->cmbIsActive->currentIndex(), 0);
            QCOMPARE(d->EditWJContent->toPlainText(), QStringLiteral("迟到\n早退"));
            d->EditSName->setText(QStringLiteral("changed"));
            d->cancelButtonWidget()->click();
        });
        roster.cmdEditClick();
        QCOMPARE(roster.dsStudent->currentRow(), row); // not reloaded
        QCOMPARE(db.count("TStudent", "SName='changed'"), 0);

        // Deleting: No keeps the student, Yes removes it and the next one becomes current.
        roster.dsStudent->setCurrentRow(1);
        dialogs.answers = {false, true};
        roster.cmdDeleteClick();
        QCOMPARE(db.count("TStudent"), 3);
        roster.cmdDeleteClick();
        QCOMPARE(dialogs.questions.last(), QStringLiteral("您确认删除选定的学生信息记录吗？"));
        QCOMPARE(Names(roster), (QStringList{"b", "d"}));
        QCOMPARE(roster.dsStudent->fieldText("SName"), QStringLiteral("d"));
        QVERIFY(dialogs.all().isEmpty());
    }

    void aStudentWithScoresIsNotDeleted()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addTerm(1, QStringLiteral("一"));
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
        db.activate(1, QStringLiteral("C1"));
        db.plan(1, QStringLiteral("C1"), QStringLiteral("YW"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("a"));
        const int scored = db.addStudent(QStringLiteral("C1"), QStringLiteral("b"));
        db.addGrade(1, QStringLiteral("C1"), scored, QStringLiteral("YW"), 90);
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        roster.dsStudent->setCurrentRow(1);
        dialogs.answers = {true};
        roster.cmdDeleteClick();
        QCOMPARE(dialogs.messages, QStringList{Msg::DeleteStudentRefused});
        QCOMPARE(Names(roster), (QStringList{"a", "b"}));
        QCOMPARE(roster.dsStudent->currentRow(), 1);
        QCOMPARE(db.count("TStudent"), 2);
    }

    void theDialogChecksNameThenNumberAndStoresAsTyped()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        TfrmStudentEdit dialog(-1, QStringLiteral("C1"), QStringLiteral("一班"));
        QVERIFY(dialog.ReadyData());
        ShowActive(&dialog);
        QCOMPARE(dialog.focusWidget(), dialog.EditSName);
        dialog.EditSCode->clear();
        dialog.EditRoom->setFocus();
        dialog.ensureButton()->click();
        QCOMPARE(dialogs.messages, QStringList{"学生姓名尚未输入！"});
        QCOMPARE(dialog.focusWidget(), dialog.EditSName);

        dialog.EditSName->setText(QStringLiteral("  "));
        dialog.ensureButton()->click();
        QCOMPARE(dialogs.messages.last(), QStringLiteral("学号尚未输入！"));
        QCOMPARE(dialog.focusWidget(), dialog.EditSCode);
        QCOMPARE(db.count("TStudent"), 0);

        // Digits and Backspace only; a leading "0" stays when typed after.
        dialog.EditSCode->setText(QStringLiteral("0"));
        QTest::keyClicks(dialog.EditSCode, QStringLiteral("1a2 .-x"));
        QCOMPARE(dialog.EditSCode->text(), QStringLiteral("012"));
        QTest::keyClick(dialog.EditSCode, Qt::Key_Backspace);
        QCOMPARE(dialog.EditSCode->text(), QStringLiteral("01"));

        dialog.EditAddress->setText(QStringLiteral(" 路 "));
        dialog.ensureButton()->click();
        QVERIFY(!dialog.NotStored);
        QCOMPARE(db.count("TStudent", "SName='  ' and SNumber='01' and Address=' 路 ' and ClassCode='C1'"),
                 1);
    }

    void aVanishedStudentIsStoredAsNewInTheGivenClass()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addClass(QStringLiteral("O'K"), QStringLiteral("引号班"));
        const int gone = db.addStudent(QStringLiteral("C1"), QStringLiteral("旧"), QStringLiteral("9"));
        db.exec(QStringLiteral("delete from TStudent"));

        TfrmStudentEdit dialog(gone, QStringLiteral("O'K"), QStringLiteral("引号班"));
        QVERIFY(dialog.ReadyData());
        QCOMPARE(dialog.EditClassCode->text(), QStringLiteral("O'K"));
        QVERIFY(!dialog.EditClassCode->isEnabled());
        QVERIFY(dialog.EditSName->text().isEmpty());
        QCOMPARE(dialog.EditSCode->text(), QStringLiteral("0"));
        QCOMPARE(dialog.cmbIsActive->currentIndex(), 1);
        dialog.EditSName->setText(QStringLiteral("新"));
        dialog.ensureButton()->click();
        QVERIFY(!dialog.NotStored);
        QCOMPARE(db.count("TStudent", "ClassCode='O''K' and SName='新' and ID<>" + QString::number(gone)), 1);

        // A class that is not there is refused by the database: nothing stored, the dialog stays.
        TfrmStudentEdit orphan(-1, QStringLiteral("NONE"), QStringLiteral("无"));
        QVERIFY(orphan.ReadyData());
        orphan.EditSName->setText(QStringLiteral("x"));
        orphan.ensureButton()->click();
        QCOMPARE(dialogs.messages, QStringList{Msg::StoreFailed});
        QVERIFY(orphan.NotStored);
        QCOMPARE(db.count("TStudent"), 1);
    }

    void enterWalksTheFieldsAndCtrlEnterLeavesTheMemo()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        TfrmStudentEdit dialog(-1, QStringLiteral("C1"), QStringLiteral("一班"));
        QVERIFY(dialog.ReadyData());
        ShowActive(&dialog);
        QStringList walked;
        for (int i = 0; i < 10; ++i) {
            SendKey(&dialog, Qt::Key_Return);
            Settle();
            walked << dialog.focusWidget()->objectName();
        }
        QCOMPARE(walked,
                 (QStringList{"EditSCode", "EditRoom", "EditAddress", "EditPostCode", "EditPatriarchy",
                              "EditHomeTel", "cmbIsTY", "cmbHasWJ", "cmbIsActive", "EditWJContent"}));
        QTest::keyClicks(dialog.EditWJContent, QStringLiteral("ab"));
        SendKey(&dialog, Qt::Key_Return);
        QTest::keyClicks(dialog.EditWJContent, QStringLiteral("cd"));
        Settle();
        QCOMPARE(dialog.focusWidget(), dialog.EditWJContent);
        SendKey(&dialog, Qt::Key_Return, Qt::ControlModifier);
        Settle();
        QCOMPARE(dialog.focusWidget(), dialog.ensureButton());
        QCOMPARE(dialog.EditWJContent->toPlainText(), QStringLiteral("ab\ncd"));
        QVERIFY(dialog.NotStored);
    }
};

QTEST_MAIN(RosterTest)
#include "tst_roster.moc"
