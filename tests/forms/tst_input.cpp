// What the user's input becomes in the real windows: names with "&" in
// captions, and text that reaches a field by typing, pasting (keys, the
// clipboard, the context menu) or dropping.
#include "TestSupport.h"

#include "data/QueryObject.h"
#include "plan/uClassToSubject.h"
#include "plan/uTermToClass.h"
#include "reference/uClass.h"
#include "reference/uTerm.h"
#include "scores/uGuadeEdit.h"
#include "scores/uHonoursStdEdit.h"
#include "shell/Application.h"
#include "students/uStudent.h"
#include "students/uStudentEdit.h"
#include "widgets/TermClassTree.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

namespace {

// The ways text arrives other than typing it.
enum class Route { ShiftInsert, CtrlV, ContextMenu, PasteSlot, Drop };
const Route AllRoutes[] = {Route::ShiftInsert, Route::CtrlV, Route::ContextMenu, Route::PasteSlot,
                           Route::Drop};

const char* RouteName(Route route)
{
    switch (route) {
    case Route::ShiftInsert:
        return "Shift+Insert";
    case Route::CtrlV:
        return "Ctrl+V";
    case Route::ContextMenu:
        return "context menu";
    case Route::PasteSlot:
        return "paste()";
    case Route::Drop:
        return "drop";
    }
    return "";
}

// The "Paste" entry of the field's own context menu, opened as the user
// opens it, triggered, and the menu closed.
void PasteThroughMenu(QLineEdit* field)
{
    QContextMenuEvent open(QContextMenuEvent::Mouse, QPoint(4, 4), field->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(field, &open);
    QMenu* menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr);
    const QString shortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    QAction* paste = nullptr;
    for (QAction* action : menu->actions())
        if (action->text().endsWith(shortcut))
            paste = action;
    QVERIFY(paste);
    QVERIFY(paste->isEnabled());
    paste->trigger();
    menu->close();
}

// Puts text into field the given way, at the end of what it holds; for a
// drop, whether the drop was taken.
bool Arrive(QLineEdit* field, Route route, const QString& text)
{
    field->setFocus();
    field->end(false);
    QGuiApplication::clipboard()->setText(text);
    switch (route) {
    case Route::ShiftInsert:
        QTest::keyClick(field, Qt::Key_Insert, Qt::ShiftModifier);
        break;
    case Route::CtrlV:
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
        break;
    case Route::ContextMenu:
        PasteThroughMenu(field);
        break;
    case Route::PasteSlot:
        field->paste();
        break;
    case Route::Drop: {
        QMimeData data;
        data.setText(text);
        const QPoint end(field->width() - 2, field->height() / 2);
        QDragEnterEvent enter(end, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        QDropEvent drop(QPointF(end), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(field, &drop);
        return drop.isAccepted();
    }
    }
    return true;
}

} // namespace

class InputTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::applyLook(); }

    // A class named "&A类" is shown as typed and leaves Alt+A, Alt+E, Alt+D
    // and Alt+X to the roster's commands.
    void namesNeverTakeTheRostersAccessKeys()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("&A类&E&D&X"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("张三"));
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        ShowActive(&roster);
        QCOMPARE(roster.GroupBox2->title(), QStringLiteral("班级 [&&A类&&E&&D&&X] 的学生信息列表！"));
        QVERIFY(QKeySequence::mnemonic(roster.GroupBox2->title()).isEmpty());

        QString opened;
        OnNextModal([&](QWidget* dialog) {
            opened = QStringLiteral("A:") + static_cast<TfrmStudentEdit*>(dialog)->EditSName->text();
            CloseModal(dialog);
        });
        QTest::keyClick(&roster, Qt::Key_A, Qt::AltModifier);
        QTRY_COMPARE(opened, QStringLiteral("A:"));
        ShowActive(&roster);

        OnNextModal([&](QWidget* dialog) {
            opened = QStringLiteral("E:") + static_cast<TfrmStudentEdit*>(dialog)->EditSName->text();
            CloseModal(dialog);
        });
        QTest::keyClick(&roster, Qt::Key_E, Qt::AltModifier);
        QTRY_COMPARE(opened, QStringLiteral("E:张三"));
        ShowActive(&roster);

        // A shortcut clicks its button after a short animation.
        QTest::keyClick(&roster, Qt::Key_D, Qt::AltModifier); // answered No
        QTRY_COMPARE(dialogs.questions, QStringList{QStringLiteral("您确认删除选定的学生信息记录吗？")});
        QCOMPARE(db.count("TStudent"), 1);
        ShowActive(&roster);

        QTest::keyClick(&roster, Qt::Key_X, Qt::AltModifier);
        QTRY_VERIFY(!roster.isVisible());
        QVERIFY(dialogs.all().isEmpty());
    }

    void namesInTheAssignmentCaptionsTakeNoKey()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addTerm(1, QStringLiteral("&E学期"));
        db.addClass(QStringLiteral("C1"), QStringLiteral("&A类"));
        db.activate(1, QStringLiteral("C1"));

        TfrmTermToClass terms;
        QVERIFY(terms.ReadyData());
        auto* termBox = terms.findChild<QGroupBox*>(QStringLiteral("GroupBox2"));
        QCOMPARE(termBox->title(), QStringLiteral("学期[&&E学期]有效的班级！"));
        QVERIFY(QKeySequence::mnemonic(termBox->title()).isEmpty());

        TfrmClassToSubject plan;
        QVERIFY(plan.ReadyData());
        auto* tree = plan.findChild<TTermClassTree*>();
        ShowActive(&plan);
        ClickNode(tree, ClassNode(tree, 0, 0));
        auto* planBox = plan.findChild<QGroupBox*>(QStringLiteral("GroupBox2"));
        QCOMPARE(planBox->title(), QStringLiteral("学期[&&E学期]班级[&&A类]开设的课程科目！"));
        QVERIFY(QKeySequence::mnemonic(planBox->title()).isEmpty());
        QVERIFY(dialogs.all().isEmpty());
    }

    // Letters typed into the student number are dropped without a word; text
    // holding one is refused whole whichever way it comes, and says why;
    // digits come in every way.
    void theStudentNumberTakesDigitsOnlyHoweverTheyArrive()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        TfrmStudentEdit dialog(-1, QStringLiteral("C1"), QStringLiteral("一班"));
        QVERIFY(dialog.ReadyData());
        ShowActive(&dialog);
        QLineEdit* number = dialog.EditSCode;

        QTest::keyClicks(number, QStringLiteral("1a-"));
        QCOMPARE(number->text(), QStringLiteral("01"));
        Settle();
        QVERIFY(dialogs.all().isEmpty());

        for (const Route route : AllRoutes) {
            dialogs.clear();
            const bool taken = Arrive(number, route, QStringLiteral("abc12"));
            QVERIFY2(number->text() == QStringLiteral("01"), RouteName(route));
            QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("学号只能输入数字！")});
            if (route == Route::Drop)
                QVERIFY2(!taken, "a refused drop is not taken, so its source keeps the text");
        }
        // A line break copied with a cell is no digit either.
        dialogs.clear();
        Arrive(number, Route::ShiftInsert, QStringLiteral("12\n"));
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("学号只能输入数字！")});

        QString expected = QStringLiteral("01");
        for (const Route route : AllRoutes) {
            QVERIFY2(Arrive(number, route, QStringLiteral("23")), RouteName(route));
            expected += QStringLiteral("23");
            QVERIFY2(number->text() == expected, RouteName(route));
        }
        dialog.EditSName->setText(QStringLiteral("李四"));
        dialog.ensureButton()->click();
        QVERIFY(!dialog.NotStored);
        QCOMPARE(db.scalar("select SNumber from TStudent").toString(), expected);
        Settle();
        QCOMPARE(dialogs.all(), QStringList{QStringLiteral("学号只能输入数字！")});
    }

    // A number stored with letters before the rule (as by a paste) can be
    // corrected: the letters it has may stay or go, no new one comes in.
    void aStoredNumberWithLettersCanBeCorrected()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        const int id = db.addStudent(QStringLiteral("C1"), QStringLiteral("王五"), QStringLiteral("0abc12"));
        TfrmStudentEdit dialog(id, QStringLiteral("C1"), QStringLiteral("一班"));
        QVERIFY(dialog.ReadyData());
        ShowActive(&dialog);
        QLineEdit* number = dialog.EditSCode;
        QCOMPARE(number->text(), QStringLiteral("0abc12"));

        number->setFocus();
        number->end(false);
        QTest::keyClicks(number, QStringLiteral("3x"));
        QCOMPARE(number->text(), QStringLiteral("0abc123"));
        Arrive(number, Route::PasteSlot, QStringLiteral("4"));
        QCOMPARE(number->text(), QStringLiteral("0abc1234"));
        Arrive(number, Route::PasteSlot, QStringLiteral("c"));
        QCOMPARE(number->text(), QStringLiteral("0abc1234"));
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("学号只能输入数字！")});

        // Removing the letters one by one, and undoing a removal, are the user's to make.
        dialogs.clear();
        number->setCursorPosition(3);
        QTest::keyClick(number, Qt::Key_Backspace);
        QTest::keyClick(number, Qt::Key_Backspace);
        QCOMPARE(number->text(), QStringLiteral("0c1234"));
        number->undo();
        QCOMPARE(number->text(), QStringLiteral("0abc1234"));
        number->redo();
        QCOMPARE(number->text(), QStringLiteral("0c1234"));
        number->setCursorPosition(2);
        QTest::keyClick(number, Qt::Key_Backspace);
        QCOMPARE(number->text(), QStringLiteral("01234"));
        // Once it is gone, it cannot come back in another way.
        Arrive(number, Route::Drop, QStringLiteral("a"));
        QCOMPARE(number->text(), QStringLiteral("01234"));
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("学号只能输入数字！")});
    }

    // The term code: digits only and at most ten, by paste as by typing.
    void theTermCodeRefusesLettersAndLengthAlike()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        TfrmTermEdit dialog(-1);
        QVERIFY(dialog.ReadyData());
        ShowActive(&dialog);
        QLineEdit* code = dialog.EditCode;

        Arrive(code, Route::ContextMenu, QStringLiteral("12a"));
        QCOMPARE(code->text(), QString());
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("学期编号只能输入数字！")});

        dialogs.clear();
        Arrive(code, Route::ShiftInsert, QStringLiteral("12345678901"));
        QCOMPARE(code->text(), QString());
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("学期编号不能超过10个字符！")});

        dialogs.clear();
        Arrive(code, Route::Drop, QStringLiteral("1234567890"));
        QCOMPARE(code->text(), QStringLiteral("1234567890"));
        code->setSelection(0, 0);
        code->end(false);
        QTest::keyClick(code, Qt::Key_1);
        QCOMPARE(code->text(), QStringLiteral("1234567890"));
        Settle();
        QVERIFY(dialogs.all().isEmpty());
    }

    // Names have a limit of their own: typing stops there, a longer paste
    // is refused whole. Text the program loads is shown whole.
    void aNameLongerThanItsLimitIsRefusedWhole()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QString(60, QChar(u'长')));
        TfrmClassEdit dialog(db.scalar("select ID from TClass").toInt());
        QVERIFY(dialog.ReadyData());
        ShowActive(&dialog);
        QCOMPARE(dialog.EditName->text(), QString(60, QChar(u'长')));
        // Shortened and brought back by undo, it is still the user's own text.
        dialog.EditName->setFocus();
        QTest::keyClick(dialog.EditName, Qt::Key_Backspace);
        QCOMPARE(dialog.EditName->text().size(), 59);
        QTest::keyClick(dialog.EditName, Qt::Key_A);
        QCOMPARE(dialog.EditName->text().size(), 59);
        dialog.EditName->undo();
        QCOMPARE(dialog.EditName->text().size(), 60);
        Settle();
        QVERIFY(dialogs.all().isEmpty());

        dialog.EditName->clear();
        const QString fifty(50, QChar(u'班'));
        Arrive(dialog.EditName, Route::CtrlV, fifty + QStringLiteral("一"));
        QCOMPARE(dialog.EditName->text(), QString());
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("班级名称不能超过50个字符！")});

        dialogs.clear();
        Arrive(dialog.EditName, Route::CtrlV, fifty.left(49));
        QTest::keyClicks(dialog.EditName, QStringLiteral("ab"));
        QCOMPARE(dialog.EditName->text(), fifty.left(49) + QStringLiteral("a"));
        dialog.EditCode->setFocus();
        dialog.EditCode->selectAll();
        Arrive(dialog.EditCode, Route::Drop, QString(21, QLatin1Char('c')));
        QCOMPARE(dialog.EditCode->text(), QStringLiteral("C1"));
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("班级编号不能超过20个字符！")});
    }

    // The student's text fields have no limit: a pasted address of 40,000
    // characters is stored whole.
    void aFieldWithoutALimitTakesAnyLength()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        TfrmStudentEdit dialog(-1, QStringLiteral("C1"), QStringLiteral("一班"));
        QVERIFY(dialog.ReadyData());
        ShowActive(&dialog);
        QString address;
        for (int i = 0; i < 6000; ++i)
            address += QStringLiteral("路%1号;").arg(i % 10000, 4, 10, QLatin1Char('0'));
        QVERIFY(address.size() >= 32768);
        Arrive(dialog.EditAddress, Route::ContextMenu, address);
        QCOMPARE(dialog.EditAddress->text().size(), address.size());
        dialog.EditSName->setText(QStringLiteral("赵六"));
        dialog.ensureButton()->click();
        QVERIFY(!dialog.NotStored);
        QCOMPARE(db.scalar("select Address from TStudent").toString(), address);
        Settle();
        QVERIFY(dialogs.all().isEmpty());
    }

    // Scores: digits and one kind of point come in, by paste as by typing;
    // an honours standard takes no point at all.
    void scoreFieldsRefuseWhatCannotBeTyped()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addTerm(1, QStringLiteral("一"));
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addSubject(QStringLiteral("MA"), QStringLiteral("数学"));
        db.activate(1, QStringLiteral("C1"));
        const int student = db.addStudent(QStringLiteral("C1"), QStringLiteral("甲"));
        db.addGrade(1, QStringLiteral("C1"), student, QStringLiteral("MA"), 70);
        db.addStandard(1, QStringLiteral("C1"), QStringLiteral("MA"), 85);

        TfrmGuadeEdit grade(db.scalar("select ID from TGrade").toInt());
        QVERIFY(grade.ReadyData());
        ShowActive(&grade);
        grade.EditScore->clear();
        Arrive(grade.EditScore, Route::ShiftInsert, QStringLiteral("-8,5"));
        QCOMPARE(grade.EditScore->text(), QString());
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("成绩分数只能输入数字和小数点！")});
        Arrive(grade.EditScore, Route::Drop, QStringLiteral("85.5"));
        QCOMPARE(grade.EditScore->text(), QStringLiteral("85.5"));
        grade.close();

        dialogs.clear();
        TfrmHonoursStdEdit standard(db.scalar("select ID from THonoursStd").toInt());
        QVERIFY(standard.ReadyData());
        ShowActive(&standard);
        standard.EditScore->selectAll();
        Arrive(standard.EditScore, Route::ContextMenu, QStringLiteral("8.5"));
        QCOMPARE(standard.EditScore->text(), QStringLiteral("85"));
        QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("评优分数只能输入数字！")});
    }
};

QTEST_MAIN(InputTest)
#include "tst_input.moc"
