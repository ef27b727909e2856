// Honours standards: the initialisation of a class's standards from the
// plan, the list with its total and the standard dialog.
#include "TestSupport.h"

#include "data/QueryObject.h"
#include "scores/uHonoursStd.h"
#include "scores/uHonoursStdEdit.h"
#include "widgets/DataGrid.h"
#include "widgets/TermClassTree.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

const QString Completed = QStringLiteral("指定学期，指定班级的评优标准初始化完成！");

// Term 1 with class C1 (three planned subjects) and class C2 (no plan).
struct School {
    TempDatabase db;

    School()
    {
        db.addTerm(1, QStringLiteral("2023上"));
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        db.activate(1, QStringLiteral("C1"));
        db.activate(1, QStringLiteral("C2"));
        for (const char* code : {"CN", "MA", "EN"}) {
            db.addSubject(QLatin1String(code), QLatin1String(code));
            db.plan(1, QStringLiteral("C1"), QLatin1String(code));
        }
    }
    double standard(const QString& klass, const QString& subject) const
    {
        return db
            .scalar(QStringLiteral("select Score from THonoursStd where ClassCode='%1' and SubjectCode='%2'")
                        .arg(klass, subject))
            .toDouble();
    }
};

struct Window {
    TfrmHonoursStd w;
    Window()
    {
        if (!w.ReadyData())
            qFatal("the standards window did not load");
        w.show();
    }
    void click(int klass) { ClickNode(w.tree(), ClassNode(w.tree(), 0, klass)); }
    DataGrid* grid() const { return w.scoreGrid(); }
};

} // namespace

class TestHonoursStd : public QObject {
    Q_OBJECT
private slots:
    void initialisationFromThePlan();
    void emptyPlanClearsTheStandards();
    void refusedInsertKeepsTheStandards();
    void termClickChangesNothing();
    void editingAWholeNumber();
};

void TestHonoursStd::initialisationFromThePlan()
{
    School s;
    ScriptedDialogs dialogs;
    Window win;
    win.click(0);
    QCOMPARE(win.grid()->rowCount(), 0);

    // A class without students can be initialised; no question on an empty list.
    Button(&win.w, "cmdAppend")->click();
    QVERIFY(dialogs.questions.isEmpty());
    QCOMPARE(dialogs.messages, QStringList{Completed});
    QCOMPARE(win.grid()->rowCount(), 3);
    QCOMPARE(win.grid()->cellText(0, "SubjectCode"), QStringLiteral("CN"));
    QCOMPARE(win.grid()->cellText(2, "Score"), QStringLiteral("85"));
    QCOMPARE(win.grid()->footerText("Score"), QStringLiteral("255"));
    QCOMPARE(s.db.count("THonoursStd", "TermCode=1 and ClassCode='C1' and Score=85"), 3);

    // Existing rows: the question; No keeps an edited standard.
    s.db.exec("update THonoursStd set Score=90 where SubjectCode='MA'");
    dialogs.clear();
    dialogs.answers = {false};
    Button(&win.w, "cmdAppend")->click();
    QCOMPARE(dialogs.questions.size(), 1);
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(s.standard("C1", "MA"), 90.0);
    dialogs.answers = {true};
    Button(&win.w, "cmdAppend")->click();
    QCOMPARE(s.standard("C1", "MA"), 85.0);
    QCOMPARE(s.db.count("THonoursStd"), 3);

    // A standard whose subject has no TSubject row is neither shown nor summed.
    s.db.exec("PRAGMA foreign_keys=OFF");
    s.db.addStandard(1, "C1", "XX", 60);
    s.db.exec("PRAGMA foreign_keys=ON");
    win.click(0);
    QCOMPARE(win.grid()->rowCount(), 3);
    QCOMPARE(win.grid()->footerText("Score"), QStringLiteral("255"));
}

void TestHonoursStd::emptyPlanClearsTheStandards()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addStandard(1, "C2", "CN", 80);
    Window win;
    win.click(1);
    QCOMPARE(win.grid()->rowCount(), 1);
    dialogs.answers = {true};
    Button(&win.w, "cmdAppend")->click();
    QCOMPARE(dialogs.messages, QStringList{Completed});
    QCOMPARE(s.db.count("THonoursStd"), 0);
    QCOMPARE(win.grid()->rowCount(), 0);
    QCOMPARE(win.grid()->footerText("Score"), QStringLiteral("0"));
}

void TestHonoursStd::refusedInsertKeepsTheStandards()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addStandard(1, "C1", "CN", 80);
    s.db.exec("PRAGMA foreign_keys=OFF");
    s.db.plan(1, "C1", "ZZ");
    s.db.exec("PRAGMA foreign_keys=ON");
    Window win;
    win.click(0);
    dialogs.answers = {true};
    Button(&win.w, "cmdAppend")->click();
    QCOMPARE(dialogs.messages, QStringList{QStringLiteral("初始化过程中发生错误！请重新初始化！")});
    QCOMPARE(s.db.count("THonoursStd"), 1);
    QCOMPARE(s.standard("C1", "CN"), 80.0);
    QCOMPARE(win.grid()->rowCount(), 1);
}

void TestHonoursStd::termClickChangesNothing()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addStandard(1, "C1", "CN", 80);
    Window win;
    win.click(0);
    ClickNode(win.w.tree(), TermNode(win.w.tree(), 0));
    QCOMPARE(win.grid()->rowCount(), 1);
    QCOMPARE(win.grid()->footerText("Score"), QStringLiteral("80"));
    Button(&win.w, "cmdAppend")->click();
    bool opened = false;
    OnNextModal(
        [&](QWidget* modal) {
            opened = true;
            CloseModal(modal);
        },
        300);
    Button(&win.w, "cmdEdit")->click();
    Settle(400);
    QVERIFY(!opened);
    QVERIFY(dialogs.questions.isEmpty());
    QVERIFY(dialogs.messages.isEmpty());
    QCOMPARE(s.standard("C1", "CN"), 80.0);
}

void TestHonoursStd::editingAWholeNumber()
{
    School s;
    ScriptedDialogs dialogs;
    s.db.addStandard(1, "C1", "CN", 80);
    s.db.addStandard(1, "C1", "MA", 85);
    Window win;
    win.click(0);
    win.w.scores()->setCurrentRow(1);
    bool opened = false;
    OnNextModal([&](QWidget* modal) {
        opened = true;
        auto* d = qobject_cast<TfrmHonoursStdEdit*>(modal);
        QVERIFY(d);
        QCOMPARE(d->EditCode->text(), QStringLiteral("MA"));
        d->EditScore->clear();
        QTest::keyClicks(d->EditScore, QStringLiteral("9.a-0"));
        QCOMPARE(d->EditScore->text(), QStringLiteral("90"));
        d->EditScore->clear();
        d->ensureButton()->click();
        QCOMPARE(dialogs.messages, QStringList{QStringLiteral("评优分数尚未输入！")});
        QVERIFY(d->isVisible());
        d->EditScore->setText(QStringLiteral("90"));
        d->ensureButton()->click();
    });
    win.grid()->setFocus();
    QTest::keyClick(win.grid(), Qt::Key_Return, Qt::AltModifier);
    Settle();
    QVERIFY(opened);
    QCOMPARE(s.standard("C1", "MA"), 90.0);
    QCOMPARE(win.w.scores()->currentRow(), 0);
    QCOMPARE(win.grid()->footerText("Score"), QStringLiteral("170"));

    QVERIFY(!ShowHonoursStdEdit(4711));
    QCOMPARE(dialogs.messages.last(), QStringLiteral("该记录已经不存在！"));
    QCOMPARE(s.db.count("THonoursStd"), 2);
}

QTEST_MAIN(TestHonoursStd)
#include "tst_honoursstd.moc"
