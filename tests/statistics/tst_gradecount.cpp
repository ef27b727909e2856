#include "TestSupport.h"

#include "data/Messages.h"
#include "forms/UserSettings.h"
#include "shell/uMain.h"
#include "statistics/uGradeCount.h"
#include "widgets/StringAlignGrid.h"
#include "widgets/TermClassTree.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QColor kBlack(0, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(183, 233, 194);

// A statistics window on its own, shown so that its tree can be clicked.
struct Window {
    std::unique_ptr<TfrmGradeCount> form = std::make_unique<TfrmGradeCount>();

    Window()
    {
        form->resize(1000, 600);
        form->show();
        (void)QTest::qWaitForWindowExposed(form.get());
        if (!form->ReadyData())
            qFatal("the statistics window did not load its tree");
    }

    TStringAlignGrid* grid() const { return form->grid(); }
    template <class T> T* child(const char* name) const { return form->findChild<T*>(QLatin1String(name)); }
    void click(int term, int klass) const { ClickNode(form->tree(), ClassNode(form->tree(), term, klass)); }
    int rowOf(const QString& name) const
    {
        for (int r = 1; r < grid()->rowCount(); ++r)
            if (grid()->cell(1, r) == name)
                return r;
        return -1;
    }
    int colOf(const QString& header) const
    {
        for (int c = 0; c < grid()->colCount(); ++c)
            if (grid()->cell(c, 0) == header)
                return c;
        return -1;
    }
    QString at(const QString& name, const QString& header) const
    {
        return grid()->cell(colOf(header), rowOf(name));
    }
    QColor text(const QString& name) const { return grid()->rowTextColor(rowOf(name)); }
    bool green(const QString& name) const { return grid()->rowBackColor(rowOf(name)) == kGreen; }
    QStringList row(int r) const
    {
        QStringList texts;
        for (int c = 0; c < grid()->colCount(); ++c)
            texts << grid()->cell(c, r);
        return texts;
    }
    QStringList names() const
    {
        QStringList list;
        for (int r = 1; r < grid()->rowCount(); ++r)
            list << grid()->cell(1, r);
        return list;
    }
    QStringList hiddenNames() const
    {
        QStringList list;
        for (int r = 1; r < grid()->rowCount(); ++r)
            if (grid()->rowHeight(r) == -1)
                list << grid()->cell(1, r);
        return list;
    }
    void chooseSubject(const QString& name) const { child<QComboBox>("cmbSubj")->setCurrentText(name); }
    void range(const QString& lower, const QString& upper) const
    {
        child<QLineEdit>("MaskEdit1")->setText(lower);
        child<QLineEdit>("MaskEdit2")->setText(upper);
    }
    void filter() const { child<QPushButton>("cmdFilter")->click(); }
};

// Runs action and tells whether a modal window opened meanwhile (it is
// closed at once): an action that opens one does not return before then.
bool OpensAModal(const std::function<void()>& action, QString* seen = nullptr)
{
    bool opened = false;
    QTimer guard;
    guard.setInterval(5);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            opened = true;
            if (seen) {
                auto* name = modal->findChild<QLineEdit*>(QStringLiteral("EditSName"));
                *seen = name ? name->text() : modal->objectName();
            }
            CloseModal(modal);
        }
    });
    guard.start();
    action();
    return opened;
}

// One term, one class and its plan of two subjects.
void basicClass(TempDatabase& db, int term = 1)
{
    db.addTerm(term, QStringLiteral("学期") + QString::number(term));
    db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
    db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
    db.addSubject(QStringLiteral("SX"), QStringLiteral("数学"));
    db.activate(term, QStringLiteral("C1"));
    db.plan(term, QStringLiteral("C1"), QStringLiteral("YW"));
    db.plan(term, QStringLiteral("C1"), QStringLiteral("SX"));
}

} // namespace

class GradeCountTest : public QObject {
    Q_OBJECT

    TempUserSettings m_settings;

private slots:
    // The table of these tests is the one without places.
    void initTestCase() { UserSettings::SetShowPlaces(false); }

    void buildsTheTableOfTheClickedClass()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        db.addSubject(QStringLiteral("WL"), QStringLiteral("物理")); // not in the plan
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        const int wang = db.addStudent(QStringLiteral("C1"), QStringLiteral("王一"), QStringLiteral("12"));
        const int li = db.addStudent(QStringLiteral("C1"), QStringLiteral("李二"), QStringLiteral("7"));
        const int other = db.addStudent(QStringLiteral("C2"), QStringLiteral("赵三"), QStringLiteral("9"));
        db.addGrade(1, QStringLiteral("C1"), wang, QStringLiteral("YW"), 59.96);
        db.addGrade(1, QStringLiteral("C1"), wang, QStringLiteral("SX"), 80);
        db.addGrade(1, QStringLiteral("C1"), wang, QStringLiteral("WL"), 90);  // outside the plan
        db.addGrade(1, QStringLiteral("C1"), other, QStringLiteral("YW"), 88); // outside the roster
        db.addGrade(1, QStringLiteral("C1"), li, QStringLiteral("YW"), 70);

        Window w;
        TStringAlignGrid* grid = w.grid();
        w.click(0, 0);
        QVERIFY(dialogs.all().isEmpty());

        // Students by name, the hidden ID column, and the columns in order.
        QCOMPARE(w.names(), QStringList({QStringLiteral("李二"), QStringLiteral("王一")}));
        QCOMPARE(grid->colWidth(0), -1);
        QVERIFY(grid->isColumnHidden(0));
        QCOMPARE(grid->cell(0, w.rowOf(QStringLiteral("王一"))), QString::number(wang));
        // The plan's subjects in the order of their codes (SX before YW).
        QCOMPARE(w.row(0), QStringList({QString(), QStringLiteral("姓名"), QStringLiteral("学号"),
                                        QStringLiteral("数学"), QStringLiteral("语文"),
                                        QStringLiteral("总分"), QStringLiteral("上学期总分")}));

        // The one-decimal texts: 59.96 shows and counts as 60.0, a missing
        // score is 0.0; the scores outside the plan or roster are nowhere.
        QCOMPARE(w.at(QStringLiteral("王一"), QStringLiteral("语文")), QStringLiteral("60.0"));
        QCOMPARE(w.at(QStringLiteral("王一"), QStringLiteral("总分")), QStringLiteral("140.0"));
        QCOMPARE(w.at(QStringLiteral("李二"), QStringLiteral("数学")), QStringLiteral("0.0"));
        QCOMPARE(w.at(QStringLiteral("李二"), QStringLiteral("总分")), QStringLiteral("70.0"));
        QCOMPARE(w.at(QStringLiteral("李二"), QStringLiteral("上学期总分")), QStringLiteral("0.0"));

        const int r = w.rowOf(QStringLiteral("王一"));
        QCOMPARE(grid->alignment(1, r), Qt::AlignLeft);
        for (int c = 2; c < grid->colCount(); ++c) {
            QCOMPARE(grid->alignment(c, r), Qt::AlignRight);
            QCOMPARE(grid->alignment(c, 0), Qt::AlignHCenter);
        }

        // The subject list follows the columns; nothing is chosen.
        auto* subjects = w.child<QComboBox>("cmbSubj");
        QCOMPARE(subjects->count(), 3);
        QCOMPARE(subjects->itemText(0), QStringLiteral("全部"));
        QCOMPARE(subjects->currentIndex(), -1);
        for (int i = 1; i <= 2; ++i)
            QCOMPARE(subjects->itemText(i), grid->cell(i + 2, 0));
        QVERIFY(!w.child<QWidget>("GroupBox2")->isVisible());
    }

    void unusualClassesAndTheTermNode()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        db.addSubject(QStringLiteral("YW2"), QStringLiteral("语文")); // a second subject of the same name
        db.plan(1, QStringLiteral("C1"), QStringLiteral("YW2"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("空班"));
        db.activate(1, QStringLiteral("C2"));
        db.plan(1, QStringLiteral("C2"), QStringLiteral("YW"));
        db.addClass(QStringLiteral("C3"), QStringLiteral("无科目班"));
        db.activate(1, QStringLiteral("C3"));
        const int s = db.addStudent(QStringLiteral("C1"), QStringLiteral("甲"));
        db.addStudent(QStringLiteral("C3"), QStringLiteral("乙"));
        db.addGrade(1, QStringLiteral("C1"), s, QStringLiteral("YW"), 70);
        db.addGrade(1, QStringLiteral("C1"), s, QStringLiteral("YW2"), 90);

        Window w;
        TStringAlignGrid* grid = w.grid();
        // Two subjects of the same name: each score stands in its own subject's
        // column (YW before YW2), and the total counts both.
        w.click(0, 0);
        QCOMPARE(w.row(0).mid(3, 3),
                 QStringList({QStringLiteral("数学"), QStringLiteral("语文"), QStringLiteral("语文")}));
        QCOMPARE(w.row(1).mid(3, 4), QStringList({QStringLiteral("0.0"), QStringLiteral("70.0"),
                                                  QStringLiteral("90.0"), QStringLiteral("160.0")}));
        // The honours standard of the second one applies to its own column.
        db.addStandard(1, QStringLiteral("C1"), QStringLiteral("YW2"), 95);
        w.click(0, 0);
        QCOMPARE(grid->rowTextColor(1), kBlue); // 数学 is missing: failing, and 90.0 < 95
        db.exec(QStringLiteral("update THonoursStd set Score = 90 where SubjectCode = 'YW2'"));
        db.addGrade(1, QStringLiteral("C1"), s, QStringLiteral("SX"), 60);
        w.click(0, 0);
        QCOMPARE(grid->rowTextColor(1), kRed);

        // A term node blanks the table but keeps its size and the subject lists.
        const int cols = grid->colCount();
        ClickNode(w.form->tree(), TermNode(w.form->tree(), 0));
        QCOMPARE(grid->colCount(), cols);
        for (int r = 0; r < grid->rowCount(); ++r)
            QVERIFY(w.row(r).join(QString()).isEmpty());
        QVERIFY(grid->isColumnHidden(0));
        QCOMPARE(w.child<QComboBox>("cmbSubj")->count(), 4);

        // No students: one data row with empty name columns, 0.0 scores, blue,
        // and no previous total.
        w.click(0, 1);
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(w.row(1), QStringList({QString(), QString(), QString(), QStringLiteral("0.0"),
                                        QStringLiteral("0.0"), QString()}));
        QCOMPARE(grid->rowTextColor(1), kBlue);

        // No subjects: 姓名, 学号, 总分 and the previous term; the total reads 0.0.
        w.click(0, 2);
        QCOMPARE(w.row(0).mid(1), QStringList({QStringLiteral("姓名"), QStringLiteral("学号"),
                                               QStringLiteral("总分"), QStringLiteral("上学期总分")}));
        QCOMPARE(w.at(QStringLiteral("乙"), QStringLiteral("总分")), QStringLiteral("0.0"));

        QVERIFY(dialogs.all().isEmpty());
    }

    void marksFailingAndHonoursRows()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        db.addStandard(1, QStringLiteral("C1"), QStringLiteral("YW"), 85);
        db.addStandard(1, QStringLiteral("C1"), QStringLiteral("SX"), 90);
        auto student = [&](const QString& klass, const QString& name, double yw, double sx) {
            const int id = db.addStudent(klass, name);
            db.addGrade(1, klass, id, QStringLiteral("YW"), yw);
            if (sx >= 0)
                db.addGrade(1, klass, id, QStringLiteral("SX"), sx);
        };
        student(QStringLiteral("C1"), QStringLiteral("a及格"), 60.0, 70);
        student(QStringLiteral("C1"), QStringLiteral("b不及格"), 59.9, 70);
        student(QStringLiteral("C1"), QStringLiteral("c缺考"), 70, -1);
        student(QStringLiteral("C1"), QStringLiteral("d达标"), 85, 90);
        student(QStringLiteral("C1"), QStringLiteral("e差一点"), 85, 89.9);
        // A class without standards: every threshold is 0, so every row is red.
        db.addClass(QStringLiteral("C2"), QStringLiteral("无标准班"));
        db.activate(1, QStringLiteral("C2"));
        db.plan(1, QStringLiteral("C2"), QStringLiteral("YW"));
        db.plan(1, QStringLiteral("C2"), QStringLiteral("SX"));
        student(QStringLiteral("C2"), QStringLiteral("f"), 30, 40);
        // Thresholds below 60: reaching them beats failing.
        db.addClass(QStringLiteral("C3"), QStringLiteral("低标准班"));
        db.activate(1, QStringLiteral("C3"));
        db.plan(1, QStringLiteral("C3"), QStringLiteral("YW"));
        db.plan(1, QStringLiteral("C3"), QStringLiteral("SX"));
        db.addStandard(1, QStringLiteral("C3"), QStringLiteral("YW"), 50);
        db.addStandard(1, QStringLiteral("C3"), QStringLiteral("SX"), 50);
        student(QStringLiteral("C3"), QStringLiteral("g"), 55, 50);
        student(QStringLiteral("C3"), QStringLiteral("h"), 49.9, 80);

        Window w;
        w.click(0, 0);
        QCOMPARE(w.text(QStringLiteral("a及格")), kBlack);
        QCOMPARE(w.text(QStringLiteral("b不及格")), kBlue);
        QCOMPARE(w.text(QStringLiteral("c缺考")), kBlue);
        QCOMPARE(w.text(QStringLiteral("d达标")), kRed);
        QCOMPARE(w.text(QStringLiteral("e差一点")), kBlack);
        w.click(0, 1);
        QCOMPARE(w.text(QStringLiteral("f")), kRed);
        w.click(0, 2);
        QCOMPARE(w.text(QStringLiteral("g")), kRed);
        QCOMPARE(w.text(QStringLiteral("h")), kBlue);
        QVERIFY(dialogs.all().isEmpty());
    }

    void comparesWithThePreviousTerm()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db, 5);
        db.addTerm(1, QStringLiteral("学期1"));
        db.addTerm(2, QStringLiteral("学期2")); // the previous term, although the class was not active in it
        db.addSubject(QStringLiteral("X"), QStringLiteral("选修"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        const QString c1 = QStringLiteral("C1");
        auto now = [&](int id, double yw, double sx) {
            db.addGrade(5, c1, id, QStringLiteral("YW"), yw);
            db.addGrade(5, c1, id, QStringLiteral("SX"), sx);
        };
        const int p1 = db.addStudent(c1, QStringLiteral("p1"));
        now(p1, 220, 220); // 440.0 against 400.0: exactly 1.1 times
        db.addGrade(2, c1, p1, QStringLiteral("YW"), 200);
        db.addGrade(2, c1, p1, QStringLiteral("SX"), 200);
        const int p2 = db.addStudent(c1, QStringLiteral("p2"));
        now(p2, 220.1, 220); // 440.1 against 400.0, counting a subject outside the plan
        db.addGrade(2, c1, p2, QStringLiteral("YW"), 200);
        db.addGrade(2, c1, p2, QStringLiteral("X"), 200);
        const int p3 = db.addStudent(c1, QStringLiteral("p3"));
        now(p3, 100, 100);                                // nothing before
        db.addGrade(1, c1, p3, QStringLiteral("YW"), 50); // an older term does not count
        const int p4 = db.addStudent(c1, QStringLiteral("p4"));
        now(p4, 0, 0);
        db.addGrade(2, c1, p4, QStringLiteral("YW"), 100);
        const int p5 = db.addStudent(c1, QStringLiteral("p5"));
        now(p5, 100, 100);
        db.addGrade(2, c1, p5, QStringLiteral("YW"), 50);
        db.addGrade(2, QStringLiteral("C2"), p5, QStringLiteral("YW"), 150); // under another class

        Window w;
        w.click(0, 0);
        const QString prev = QStringLiteral("上学期总分");
        QCOMPARE(w.at(QStringLiteral("p1"), prev), QStringLiteral("400.0"));
        QVERIFY(!w.green(QStringLiteral("p1")));
        QCOMPARE(w.at(QStringLiteral("p2"), prev), QStringLiteral("400.0"));
        QVERIFY(w.green(QStringLiteral("p2")));
        QCOMPARE(w.at(QStringLiteral("p3"), prev), QStringLiteral("0.0"));
        QVERIFY(!w.green(QStringLiteral("p3")));
        QVERIFY(!w.green(QStringLiteral("p4")));
        QCOMPARE(w.at(QStringLiteral("p5"), prev), QStringLiteral("50.0"));
        QVERIFY(w.green(QStringLiteral("p5")));
        // The background is independent of the text colour (no standards: red).
        QCOMPARE(w.text(QStringLiteral("p5")), kRed);
        QVERIFY(dialogs.all().isEmpty());
    }

    void withoutAnEarlierTermThePreviousTotalIsZero()
    {
        // Term 0 is the first term: its own scores must not pass for the previous term's.
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db, 0);
        const int s = db.addStudent(QStringLiteral("C1"), QStringLiteral("甲"));
        db.addGrade(0, QStringLiteral("C1"), s, QStringLiteral("YW"), 80);
        db.addGrade(0, QStringLiteral("C1"), s, QStringLiteral("SX"), 80);

        Window w;
        w.click(0, 0);
        QCOMPARE(w.at(QStringLiteral("甲"), QStringLiteral("总分")), QStringLiteral("160.0"));
        QCOMPARE(w.at(QStringLiteral("甲"), QStringLiteral("上学期总分")), QStringLiteral("0.0"));
        QVERIFY(!w.green(QStringLiteral("甲")));
    }

    void failuresStopTheRebuildWhereTheyHappen()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        const int s = db.addStudent(QStringLiteral("C1"), QStringLiteral("甲"));
        db.addGrade(1, QStringLiteral("C1"), s, QStringLiteral("YW"), 50);
        db.addStandard(1, QStringLiteral("C1"), QStringLiteral("YW"), 85);
        Window w;
        TStringAlignGrid* grid = w.grid();

        // The previous-term read: no previous-term column, the marks in place.
        db.exec(QStringLiteral("alter table TTerm rename to TTermGone"));
        w.click(0, 0);
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadingFailed});
        QCOMPARE(grid->cell(grid->colCount() - 1, 0), QStringLiteral("总分"));
        QCOMPARE(grid->rowTextColor(1), kBlue);
        db.exec(QStringLiteral("alter table TTermGone rename to TTerm"));

        // The score read: students and headers, no scores.
        dialogs.clear();
        db.exec(QStringLiteral("alter table TGrade rename to TGradeGone"));
        w.click(0, 0);
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
        QCOMPARE(grid->cell(1, 1), QStringLiteral("甲"));
        QCOMPARE(grid->cell(grid->colCount() - 1, 0), QStringLiteral("总分"));
        QVERIFY(grid->cell(3, 1).isEmpty());
        db.exec(QStringLiteral("alter table TGradeGone rename to TGrade"));

        // The standards read: students, headers and the stored scores; no
        // "0.0" for what is missing, no totals, no marks.
        dialogs.clear();
        db.exec(QStringLiteral("alter table THonoursStd rename to TStdGone"));
        w.click(0, 0);
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
        QCOMPARE(w.row(1).mid(1), QStringList({QStringLiteral("甲"), QStringLiteral("1"), QString(),
                                               QStringLiteral("50.0"), QString()}));
        QCOMPARE(grid->rowTextColor(1), kBlack);
        db.exec(QStringLiteral("alter table TStdGone rename to THonoursStd"));

        // The plan read: the students in columns 0 to 2 only.
        dialogs.clear();
        db.exec(QStringLiteral("alter table TClassToSubject rename to TPlanGone"));
        w.click(0, 0);
        QCOMPARE(dialogs.messages, QStringList{Msg::OpenFailed});
        QCOMPARE(grid->colCount(), 3);
        QCOMPARE(grid->cell(1, 1), QStringLiteral("甲"));
        // The subject list of the last class read stays.
        QCOMPARE(w.child<QComboBox>("cmbSubj")->count(), 3);
        db.exec(QStringLiteral("alter table TPlanGone rename to TClassToSubject"));

        // The roster read: the table is blank, and "学生资料" finds nobody.
        dialogs.clear();
        db.exec(QStringLiteral("alter table TStudent rename to TStudentGone"));
        w.click(0, 0);
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
        QCOMPARE(grid->colCount(), 3);
        for (int r = 0; r < grid->rowCount(); ++r)
            QVERIFY(w.row(r).join(QString()).isEmpty());
        QVERIFY(!OpensAModal([&] { w.child<QPushButton>("cmdDetail")->click(); }));
    }

    void filterRanksByNumberAndHidesOutsideTheRange()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        const QList<double> scores = {99.9, 95.0, 9.5, 85.0, 60.0, 59.5, 100.5, 100.0, 10.0, 0.0};
        for (int i = 0; i < scores.size(); ++i) {
            const int id = db.addStudent(QStringLiteral("C1"), QStringLiteral("s%1").arg(i));
            db.addGrade(1, QStringLiteral("C1"), id, QStringLiteral("YW"), scores[i]);
            db.addGrade(1, QStringLiteral("C1"), id, QStringLiteral("SX"), 70);
        }
        db.addStandard(1, QStringLiteral("C1"), QStringLiteral("YW"), 99);
        db.addStandard(1, QStringLiteral("C1"), QStringLiteral("SX"), 60);

        Window w;
        w.click(0, 0);
        QMap<QString, QColor> colours;
        for (int r = 1; r < w.grid()->rowCount(); ++r)
            colours[w.grid()->cell(1, r)] = w.grid()->rowTextColor(r);

        // Highest first by number; the initial range 0 to 100 hides only 100.5.
        w.chooseSubject(QStringLiteral("语文"));
        w.filter();
        const int yw = w.colOf(QStringLiteral("语文"));
        QStringList order;
        for (int r = 1; r < w.grid()->rowCount(); ++r)
            order << w.grid()->cell(yw, r);
        QCOMPARE(order, QStringList({"100.5", "100.0", "99.9", "95.0", "85.0", "60.0", "59.5", "10.0", "9.5",
                                     "0.0"}));
        QCOMPARE(w.hiddenNames(), QStringList{QStringLiteral("s6")});
        for (int r = 1; r < w.grid()->rowCount(); ++r)
            QCOMPARE(w.grid()->rowTextColor(r), colours.value(w.grid()->cell(1, r)));
        QCOMPARE(w.grid()->rowCount(), scores.size() + 1); // the scratch row is gone

        // Both bounds belong to the range.
        w.range(QStringLiteral("60"), QStringLiteral("95"));
        w.filter();
        const QStringList hidden = w.hiddenNames();
        QCOMPARE(QSet<QString>(hidden.begin(), hidden.end()),
                 QSet<QString>({"s0", "s2", "s5", "s6", "s7", "s8", "s9"}));

        // A lower bound above the upper one hides every row, and "学生资料"
        // then has no row to act on.
        w.range(QStringLiteral("90"), QStringLiteral("80"));
        w.filter();
        QCOMPARE(w.hiddenNames().size(), scores.size());
        QCOMPARE(w.grid()->currentRow(), -1);

        // "全部" only rebuilds: name order, nothing hidden.
        w.chooseSubject(QStringLiteral("全部"));
        w.filter();
        QVERIFY(w.hiddenNames().isEmpty());
        QCOMPARE(w.grid()->cell(1, 1), QStringLiteral("s0"));
        QVERIFY(dialogs.all().isEmpty());
    }

    void equalScoresAndColoursAfterTheSort()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db, 2);
        db.addTerm(1, QStringLiteral("上学期"));
        const int a = db.addStudent(QStringLiteral("C1"), QStringLiteral("A"));
        const int b = db.addStudent(QStringLiteral("C1"), QStringLiteral("B"));
        const int c = db.addStudent(QStringLiteral("C1"), QStringLiteral("C"));
        for (auto [id, score] : {std::pair{a, 50.0}, {b, 50.0}, {c, 80.0}}) {
            db.addGrade(2, QStringLiteral("C1"), id, QStringLiteral("YW"), score);
            db.addGrade(2, QStringLiteral("C1"), id, QStringLiteral("SX"), 70);
        }
        db.addGrade(1, QStringLiteral("C1"), a, QStringLiteral("YW"), 10); // A improved much

        Window w;
        w.click(0, 0);
        w.chooseSubject(QStringLiteral("语文"));
        w.filter();
        // A and B have equal texts: the selection sort puts them as C, B, A.
        QCOMPARE(w.names(), QStringList({"C", "B", "A"}));
        QVERIFY(w.green(QStringLiteral("A")));
        QVERIFY(!w.green(QStringLiteral("C")));
        QCOMPARE(w.at(QStringLiteral("A"), QStringLiteral("上学期总分")), QStringLiteral("10.0"));
    }

    void aBadBoundIsReportedAfterTheSortAndHidesNothing()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        for (double score : {40.0, 90.0}) {
            const int id = db.addStudent(QStringLiteral("C1"), QStringLiteral("s%1").arg(score));
            db.addGrade(1, QStringLiteral("C1"), id, QStringLiteral("YW"), score);
        }
        Window w;
        w.click(0, 0);
        w.chooseSubject(QStringLiteral("语文"));

        auto* lower = w.child<QLineEdit>("MaskEdit1");
        QCOMPARE(MaskedText(lower), QStringLiteral("0  "));
        QCOMPARE(MaskedText(w.child<QLineEdit>("MaskEdit2")), QStringLiteral("100"));
        lower->setText(QString());
        w.filter();
        QCOMPARE(dialogs.errors, QStringList{QStringLiteral("'' is not a valid floating point value")});
        QCOMPARE(w.names(), QStringList({"s90", "s40"}));
        QVERIFY(w.hiddenNames().isEmpty());

        // A gap between two digits, as typed.
        dialogs.clear();
        lower->setFocus();
        lower->setCursorPosition(0);
        QTest::keyClicks(lower, QStringLiteral("5"));
        lower->setCursorPosition(2);
        QTest::keyClicks(lower, QStringLiteral("0"));
        QCOMPARE(MaskedText(lower), QStringLiteral("5 0"));
        w.filter();
        QCOMPARE(dialogs.errors, QStringList{QStringLiteral("'5 0' is not a valid floating point value")});
        QVERIFY(w.hiddenNames().isEmpty());
    }

    void commandsActOnTheClassOnShow()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        db.activate(1, QStringLiteral("C2"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("一班学生"));
        db.addStudent(QStringLiteral("C2"), QStringLiteral("二班学生"));
        Window w;
        w.click(0, 0);
        w.chooseSubject(QStringLiteral("语文"));
        // The arrow key moves the tree's selection to the other class.
        QTreeWidget* tree = w.form->tree()->Tree();
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(w.form->tree()->SelectedClass().ClassCode, QStringLiteral("C2"));
        w.filter();
        QCOMPARE(w.names(), QStringList{QStringLiteral("一班学生")});
    }

    void detailOpensTheStudentOfTheRowWithTheClassOnShow()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        db.addClass(QStringLiteral("C2"), QStringLiteral("空班"));
        db.activate(1, QStringLiteral("C2"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("甲"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("乙"));
        Window w;

        // The empty row of a class without students opens nothing.
        w.click(0, 1);
        w.child<QPushButton>("cmdDetail")->click();
        Settle();
        QVERIFY(dialogs.all().isEmpty());
        QVERIFY(!QApplication::activeModalWidget());

        w.click(0, 0);
        w.grid()->setCurrentRow(w.rowOf(QStringLiteral("乙")));
        QTest::keyClick(w.form->tree()->Tree(), Qt::Key_Down); // the tree moves on; the table stays
        QString seen;
        OnNextModal(
            [&](QWidget* modal) {
                seen = modal->objectName();
                auto text = [modal](const char* name) {
                    auto* edit = modal->findChild<QLineEdit*>(QLatin1String(name));
                    return edit ? edit->text() : QStringLiteral("<none>");
                };
                seen += QLatin1Char('|') + text("EditClassCode") + QLatin1Char('|') + text("EditClassName") +
                        QLatin1Char('|') + text("EditSName");
                CloseModal(modal);
            },
            2000);
        w.child<QPushButton>("cmdDetail")->click();
        if (dialogs.messages.contains(QStringLiteral("该功能尚未完成。"))) {
            Settle(2100);
            QSKIP("the student dialog is not built yet");
        }
        QCOMPARE(seen, QStringLiteral("frmStudentEdit|C1|一班|乙"));
    }

    void detailActsOnlyOnARowTheUserSeesSelected()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        db.addStudent(QStringLiteral("C1"), QStringLiteral("甲"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("乙"));
        Window w;
        w.click(0, 0);
        TStringAlignGrid* grid = w.grid();
        auto* detail = w.child<QPushButton>("cmdDetail");
        const auto clickAt = [grid](const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, at);
            Settle();
        };
        const auto rowCentre = [&](const QString& name) { return grid->cellRect(1, w.rowOf(name)).center(); };
        const QPoint belowTheLastRow(10, grid->viewport()->height() - 3);
        QVERIFY(grid->cellRect(1, grid->rowCount() - 1).bottom() < belowTheLastRow.y());

        QString seen;
        clickAt(rowCentre(QStringLiteral("甲")));
        QCOMPARE(grid->currentRow(), w.rowOf(QStringLiteral("甲")));
        if (!OpensAModal([&] { detail->click(); }, &seen) && dialogs.messages.contains("该功能尚未完成。"))
            QSKIP("the student dialog is not built yet");
        QCOMPARE(seen, QStringLiteral("甲"));

        // A click below the last row takes the highlight away: nothing is
        // selected, and the command opens nobody.
        clickAt(belowTheLastRow);
        QVERIFY(grid->selectionModel()->selectedIndexes().isEmpty());
        QCOMPARE(grid->currentRow(), -1);
        QVERIFY(!OpensAModal([&] { detail->click(); }));

        // Selecting a row again makes it the one the command acts on.
        clickAt(rowCentre(QStringLiteral("乙")));
        QVERIFY(OpensAModal([&] { detail->click(); }, &seen));
        QCOMPARE(seen, QStringLiteral("乙"));

        // Ctrl+click on the selected row takes its highlight away as well.
        clickAt(rowCentre(QStringLiteral("乙")), Qt::ControlModifier);
        if (grid->selectionModel()->selectedIndexes().isEmpty()) {
            QCOMPARE(grid->currentRow(), -1);
            QVERIFY(!OpensAModal([&] { detail->click(); }));
        }
        QVERIFY(dialogs.all().isEmpty());
    }

    void comparisonBoxHoldsTheLowestAndHighestTotals()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        db.addClass(QStringLiteral("C2"), QStringLiteral("无科目班"));
        db.activate(1, QStringLiteral("C2"));
        db.addStudent(QStringLiteral("C2"), QStringLiteral("e"));
        auto student = [&](const QString& name, const QString& number, double sx, double yw) {
            const int id = db.addStudent(QStringLiteral("C1"), name, number);
            db.addGrade(1, QStringLiteral("C1"), id, QStringLiteral("SX"), sx);
            db.addGrade(1, QStringLiteral("C1"), id, QStringLiteral("YW"), yw);
        };
        // Of equal totals the later row (by name) wins: c is the lowest, d the highest.
        student(QStringLiteral("a"), QStringLiteral("1"), 50, 60);
        student(QStringLiteral("b"), QStringLiteral("2"), 90, 90);
        student(QStringLiteral("c"), QStringLiteral("3"), 80, 30);
        student(QStringLiteral("d"), QStringLiteral("4"), 95, 85);

        Window w;
        TStringAlignGrid* box = w.form->gridB();
        auto rows = [box] {
            QList<QStringList> texts;
            for (int r = 0; r < box->rowCount(); ++r) {
                QStringList row;
                for (int c = 0; c < box->colCount(); ++c)
                    row << box->cell(c, r);
                texts << row;
            }
            return texts;
        };
        const QList<QStringList> expected = {
            {"名次", "姓名", "学号", "数学", "语文", "总分"},
            {"最差", "c", "3", "80.0", "30.0", "110.0"},
            {"最优", "d", "4", "95.0", "85.0", "180.0"},
        };
        w.click(0, 0);
        QCOMPARE(rows(), expected);
        QCOMPARE(box->alignment(3, 1), Qt::AlignRight);
        QCOMPARE(box->alignment(1, 1), Qt::AlignLeft);

        // Hidden until asked for; a sort does not change it.
        auto* group = w.child<QWidget>("GroupBox2");
        QVERIFY(!group->isVisible());
        w.child<QCheckBox>("chkCompare")->click();
        QVERIFY(group->isVisible());
        w.chooseSubject(QStringLiteral("语文"));
        w.filter();
        QCOMPARE(w.names().first(), QStringLiteral("b"));
        QCOMPARE(rows(), expected);

        // No subject to total: the box takes the new headers and no figures.
        w.click(0, 1);
        QCOMPARE(rows(), QList<QStringList>(
                             {{"名次", "姓名", "学号", "总分"}, {"最差", "", "", ""}, {"最优", "", "", ""}}));
        QVERIFY(dialogs.all().isEmpty());
    }

    void eachLaunchOpensOneMoreIndependentWindow()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        basicClass(db);
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        db.activate(1, QStringLiteral("C2"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("一班学生"));
        db.addStudent(QStringLiteral("C2"), QStringLiteral("二班学生"));
        const QString appPath = AppPath;
        TfrmMain main;
        AppPath = appPath;
        main.show();
        (void)QTest::qWaitForWindowExposed(&main);

        QVERIFY(ShowGradeCount(main.mdiArea()));
        QVERIFY(ShowGradeCount(main.mdiArea()));
        const QList<QMdiSubWindow*> frames = main.mdiArea()->subWindowList();
        QCOMPARE(frames.size(), 2);
        auto* first = qobject_cast<TfrmGradeCount*>(frames[0]->widget());
        auto* second = qobject_cast<TfrmGradeCount*>(frames[1]->widget());
        QVERIFY(first && second);
        QVERIFY(frames[0]->isMaximized() || frames[1]->isMaximized());
        QCOMPARE(first->windowTitle(), QStringLiteral("成绩统计/查询"));

        ClickNode(first->tree(), ClassNode(first->tree(), 0, 0));
        ClickNode(second->tree(), ClassNode(second->tree(), 0, 1));
        QCOMPARE(first->grid()->cell(1, 1), QStringLiteral("一班学生"));
        QCOMPARE(second->grid()->cell(1, 1), QStringLiteral("二班学生"));

        // "关闭" destroys its own window only.
        QPointer<QMdiSubWindow> closed = frames[0];
        Button(first, "cmdClose")->click();
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
        QCOMPARE(second->grid()->cell(1, 1), QStringLiteral("二班学生"));

        // A tree that cannot be read: the message, and no window.
        db.exec(QStringLiteral("alter table TTermToClass rename to TGone"));
        QVERIFY(!ShowGradeCount(main.mdiArea()));
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
        QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
    }
};

QTEST_MAIN(GradeCountTest)
#include "tst_gradecount.moc"
