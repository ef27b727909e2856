// The statistics table and 班级成绩对比 exported as they stand, checked with
// another tool, and the statistics export read back as scores.
#include "TestSupport.h"

#include "../sheets/OtherTool.h"

#include "data/Scores.h"
#include "exchange/ScoreImport.h"
#include "forms/UserSettings.h"
#include "sheets/SheetFile.h"
#include "shell/Application.h"
#include "statistics/ComparisonModel.h"
#include "statistics/StatisticsSheet.h"
#include "statistics/uClassCompare.h"
#include "statistics/uGradeCount.h"
#include "transfer/ImportFlow.h"
#include "transfer/SheetButton.h"
#include "widgets/TermClassTree.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString S(const char* text)
{
    return QString::fromUtf8(text);
}

// Term 2 of class A: 李四 fails, 王五 reaches every standard and improved
// much on term 1, 张三's 59.96 shows as 60.0, 赵六 has no score.
void addSchool(const TempDatabase& db)
{
    db.addTerm(1, S("2023-2024学年第二学期"));
    db.addTerm(2, S("2024-2025学年第一学期"));
    db.addClass("A", S("高一(1)班"));
    db.addClass("B", S("高一(2)班"));
    db.addSubject("CN", S("语文"));
    db.addSubject("MA", S("数学"));
    for (int term : {1, 2}) {
        db.activate(term, "A");
        db.plan(term, "A", "CN");
        db.plan(term, "A", "MA");
    }
    db.activate(2, "B");
    db.plan(2, "B", "CN");
    const int zhang = db.addStudent("A", S("张三"), "0012");
    const int li = db.addStudent("A", S("李四"), "20240002");
    const int wang = db.addStudent("A", S("王五"), "20240003");
    db.addStudent("A", S("赵六"), "20240004");
    const int qian = db.addStudent("B", S("钱七"), "20240101");
    db.addGrade(2, "A", zhang, "CN", 59.96);
    db.addGrade(2, "A", zhang, "MA", 90);
    db.addGrade(2, "A", li, "CN", 50);
    db.addGrade(2, "A", li, "MA", 70);
    db.addGrade(2, "A", wang, "CN", 95);
    db.addGrade(2, "A", wang, "MA", 88);
    db.addGrade(1, "A", wang, "CN", 50);
    db.addGrade(1, "A", wang, "MA", 50);
    db.addGrade(2, "B", qian, "CN", 77);
    db.addStandard(2, "A", "CN", 85);
    db.addStandard(2, "A", "MA", 85);
}

QAction* Command(QWidget* window, const char* name)
{
    auto* button = window->findChild<SheetButton*>("cmdSheets");
    return button ? button->menu()->findChild<QAction*>(name) : nullptr;
}

struct Statistics {
    TfrmGradeCount form;
    Statistics()
    {
        form.resize(1100, 600);
        form.show();
        (void)QTest::qWaitForWindowExposed(&form);
        if (!form.ReadyData())
            qFatal("the statistics window did not load its tree");
        ClickNode(form.tree(), ClassNode(form.tree(), 1, 0));
    }
    template <class T> T* child(const char* name) { return form.findChild<T*>(QLatin1String(name)); }
    QString exportTo(ScriptedDialogs& dialogs, const QString& path)
    {
        dialogs.files.push_back(path);
        Command(&form, "mnuExportTable")->trigger();
        return QFileInfo(dialogs.fileRequests.last().fileName).fileName();
    }
};

QStringList Grades()
{
    QStringList out;
    const DbValue<RowSet> read = Db::select(Scores::TermGrades(2, "A"));
    for (int r = 0; read && r < read->rowCount(); ++r)
        out << QStringLiteral("%1 %2 %3")
                   .arg(read->text(r, "StudentID"), read->text(r, "SubjectCode"), read->text(r, "Score"));
    out.sort();
    return out;
}

} // namespace

class StatisticsSheetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::applyLook(); }
    void init() { UserSettings::SetShowPlaces(true); }

    // Sorted by 语文 and filtered to 55–100: the rows on show in their order,
    // their marks as colours, the legend, the places and the figures.
    void tableAsItStands()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        Statistics w;
        w.child<QComboBox>("cmbSubj")->setCurrentText(S("语文"));
        w.child<QLineEdit>("MaskEdit1")->setText("55");
        w.child<QPushButton>("cmdFilter")->click();
        QTemporaryDir dir;
        const QString path = dir.filePath("stats.xlsx");
        QCOMPARE(w.exportTo(dialogs, path), S("2024-2025学年第一学期_高一(1)班_成绩统计.xlsx"));
        QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.join('\n')));

        const QVariantMap seen = RunScriptJson("read_workbook.py", {path}).toMap();
        const QVariantMap cells = seen.value("cells").toMap();
        auto cell = [&](const char* ref) { return cells.value(QLatin1String(ref)).toMap(); };
        auto value = [&](const char* ref) { return cell(ref).value("value").toString(); };
        QCOMPARE(value("A1"), S("2024-2025学年第一学期 高一(1)班 成绩统计"));
        QCOMPARE(seen.value("freeze").toString(), QStringLiteral("A4"));
        QCOMPARE(value("A2"), S("颜色标示说明："));
        QCOMPARE(cell("B2").value("font").toString(), QStringLiteral("FF0000FF"));
        QCOMPARE(cell("C2").value("font").toString(), QStringLiteral("FFFF0000"));
        QCOMPARE(cell("D2").value("fill").toString(), QStringLiteral("FFB7E9C2"));
        QStringList header;
        for (const char* ref : {"A3", "B3", "C3", "D3", "E3", "F3", "G3", "H3"})
            header << value(ref);
        QCOMPARE(header, (QStringList{S("姓名"), S("学号"), S("语文"), S("数学"), S("总分"), S("上学期总分"),
                                      S("名次"), S("名次变化")}));

        // 王五 (95) before 张三 (60.0); 李四 and 赵六 are hidden.
        QCOMPARE(value("A4"), S("王五"));
        QCOMPARE(cell("A4").value("font").toString(), QStringLiteral("FFFF0000"));
        QCOMPARE(cell("H4").value("fill").toString(), QStringLiteral("FFB7E9C2"));
        QCOMPARE(cell("B4").value("type").toString(), QStringLiteral("str"));
        QCOMPARE(cell("B4").value("format").toString(), QStringLiteral("@"));
        QCOMPARE(cell("E4").value("value").toDouble(), 183.0);
        QCOMPARE(cell("G4").value("type").toString(), QStringLiteral("int"));
        QCOMPARE(value("A5"), S("张三"));
        QCOMPARE(value("B5"), S("0012"));
        QCOMPARE(cell("C5").value("value").toDouble(), 59.96); // the stored score, shown as 60.0
        QCOMPARE(cell("C5").value("format").toString(), QStringLiteral("0.0"));
        QVERIFY(cell("A5").value("font").isNull() || cell("A5").value("font").toString() == "FF000000");
        QVERIFY(!cells.contains("A7") || value("A7") != S("李四"));

        // The figures of the whole class under a blank line.
        QVERIFY(!cells.contains("A6"));
        QCOMPARE(value("A7"), S("参考人数"));
        QCOMPARE(cell("C7").value("value").toInt(), 3);
        QCOMPARE(value("A11"), S("及格率"));
        QCOMPARE(cell("C11").value("format").toString(), QStringLiteral("0.0%"));
        QCOMPARE(cell("C11").value("value").toDouble(), 0.667);
    }

    void placesFollowTheirCheckbox()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        Statistics w;
        w.child<QCheckBox>("chkPlaces")->click();
        QTemporaryDir dir;
        const QString path = dir.filePath("stats.csv");
        w.exportTo(dialogs, path);
        const Sheets::Table read = *Sheets::ReadSheet(path);
        QCOMPARE(read.row(2).size(), 6);
        QCOMPARE(read.cell(2, 5).text(), S("上学期总分"));
    }

    // The export read back as the class's scores changes nothing; into the
    // class without its grades it brings them all back.
    void readsBackAsScores()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        Statistics w;
        QTemporaryDir dir;
        const QString path = dir.filePath("stats.xlsx");
        w.exportTo(dialogs, path);
        const Sheets::Table sheet = *Sheets::ReadSheet(path);
        const ScoreTarget target{2, "A", S("高一(1)班")};

        const DbValue<ScoreImport> same = PlanScoreImport(sheet, target);
        QVERIFY(!same->preview.hasProblems());
        QCOMPARE(same->preview.rows.size(), 4);
        QVERIFY(same->changes.isEmpty());

        const QStringList before = Grades();
        db.exec("delete from TGrade where TermCode=2 and ClassCode='A'");
        const DbValue<ScoreImport> back = PlanScoreImport(sheet, target);
        QVERIFY(!back->preview.hasProblems());
        QCOMPARE(back->preview.scoresAdded, 6);
        QCOMPARE(*StoreScoreImport(*back), Stored::Done);
        QCOMPARE(Grades(), before);
    }

    void comparisonAsItStands()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        TfrmClassCompare w;
        QVERIFY(w.ReadyData());
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        Command(&w, "mnuExportTable")->trigger();
        QCOMPARE(dialogs.messages, QStringList{TransferText::ChooseTerm});

        ClickNode(w.tree(), TermNode(w.tree(), 1));
        QTemporaryDir dir;
        const QString path = dir.filePath("compare.xlsx");
        dialogs.files.push_back(path);
        Command(&w, "mnuExportTable")->trigger();
        QCOMPARE(QFileInfo(dialogs.fileRequests.last().fileName).fileName(),
                 S("2024-2025学年第一学期_班级成绩对比.xlsx"));
        const Sheets::Table read = *Sheets::ReadSheet(path);
        QCOMPARE(read.cell(0, 0).text(), S("2024-2025学年第一学期 班级成绩对比"));
        QCOMPARE(read.cell(1, 0).text(), S("班级"));
        QCOMPARE(read.row(1).size(), w.model()->columnCount());
        QCOMPARE(read.rowCount(), 2 + w.model()->rowCount());
        // Each cell as the view shows it: figures as numbers, the rest as text.
        for (int r = 0; r < w.model()->rowCount(); ++r) {
            for (int c = 0; c < w.model()->columnCount(); ++c) {
                const Sheets::Cell shown = ShownCell(w.model()->index(r, c).data().toString());
                const Sheets::Cell& cell = read.cell(r + 2, c);
                QCOMPARE(cell.type(), shown.type());
                if (shown.type() == Sheets::Cell::Type::Number)
                    QVERIFY(std::abs(cell.number() - shown.number()) < 1e-9);
                else
                    QCOMPARE(cell.text(), shown.text());
            }
        }
        QCOMPARE(read.cell(2, 0).text(), S("高一(1)班"));
    }

private:
    TempUserSettings m_settings;
};

QTEST_MAIN(StatisticsSheetTest)
#include "tst_statisticssheet.moc"
