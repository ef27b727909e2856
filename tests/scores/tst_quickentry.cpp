// The quick entry window: a class typed with the keyboard alone, pasted,
// cleared, taken back and made again, each compared with TGrade's rows.
#include "TestSupport.h"

#include "data/ScratchConnection.h"
#include "data/uDM.h"
#include "scores/ScoreSheetModel.h"
#include "scores/ScoreSheetView.h"
#include "scores/uQuickEntry.h"
#include "shell/uMain.h"
#include "widgets/TermClassTree.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSqlQuery>
#include <QStyledItemDelegate>
#include <QTest>
#include <QTreeWidget>

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);

// Term 1: class C1 with Ann, Bob and Cat and a plan of 语文 (CN), 英语 (EN)
// and 数学 (MA), shown in code order, a 语文 standard of 90; class C2 with
// Dan and a plan of 语文. Term 2: class C1 without a plan.
struct School {
    TempDatabase db;
    int ann = 0, bob = 0, cat = 0, dan = 0;

    School()
    {
        db.addTerm(1, QStringLiteral("2023上"));
        db.addTerm(2, QStringLiteral("2023下"));
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        db.addSubject(QStringLiteral("CN"), QStringLiteral("语文"));
        db.addSubject(QStringLiteral("MA"), QStringLiteral("数学"));
        db.addSubject(QStringLiteral("EN"), QStringLiteral("英语"));
        db.activate(1, QStringLiteral("C1"));
        db.activate(1, QStringLiteral("C2"));
        db.activate(2, QStringLiteral("C1"));
        for (const char* subject : {"MA", "CN", "EN"})
            db.plan(1, QStringLiteral("C1"), QLatin1String(subject));
        db.plan(1, QStringLiteral("C2"), QStringLiteral("CN"));
        db.addStandard(1, QStringLiteral("C1"), QStringLiteral("CN"), 90);
        ann = db.addStudent(QStringLiteral("C1"), QStringLiteral("Ann"), QStringLiteral("01"));
        cat = db.addStudent(QStringLiteral("C1"), QStringLiteral("Cat"), QStringLiteral("03"));
        bob = db.addStudent(QStringLiteral("C1"), QStringLiteral("Bob"), QStringLiteral("02"));
        dan = db.addStudent(QStringLiteral("C2"), QStringLiteral("Dan"), QStringLiteral("04"));
    }

    // The TGrade rows as "name subject score", in storing order, with the
    // class when it is not C1 of term 1.
    QStringList rows() const
    {
        QStringList list;
        QSqlQuery q(db.dm()->ADOLocal());
        q.exec(QStringLiteral("select TStudent.SName, SubjectCode, Score, TGrade.ClassCode, TermCode "
                              "from TGrade join TStudent on TStudent.ID = StudentID order by TGrade.ID"));
        while (q.next()) {
            QString row =
                QStringList{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()}.join(' ');
            if (q.value(3).toString() != QLatin1String("C1") || q.value(4).toInt() != 1)
                row += QStringLiteral(" %1/%2").arg(q.value(3).toString(), q.value(4).toString());
            list << row;
        }
        return list;
    }

    // Changes the data file through a connection of its own, as another program would.
    void elsewhere(const QString& sql) const
    {
        ScratchConnection other(db.dataFile());
        QVERIFY(other.db().open());
        QSqlQuery q(other.db());
        QVERIFY2(q.exec(sql), qPrintable(sql));
    }
};

struct Window {
    std::unique_ptr<TfrmQuickEntry> form = std::make_unique<TfrmQuickEntry>();

    Window()
    {
        form->resize(900, 500);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get()))
            qWarning("the window did not become active");
        if (!form->ReadyData())
            qFatal("the quick entry window did not load its tree");
    }

    ScoreSheetView* view() const { return form->sheetView(); }
    ScoreSheetModel* sheet() const { return form->sheet(); }
    void click(int term, int klass) const { ClickNode(form->tree(), ClassNode(form->tree(), term, klass)); }

    QWidget* focused() const { return QApplication::focusWidget(); }
    // Types text key by key into whatever has the focus, as a user would.
    void type(const QString& text) const
    {
        for (const QChar ch : text)
            QTest::keyClick(focused(), ch.toLatin1());
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QTest::keyClick(focused(), key, modifiers);
    }
    QModelIndex at(int row, int column) const { return sheet()->index(row, column); }
    QString text(int row, int column) const { return at(row, column).data().toString(); }
    QColor mark(int row, int column) const
    {
        return at(row, column).data(Qt::ForegroundRole).value<QColor>();
    }
    QModelIndex current() const { return view()->currentIndex(); }
    void select(int top, int left, int bottom, int right) const
    {
        view()->goTo(at(top, left));
        view()->selectionModel()->select(QItemSelection(at(top, left), at(bottom, right)),
                                         QItemSelectionModel::ClearAndSelect);
    }
    QString status() const { return form->statusText(); }
    const ScoreHistory* history() const { return form->history(); }
};

// Columns of class C1 in term 1.
constexpr int kName = 0, kCN = 2, kEN = 3, kMA = 4, kTotal = 5;

} // namespace

class TestQuickEntry : public QObject {
    Q_OBJECT
private slots:
    void menuOpensAMaximisedChild();
    void sheetShowsTheRosterAgainstThePlan();
    void classTypedWithTheKeyboardAlone();
    void editingKeys();
    void textThatIsNoScoreStaysInEdit();
    void twoRowsForOneKey();
    void pasteStoresTheBlockOrNothing();
    void copyGivesTabSeparatedRows();
    void deleteClearsTheSelection();
    void undoAndRedoEachKindOfChange();
    void undoRefusedAfterAnotherProgramChangedACell();
    void undoOfAnotherClassShowsThatClass();
    void studentRemovedMeanwhile();
    void failuresAreReportedAndStoreNothing();
    void cellsLookAsTheStylePaintsThem();
};

void TestQuickEntry::menuOpensAMaximisedChild()
{
    School s;
    TfrmMain main;
    main.show();
    QMenu* entry = nullptr;
    for (QAction* menu : main.menuBar()->actions())
        if (menu->text() == QStringLiteral("录入(&R)"))
            entry = menu->menu();
    QVERIFY(entry);
    QAction* item = entry->actions().last();
    QCOMPARE(item->text(), QStringLiteral("成绩快速录入(&K)"));
    QCOMPARE(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+K")));

    item->trigger();
    item->trigger(); // each use opens one more
    const QList<QMdiSubWindow*> children = main.mdiArea()->subWindowList();
    QCOMPARE(children.size(), 2);
    QVERIFY(qobject_cast<TfrmQuickEntry*>(children.last()->widget()));
    QVERIFY(children.last()->isMaximized());
    QCOMPARE(children.last()->windowTitle(), QStringLiteral("成绩快速录入"));
}

void TestQuickEntry::sheetShowsTheRosterAgainstThePlan()
{
    School s;
    s.db.addGrade(1, QStringLiteral("C1"), s.bob, QStringLiteral("MA"), 59.96);
    s.db.addGrade(1, QStringLiteral("C1"), s.bob, QStringLiteral("CN"), 90);
    s.db.addGrade(2, QStringLiteral("C1"), s.bob, QStringLiteral("EN"), 70); // another term
    Window w;
    w.click(0, 0);
    QCOMPARE(w.form->caption(), QStringLiteral("班级 [一班] 2023上 的成绩"));
    QStringList headers;
    for (int c = 0; c < w.sheet()->columnCount(); ++c)
        headers << w.sheet()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(headers, (QStringList{"姓名", "学号", "语文", "英语", "数学", "总分"}));
    QCOMPARE(w.sheet()->rowCount(), 3);
    QCOMPARE(w.text(1, kName), QStringLiteral("Bob")); // the roster's order, by name
    QCOMPARE(w.text(1, 1), QStringLiteral("02"));
    QCOMPARE(w.text(1, kCN), QStringLiteral("90.0"));
    QCOMPARE(w.text(1, kEN), QString()); // planned, no score: blank
    QCOMPARE(w.text(1, kMA), QStringLiteral("60.0"));
    QCOMPARE(w.text(1, kTotal), QStringLiteral("150.0"));
    QCOMPARE(w.mark(1, kCN), kRed);                            // the standard reached
    QVERIFY(!w.at(1, kMA).data(Qt::ForegroundRole).isValid()); // 60.0 as shown passes
    QVERIFY(!w.at(1, kEN).data(Qt::ForegroundRole).isValid()); // blank: unmarked
    QVERIFY(!(w.at(1, kTotal).flags() & Qt::ItemIsEditable));
    QVERIFY(w.at(1, kEN).flags() & Qt::ItemIsEditable);
    QCOMPARE(w.focused(), w.view()); // ready to type
    QCOMPARE(w.current(), w.at(0, kCN));

    // A term node empties the sheet; a class with no students shows no rows.
    ClickNode(w.form->tree(), TermNode(w.form->tree(), 0));
    QCOMPARE(w.sheet()->rowCount(), 0);
    w.click(1, 0);
    QCOMPARE(w.sheet()->rowCount(), 3);
    QCOMPARE(w.sheet()->columnCount(), 3); // 姓名, 学号, 总分: no plan in term 2
    QCOMPARE(w.text(0, 2), QStringLiteral("0.0"));
}

void TestQuickEntry::classTypedWithTheKeyboardAlone()
{
    School s;
    Window w;
    w.click(0, 0);
    // Down each subject's column; Enter after the last student goes on to the
    // first student of the next subject.
    for (const char* score : {"85", "59.5", "90", "70", "71", "72", "100", "0", ".5"}) {
        w.type(QLatin1String(score));
        w.key(Qt::Key_Return);
    }
    QCOMPARE(s.rows(), (QStringList{"Ann CN 85", "Bob CN 59.5", "Cat CN 90", "Ann EN 70", "Bob EN 71",
                                    "Cat EN 72", "Ann MA 100", "Bob MA 0", "Cat MA 0.5"}));
    QCOMPARE(w.current(), w.at(2, kMA)); // the last cell stays
    QCOMPARE(w.text(0, kTotal), QStringLiteral("255.0"));
    QCOMPARE(w.text(2, kMA), QStringLiteral("0.5"));
    QCOMPARE(w.mark(1, kCN), kBlue);
    QCOMPARE(w.mark(2, kCN), kRed); // 90 reaches the standard
    QVERIFY(!w.at(0, kCN).data(Qt::ForegroundRole).isValid());
    QCOMPARE(w.mark(1, kMA), kBlue);
    QVERIFY(!w.view()->isEditing());

    // Tab and Shift+Tab along a student, on to the next at the row's end.
    w.view()->goTo(w.at(0, kEN));
    w.type(QStringLiteral("61"));
    w.key(Qt::Key_Tab);
    QCOMPARE(w.current(), w.at(0, kMA));
    w.type(QStringLiteral("62"));
    w.key(Qt::Key_Tab);
    QCOMPARE(w.current(), w.at(1, kCN));
    w.type(QStringLiteral("63"));
    w.key(Qt::Key_Backtab);
    QCOMPARE(w.current(), w.at(0, kMA));
    QCOMPARE(s.rows().mid(3, 1), QStringList{"Ann EN 61"});
    QCOMPARE(s.rows().mid(6, 1), QStringList{"Ann MA 62"});
    QCOMPARE(s.rows().mid(1, 1), QStringList{"Bob CN 63"});
    QCOMPARE(w.status(), QStringLiteral("已保存：Bob 语文 63。"));
}

void TestQuickEntry::editingKeys()
{
    School s;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("CN"), 85.25);
    Window w;
    w.click(0, 0);
    // F2 keeps the stored text (not the rounded one shown) and types on.
    w.key(Qt::Key_F2);
    QVERIFY(w.view()->isEditing());
    QCOMPARE(w.view()->editor()->text(), QStringLiteral("85.25"));
    w.key(Qt::Key_Backspace);
    w.type(QStringLiteral("4"));
    w.key(Qt::Key_Return);
    QCOMPARE(s.rows(), QStringList{"Ann CN 85.24"});
    QCOMPARE(w.current(), w.at(1, kCN));

    // F2 and Enter with nothing typed store nothing, also no rounded 85.2.
    w.view()->goTo(w.at(0, kCN));
    w.key(Qt::Key_F2);
    w.key(Qt::Key_Return);
    QCOMPARE(w.history()->nextUndo()->cellNames, QStringList{"Ann 语文"});
    QCOMPARE(s.rows(), QStringList{"Ann CN 85.24"});
    QCOMPARE(w.current(), w.at(1, kCN));

    // Esc abandons; letters and signs are not taken, and start nothing.
    w.type(QStringLiteral("7"));
    w.key(Qt::Key_Escape);
    QVERIFY(!w.view()->isEditing());
    w.type(QStringLiteral("a-"));
    QVERIFY(!w.view()->isEditing());
    QCOMPARE(w.current(), w.at(1, kCN)); // no jump to a student by name
    w.type(QStringLiteral("6x,5"));
    QCOMPARE(w.view()->editor()->text(), QStringLiteral("65"));
    w.key(Qt::Key_Escape);
    QCOMPARE(s.rows(), QStringList{"Ann CN 85.24"});

    // Arrows move when not editing; typing on 姓名 or 总分 starts nothing.
    w.key(Qt::Key_Left);
    w.key(Qt::Key_Left);
    QCOMPARE(w.current(), w.at(1, kName));
    w.type(QStringLiteral("5"));
    QVERIFY(!w.view()->isEditing());

    // The mark follows the text while it is typed.
    w.view()->goTo(w.at(2, kCN));
    w.type(QStringLiteral("5"));
    QCOMPARE(w.view()->editor()->palette().color(QPalette::Text), kBlue);
    w.type(QStringLiteral("0"));
    QCOMPARE(w.view()->editor()->palette().color(QPalette::Text), kBlue);
    w.type(QStringLiteral("0"));
    QCOMPARE(w.view()->editor()->palette().color(QPalette::Text), kRed); // 500 reaches 90

    // Leaving the edit for another widget of the window stores it.
    w.form->tree()->Tree()->setFocus();
    QTRY_COMPARE(s.rows(), (QStringList{"Ann CN 85.24", "Cat CN 500"}));
    QVERIFY(!w.view()->isEditing());
}

void TestQuickEntry::textThatIsNoScoreStaysInEdit()
{
    School s;
    Window w;
    w.click(0, 0);
    for (const QString& bad : {QStringLiteral("8.5.5"), QStringLiteral(".")}) {
        w.type(bad);
        w.key(Qt::Key_Return);
        QVERIFY(w.view()->isEditing());
        QCOMPARE(w.view()->editor()->text(), bad);
        QCOMPARE(w.status(), QStringLiteral("“%1”不是有效的成绩分数，未保存！").arg(bad));
        QCOMPARE(w.current(), w.at(0, kCN));
        w.key(Qt::Key_Escape);
    }
    // An emptied edit is no score either.
    w.type(QStringLiteral("5"));
    w.key(Qt::Key_Backspace);
    w.key(Qt::Key_Tab);
    QVERIFY(w.view()->isEditing());
    QCOMPARE(w.status(), QStringLiteral("成绩分数尚未输入！按Esc键放弃修改。"));
    QVERIFY(s.rows().isEmpty());
    QVERIFY(!w.history()->nextUndo());
    // Corrected, it goes through.
    w.type(QStringLiteral("8"));
    w.key(Qt::Key_Tab);
    QCOMPARE(s.rows(), QStringList{"Ann CN 8"});
}

void TestQuickEntry::twoRowsForOneKey()
{
    School s;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("CN"), 50);
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("CN"), 55);
    Window w;
    w.click(0, 0);
    QCOMPARE(w.text(0, kCN), QStringLiteral("55.0")); // the later row, as every table shows
    w.type(QStringLiteral("77"));
    w.key(Qt::Key_Return);
    QCOMPARE(s.rows(), (QStringList{"Ann CN 77", "Ann CN 77"}));
    w.form->undo();
    QCOMPARE(s.rows(), (QStringList{"Ann CN 55", "Ann CN 55"}));
    QCOMPARE(w.text(0, kCN), QStringLiteral("55.0"));
}

void TestQuickEntry::pasteStoresTheBlockOrNothing()
{
    School s;
    s.db.addGrade(1, QStringLiteral("C1"), s.bob, QStringLiteral("EN"), 44);
    Window w;
    w.click(0, 0);
    w.view()->goTo(w.at(0, kEN));

    // A bad value anywhere: nothing stored, the cell named.
    QVERIFY(!w.form->pasteText(QStringLiteral("60\t61\r\n62\t6,3\r\n")));
    QCOMPARE(w.status(), QStringLiteral("Bob 数学的“6,3”不是有效的成绩分数，粘贴的成绩都未保存！"));
    QCOMPARE(s.rows(), QStringList{"Bob EN 44"});
    // Past the last student or the last subject ("总分" is no subject).
    QVERIFY(!w.form->pasteText(QStringLiteral("1\n2\n3\n4\n")));
    QCOMPARE(w.status(), QStringLiteral("粘贴内容第4行第1列的“4”超出了成绩表格，粘贴的成绩都未保存！"));
    QVERIFY(!w.form->pasteText(QStringLiteral("1\t2\t3")));
    QCOMPARE(w.status(), QStringLiteral("粘贴内容第1行第3列的“3”超出了成绩表格，粘贴的成绩都未保存！"));
    QCOMPARE(s.rows(), QStringList{"Bob EN 44"});
    QVERIFY(!w.history()->nextUndo());

    // A blank cell leaves its score; blanks past the grid are no fault;
    // values come trimmed as spreadsheets pad them.
    QVERIFY(w.form->pasteText(QStringLiteral("60\t61\t\n\t 63 \t\n64\t65\t\n")));
    QCOMPARE(s.rows(),
             (QStringList{"Bob EN 44", "Ann EN 60", "Ann MA 61", "Bob MA 63", "Cat EN 64", "Cat MA 65"}));
    QCOMPARE(w.status(), QStringLiteral("已粘贴5个成绩。"));
    QCOMPARE(w.text(1, kEN), QStringLiteral("44.0"));
    QCOMPARE(w.text(2, kTotal), QStringLiteral("129.0"));
    QCOMPARE(w.view()->selectionModel()->selectedIndexes().size(), 6); // the block's rectangle
    QCOMPARE(w.current(), w.at(0, kEN));

    // Through the clipboard and Ctrl+V.
    w.view()->goTo(w.at(0, kCN));
    QGuiApplication::clipboard()->setText(QStringLiteral("91\n"));
    w.key(Qt::Key_V, Qt::ControlModifier);
    QTRY_COMPARE(s.rows().last(), QStringLiteral("Ann CN 91"));
    // The current cell outside the subjects.
    w.view()->goTo(w.at(0, kName));
    QVERIFY(!w.form->pasteText(QStringLiteral("1")));
    QCOMPARE(w.status(), QStringLiteral("请先选定粘贴的第一个成绩单元格！"));
}

void TestQuickEntry::copyGivesTabSeparatedRows()
{
    School s;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("CN"), 85.25);
    s.db.addGrade(1, QStringLiteral("C1"), s.bob, QStringLiteral("EN"), 60);
    Window w;
    w.click(0, 0);
    w.select(0, kName, 1, kTotal);
    w.key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("Ann\t01\t85.25\t\t\t85.3\nBob\t02\t\t60\t\t60.0\n"));
    // What was copied pastes back unchanged.
    w.select(0, kCN, 1, kMA);
    QVERIFY(w.form->pasteText(w.sheet()->copyText(0, kCN, 1, kMA)));
    QCOMPARE(s.rows(), (QStringList{"Ann CN 85.25", "Bob EN 60"}));
}

void TestQuickEntry::deleteClearsTheSelection()
{
    School s;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("CN"), 1);
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("MA"), 2);
    s.db.addGrade(1, QStringLiteral("C1"), s.bob, QStringLiteral("CN"), 3);
    s.db.addGrade(1, QStringLiteral("C1"), s.cat, QStringLiteral("CN"), 4);
    s.db.addGrade(2, QStringLiteral("C1"), s.ann, QStringLiteral("CN"), 5);
    Window w;
    w.click(0, 0);
    w.select(0, kName, 1, kEN); // names and blanks in it are no matter
    w.key(Qt::Key_Delete);
    QCOMPARE(s.rows(), (QStringList{"Ann MA 2", "Cat CN 4", "Ann CN 5 C1/2"}));
    QCOMPARE(w.status(), QStringLiteral("已清除2个成绩。"));
    QCOMPARE(w.text(0, kCN), QString());
    QCOMPARE(w.text(0, kTotal), QStringLiteral("2.0"));
    // Nothing there to clear: no change to take back.
    w.key(Qt::Key_Delete);
    QCOMPARE(w.status(), QStringLiteral("所选单元格中没有成绩。"));
    QCOMPARE(w.history()->nextUndo()->kind, ScoreChange::Kind::Clear);
    w.form->undo();
    QCOMPARE(s.rows(), (QStringList{"Ann MA 2", "Cat CN 4", "Ann CN 5 C1/2", "Ann CN 1", "Bob CN 3"}));
    QVERIFY(!w.history()->nextUndo());
}

void TestQuickEntry::undoAndRedoEachKindOfChange()
{
    School s;
    s.db.addGrade(1, QStringLiteral("C1"), s.cat, QStringLiteral("MA"), 30);
    Window w;
    w.click(0, 0);
    const QStringList start = s.rows();

    w.type(QStringLiteral("80")); // a cell
    w.key(Qt::Key_Return);
    const QStringList afterCell = s.rows();
    w.view()->goTo(w.at(1, kEN)); // a paste over an existing score
    QVERIFY(w.form->pasteText(QStringLiteral("50\t51\n52\t53\n")));
    const QStringList afterPaste = s.rows();
    w.select(0, kCN, 2, kCN); // a clear
    w.key(Qt::Key_Delete);
    const QStringList afterClear = s.rows();
    QCOMPARE(afterClear, (QStringList{"Cat MA 53", "Bob EN 50", "Bob MA 51", "Cat EN 52"}));

    const auto sorted = [](QStringList rows) {
        rows.sort();
        return rows;
    };
    w.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(sorted(s.rows()), sorted(afterPaste));
    QCOMPARE(w.status(), QStringLiteral("已撤销：清除的1个成绩。"));
    QCOMPARE(w.text(0, kCN), QStringLiteral("80.0"));
    w.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(sorted(s.rows()), sorted(afterCell));
    QCOMPARE(w.text(2, kMA), QStringLiteral("30.0"));
    QCOMPARE(w.text(2, kTotal), QStringLiteral("30.0"));
    w.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(sorted(s.rows()), sorted(start));
    QCOMPARE(w.status(), QStringLiteral("已撤销：Ann 语文。"));
    w.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.status(), QStringLiteral("没有可以撤销的修改。"));

    w.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(sorted(s.rows()), sorted(afterCell));
    w.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(sorted(s.rows()), sorted(afterPaste));
    QCOMPARE(w.status(), QStringLiteral("已重做：粘贴的4个成绩。"));
    QCOMPARE(w.text(2, kMA), QStringLiteral("53.0"));
    w.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(sorted(s.rows()), sorted(afterClear));
    w.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w.status(), QStringLiteral("没有可以重做的修改。"));

    // A new change after taking one back drops what could have been made again.
    w.form->undo();
    w.view()->goTo(w.at(0, kMA));
    w.type(QStringLiteral("9"));
    w.key(Qt::Key_Return);
    QVERIFY(!w.history()->nextRedo());
}

void TestQuickEntry::undoRefusedAfterAnotherProgramChangedACell()
{
    School s;
    Window w;
    w.click(0, 0);
    QVERIFY(w.form->pasteText(QStringLiteral("70\n71\n72\n")));
    s.elsewhere(QStringLiteral("update TGrade set Score=99 where StudentID=%1").arg(s.cat));
    const QStringList changed = s.rows();

    w.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.rows(), changed);
    QCOMPARE(w.status(), QStringLiteral("Cat 语文的成绩已被其他窗口或程序修改，不能撤销！"));
    QCOMPARE(w.current(), w.at(2, kCN)); // the changed cell is shown
    QVERIFY(w.history()->nextUndo());    // the history is kept

    // Once the cell holds what this window stored again, it can be taken back.
    s.elsewhere(QStringLiteral("update TGrade set Score=72 where StudentID=%1").arg(s.cat));
    w.key(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(s.rows().isEmpty());
    // Made again only where nobody has filled the cells meanwhile.
    s.elsewhere(QStringLiteral("insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) "
                               "values (1,'C1',%1,'CN',10)")
                    .arg(s.ann));
    w.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(s.rows(), QStringList{"Ann CN 10"});
    QCOMPARE(w.status(), QStringLiteral("Ann 语文的成绩已被其他窗口或程序修改，不能重做！"));
}

void TestQuickEntry::undoOfAnotherClassShowsThatClass()
{
    School s;
    Window w;
    w.click(0, 0);
    w.type(QStringLiteral("66"));
    w.key(Qt::Key_Return);
    w.click(0, 1);
    QCOMPARE(w.form->caption(), QStringLiteral("班级 [二班] 2023上 的成绩"));
    w.type(QStringLiteral("67"));
    w.key(Qt::Key_Return);
    QCOMPARE(s.rows(), (QStringList{"Ann CN 66", "Dan CN 67 C2/1"}));

    w.form->undo();
    QCOMPARE(s.rows(), QStringList{"Ann CN 66"});
    w.form->undo();
    QVERIFY(s.rows().isEmpty());
    QCOMPARE(w.form->caption(), QStringLiteral("班级 [一班] 2023上 的成绩"));
    QCOMPARE(w.sheet()->shownClass(), (SheetClass{1, QStringLiteral("C1")}));
    QCOMPARE(w.text(0, kCN), QString());
    QCOMPARE(TTermClassTree::nodeData(w.form->tree()->Tree()->currentItem()).Code, QStringLiteral("C1"));
    w.form->redo();
    QCOMPARE(w.text(0, kCN), QStringLiteral("66.0"));
    w.form->redo();
    QCOMPARE(w.form->caption(), QStringLiteral("班级 [二班] 2023上 的成绩"));
    QCOMPARE(w.text(0, kCN), QStringLiteral("67.0"));
}

void TestQuickEntry::studentRemovedMeanwhile()
{
    School s;
    Window w;
    w.click(0, 0);
    s.elsewhere(QStringLiteral("delete from TStudent where ID=%1").arg(s.cat));
    w.view()->goTo(w.at(2, kCN));
    w.type(QStringLiteral("50"));
    w.key(Qt::Key_Return);
    QVERIFY(w.view()->isEditing());
    QCOMPARE(w.status(), QStringLiteral("Cat 语文：该学生已不在本班，成绩未保存！请重新点击班级。"));
    w.key(Qt::Key_Escape);
    // A paste touching the student stores nothing for anyone.
    w.view()->goTo(w.at(1, kCN));
    QVERIFY(!w.form->pasteText(QStringLiteral("40\n41\n")));
    QVERIFY(s.rows().isEmpty());

    // A score cleared here whose student is then removed is not put back.
    w.view()->goTo(w.at(0, kCN));
    w.type(QStringLiteral("30"));
    w.key(Qt::Key_Return);
    w.select(0, kCN, 0, kCN);
    w.key(Qt::Key_Delete);
    s.elsewhere(QStringLiteral("delete from TStudent where ID=%1").arg(s.ann));
    w.form->undo();
    QVERIFY(s.rows().isEmpty());
    QCOMPARE(w.status(), QStringLiteral("Ann 语文：该学生已不在本班，不能撤销！请重新点击班级。"));

    // Clicking the class again shows the roster as it is now.
    s.db.addStudent(QStringLiteral("C1"), QStringLiteral("Eve"));
    w.click(0, 0);
    QStringList names;
    for (int r = 0; r < w.sheet()->rowCount(); ++r)
        names << w.text(r, kName);
    QCOMPARE(names, (QStringList{"Bob", "Eve"}));
}

void TestQuickEntry::failuresAreReportedAndStoreNothing()
{
    School s;
    ScriptedDialogs dialogs;
    Window w;
    // The previous term is not shown here: its table missing is no failure.
    s.db.exec(QStringLiteral("alter table TTerm rename to TTermGone"));
    w.click(0, 0);
    QCOMPARE(w.sheet()->rowCount(), 3);
    QVERIFY(dialogs.all().isEmpty());
    s.db.exec(QStringLiteral("alter table TTermGone rename to TTerm"));

    // A store the database refuses: the message of every window, the edit
    // kept, and nothing to take back.
    s.db.exec(QStringLiteral("alter table TGrade rename to TGradeGone"));
    w.type(QStringLiteral("70"));
    w.key(Qt::Key_Return);
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("存储数据发生错误!")});
    QVERIFY(w.view()->isEditing());
    QCOMPARE(w.status(), QStringLiteral("存储数据发生错误! 成绩未保存！"));
    QVERIFY(!w.history()->nextUndo());
    w.key(Qt::Key_Escape);
    dialogs.clear();

    // A class that cannot be read: the message box of every window, an empty sheet.
    w.click(0, 1);
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("读取本地数据文件发生错误！")});
    QCOMPARE(w.sheet()->rowCount(), 0);
    QCOMPARE(w.form->caption(), QStringLiteral("班级 [二班] 2023上 的成绩"));
    s.db.exec(QStringLiteral("alter table TGradeGone rename to TGrade"));
    QVERIFY(s.rows().isEmpty());

    // The navigator cannot be read: said so, and the window does not open.
    s.db.exec(QStringLiteral("alter table TTermToClass rename to TPairsGone"));
    dialogs.clear();
    QVERIFY(!ShowQuickEntry(nullptr));
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("读取本地数据文件发生错误！")});
    s.db.exec(QStringLiteral("alter table TPairsGone rename to TTermToClass"));
}

void TestQuickEntry::cellsLookAsTheStylePaintsThem()
{
    School s;
    s.db.addGrade(1, QStringLiteral("C1"), s.ann, QStringLiteral("CN"), 95);
    s.db.addGrade(1, QStringLiteral("C1"), s.bob, QStringLiteral("CN"), 45);
    s.db.addGrade(1, QStringLiteral("C1"), s.bob, QStringLiteral("EN"), 75.5);
    Window w;
    w.click(0, 0);
    w.select(1, kName, 2, kEN); // selected cells, marked ones among them
    const QImage fast = w.view()->grab().toImage();
    QAbstractItemDelegate* own = w.view()->itemDelegate();
    w.view()->setItemDelegate(new QStyledItemDelegate(w.view()));
    const QImage styled = w.view()->grab().toImage();
    w.view()->setItemDelegate(own);
    QVERIFY(fast == styled);
}

QTEST_MAIN(TestQuickEntry)
#include "tst_quickentry.moc"
