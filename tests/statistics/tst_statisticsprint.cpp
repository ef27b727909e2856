// The statistics window, 班级成绩对比 and 成绩通知单 printed, read back
// from their PDFs with poppler's tools.
#include "PdfSupport.h"
#include "TestSupport.h"

#include "data/School.h"
#include "forms/CommandButton.h"
#include "forms/UserSettings.h"
#include "print/PrintCommands.h"
#include "shell/Application.h"
#include "statistics/ResultsTable.h"
#include "statistics/uClassCompare.h"
#include "statistics/uGradeCount.h"
#include "statistics/uReportCards.h"
#include "widgets/TermClassTree.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString C = QStringLiteral("C1");

// Term 2 "2024-2025学年第一学期" of 高一(1)班, 语文 and 数学, standards 90
// in both. By hand:
//   甲 95 95  total 190.0  honours (▲, red); term 1 total 100: progress (↑, green)
//   乙 50 80  total 130.0  failing (▼, blue)
//   丙 70 70  total 140.0  term 1 total 140: no progress
//   丁 60 60  total 120.0  不在校
// 语文 average (95 + 50 + 70 + 60) / 4 = 68.75; 数学 (95 + 80 + 70 + 60) / 4 = 76.25.
void school(TempDatabase& db)
{
    QVERIFY(School::SetName(QStringLiteral("第一中学")));
    db.addTerm(1, QStringLiteral("2023-2024学年第二学期"));
    db.addTerm(2, QStringLiteral("2024-2025学年第一学期"));
    db.addClass(C, QStringLiteral("高一(1)班"));
    db.addSubject(QStringLiteral("CN"), QStringLiteral("语文"));
    db.addSubject(QStringLiteral("MA"), QStringLiteral("数学"));
    for (int term : {1, 2}) {
        db.activate(term, C);
        db.plan(term, C, QStringLiteral("CN"));
        db.plan(term, C, QStringLiteral("MA"));
    }
    db.addStandard(2, C, QStringLiteral("CN"), 90);
    db.addStandard(2, C, QStringLiteral("MA"), 90);
    const int jia = db.addStudent(C, QStringLiteral("甲"), QStringLiteral("101"));
    const int yi = db.addStudent(C, QStringLiteral("乙"), QStringLiteral("102"));
    const int bing = db.addStudent(C, QStringLiteral("丙"), QStringLiteral("103"));
    const int ding = db.addStudent(C, QStringLiteral("丁"), QStringLiteral("104"));
    db.exec(QStringLiteral("update TStudent set IsActive=0 where ID=%1").arg(ding));
    const auto both = [&](int term, int student, double cn, double ma) {
        db.addGrade(term, C, student, QStringLiteral("CN"), cn);
        db.addGrade(term, C, student, QStringLiteral("MA"), ma);
    };
    both(2, jia, 95, 95);
    both(2, yi, 50, 80);
    both(2, bing, 70, 70);
    both(2, ding, 60, 60);
    both(1, jia, 50, 50);
    both(1, bing, 70, 70);
}

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
    // The class of the second term.
    void clickClass() const { ClickNode(form->tree(), ClassNode(form->tree(), 1, 0)); }
};

} // namespace

class StatisticsPrintTest : public QObject {
    Q_OBJECT

    TempUserSettings m_settings;
    QTemporaryDir m_out;

    QString pdf(const QString& name) const { return m_out.filePath(name); }

private slots:
    void initTestCase() { TApplication::applyLook(); }
    void init() { UserSettings::SetShowPlaces(true); }

    void theTableAsItStandsWithSignsSummaryAndLegend()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        Window w;
        // One drop-down after the last control of the bar, in its line.
        const QPushButton* trend = w.form->findChild<QPushButton*>(QStringLiteral("cmdTrend"));
        QCOMPARE(w.form->printButton()->text(), QStringLiteral("打印"));
        QCOMPARE(w.form->printButton()->y(), trend->y());
        QVERIFY(w.form->printButton()->x() > trend->geometry().right());
        QStringList items;
        for (QAction* action : w.form->printButton()->menu()->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(items, (QStringList{"打印", "打印预览", "导出PDF", "-", "成绩通知单…"}));
        // Nothing on show: nothing to print, nothing asked.
        w.form->printCommands()->pdfAction()->trigger();
        QVERIFY(dialogs.fileRequests.isEmpty());

        w.clickClass();
        dialogs.files.push_back(pdf("table.pdf"));
        w.form->printCommands()->pdfAction()->trigger();
        QVERIFY2(dialogs.all().isEmpty(), qPrintable(dialogs.all().join('|')));
        QCOMPARE(QFileInfo(dialogs.fileRequests.first().fileName).fileName(),
                 QStringLiteral("2024-2025学年第一学期_高一(1)班_成绩统计.pdf"));

        QCOMPARE(Pdf::PageCount(pdf("table.pdf")), 1);
        const QString text = Pdf::Text(pdf("table.pdf"), 1);
        QVERIFY(text.contains(QStringLiteral("第一中学 2024-2025学年第一学期 高一(1)班 成绩统计")));
        QVERIFY(text.contains(QStringLiteral("共 4 人")));
        QVERIFY(text.contains(QStringLiteral("第 1 页 共 1 页")));
        const QString s = Pdf::Squeezed(text);
        QVERIFY2(s.contains(QStringLiteral("标记姓名学号语文数学总分上学期总分名次名次变化")), qPrintable(s));
        // The roster's order, each row's sign, scores, totals, places and changes.
        QVERIFY2(s.contains(QStringLiteral("▲↑甲10195.095.0190.0100.01↑1")), qPrintable(s));
        QVERIFY(s.contains(QStringLiteral("▼乙10250.080.0130.00.03—")));
        QVERIFY(s.contains(QStringLiteral("丙10370.070.0140.0140.02↓1")));
        QVERIFY(s.contains(QStringLiteral("丁10460.060.0120.00.04—")));
        // By name: 丁 (U+4E01), 丙, 乙, 甲 (U+7532).
        QVERIFY(s.indexOf(QStringLiteral("丁104")) < s.indexOf(QStringLiteral("丙103")));
        QVERIFY(s.indexOf(QStringLiteral("乙102")) < s.indexOf(QStringLiteral("甲101")));
        // The summary rows of the whole class, then the legend.
        QVERIFY(s.contains(QStringLiteral("参考人数4")));
        QVERIFY(s.contains(QStringLiteral("平均分68.7576.25145.00")));
        QVERIFY(s.contains(QStringLiteral("及格率75.0%100.0%")));
        QVERIFY(s.contains(QStringLiteral("优秀率25.0%25.0%")));
        QVERIFY(s.indexOf(QStringLiteral("甲101")) < s.indexOf(QStringLiteral("参考人数")));
        QVERIFY(s.contains(QStringLiteral("颜色标示说明：▼有不及格项▲符合评优标准↑进步较大一般")));

        // The marked rows in their colours where they stand on the page.
        const QImage page = Pdf::Render(pdf("table.pdf"), 1, 200);
        const QList<Pdf::PageWords> words = Pdf::Words(pdf("table.pdf"));
        const double scale = page.height() / words.first().height;
        const auto band = [&](const QString& name) {
            for (const Pdf::Word& word : words.first().words)
                if (word.text.contains(name) && word.text.size() <= 3)
                    return page.copy(int(word.xMin * scale), int(word.yMin * scale),
                                     int((word.xMax - word.xMin) * scale) + 1,
                                     int((word.yMax - word.yMin) * scale) + 1);
            return QImage();
        };
        for (const QString& name : {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")})
            QVERIFY(!band(name).isNull());
        QVERIFY(Pdf::HasColour(band("甲"), ResultsTable::ProgressColor(), 6));
        QVERIFY(Pdf::HasColour(band("甲"), ResultsTable::HonoursColor(), 90));
        QVERIFY(Pdf::HasColour(band("乙"), ResultsTable::FailColor(), 90));
        QVERIFY(!Pdf::HasColour(band("乙"), ResultsTable::ProgressColor(), 6));
        QVERIFY(!Pdf::HasColour(band("丙"), ResultsTable::HonoursColor(), 90));
        QVERIFY(!Pdf::HasColour(band("丙"), ResultsTable::FailColor(), 90));
    }

    void aSortedFilteredTableLeavesTheHiddenRowsOutButNotTheirFigures()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        Window w;
        w.clickClass();
        auto* subject = w.form->findChild<QComboBox*>(QStringLiteral("cmbSubj"));
        subject->setCurrentIndex(1); // 语文
        w.form->findChild<QLineEdit*>(QStringLiteral("MaskEdit1"))->setText(QStringLiteral("60"));
        w.form->findChild<QPushButton*>(QStringLiteral("cmdFilter"))->click();

        dialogs.files.push_back(pdf("sorted.pdf"));
        w.form->printCommands()->pdfAction()->trigger();
        const QString text = Pdf::Text(pdf("sorted.pdf"), 1);
        const QString s = Pdf::Squeezed(text);
        QVERIFY(text.contains(QStringLiteral("列出 3 人，共 4 人")));
        QVERIFY(!s.contains(QStringLiteral("乙102")));
        // Highest 语文 first.
        QVERIFY(s.indexOf(QStringLiteral("甲101")) < s.indexOf(QStringLiteral("丙103")));
        QVERIFY(s.indexOf(QStringLiteral("丙103")) < s.indexOf(QStringLiteral("丁104")));
        QVERIFY(s.contains(QStringLiteral("参考人数4")));

        // Without places, as 显示名次 says.
        w.form->findChild<QCheckBox*>(QStringLiteral("chkPlaces"))->click();
        dialogs.files.push_back(pdf("noplaces.pdf"));
        w.form->printCommands()->pdfAction()->trigger();
        const QString without = Pdf::Squeezed(Pdf::Text(pdf("noplaces.pdf"), 1));
        QVERIFY(without.contains(QStringLiteral("标记姓名学号语文数学总分上学期总分参考人数")) ||
                without.contains(QStringLiteral("标记姓名学号语文数学总分上学期总分▲")));
        QVERIFY(!without.contains(QStringLiteral("名次")));
        QVERIFY(!without.contains(QStringLiteral("乙102")));
    }

    void aLongClassRunsOverPagesWithEveryStudentOnce()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        for (int s = 0; s < 110; ++s) {
            const int id = db.addStudent(C, QStringLiteral("学生%1").arg(s, 3, 10, QLatin1Char('0')),
                                         QString::number(2000 + s));
            db.addGrade(2, C, id, QStringLiteral("CN"), 40 + s % 60);
        }
        Window w;
        w.clickClass();
        dialogs.files.push_back(pdf("long.pdf"));
        w.form->printCommands()->pdfAction()->trigger();
        const int pages = Pdf::PageCount(pdf("long.pdf"));
        QVERIFY2(pages >= 3 && pages <= 6, qPrintable(QString::number(pages)));
        const QString all = Pdf::Text(pdf("long.pdf"));
        for (int s = 0; s < 110; ++s)
            QCOMPARE(all.count(QStringLiteral("学生%1").arg(s, 3, 10, QLatin1Char('0'))), 1);
        for (int p = 1; p <= pages; ++p) {
            const QString page = Pdf::Text(pdf("long.pdf"), p);
            QVERIFY(page.contains(QStringLiteral("第一中学 2024-2025学年第一学期 高一(1)班 成绩统计")));
            QVERIFY(Pdf::Squeezed(page).contains(QStringLiteral("标记姓名学号语文数学总分")));
            QVERIFY(page.contains(QStringLiteral("第 %1 页 共 %2 页").arg(p).arg(pages)));
        }
        // The preview lays out the same pages.
        w.form->printCommands()->previewAction()->trigger();
        QCOMPARE(dialogs.previewPages, QList<int>{pages});
    }

    void reportCardsForTheClassShownAsChosen()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        UserSettings::SetReportCardsThreePerPage(true);
        UserSettings::SetReportCardsForInactive(false);
        Window w;
        w.clickClass();
        QCOMPARE(w.form->reportCardsAction()->text(), QStringLiteral("成绩通知单…"));

        // As the dialog opens: three to a page, without 丁 who is no longer in school.
        dialogs.files.push_back(pdf("cards.pdf"));
        OnNextModal([](QWidget* window) {
            auto* dialog = qobject_cast<TfrmReportCards*>(window);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QStringLiteral("成绩通知单"));
            QVERIFY(dialog->rbThree->isChecked());
            QVERIFY(!dialog->chkInactive->isChecked());
            dialog->cmdPdf->click();
            dialog->cmdClose->click();
        });
        w.form->reportCardsAction()->trigger();
        QCOMPARE(QFileInfo(dialogs.fileRequests.last().fileName).fileName(),
                 QStringLiteral("2024-2025学年第一学期_高一(1)班_成绩通知单.pdf"));
        QCOMPARE(Pdf::PageCount(pdf("cards.pdf")), 1);
        const QString text = Pdf::Text(pdf("cards.pdf"));
        for (const QString& name : {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙")})
            QCOMPARE(text.count(QStringLiteral("姓名：") + name), 1);
        QVERIFY(!text.contains(QStringLiteral("姓名：丁")));
        QCOMPARE(text.count(QStringLiteral("第一中学 成绩通知单")), 3);
        QCOMPARE(text.count(QStringLiteral("2024-2025学年第一学期")), 3);
        const QString s = Pdf::Squeezed(text);
        QVERIFY(s.contains(QStringLiteral("科目语文数学总分名次")));
        QVERIFY(s.contains(QStringLiteral("成绩95.095.0190.01")));
        QVERIFY(s.contains(QStringLiteral("成绩50.080.0130.03")));
        // The averages of the whole class, 丁 included.
        QCOMPARE(s.count(QStringLiteral("班级平均分68.7576.25145.00")), 3);

        // With 丁, one to a page; the choices are remembered.
        dialogs.files.push_back(pdf("cards1.pdf"));
        OnNextModal([](QWidget* window) {
            auto* dialog = qobject_cast<TfrmReportCards*>(window);
            dialog->rbOne->setChecked(true);
            dialog->chkInactive->setChecked(true);
            dialog->cmdPdf->click();
            dialog->cmdPreview->click();
            dialog->cmdClose->click();
        });
        w.form->reportCardsAction()->trigger();
        QCOMPARE(Pdf::PageCount(pdf("cards1.pdf")), 4);
        // In the roster's order, by name: 丁 first.
        QVERIFY(Pdf::Text(pdf("cards1.pdf"), 1).contains(QStringLiteral("姓名：丁")));
        QVERIFY(Pdf::Text(pdf("cards1.pdf"), 4).contains(QStringLiteral("姓名：甲")));
        QCOMPARE(dialogs.previewPages, QList<int>{4});
        QVERIFY(!UserSettings::ReportCardsThreePerPage());
        QVERIFY(UserSettings::ReportCardsForInactive());
        QVERIFY(dialogs.all().isEmpty());

        // Without places the cards have none either.
        w.form->findChild<QCheckBox*>(QStringLiteral("chkPlaces"))->click();
        dialogs.files.push_back(pdf("cards0.pdf"));
        OnNextModal([](QWidget* window) {
            auto* dialog = qobject_cast<TfrmReportCards*>(window);
            QVERIFY(dialog->rbOne->isChecked());
            dialog->cmdPdf->click();
            dialog->cmdClose->click();
        });
        w.form->reportCardsAction()->trigger();
        QVERIFY(!Pdf::Text(pdf("cards0.pdf")).contains(QStringLiteral("名次")));
    }

    void noCardToPrintIsSaid()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        UserSettings::SetReportCardsForInactive(false);
        db.exec(QStringLiteral("update TStudent set IsActive=0"));
        Window w;
        w.clickClass();
        OnNextModal([](QWidget* window) {
            auto* dialog = qobject_cast<TfrmReportCards*>(window);
            dialog->cmdPdf->click();
            dialog->cmdClose->click();
        });
        w.form->reportCardsAction()->trigger();
        QCOMPARE(dialogs.messages, QStringList{PrintMsg::NoReportCards});
        QVERIFY(dialogs.fileRequests.isEmpty());
    }

    void theComparisonPrintsItsTermInItsOrder()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        school(db);
        db.addClass(QStringLiteral("C2"), QStringLiteral("高一(2)班"));
        db.activate(2, QStringLiteral("C2"));
        db.plan(2, QStringLiteral("C2"), QStringLiteral("CN"));
        const int zi = db.addStudent(QStringLiteral("C2"), QStringLiteral("子"));
        db.addGrade(2, QStringLiteral("C2"), zi, QStringLiteral("CN"), 99);

        TfrmClassCompare compare;
        compare.resize(900, 500);
        compare.show();
        QVERIFY(QTest::qWaitForWindowExposed(&compare));
        QVERIFY(compare.ReadyData());
        QVERIFY(compare.printButton()->isVisible());
        compare.printCommands()->pdfAction()->trigger(); // no term yet
        QVERIFY(dialogs.fileRequests.isEmpty());

        ClickNode(compare.tree(), TermNode(compare.tree(), 1));
        dialogs.files.push_back(pdf("compare.pdf"));
        compare.printCommands()->pdfAction()->trigger();
        QCOMPARE(QFileInfo(dialogs.fileRequests.last().fileName).fileName(),
                 QStringLiteral("2024-2025学年第一学期_班级成绩对比.pdf"));
        const QString text = Pdf::Text(pdf("compare.pdf"), 1);
        QVERIFY(text.contains(QStringLiteral("第一中学 2024-2025学年第一学期 班级成绩对比")));
        const QString s = Pdf::Squeezed(text);
        QVERIFY2(s.contains(QStringLiteral("班级参考人数语文平均分语文及格率语文优秀率")), qPrintable(s));
        QVERIFY(s.indexOf(QStringLiteral("高一(1)班")) < s.indexOf(QStringLiteral("高一(2)班")));
        QVERIFY(s.contains(QStringLiteral("高一(1)班468.75")));
    }
};

QTEST_MAIN(StatisticsPrintTest)
#include "tst_statisticsprint.moc"
