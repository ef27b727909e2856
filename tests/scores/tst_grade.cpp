// Grade entry: the student and score lists, the initialisation of a
// student's scores from the plan and the score dialog.
#include "TestSupport.h"

#include "data/QueryObject.h"
#include "scores/uGrade.h"
#include "scores/uGuadeEdit.h"
#include "widgets/DataGrid.h"
#include "widgets/TermClassTree.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

// Two terms; class C1 is active in both and has a plan of two subjects in
// term 1; class C2 is active in term 1 without a plan.
struct School {
    TempDatabase db;
    int ann = 0;
    int bob = 0;
    int cat = 0;

    School()
    {
        db.addTwoTermSchool();
        ann = db.addStudent(QStringLiteral("C1"), QStringLiteral("Ann"));
        bob = db.addStudent(QStringLiteral("C1"), QStringLiteral("Bob"));
        cat = db.addStudent(QStringLiteral("C2"), QStringLiteral("Cat"));
    }

    double score(int student, const QString& subject, int term = 1) const
    {
        return db
            .scalar(QStringLiteral("select Score from TGrade where StudentID=%1 and SubjectCode='%2' and "
                                   "TermCode=%3")
                        .arg(student)
                        .arg(subject)
                        .arg(term))
            .toDouble();
    }
    // Inserts a row the schema's references would refuse, as a damaged file may hold.
    void unchecked(const QString& sql) const
    {
        db.exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
        db.exec(sql);
        db.exec(QStringLiteral("PRAGMA foreign_keys=ON"));
    }
};

void clickClass(TfrmGrade& w, int term, int klass)
{
    ClickNode(w.tree(), ClassNode(w.tree(), term, klass));
}

// Loads and shows the window, then clicks a class as the user would.
void showAt(TfrmGrade& w, int term, int klass)
{
    QVERIFY(w.ReadyData());
    w.show();
    clickClass(w, term, klass);
}

// Runs action on the dialog the next command opens; false when none opened.
bool withDialog(const std::function<void()>& command, const std::function<void(TfrmGuadeEdit*)>& action)
{
    bool opened = false;
    OnNextModal(
        [&](QWidget* modal) {
            opened = true;
            auto* dialog = qobject_cast<TfrmGuadeEdit*>(modal);
            if (dialog)
                action(dialog);
            if (modal->isVisible())
                CloseModal(modal);
        },
        300);
    command();
    Settle(400);
    return opened;
}

} // namespace

class TestGrade : public QObject {
    Q_OBJECT
private slots:
    void initialisationReplacesOnlyTheCurrentStudent();
    void emptyPlanKeepsTheScores();
    void failingStatementRollsBack();
    void scoresWithoutSubjectAreNeitherShownNorSummed();
    void editingReloadsAtFirstRowWithNewTotal();
    void enterAndDoubleClickOpenOnlyForARow();
    void scoreDialogInput();
    void vanishedRowOpensNothing();
    void commandsActOnTheShownClass();
};

void TestGrade::initialisationReplacesOnlyTheCurrentStudent()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addGrade(1, QStringLiteral("C1"), s.bob, QStringLiteral("MA"), 70);
    s.db.addGrade(2, QStringLiteral("C1"), s.ann, QStringLiteral("MA"), 60);
    TfrmGrade w;
    showAt(w, 0, 0);
    QCOMPARE(w.students()->rowCount(), 2);
    QCOMPARE(w.students()->fieldInt("ID"), s.ann);

    // No rows yet: no question, one row of 0 per planned subject.
    Button(&w, "cmdAppend")->click();
    QVERIFY(dialogs.questions.isEmpty());
    QVERIFY(dialogs.all().isEmpty());
    QCOMPARE(w.scoreGrid()->rowCount(), 2);
    QCOMPARE(w.scoreGrid()->cellText(0, "SubjectCode"), QStringLiteral("CN"));
    QCOMPARE(w.scoreGrid()->cellText(1, "SubjName"), QStringLiteral("数学"));
    QCOMPARE(w.scoreGrid()->cellText(1, "Score"), QStringLiteral("0"));
    QCOMPARE(w.scoreGrid()->footerText("Score"), QStringLiteral("0"));
    QCOMPARE(w.scoreGrid()->footerText("SubjectCode"), QStringLiteral("总分"));

    // Rows exist: the question; No changes nothing.
    s.db.exec(
        QStringLiteral("update TGrade set Score=90 where StudentID=%1 and SubjectCode='MA' and TermCode=1")
            .arg(s.ann));
    dialogs.answers = {false};
    Button(&w, "cmdAppend")->click();
    QCOMPARE(dialogs.questions,
             QStringList{QStringLiteral("已经有记录存在，初始化将把已有记录覆盖，是否继续？")});
    QCOMPARE(s.score(s.ann, "MA"), 90.0);

    dialogs.answers = {true};
    Button(&w, "cmdAppend")->click();
    QCOMPARE(s.db.count("TGrade", QStringLiteral("StudentID=%1 and TermCode=1").arg(s.ann)), 2);
    QCOMPARE(s.score(s.ann, "MA"), 0.0);
    // The other student and the same student's other term are untouched.
    QCOMPARE(s.score(s.bob, "MA"), 70.0);
    QCOMPARE(s.score(s.ann, "MA", 2), 60.0);
    QCOMPARE(s.db.count("TGrade"), 4);
    QVERIFY(dialogs.all().isEmpty());

    // A class code with a quote goes into the statements intact.
    s.db.addClass(QStringLiteral("O'K"), QStringLiteral("三班"));
    s.db.activate(2, QStringLiteral("O'K"));
    s.db.plan(2, QStringLiteral("O'K"), QStringLiteral("CN"));
    const int dan = s.db.addStudent(QStringLiteral("O'K"), QStringLiteral("Dan"));
    TfrmGrade again;
    QVERIFY(again.ReadyData());
    again.show();
    clickClass(again, 1, 1);
    QCOMPARE(again.findChild<QGroupBox*>("GroupBox2")->title(),
             QStringLiteral("班级 [三班] 的学生信息列表！"));
    Button(&again, "cmdAppend")->click();
    QCOMPARE(s.db.count("TGrade", QStringLiteral("StudentID=%1 and ClassCode='O''K'").arg(dan)), 1);
    QCOMPARE(again.scoreGrid()->rowCount(), 1);
}

void TestGrade::emptyPlanKeepsTheScores()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addGrade(1, QStringLiteral("C2"), s.cat, QStringLiteral("MA"), 50);
    TfrmGrade w;
    showAt(w, 0, 1);
    QCOMPARE(w.scoreGrid()->rowCount(), 1);
    dialogs.answers = {true};
    Button(&w, "cmdAppend")->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("对应学期/班级的科目信息没有设置！")});
    QCOMPARE(s.score(s.cat, "MA"), 50.0);
    QCOMPARE(w.scoreGrid()->rowCount(), 1);
}

void TestGrade::failingStatementRollsBack()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("CN"), 80);
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("MA"), 70);
    TfrmGrade w;
    showAt(w, 0, 0);

    // The second insert fails after the delete and the first insert ran.
    s.db.exec(QStringLiteral("create trigger NoMaths before insert on TGrade when NEW.SubjectCode='MA' "
                             "begin select raise(abort, 'refused'); end"));
    dialogs.answers = {true};
    Button(&w, "cmdAppend")->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("初始化过程中发生错误！请重新初始化！")});
    QCOMPARE(s.db.count("TGrade"), 2);
    QCOMPARE(s.score(s.ann, "CN"), 80.0);
    QCOMPARE(s.score(s.ann, "MA"), 70.0);
    s.db.exec(QStringLiteral("drop trigger NoMaths"));

    // A planned subject that has no TSubject row is refused on insert, with the same result.
    s.unchecked(
        QStringLiteral("insert into TClassToSubject (TermCode,ClassCode,SubjCode) values (1,'C1','XX')"));
    dialogs.clear();
    dialogs.answers = {true};
    Button(&w, "cmdAppend")->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("初始化过程中发生错误！请重新初始化！")});
    QCOMPARE(s.db.count("TGrade"), 2);
    QCOMPARE(s.score(s.ann, "MA"), 70.0);
    QCOMPARE(w.scoreGrid()->footerText("Score"), QStringLiteral("150"));

    // Nothing is left open: the next initialisation runs normally.
    s.db.exec(QStringLiteral("delete from TClassToSubject where SubjCode='XX'"));
    dialogs.clear();
    dialogs.answers = {true};
    Button(&w, "cmdAppend")->click();
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(s.score(s.ann, "MA"), 0.0);
}

void TestGrade::scoresWithoutSubjectAreNeitherShownNorSummed()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("MA"), 70.5);
    s.unchecked(QStringLiteral("insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) "
                               "values (1,'C1',%1,'XX',50)")
                    .arg(s.ann));
    TfrmGrade w;
    showAt(w, 0, 0);
    QCOMPARE(w.scoreGrid()->rowCount(), 1);
    QCOMPARE(w.scoreGrid()->cellText(0, "Score"), QStringLiteral("70.5"));
    QCOMPARE(w.scoreGrid()->footerText("Score"), QStringLiteral("70.5"));
    // The next initialisation deletes it with the rest.
    dialogs.answers = {true};
    Button(&w, "cmdAppend")->click();
    QCOMPARE(s.db.count("TGrade", "SubjectCode='XX'"), 0);
}

void TestGrade::editingReloadsAtFirstRowWithNewTotal()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("CN"), 80);
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("MA"), 70);
    TfrmGrade w;
    showAt(w, 0, 0);
    w.scores()->setCurrentRow(1);

    const bool opened = withDialog([&] { Button(&w, "cmdEdit")->click(); },
                                   [](TfrmGuadeEdit* d) {
                                       QCOMPARE(d->EditCode->text(), QStringLiteral("MA"));
                                       QCOMPARE(d->EditName->text(), QStringLiteral("数学"));
                                       QCOMPARE(d->EditScore->text(), QStringLiteral("70"));
                                       QCOMPARE(d->focusWidget(), d->EditScore);
                                       d->EditScore->setText(QStringLiteral("85.5"));
                                       d->ensureButton()->click();
                                   });
    QVERIFY(opened);
    QCOMPARE(s.score(s.ann, "MA"), 85.5);
    QCOMPARE(w.scores()->currentRow(), 0);
    QCOMPARE(w.scoreGrid()->cellText(1, "Score"), QStringLiteral("85.5"));
    QCOMPARE(w.scoreGrid()->footerText("Score"), QStringLiteral("165.5"));

    // Cancelling stores and reloads nothing: the current row stays.
    w.scores()->setCurrentRow(1);
    QVERIFY(withDialog([&] { Button(&w, "cmdEdit")->click(); },
                       [](TfrmGuadeEdit* d) {
                           d->EditScore->setText(QStringLiteral("1"));
                           SendKey(d, Qt::Key_Escape);
                       }));
    QCOMPARE(s.score(s.ann, "MA"), 85.5);
    QCOMPARE(w.scores()->currentRow(), 1);
    QVERIFY(dialogs.all().isEmpty());
}

void TestGrade::enterAndDoubleClickOpenOnlyForARow()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("MA"), 70);
    TfrmGrade w;
    showAt(w, 0, 0);
    DataGrid* grid = w.scoreGrid();
    grid->setFocus();
    const auto key = [&](Qt::KeyboardModifiers m) {
        return [grid, m] { QTest::keyClick(grid, Qt::Key_Return, m); };
    };
    const auto nothing = [](TfrmGuadeEdit*) {};
    QVERIFY(withDialog(key(Qt::NoModifier), nothing));
    QVERIFY(withDialog(key(Qt::ShiftModifier), nothing));
    QVERIFY(withDialog(key(Qt::ControlModifier), nothing));
    QVERIFY(withDialog([grid] { QTest::keyClick(grid, Qt::Key_Enter, Qt::KeypadModifier); }, nothing));
    const QPoint cell = grid->visualRect(grid->model()->index(0, 2)).center();
    QVERIFY(withDialog([grid, cell] { QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell); },
                       nothing));
    // Enter in the student grid is not handled.
    w.studentGrid()->setFocus();
    QVERIFY(!withDialog([&] { QTest::keyClick(w.studentGrid(), Qt::Key_Return); }, nothing));

    // Bob has no scores: nothing opens.
    w.students()->setCurrentRow(1);
    QCOMPARE(grid->rowCount(), 0);
    grid->setFocus();
    QVERIFY(!withDialog(key(Qt::NoModifier), nothing));
    QVERIFY(!withDialog([&] { Button(&w, "cmdEdit")->click(); }, nothing));
    QVERIFY(!withDialog([grid] { QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(20, 10)); },
                        nothing));
    // Moving back to Ann shows her scores again.
    w.students()->setCurrentRow(0);
    QCOMPARE(grid->rowCount(), 1);
    QVERIFY(dialogs.all().isEmpty());
}

void TestGrade::scoreDialogInput()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("MA"), 70);
    const int id = s.db.scalar("select ID from TGrade").toInt();
    TfrmGuadeEdit d(id);
    QVERIFY(d.ReadyData());
    d.show();
    d.EditScore->clear();
    QTest::keyClicks(d.EditScore, QStringLiteral("8a-,5.x5"));
    QCOMPARE(d.EditScore->text(), QStringLiteral("85.5"));
    // Pasted text obeys the same characters, and is refused whole with a word why.
    d.EditScore->selectAll();
    d.EditScore->insert(QStringLiteral("-12"));
    QCOMPARE(d.EditScore->text(), QStringLiteral("85.5"));
    QTRY_COMPARE(dialogs.messages, QStringList{QStringLiteral("成绩分数只能输入数字和小数点！")});

    // Not a number: the error report names it and the field, the dialog keeps the text, nothing is stored.
    for (const QString& text : {QStringLiteral("8.5.5"), QStringLiteral(".")}) {
        dialogs.clear();
        d.EditScore->setText(text);
        d.ensureButton()->click();
        QCOMPARE(dialogs.errors,
                 QStringList{
                     QStringLiteral("'%1' is not a valid floating point value for field 'Score'").arg(text)});
        QVERIFY(d.isVisible());
        QCOMPARE(d.EditScore->text(), text);
        QCOMPARE(s.score(s.ann, "MA"), 70.0);
    }

    dialogs.clear();
    d.EditScore->clear();
    d.ensureButton()->setFocus();
    d.ensureButton()->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("成绩分数尚未输入！")});
    QVERIFY(d.isVisible());
    QCOMPARE(d.focusWidget(), d.EditScore);
    QVERIFY(d.NotStored);

    // A refused post keeps the dialog open for another try.
    s.db.exec(QStringLiteral(
        "create trigger NoUpdate before update on TGrade begin select raise(abort, 'no'); end"));
    dialogs.clear();
    d.EditScore->setText(QStringLiteral("60"));
    d.ensureButton()->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("存储数据发生错误!")});
    QVERIFY(d.isVisible());
    s.db.exec(QStringLiteral("drop trigger NoUpdate"));
    d.ensureButton()->click();
    QVERIFY(!d.NotStored);
    QCOMPARE(s.score(s.ann, "MA"), 60.0);
}

void TestGrade::vanishedRowOpensNothing()
{
    School s;
    ScriptedDialogs dialogs;
    QVERIFY(!ShowGuadeEdit(4711));
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("该记录已经不存在！")});
    QCOMPARE(s.db.count("TGrade"), 0);
}

void TestGrade::commandsActOnTheShownClass()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("MA"), 70);
    TfrmGrade w;
    QVERIFY(w.ReadyData());
    w.show();
    Settle();
    QVERIFY(w.tree()->Tree()->hasFocus());
    // Tab walks from the class to its students and on to their scores.
    SendKey(&w, Qt::Key_Tab);
    QCOMPARE(w.focusWidget(), w.studentGrid());
    SendKey(&w, Qt::Key_Tab);
    QCOMPARE(w.focusWidget(), w.scoreGrid());
    w.tree()->Tree()->setFocus();
    auto* caption = w.findChild<QGroupBox*>("GroupBox2");
    QCOMPARE(caption->title(), QStringLiteral("班级XX的学生信息列表"));
    clickClass(w, 0, 0);
    QCOMPARE(caption->title(), QStringLiteral("班级 [一班] 的学生信息列表！"));
    QCOMPARE(w.scoreGrid()->rowCount(), 1);

    // A click on a term empties both lists; the caption stays; the commands do nothing.
    ClickNode(w.tree(), TermNode(w.tree(), 1));
    QCOMPARE(w.studentGrid()->rowCount(), 0);
    QCOMPARE(w.scoreGrid()->rowCount(), 0);
    QCOMPARE(caption->title(), QStringLiteral("班级 [一班] 的学生信息列表！"));
    Button(&w, "cmdAppend")->click();
    QVERIFY(!withDialog([&] { Button(&w, "cmdEdit")->click(); }, [](TfrmGuadeEdit*) {}));
    QCOMPARE(s.db.count("TGrade"), 1);
    QVERIFY(dialogs.questions.isEmpty());

    // A selection moved without a click leaves the lists, and the commands, on the class clicked.
    clickClass(w, 0, 0);
    w.tree()->Tree()->setCurrentItem(ClassNode(w.tree(), 0, 1));
    dialogs.answers = {true};
    Button(&w, "cmdAppend")->click();
    QCOMPARE(
        s.db.count("TGrade", QStringLiteral("StudentID=%1 and ClassCode='C1' and TermCode=1").arg(s.ann)), 2);
    QCOMPARE(s.db.count("TGrade", "ClassCode='C2'"), 0);
    QVERIFY(dialogs.messages.isEmpty());
}

QTEST_MAIN(TestGrade)
#include "tst_grade.moc"
