// What the statistics window shows beyond its table: the summary rows, the
// places and their change, the page "统计分析", a student's course over the
// terms (also from the roster), and the window "班级成绩对比".
#include "TestSupport.h"

#include "data/Messages.h"
#include "forms/CommandButton.h"
#include "forms/UserSettings.h"
#include "shell/uMain.h"
#include "statistics/AnalysisPage.h"
#include "statistics/ComparisonModel.h"
#include "statistics/uClassCompare.h"
#include "statistics/uGradeCount.h"
#include "statistics/uGradeTrend.h"
#include "students/uStudent.h"
#include "widgets/BandChart.h"
#include "widgets/DataGrid.h"
#include "widgets/FollowingGrid.h"
#include "widgets/StringAlignGrid.h"
#include "widgets/TermClassTree.h"
#include "widgets/TrendChart.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString A = QStringLiteral("A");
const QString B = QStringLiteral("B");

// Term 2 (第二学期), class A, plan 数学 (SX, no standard) and 语文 (YW,
// standard 80). By hand:
//   甲 YW 90     SX 100.5  total 190.5  place 1  (term 1: YW 60, 3rd)
//   乙 YW 59.96  SX 70     total 130.0  place 2  (59.96 shows as 60.0; term 1: 90, 1st)
//   丙 YW 80     SX 50     total 130.0  place 2  (term 1: 70, 2nd)
//   丁 no score                          no place
// Class B in term 2 takes 语文 and 化学 (HX): 子 YW 70, HX 88.
void school(TempDatabase& db)
{
    db.addTerm(1, QStringLiteral("第一学期"));
    db.addTerm(2, QStringLiteral("第二学期"));
    db.addClass(A, QStringLiteral("甲班"));
    db.addClass(B, QStringLiteral("乙班"));
    db.addSubject(QStringLiteral("YW"), QStringLiteral("语文"));
    db.addSubject(QStringLiteral("SX"), QStringLiteral("数学"));
    db.addSubject(QStringLiteral("HX"), QStringLiteral("化学"));
    for (int term : {1, 2})
        db.activate(term, A);
    db.activate(2, B);
    db.plan(1, A, QStringLiteral("YW"));
    db.plan(2, A, QStringLiteral("YW"));
    db.plan(2, A, QStringLiteral("SX"));
    db.plan(2, B, QStringLiteral("YW"));
    db.plan(2, B, QStringLiteral("HX"));
    db.addStandard(2, A, QStringLiteral("YW"), 80);
    const int jia = db.addStudent(A, QStringLiteral("甲"), QStringLiteral("1"));
    const int yi = db.addStudent(A, QStringLiteral("乙"), QStringLiteral("2"));
    const int bing = db.addStudent(A, QStringLiteral("丙"), QStringLiteral("3"));
    db.addStudent(A, QStringLiteral("丁"), QStringLiteral("4"));
    const auto grade = [&](int term, int student, const char* subject, double score) {
        db.addGrade(term, A, student, QLatin1String(subject), score);
    };
    grade(2, jia, "YW", 90);
    grade(2, jia, "SX", 100.5);
    grade(2, yi, "YW", 59.96);
    grade(2, yi, "SX", 70);
    grade(2, bing, "YW", 80);
    grade(2, bing, "SX", 50);
    grade(1, jia, "YW", 60);
    grade(1, yi, "YW", 90);
    grade(1, bing, "YW", 70);
    const int zi = db.addStudent(B, QStringLiteral("子"));
    db.addGrade(2, B, zi, QStringLiteral("YW"), 70);
    db.addGrade(2, B, zi, QStringLiteral("HX"), 88);
}

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
    TFollowingGrid* summary() const { return form->summaryGrid(); }
    template <class T> T* child(const char* name) const { return form->findChild<T*>(QLatin1String(name)); }
    // Term 1 lists only A; term 2 lists A, then B.
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
    QStringList headers() const
    {
        QStringList list;
        for (int c = 0; c < grid()->colCount(); ++c)
            list << grid()->cell(c, 0);
        return list;
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
    // The summary column under a header of the table, top to bottom.
    QStringList figures(const QString& header) const
    {
        QStringList list;
        for (int r = 1; r < summary()->rowCount(); ++r)
            list << summary()->cell(colOf(header), r);
        return list;
    }
    void filter(const QString& subject, const QString& lower, const QString& upper) const
    {
        child<QComboBox>("cmbSubj")->setCurrentText(subject);
        child<QLineEdit>("MaskEdit1")->setText(lower);
        child<QLineEdit>("MaskEdit2")->setText(upper);
        child<QPushButton>("cmdFilter")->click();
    }
};

// Runs action and tells whether a modal window opened meanwhile (it is
// closed at once): an action that opens one does not return before then.
bool OpensAModal(const std::function<void()>& action)
{
    bool opened = false;
    QTimer guard;
    guard.setInterval(5);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible()) {
            opened = true;
            CloseModal(modal);
        }
    });
    guard.start();
    action();
    return opened;
}

QList<qreal> values(const QBarSet* set)
{
    QList<qreal> list;
    for (int i = 0; i < set->count(); ++i)
        list << set->at(i);
    return list;
}

} // namespace

class SummaryTest : public QObject {
    Q_OBJECT

    TempUserSettings m_settings;

private slots:
    void init() { UserSettings::SetShowPlaces(true); }

    void summaryRowsUnderTheTable()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        Window w;
        w.click(1, 0);
        QVERIFY(dialogs.all().isEmpty());

        QCOMPARE(w.figures(QStringLiteral("姓名")),
                 (QStringList{"参考人数", "平均分", "最高分", "最低分", "及格率", "优秀率"}));
        // 语文: 90 + 60.0 + 80 over 3 = 76.67; all pass; 90 and exactly 80 reach the standard.
        QCOMPARE(w.figures(QStringLiteral("语文")),
                 (QStringList{"3", "76.67", "90.0", "60.0", "100.0%", "66.7%"}));
        // 数学: 100.5 + 70 + 50 = 220.5 over 3 = 73.50; no standard, no 优秀率.
        QCOMPARE(w.figures(QStringLiteral("数学")),
                 (QStringList{"3", "73.50", "100.5", "50.0", "66.7%", "—"}));
        // 总分 of the three with scores (丁 is left out): 450.5 over 3; no rates.
        QCOMPARE(w.figures(QStringLiteral("总分")), (QStringList{"3", "150.17", "190.5", "130.0", "", ""}));
        QCOMPARE(w.figures(QStringLiteral("上学期总分")), QStringList(6));
        QCOMPARE(w.figures(QStringLiteral("学号")), QStringList(6));

        // The table's columns, widths and sideways scroll.
        TStringAlignGrid* grid = w.grid();
        TFollowingGrid* summary = w.summary();
        QCOMPARE(summary->colCount(), grid->colCount());
        QVERIFY(summary->isColumnHidden(0));
        QVERIFY(!summary->horizontalHeader()->isVisible());
        grid->horizontalHeader()->resizeSection(w.colOf(QStringLiteral("语文")), 130);
        QCOMPARE(summary->horizontalHeader()->sectionSize(w.colOf(QStringLiteral("语文"))), 130);
        w.form->resize(420, 600);
        QTRY_VERIFY(grid->horizontalScrollBar()->maximum() > 0);
        grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
        QCOMPARE(summary->horizontalScrollBar()->value(), grid->horizontalScrollBar()->value());
        const int last = grid->colCount() - 1;
        QTRY_COMPARE(summary->cellRect(last, 1).left(), grid->cellRect(last, 1).left());

        // A term node blanks the figures with the table.
        ClickNode(w.form->tree(), TermNode(w.form->tree(), 1));
        QCOMPARE(w.summary()->cell(1, 1), QString());
    }

    void placesFollowTheSortAndTheFilter()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        Window w;
        w.click(1, 0);
        // After the Parts' columns.
        QCOMPARE(w.headers().mid(5), (QStringList{"总分", "上学期总分", "名次", "名次变化"}));
        const auto place = [&w](const QString& name) {
            return w.at(name, QStringLiteral("名次")) + QLatin1Char(' ') +
                   w.at(name, QStringLiteral("名次变化"));
        };
        // 190.5 first; the two totals of 130.0 share 2nd; against term 1's 3rd, 1st, 2nd.
        QCOMPARE(place(QStringLiteral("甲")), QStringLiteral("1 ↑2"));
        QCOMPARE(place(QStringLiteral("乙")), QStringLiteral("2 ↓1"));
        QCOMPARE(place(QStringLiteral("丙")), QStringLiteral("2 0"));
        QCOMPARE(place(QStringLiteral("丁")), QStringLiteral("— —"));

        // Sorted by 语文, 61 to 100: the places stay with their students, and
        // the figures still cover the whole class.
        w.filter(QStringLiteral("语文"), QStringLiteral("61"), QStringLiteral("100"));
        QCOMPARE(w.names(), (QStringList{"甲", "丙", "乙", "丁"}));
        QCOMPARE(w.hiddenNames(), (QStringList{"乙", "丁"}));
        QCOMPARE(place(QStringLiteral("甲")), QStringLiteral("1 ↑2"));
        QCOMPARE(place(QStringLiteral("乙")), QStringLiteral("2 ↓1"));
        QCOMPARE(w.figures(QStringLiteral("语文")).first(), QStringLiteral("3"));
        QVERIFY(dialogs.all().isEmpty());

        // The first term has no earlier one.
        w.click(0, 0);
        QCOMPARE(place(QStringLiteral("乙")), QStringLiteral("1 —"));
    }

    void theCheckboxShowsOrHidesThePlacesAndIsRemembered()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        {
            Window w;
            auto* box = w.child<QCheckBox>("chkPlaces");
            QCOMPARE(box->text(), QStringLiteral("显示名次"));
            QVERIFY(box->isChecked());
            // Right of the controls before it, on the command bar.
            QVERIFY(box->x() > w.child<QCheckBox>("chkCompare")->geometry().right());
            QVERIFY(w.child<QPushButton>("cmdTrend")->x() > box->geometry().right());

            w.click(1, 0);
            w.filter(QStringLiteral("语文"), QStringLiteral("61"), QStringLiteral("100"));
            box->click();
            QVERIFY(!UserSettings::ShowPlaces());
            QCOMPARE(w.colOf(QStringLiteral("名次")), -1);
            QCOMPARE(w.headers().last(), QStringLiteral("上学期总分"));
            QCOMPARE(w.summary()->colCount(), w.grid()->colCount());
            // Turned on again: back in the order and with the rows hidden as they were.
            box->click();
            QCOMPARE(w.names(), (QStringList{"甲", "丙", "乙", "丁"}));
            QCOMPARE(w.hiddenNames(), (QStringList{"乙", "丁"}));
            QCOMPARE(w.at(QStringLiteral("丙"), QStringLiteral("名次")), QStringLiteral("2"));
            box->click();
        }
        Window again;
        QVERIFY(!again.child<QCheckBox>("chkPlaces")->isChecked());
        again.click(1, 0);
        QCOMPARE(again.colOf(QStringLiteral("名次")), -1);
        QVERIFY(dialogs.all().isEmpty());
    }

    void theAnalysisPageFollowsTheClass()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        Window w;
        QTabWidget* pages = w.form->pages();
        QCOMPARE(pages->tabText(0), QStringLiteral("成绩列表"));
        QCOMPARE(pages->tabText(1), QStringLiteral("统计分析"));
        w.click(1, 0);
        pages->setCurrentIndex(1);
        AnalysisPage* page = w.form->analysisPage();
        TBandChart* chart = page->chart();
        QChart* theChart = chart->chart();
        QBarSet* set = chart->barSet();

        // The first subject, 数学: 50 | 70 | 100.5 above 100.
        QStringList subjects;
        for (int i = 0; i < page->subjectChoice()->count(); ++i)
            subjects << page->subjectChoice()->itemText(i);
        QCOMPARE(subjects, (QStringList{"数学", "语文", "总分"}));
        QCOMPARE(values(set), (QList<qreal>{1, 0, 1, 0, 0, 1}));
        QCOMPARE(chart->categoryAxis()->count(), 6);
        QVERIFY(chart->categoryAxis()->at(5).startsWith(QStringLiteral("100以上")));
        QVERIFY(chart->categoryAxis()->at(0).contains(QStringLiteral("33.3%")));
        QCOMPARE(page->bandGrid()->cell(0, 6), QStringLiteral("100以上"));
        QCOMPARE(page->bandGrid()->cell(2, 6), QStringLiteral("33.3%"));

        // 语文: 60.0 | 80 | 90; no band above 100.
        page->subjectChoice()->setCurrentText(QStringLiteral("语文"));
        QCOMPARE(values(set), (QList<qreal>{0, 1, 0, 1, 1}));
        QCOMPARE(chart->categoryAxis()->count(), 5);
        QCOMPARE(page->bandGrid()->rowCount(), 6);
        QCOMPARE(page->bandGrid()->cell(1, 2), QStringLiteral("1"));

        // Another class keeps the choice while it has the subject; the chart is the same one.
        w.click(1, 1);
        QCOMPARE(page->subjectChoice()->currentText(), QStringLiteral("语文"));
        QCOMPARE(values(set), (QList<qreal>{0, 0, 1, 0, 0})); // 子 70
        QCOMPARE(chart->chart(), theChart);
        QCOMPARE(chart->barSet(), set);
        page->subjectChoice()->setCurrentText(QStringLiteral("总分"));
        // 总分 of two subjects: the bounds doubled; 70 + 88 = 158 in 140–159.
        QCOMPARE(chart->categoryAxis()->at(2).section(QLatin1Char('\n'), 0, 0), QStringLiteral("140–159"));
        QCOMPARE(values(set), (QList<qreal>{0, 0, 1, 0, 0}));

        // Clicked while the table is on show, the page shows the class once looked at.
        pages->setCurrentIndex(0);
        w.click(1, 0);
        pages->setCurrentIndex(1);
        QCOMPARE(values(set), (QList<qreal>{0, 2, 0, 0, 1})); // 130, 130 in 120–139; 190.5 in 180–200
        QCOMPARE(chart->categoryAxis()->at(4).section(QLatin1Char('\n'), 0, 0), QStringLiteral("180–200"));
        QVERIFY(dialogs.all().isEmpty());
    }

    void theChartIsDrawn()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        Window w;
        w.click(1, 0);
        w.form->pages()->setCurrentIndex(1);
        TBandChart* chart = w.form->analysisPage()->chart();
        QTRY_VERIFY(chart->isVisible() && chart->width() > 200);
        const QImage image = chart->grab().toImage();
        // The bars are painted in the set's colour: a good share of the chart.
        const QColor bar = chart->barSet()->color();
        int barPixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                barPixels += QColor(image.pixel(x, y)) == bar ? 1 : 0;
        QVERIFY2(barPixels > image.width() * image.height() / 100, qPrintable(QString::number(barPixels)));
        // With nothing to show, nothing is painted in it.
        ClickNode(w.form->tree(), TermNode(w.form->tree(), 1));
        int left = 0;
        const QImage empty = chart->grab().toImage();
        for (int y = 0; y < empty.height(); ++y)
            for (int x = 0; x < empty.width(); ++x)
                left += QColor(empty.pixel(x, y)) == bar ? 1 : 0;
        QCOMPARE(left, 0);
    }

    void aStudentsCourseFromTheStatisticsWindow()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        Window w;
        w.click(1, 0);
        w.grid()->setCurrentRow(w.rowOf(QStringLiteral("甲")));
        QStringList rows;
        int points = -1;
        OnNextModal([&](QWidget* modal) {
            auto* trend = qobject_cast<TfrmGradeTrend*>(modal);
            QVERIFY(trend);
            QCOMPARE(trend->windowTitle(), QStringLiteral("成绩走势"));
            for (int r = 1; r < trend->grid()->rowCount(); ++r) {
                QStringList cells;
                for (int c = 0; c < 4; ++c)
                    cells << trend->grid()->cell(c, r);
                rows << cells.join(QLatin1Char(' '));
            }
            // A display: no row is selected, the first one neither.
            QVERIFY(trend->grid()->selectionModel()->selectedIndexes().isEmpty());
            points = int(trend->chart()->totals().size());
            QCOMPARE(trend->chart()->places().at(1), 1);
            QCOMPARE(trend->chart()->lastPlace(), 3);
            CloseModal(modal);
        });
        w.child<QPushButton>("cmdTrend")->click();
        // Oldest first: term 1 YW 60, 3rd of 3; term 2 190.5, 1st of 3.
        QCOMPARE(rows, (QStringList{"第一学期 60.0 3 3", "第二学期 190.5 1 3"}));
        QCOMPARE(points, 2);

        // No row the user sees selected: nothing opens.
        w.grid()->clearSelection();
        QVERIFY(!OpensAModal([&] { w.child<QPushButton>("cmdTrend")->click(); }));
        QVERIFY(dialogs.all().isEmpty());
    }

    void aStudentsCourseFromTheRoster()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        roster.show();
        (void)QTest::qWaitForWindowExposed(&roster);
        QPushButton* close = roster.buttons()->cmdClose;
        // The roster's bar has room for one added button: "成绩走势" is the
        // first command of its drop-down "更多".
        QPushButton* trend = roster.cmdMore;
        QCOMPARE(roster.actTrend->text(), QStringLiteral("成绩走势"));
        QCOMPARE(trend->menu()->actions().constFirst(), roster.actTrend);
        // Right of the last button, in its line, inside the bar; it moves with it.
        const auto besideClose = [&] {
            return trend->x() > close->geometry().right() && trend->y() == close->y() &&
                   trend->geometry().right() < roster.buttons()->width();
        };
        QVERIFY(besideClose());
        QCOMPARE(close->x(), 278);
        roster.resize(900, 500);
        QTRY_VERIFY(close->x() > 278);
        QVERIFY(besideClose());

        // The students by name: 丁, 丙, 乙, 甲; the third is 乙.
        roster.dsStudent->setCurrentRow(2);
        QString seen;
        OnNextModal([&](QWidget* modal) {
            seen = modal->findChild<QLabel*>(QStringLiteral("LabelStudent"))->text() + QLatin1Char('|') +
                   static_cast<TfrmGradeTrend*>(modal)->grid()->cell(1, 2);
            CloseModal(modal);
        });
        roster.actTrend->trigger();
        QCOMPARE(seen, QStringLiteral("学生：乙    学号：2|130.0"));
        QVERIFY(dialogs.all().isEmpty());
    }

    void theClassesOfATermSideBySide()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        TfrmClassCompare form;
        QVERIFY(form.ReadyData());
        form.resize(1000, 500);
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
        QCOMPARE(form.windowTitle(), QStringLiteral("班级成绩对比"));
        ClickNode(form.tree(), TermNode(form.tree(), 1));
        ComparisonModel* model = form.model();
        const auto header = [model](int c) {
            return model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        };
        const auto text = [model](int r, int c) { return model->index(r, c).data().toString(); };
        const auto row = [&](int r) {
            QStringList cells;
            for (int c = 0; c < model->columnCount(); ++c)
                cells << text(r, c);
            return cells;
        };
        // Every subject of the plans, by code: 化学, 数学, 语文.
        QCOMPARE(model->columnCount(), 2 + 3 * 3 + 2);
        QCOMPARE(header(2), QStringLiteral("化学\n平均分"));
        QCOMPARE(header(7), QStringLiteral("数学\n优秀率"));
        QCOMPARE(header(11), QStringLiteral("总分\n平均分"));
        QCOMPARE(header(12), QStringLiteral("名次"));
        // Equal to the summary rows; blank where a class does not take a subject.
        QCOMPARE(row(0), (QStringList{"甲班", "3", "", "", "", "73.50", "66.7%", "—", "76.67", "100.0%",
                                      "66.7%", "150.17", "2"}));
        QCOMPARE(row(1), (QStringList{"乙班", "1", "88.00", "100.0%", "—", "", "", "", "70.00", "100.0%", "—",
                                      "158.00", "1"}));

        // A click on a column title sorts by it, the best first; blanks last either way.
        QHeaderView* titles = form.grid()->horizontalHeader();
        const auto clickTitle = [titles](int c) {
            QTest::mouseClick(titles->viewport(), Qt::LeftButton, Qt::NoModifier,
                              QPoint(titles->sectionViewportPosition(c) + 5, titles->height() / 2));
        };
        clickTitle(8); // 语文 平均分: 76.67 before 70.00
        QCOMPARE(text(0, 0), QStringLiteral("甲班"));
        clickTitle(8);
        QCOMPARE(text(0, 0), QStringLiteral("乙班"));
        clickTitle(5); // 数学 平均分: only 甲班
        QCOMPARE(text(0, 0), QStringLiteral("甲班"));
        clickTitle(5);
        QCOMPARE(text(1, 0), QStringLiteral("乙班"));
        clickTitle(12); // 名次: the first place first
        QCOMPARE(text(0, 0), QStringLiteral("乙班"));

        // A class node shows its term with that class selected.
        ClickNode(form.tree(), ClassNode(form.tree(), 1, 0));
        QCOMPARE(form.grid()->currentIndex().row(), model->rowOfClass(A));

        // A double-click opens the class's statistics window at that class.
        const QModelIndex b = model->index(model->rowOfClass(B), 0);
        const QPoint onB = form.grid()->visualRect(b).center();
        QTest::mouseClick(form.grid()->viewport(), Qt::LeftButton, Qt::NoModifier, onB);
        QTest::mouseDClick(form.grid()->viewport(), Qt::LeftButton, Qt::NoModifier, onB);
        TfrmGradeCount* opened = nullptr;
        QTRY_VERIFY((opened = [] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<TfrmGradeCount*>(w); f && f->isVisible())
                    return f;
            return static_cast<TfrmGradeCount*>(nullptr);
        }()));
        QCOMPARE(opened->tree()->ShownClass().ClassCode, B);
        QCOMPARE(opened->grid()->cell(1, 1), QStringLiteral("子"));
        opened->close();
        QVERIFY(dialogs.all().isEmpty());
    }

    void theComparisonOpensInTheMainWindowsArea()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        const QString appPath = AppPath;
        TfrmMain main;
        AppPath = appPath;
        main.show();
        (void)QTest::qWaitForWindowExposed(&main);
        QMdiArea* area = main.mdiArea();

        QVERIFY(ShowClassCompare(area));
        QCOMPARE(area->subWindowList().size(), 1);
        QMdiSubWindow* frame = area->subWindowList().constFirst();
        auto* form = qobject_cast<TfrmClassCompare*>(frame->widget());
        QVERIFY(form);
        QVERIFY(frame->isMaximized());
        ClickNode(form->tree(), TermNode(form->tree(), 1));

        // A double-click opens the class's statistics window beside it, in the same area.
        const QModelIndex b = form->model()->index(form->model()->rowOfClass(B), 0);
        const QPoint onB = form->grid()->visualRect(b).center();
        QTest::mouseClick(form->grid()->viewport(), Qt::LeftButton, Qt::NoModifier, onB);
        QTest::mouseDClick(form->grid()->viewport(), Qt::LeftButton, Qt::NoModifier, onB);
        QTRY_COMPARE(area->subWindowList().size(), 2);
        auto* opened = qobject_cast<TfrmGradeCount*>(area->subWindowList().at(1)->widget());
        QVERIFY(opened);
        QCOMPARE(opened->tree()->ShownClass().ClassCode, B);

        // Closing the comparison frees it and leaves the statistics window.
        QPointer<QMdiSubWindow> closed = frame;
        frame->close();
        QTRY_VERIFY(closed.isNull());
        QCOMPARE(area->subWindowList().size(), 1);

        // A tree that cannot be read: the message, and no window.
        db.exec(QStringLiteral("alter table TTermToClass rename to TGone"));
        QVERIFY(!ShowClassCompare(area));
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
        QCOMPARE(area->subWindowList().size(), 1);
    }

    void aComparisonThatCannotBeReadIsSaidSo()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        TfrmClassCompare form;
        QVERIFY(form.ReadyData());
        form.show();
        ClickNode(form.tree(), TermNode(form.tree(), 1));
        QCOMPARE(form.model()->rowCount(), 2);
        db.exec(QStringLiteral("alter table TGrade rename to TGradeGone"));
        ClickNode(form.tree(), TermNode(form.tree(), 0));
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
        QCOMPARE(form.model()->rowCount(), 2); // what was shown stays
    }
};

QTEST_MAIN(SummaryTest)
#include "tst_summary.moc"
