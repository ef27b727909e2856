// The term, subject and class windows on a real data file.
#include "TestSupport.h"

#include "data/Messages.h"
#include "data/QueryObject.h"
#include "reference/uClass.h"
#include "reference/uSubject.h"
#include "reference/uTerm.h"
#include "shell/Application.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

QLineEdit* field(QWidget* window, const char* name)
{
    return window->findChild<QLineEdit*>(QLatin1String(name));
}

// Answers the next edit dialog: types a code and a name, then confirms or cancels.
void AnswerEdit(const QString& code, const QString& name, bool confirm, QString* seenCode = nullptr)
{
    OnNextModal([=](QWidget* dialog) {
        if (seenCode)
            *seenCode = field(dialog, "EditCode")->text();
        field(dialog, "EditCode")->setText(code);
        field(dialog, "EditName")->setText(name);
        Button(dialog, confirm ? "cmdEnsure" : "cmdCancel")->click();
    });
}

QStringList Codes(TfrmCodeList& list, const QString& field)
{
    QStringList codes;
    for (int row = 0; row < list.DBGridEh1->rowCount(); ++row)
        codes << list.DBGridEh1->cellText(row, field);
    return codes;
}

} // namespace

class CodeTablesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::applyLook(); }

    void addEditAndCancelReloadOnlyAfterAStore()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addTerm(20231, QStringLiteral("2023上"));
        db.addTerm(20232, QStringLiteral("2023下"));
        TfrmTerm list;
        QVERIFY(list.ReadyData());
        QCOMPARE(list.objectName(), QStringLiteral("frmTerm"));
        QCOMPARE(list.windowTitle(), QStringLiteral("学期信息维护"));

        list.dsQuery->setCurrentRow(1);
        AnswerEdit(QStringLiteral("20241"), QStringLiteral("2024上"), true);
        list.cmdAppendClick();
        QCOMPARE(db.count("TTerm", "TermCode=20241 and TermName='2024上'"), 1);
        QCOMPARE(Codes(list, "TermCode"), (QStringList{"20231", "20232", "20241"}));
        QCOMPARE(list.dsQuery->currentRow(), 0); // reloaded

        // Editing opens the current row and stores over it.
        list.dsQuery->setCurrentRow(1);
        QString shown;
        AnswerEdit(QStringLiteral("20232"), QStringLiteral("2023秋"), true, &shown);
        list.cmdEditClick();
        QCOMPARE(shown, QStringLiteral("20232"));
        QCOMPARE(db.scalar("select TermName from TTerm where TermCode=20232").toString(),
                 QStringLiteral("2023秋"));
        QCOMPARE(db.count("TTerm"), 3);

        // Cancel, Esc and a double-click that is cancelled store nothing and do not reload.
        list.dsQuery->setCurrentRow(2);
        AnswerEdit(QStringLiteral("1"), QStringLiteral("x"), false);
        list.cmdAppendClick();
        OnNextModal([](QWidget* dialog) {
            field(dialog, "EditName")->setText(QStringLiteral("changed"));
            field(dialog, "EditName")->setFocus();
            SendKey(dialog, Qt::Key_Escape);
        });
        list.cmdEditClick();
        OnNextModal([](QWidget* dialog) { CloseModal(dialog); });
        emit list.DBGridEh1->dblClick();
        QCOMPARE(db.count("TTerm"), 3);
        QCOMPARE(db.count("TTerm", "TermName='changed'"), 0);
        QCOMPARE(list.dsQuery->currentRow(), 2);
        QVERIFY(dialogs.all().isEmpty());
    }

    void duplicateCodeIsRefusedThenCorrected()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
        TfrmSubjectEdit dialog(-1);
        QVERIFY(dialog.ReadyData());
        dialog.EditCode->setText(QStringLiteral("YW"));
        dialog.EditName->setText(QStringLiteral("数学"));
        dialog.ensureButton()->click();
        QCOMPARE(dialogs.messages, QStringList{Msg::StoreSubjectFailed});
        QVERIFY(dialog.NotStored);
        QCOMPARE(dialog.EditName->text(), QStringLiteral("数学"));

        dialog.EditCode->setText(QStringLiteral("SX"));
        dialog.ensureButton()->click();
        QVERIFY(!dialog.NotStored);
        QCOMPARE(db.count("TSubject"), 2);
        QCOMPARE(db.count("TSubject", "SubjCode='SX' and SubjName='数学'"), 1);

        // The same refusal when an edit takes another row's code.
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        TfrmClassEdit edit(db.scalar("select ID from TClass where ClassCode='C2'").toInt());
        QVERIFY(edit.ReadyData());
        QCOMPARE(edit.EditCode->text(), QStringLiteral("C2"));
        edit.EditCode->setText(QStringLiteral("C1"));
        edit.ensureButton()->click();
        QCOMPARE(dialogs.messages.last(), Msg::StoreClassFailed);
        QCOMPARE(db.count("TClass", "ClassCode='C2'"), 1);
    }

    void emptyFieldsAreRefusedInOrderWithTheFocus()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        struct Case {
            std::unique_ptr<TfrmCodeEdit> dialog;
            QString code, emptyCode, emptyName;
        };
        Case cases[] = {
            {std::make_unique<TfrmTermEdit>(-1), "7", "学期编号尚未输入！", "学期名称尚未输入！"},
            {std::make_unique<TfrmSubjectEdit>(-1), "YW", "科目编号尚未输入！", "科目名称尚未输入！"},
            {std::make_unique<TfrmClassEdit>(-1), "C1", "班级编号尚未输入！", "班级名称尚未输入！"},
        };
        for (Case& c : cases) {
            TfrmCodeEdit& d = *c.dialog;
            QVERIFY(d.ReadyData());
            ShowActive(&d);
            QCOMPARE(d.focusWidget(), d.EditCode);
            dialogs.clear();
            d.EditName->setFocus();
            d.ensureButton()->click();
            QCOMPARE(dialogs.messages, QStringList{c.emptyCode});
            QCOMPARE(d.focusWidget(), d.EditCode);

            d.EditCode->setText(c.code);
            d.ensureButton()->click();
            QCOMPARE(dialogs.messages.last(), c.emptyName);
            QCOMPARE(d.focusWidget(), d.EditName);
            QVERIFY(d.NotStored);

            // Blanks are a name.
            d.EditName->setText(QStringLiteral("  "));
            d.ensureButton()->click();
            QVERIFY(!d.NotStored);
            QCOMPARE(dialogs.messages.size(), 2);
        }
        QCOMPARE(db.count("TTerm", "TermName='  '"), 1);
        QCOMPARE(db.count("TSubject", "SubjName='  '"), 1);
        QCOMPARE(db.count("TClass", "ClassName='  '"), 1);
    }

    void deletesStillReferredToAreRefused()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addTerm(1, QStringLiteral("一"));
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
        db.activate(1, QStringLiteral("C1"));
        db.plan(1, QStringLiteral("C1"), QStringLiteral("YW"));
        db.addStudent(QStringLiteral("C2"), QStringLiteral("张三"));

        struct Case {
            std::unique_ptr<TfrmCodeList> list;
            QString field, code, question, refused, table;
        };
        Case cases[] = {
            {std::make_unique<TfrmTerm>(), "TermCode", "1", "您确认删除选定的学期记录吗？",
             Msg::DeleteTermRefused, "TTerm"},
            {std::make_unique<TfrmClass>(), "ClassCode", "C2", "您确认删除选定的班级记录吗？",
             Msg::DeleteClassRefused, "TClass"},
            {std::make_unique<TfrmSubject>(), "SubjCode", "YW", "您确认删除选定的科目记录吗？",
             Msg::DeleteSubjectRefused, "TSubject"},
        };
        for (Case& c : cases) {
            TfrmCodeList& list = *c.list;
            QVERIFY(list.ReadyData());
            QVERIFY(list.dsQuery->locate(c.field, c.code));
            const int rows = list.dsQuery->rowCount();
            const int current = list.dsQuery->currentRow();
            dialogs.clear();
            dialogs.answers = {true};
            list.cmdDeleteClick();
            QCOMPARE(dialogs.questions, QStringList{c.question});
            QCOMPARE(dialogs.messages, QStringList{c.refused});
            QCOMPARE(list.dsQuery->rowCount(), rows);
            QCOMPARE(list.dsQuery->currentRow(), current);
            QCOMPARE(list.dsQuery->fieldText(c.field), c.code);
        }
        QCOMPARE(db.count("TTerm") + db.count("TClass") + db.count("TSubject"), 4);
    }

    void deleteLeavesTheFollowingRowCurrent()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        for (const char* code : {"A", "B", "C", "D"})
            db.addClass(QLatin1String(code), QStringLiteral("班"));
        TfrmClass list;
        QVERIFY(list.ReadyData());

        list.dsQuery->setCurrentRow(1);
        dialogs.answers = {false};
        list.cmdDeleteClick(); // No keeps everything
        QCOMPARE(db.count("TClass"), 4);

        dialogs.answers = {true};
        list.cmdDeleteClick();
        QCOMPARE(Codes(list, "ClassCode"), (QStringList{"A", "C", "D"}));
        QCOMPARE(list.dsQuery->fieldText("ClassCode"), QStringLiteral("C"));
        QCOMPARE(list.DBGridEh1->currentIndex().row(), 1);

        list.dsQuery->setCurrentRow(2);
        dialogs.answers = {true};
        list.cmdDeleteClick();
        QCOMPARE(list.dsQuery->fieldText("ClassCode"), QStringLiteral("C"));
        QCOMPARE(db.count("TClass"), 2);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void commandsOnAnEmptyListDoNothing()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        TfrmSubject list;
        QVERIFY(list.ReadyData());
        bool opened = false;
        OnNextModal(
            [&opened](QWidget* dialog) {
                opened = true;
                CloseModal(dialog);
            },
            300);
        list.cmdEditClick();
        emit list.DBGridEh1->dblClick();
        dialogs.answers = {true};
        list.cmdDeleteClick();
        Settle(350);
        QVERIFY(!opened);
        QVERIFY(dialogs.questions.isEmpty());
        QVERIFY(dialogs.all().isEmpty());
    }

    void termCodeIsAWholeNumberThatFits()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        TfrmTermEdit dialog(-1);
        QVERIFY(dialog.ReadyData());
        ShowActive(&dialog);

        // Only digits and Backspace can be typed.
        QTest::keyClicks(dialog.EditCode, QStringLiteral("1a2-b 3.x"));
        QCOMPARE(dialog.EditCode->text(), QStringLiteral("123"));
        QTest::keyClick(dialog.EditCode, Qt::Key_Backspace);
        QCOMPARE(dialog.EditCode->text(), QStringLiteral("12"));
        dialog.EditName->setText(QStringLiteral("学期"));

        // A code that is no number (only the program can set one) reaches the
        // error report naming the value and the field; nothing is stored.
        dialog.EditCode->setText(QStringLiteral("12a"));
        dialog.ensureButton()->click();
        QCOMPARE(dialogs.errors, QStringList{"'12a' is not a valid integer value for field 'TermCode'"});
        QVERIFY(dialog.NotStored);

        // A code beyond the column is refused, not wrapped.
        dialog.EditCode->setText(QStringLiteral("2147483648"));
        dialog.EditName->setFocus();
        dialog.ensureButton()->click();
        QCOMPARE(dialogs.messages, QStringList{"学期编号不能大于2147483647！"});
        QCOMPARE(dialog.focusWidget(), dialog.EditCode);
        QCOMPARE(db.count("TTerm"), 0);

        dialog.EditCode->setText(QStringLiteral("2147483647"));
        dialog.ensureButton()->click();
        QVERIFY(!dialog.NotStored);
        QCOMPARE(db.scalar("select TermCode from TTerm").toLongLong(), 2147483647LL);

        // Leading zeros are dropped by the number and gone after the reload.
        TfrmTerm list;
        QVERIFY(list.ReadyData());
        AnswerEdit(QStringLiteral("0012"), QStringLiteral("旧"), true);
        list.cmdAppendClick();
        QCOMPARE(Codes(list, "TermCode"), (QStringList{"12", "2147483647"}));
    }

    void aVanishedRowIsStoredAsNewAndQuotesSurvive()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        const int gone = db.scalar("select ID from TClass").toInt();
        db.exec("delete from TClass");

        TfrmClassEdit dialog(gone);
        QVERIFY(dialog.ReadyData());
        QVERIFY(dialog.EditCode->text().isEmpty());
        dialog.EditCode->setText(QStringLiteral("O'Brien"));
        dialog.EditName->setText(QStringLiteral("it's \"ours\""));
        dialog.ensureButton()->click();
        QVERIFY(!dialog.NotStored);
        QCOMPARE(db.count("TClass", "ClassCode='O''Brien' and ClassName='it''s \"ours\"'"), 1);

        TfrmClass list;
        QVERIFY(list.ReadyData());
        QCOMPARE(Codes(list, "ClassCode"), QStringList{"O'Brien"});
        QString shown;
        AnswerEdit(QStringLiteral("O'Brien'"), QStringLiteral("x"), true, &shown);
        list.cmdEditClick();
        QCOMPARE(shown, QStringLiteral("O'Brien"));
        QCOMPARE(Codes(list, "ClassCode"), QStringList{"O'Brien'"});
        QVERIFY(dialogs.all().isEmpty());
    }

    void enterMovesOnAndPressesOnlyTheFocusedButton()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        TfrmSubjectEdit dialog(-1);
        QVERIFY(dialog.ReadyData());
        ShowActive(&dialog);
        QTest::keyClicks(dialog.EditCode, QStringLiteral("YW"));
        SendKey(&dialog, Qt::Key_Return);
        Settle();
        QCOMPARE(dialog.focusWidget(), dialog.EditName);
        dialog.EditName->setText(QStringLiteral("语文"));
        SendKey(&dialog, Qt::Key_Return);
        Settle();
        QCOMPARE(dialog.focusWidget(), dialog.ensureButton());
        QVERIFY(dialog.NotStored);
        QCOMPARE(db.count("TSubject"), 0);
        SendKey(&dialog, Qt::Key_Return);
        Settle();
        QVERIFY(!dialog.NotStored);
        QCOMPARE(db.count("TSubject", "SubjCode='YW' and SubjName='语文'"), 1);
    }

    void anUnreadableTableOpensNoWindow()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.exec("drop table TClassToSubject");
        db.exec("drop table THonoursStd");
        db.exec("drop table TSubject");
        QVERIFY(!ShowSubject());
        QVERIFY(!ShowSubjectEdit(1));
        QCOMPARE(dialogs.messages, (QStringList{Msg::ReadFailed, Msg::ReadFailed}));
    }
};

QTEST_MAIN(CodeTablesTest)
#include "tst_codetables.moc"
