// The spreadsheet commands of the roster and 成绩快速录入: the
// button, the file dialogs, the preview, the confirmation and the reload.
#include "TestSupport.h"

#include "../exchange/SheetBuilder.h"

#include "data/QueryObject.h"
#include "exchange/Exports.h"
#include "exchange/ImportTexts.h"
#include "forms/CommandButton.h"
#include "forms/ListForm.h"
#include "forms/UserSettings.h"
#include "scores/ScoreSheetModel.h"
#include "scores/uGrade.h"
#include "scores/uQuickEntry.h"
#include "sheets/Outcome.h"
#include "sheets/SheetFile.h"
#include "sheets/XlsxWriter.h"
#include "shell/Application.h"
#include "students/uStudent.h"
#include "transfer/ImportFlow.h"
#include "transfer/ImportPreviewDialog.h"
#include "transfer/PreviewModel.h"
#include "transfer/SheetButton.h"
#include "transfer/WindowProgress.h"
#include "widgets/DataGrid.h"
#include "widgets/TermClassTree.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QVariant Empty;

QString S(const char* text)
{
    return QString::fromUtf8(text);
}

void addSchool(const TempDatabase& db)
{
    db.addTerm(1, S("2024-2025学年第一学期"));
    db.addClass("A", S("高一(1)班"));
    db.addClass("B", S("高一/2班"));
    db.addSubject("CN", S("语文"));
    db.addSubject("MA", S("数学"));
    db.activate(1, "A");
    db.plan(1, "A", "CN");
    db.plan(1, "A", "MA");
    const int zhang = db.addStudent("A", S("张三"), "0012");
    db.addStudent("A", S("李四"), "20240002");
    db.addGrade(1, "A", zhang, "CN", 88);
}

// A command of the window's drop-down buttons, by name.
QAction* Command(QWidget* window, const char* name)
{
    return window->findChild<QAction*>(name);
}

// Answers the preview dialog when it opens: looks at it, then imports or
// cancels.
void OnPreview(std::function<void(TfrmImportPreview*)> look, bool import)
{
    OnNextModal([look, import](QWidget* modal) {
        auto* preview = qobject_cast<TfrmImportPreview*>(modal);
        if (!preview) { // the progress of reading the sheet: the preview follows
            OnPreview(look, import);
            return;
        }
        look(preview);
        if (import)
            preview->importButton()->click();
        // Refused or answered No: the preview stays open until cancelled.
        if (preview->isVisible())
            preview->reject();
    });
}

QStringList PreviewTexts(TfrmImportPreview* preview, int column)
{
    QStringList texts;
    for (int r = 0; r < preview->model()->rowCount(); ++r)
        texts << preview->model()->index(r, column).data().toString();
    return texts;
}

} // namespace

class SheetWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::applyLook(); }

    // The roster keeps its size; its one added button "更多" holds the
    // spreadsheet commands.
    // 学生成绩录入, whose buttons stand at the bar's right edge, gains none.
    void commandsRightOfTheLastControl()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        roster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&roster));
        QCOMPARE(roster.size(), QSize(632, 414)); // the client area of its 640 x 441 frame
        for (const char* name : {"mnuExportClass", "mnuExportSchool", "mnuImport", "mnuTemplate"})
            QVERIFY2(roster.cmdMore->menu()->findChild<QAction*>(name), name);

        TfrmGrade grade;
        QVERIFY(grade.ReadyData());
        const auto* close = grade.findChild<QPushButton*>("cmdClose");
        QVERIFY(close);
        QCOMPARE(close->parentWidget()->findChildren<QPushButton*>().size(), 3);
    }

    // Export, then import the file into another class: the preview, one
    // question with the counts, the message, the reloaded list; the
    // proposed name and the remembered folder.
    void rosterOutAndIn()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        QTemporaryDir dir;
        const QString path = dir.filePath("roster.xlsx");
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());

        dialogs.files.push_back(path);
        Command(&roster, "mnuExportClass")->trigger();
        QCOMPARE(dialogs.fileRequests.size(), 1);
        QCOMPARE(QFileInfo(dialogs.fileRequests.at(0).fileName).fileName(), S("高一(1)班_学生名单.xlsx"));
        QVERIFY(QFile::exists(path));
        QCOMPARE(UserSettings::SheetFolder(), QFileInfo(path).absolutePath());
        db.exec("delete from TGrade");
        db.exec("delete from TStudent");

        roster.DBGridEh1->selectRow(1); // 高一/2班
        QCOMPARE(roster.dsQuery->fieldText("ClassCode"), QStringLiteral("B"));
        dialogs.files.push_back(path);
        dialogs.answers.push_back(true);
        QStringList actions;
        OnPreview(
            [&](TfrmImportPreview* p) {
                actions = PreviewTexts(p, 4);
                QVERIFY(p->importButton()->isEnabled());
                QVERIFY(!p->sheets()->isVisible());
                QCOMPARE(p->summary()->text(), S("共2行：新增2人，更新0人，无变化0人"));
            },
            true);
        Command(&roster, "mnuImport")->trigger();
        QCOMPARE(actions, (QStringList{ImportText::Added, ImportText::Added}));
        QCOMPARE(dialogs.fileRequests.last().directory, QFileInfo(path).absolutePath());
        QCOMPARE(dialogs.questions, QStringList{S("将新增学生2人，更新0人，确认导入吗？")});
        QCOMPARE(dialogs.messages, QStringList{TransferText::Done});
        QCOMPARE(roster.dsStudent->rowCount(), 2);
        QCOMPARE(db.count("TStudent", "ClassCode='B'"), 2);

        // A class name with a character no file name can hold.
        Command(&roster, "mnuExportClass")->trigger(); // cancelled: no file queued
        QCOMPARE(QFileInfo(dialogs.fileRequests.last().fileName).fileName(), S("高一-2班_学生名单.xlsx"));
    }

    // A preview with problems cannot be imported; No to the question, or
    // cancelling the preview, stores nothing; an unreadable file is named.
    void nothingStoredUnlessConfirmed()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        QTemporaryDir dir;
        const QString bad = dir.filePath("bad.csv");
        QVERIFY(Sheets::WriteSheet(bad,
                                   SheetOf({{S("姓名"), S("学号")}, {S("新人"), "20-1"}, {S("好人"), "7"}})));
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());

        dialogs.files.push_back(bad);
        OnPreview(
            [&](TfrmImportPreview* p) {
                QVERIFY(!p->importButton()->isEnabled());
                QVERIFY(p->problemsOnly()->isChecked());
                QCOMPARE(p->model()->rowCount(), 1);
                QCOMPARE(PreviewTexts(p, 5), QStringList{S("学号“20-1”不全是数字")});
                p->importButton()->click(); // disabled: nothing happens
            },
            false);
        Command(&roster, "mnuImport")->trigger();
        QVERIFY(dialogs.questions.isEmpty());

        const QString good = dir.filePath("good.csv");
        QVERIFY(Sheets::WriteSheet(good, SheetOf({{S("姓名"), S("学号")}, {S("好人"), "7"}})));
        dialogs.files.push_back(good);
        dialogs.answers.push_back(false);
        OnPreview([](TfrmImportPreview*) {}, true);
        Command(&roster, "mnuImport")->trigger();
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(db.count("TStudent"), 2);
        QVERIFY(dialogs.messages.isEmpty());

        const QString damaged = dir.filePath("damaged.xlsx");
        QFile file(damaged);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("PK\x03\x04 not really");
        file.close();
        dialogs.files.push_back(damaged);
        Command(&roster, "mnuImport")->trigger();
        QCOMPARE(dialogs.messages, QStringList{Sheets::Msg::Damaged});
        QCOMPARE(db.count("TStudent"), 2);
    }

    // A workbook of several sheets: the preview offers them and follows the choice.
    void sheetChosenInThePreview()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        QTemporaryDir dir;
        const QString path = dir.filePath("two.xlsx");
        Sheets::Table notes(S("说明"));
        notes.appendRow({Sheets::Cell::text(S("请看第二页"))});
        Sheets::Table list = SheetOf({{S("姓名"), S("学号")}, {S("新人"), "20249"}});
        list.setName(S("名单"));
        QVERIFY(Sheets::WriteXlsx(path, {notes, list}));
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        dialogs.files.push_back(path);
        dialogs.answers.push_back(true);
        OnPreview(
            [&](TfrmImportPreview* p) {
                QVERIFY(p->sheets()->isVisibleTo(p));
                QVERIFY(!p->importButton()->isEnabled());
                QCOMPARE(PreviewTexts(p, 5), QStringList{ImportText::NoHeader});
                p->sheets()->setCurrentText(S("名单"));
                QVERIFY(p->importButton()->isEnabled());
                QCOMPARE(PreviewTexts(p, 2), QStringList{S("新人")});
            },
            true);
        Command(&roster, "mnuImport")->trigger();
        QCOMPARE(db.count("TStudent", "SName='新人' and ClassCode='A'"), 1);
    }

    // Scores from 成绩快速录入: the class shown, export and import, the
    // template; nothing shown asks for a class first.
    void scoresOfTheClassShown()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        QTemporaryDir dir;
        TfrmQuickEntry grade;
        QVERIFY(grade.ReadyData());
        grade.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grade));

        Command(&grade, "mnuImport")->trigger();
        QCOMPARE(dialogs.messages, QStringList{TransferText::ChooseClass});
        QVERIFY(dialogs.fileRequests.isEmpty());
        dialogs.clear();

        ClickNode(grade.tree(), ClassNode(grade.tree(), 0, 0));
        const QString path = dir.filePath("scores.xlsx");
        dialogs.files.push_back(path);
        Command(&grade, "mnuExportScores")->trigger();
        QCOMPARE(QFileInfo(dialogs.fileRequests.last().fileName).fileName(),
                 S("2024-2025学年第一学期_高一(1)班_成绩.xlsx"));
        const Sheets::Table exported = *Sheets::ReadSheet(path);
        QCOMPARE(exported.cell(1, 2).text(), S("语文"));

        // The teacher's marks: 李四 gets both, 张三's 语文 is replaced.
        const QString marks = dir.filePath("marks.xlsx");
        QVERIFY(Sheets::WriteSheet(marks, SheetOf({{S("学号"), S("姓名"), S("语文"), S("数学")},
                                                   {"0012", S("张三"), 91, Empty},
                                                   {"20240002", S("李四"), 75, 80.5}})));
        dialogs.files.push_back(marks);
        dialogs.answers.push_back(true);
        OnPreview(
            [](TfrmImportPreview* p) {
                QCOMPARE(PreviewTexts(p, 4), (QStringList{S("成绩替换1项"), S("新增成绩2项")}));
            },
            true);
        Command(&grade, "mnuImport")->trigger();
        QCOMPARE(dialogs.questions.last(), S("将新增成绩2项，替换成绩1项，确认导入吗？"));
        QCOMPARE(dialogs.messages.last(), TransferText::Done);
        QCOMPARE(db.count("TGrade"), 3);
        // Shown at once: 张三's 语文 and 李四's 数学.
        QCOMPARE(grade.sheet()->index(0, ScoreSheetModel::FirstSubjectColumn).data().toString(), S("91.0"));
        QCOMPARE(grade.sheet()->index(1, ScoreSheetModel::FirstSubjectColumn + 1).data().toString(),
                 S("80.5"));
        QCOMPARE(db.scalar("select Score from TGrade where SubjectCode='CN' and StudentID="
                           "(select ID from TStudent where SName='张三')")
                     .toDouble(),
                 91.0);

        dialogs.files.push_back(dir.filePath("template.xlsx"));
        Command(&grade, "mnuTemplate")->trigger();
        const Sheets::Table blank = *Sheets::ReadSheet(dir.filePath("template.xlsx"));
        QCOMPARE(blank.row(1).size(), 5);
        QVERIFY(blank.cell(2, 2).isEmpty());
    }

    // 成绩快速录入: the button at the foot; an import shows its scores at once.
    void quickEntryScores()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        QTemporaryDir dir;
        TfrmQuickEntry quick;
        QVERIFY(quick.ReadyData());
        quick.show();
        QVERIFY(QTest::qWaitForWindowExposed(&quick));
        auto* button = quick.findChild<SheetButton*>("cmdSheets");
        QVERIFY(button && button->isVisible());
        ClickNode(quick.tree(), ClassNode(quick.tree(), 0, 0));

        const QString marks = dir.filePath("marks.csv");
        QVERIFY(Sheets::WriteSheet(marks, SheetOf({{S("学号"), S("数学")}, {"0012", 66.5}})));
        dialogs.files.push_back(marks);
        dialogs.answers.push_back(true);
        OnPreview([](TfrmImportPreview*) {}, true);
        Command(&quick, "mnuImport")->trigger();
        QCOMPARE(dialogs.messages, QStringList{TransferText::Done});
        const QModelIndex cell = quick.sheet()->index(0, ScoreSheetModel::FirstSubjectColumn + 1);
        QCOMPARE(cell.data().toString(), S("66.5"));

        const QString path = dir.filePath("quick.xlsx");
        dialogs.files.push_back(path);
        Command(&quick, "mnuExportScores")->trigger();
        const Sheets::Table exported = *Sheets::ReadSheet(path);
        QCOMPARE(exported.cell(2, 3).number(), 66.5);
        QCOMPARE(exported.cell(2, 4).number(), 154.5); // 总分: 88 + 66.5
    }

    // Storing that takes longer than the threshold shows its progress, and
    // cancelling it stores nothing.
    void cancellingTheProgressStoresNothing()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        addSchool(db);
        QTemporaryDir dir;
        const QString path = dir.filePath("many.csv");
        QVector<QVariantList> rows{{S("姓名"), S("学号")}};
        for (int i = 0; i < 1000; ++i)
            rows.append({S("学生%1").arg(i), QString::number(50000 + i)});
        QVERIFY(Sheets::WriteSheet(path, SheetOf(rows)));
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());

        WindowProgress::setShowAfter(0);
        bool sawProgress = false;
        auto* watcher = new QTimer(this);
        connect(watcher, &QTimer::timeout, this, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* progress = qobject_cast<QProgressDialog*>(w);
                if (progress && progress->isVisible() && progress->labelText() == TransferText::Storing) {
                    sawProgress = true;
                    progress->cancel();
                }
            }
        });
        watcher->start(1);
        dialogs.files.push_back(path);
        dialogs.answers.push_back(true);
        OnPreview([](TfrmImportPreview*) {}, true);
        Command(&roster, "mnuImport")->trigger();
        watcher->stop();
        WindowProgress::setShowAfter(500);
        QVERIFY(sawProgress);
        QCOMPARE(dialogs.messages, QStringList{TransferText::Cancelled});
        QCOMPARE(db.count("TStudent"), 2);
    }

private:
    TempUserSettings m_settings; // the remembered folder in a file of the test's own
};

QTEST_MAIN(SheetWindowsTest)
#include "tst_sheetwindows.moc"
