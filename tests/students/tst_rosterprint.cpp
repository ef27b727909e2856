// The roster printed: its button, its PDF as poppler reads it, the proposed
// name and the remembered folder.
#include "PdfSupport.h"
#include "TestSupport.h"

#include "data/Messages.h"
#include "data/School.h"
#include "forms/CommandButton.h"
#include "forms/ListForm.h"
#include "print/PrintCommands.h"
#include "shell/Application.h"
#include "students/uStudent.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTest>

class RosterPrintTest : public QObject {
    Q_OBJECT

    TempUserSettings m_settings; // the remembered folder is the test's, not the user's
    QTemporaryDir m_out;

private slots:
    void initTestCase() { TApplication::applyLook(); }

    void thePrintingSharesTheDropDownRightOfClose()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        roster.show();
        QVERIFY(QTest::qWaitForWindowExposed(&roster));
        QPushButton* close = roster.buttons()->cmdClose;
        QPushButton* more = roster.cmdMore;
        QCOMPARE(more->text(), QStringLiteral("更多"));
        QStringList items;
        for (QAction* action : more->menu()->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
        QCOMPARE(items, (QStringList{"成绩走势", "-", "导出本班名单", "导出全校名单", "导入名单", "导出模板",
                                     "-", "打印", "打印预览", "导出PDF"}));
        // In the bar at its opening size, in the line of the buttons, right of
        // "关闭(&X)", which stays where the roster puts it.
        QCOMPARE(close->x(), 278);
        QCOMPARE(more->y(), close->y());
        QCOMPARE(more->x(), close->geometry().right() + 1 + 8);
        QVERIFY(more->geometry().right() < roster.buttons()->width() - 1);
        // Its caption whole beside the drop-down's arrow.
        QVERIFY(more->fontMetrics().horizontalAdvance(more->text()) + 20 <= more->width());

        roster.resize(roster.width() + 120, roster.height());
        QTRY_VERIFY(close->x() > 278);
        QCOMPARE(more->x(), close->geometry().right() + 1 + 8);
        QCOMPARE(roster.buttons()->cmdAppend->x(), close->x() - 248);
    }

    void theClassPrintsUnderTheSchoolsNameWithItsFlagsAsShown()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        QVERIFY(School::SetName(QStringLiteral("第一中学")));
        db.addClass(QStringLiteral("C1"), QStringLiteral("高一(1)班"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("高一/2:班"));
        db.addStudent(QStringLiteral("C1"), QStringLiteral("张三"), QStringLiteral("0012"));
        const int li = db.addStudent(QStringLiteral("C1"), QStringLiteral("李四"), QStringLiteral("0013"));
        db.exec(QStringLiteral("update TStudent set IsTY=1, HasWJ=1, IsActive=0, "
                               "WJContent='迟到三次' || char(13) || char(10) || '旷课一次', "
                               "Address='杭州市西湖区文三路一百号' where ID=%1")
                    .arg(li));
        db.addStudent(QStringLiteral("C2"), QStringLiteral("王五"));

        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        const QString pdf = m_out.filePath(QStringLiteral("roster.pdf"));
        dialogs.files.push_back(pdf);
        roster.printCommands->pdfAction()->trigger();
        QVERIFY(dialogs.messages.isEmpty());

        QCOMPARE(dialogs.fileRequests.size(), 1);
        const DialogProvider::FileRequest request = dialogs.fileRequests.first();
        QCOMPARE(request.title, QStringLiteral("导出PDF"));
        QCOMPARE(QFileInfo(request.fileName).fileName(), QStringLiteral("高一(1)班_学生基本资料.pdf"));
        QCOMPARE(request.defaultSuffix, QStringLiteral("pdf"));

        QCOMPARE(Pdf::PageCount(pdf), 1);
        const QString text = Pdf::Text(pdf, 1);
        QVERIFY(text.contains(QStringLiteral("第一中学 高一(1)班 学生基本资料")));
        QVERIFY(text.contains(QStringLiteral("共 2 人")));
        QVERIFY(text.contains(QStringLiteral("第 1 页 共 1 页")));
        const QString squeezed = Pdf::Squeezed(text);
        QVERIFY(squeezed.contains(
            QStringLiteral("姓名学号寝室家庭地址邮编家长家庭电话是否团员有否违纪记录违纪说明是否在校")));
        // The roster's order (by name) and its flags as the roster shows them.
        QVERIFY2(squeezed.contains(QStringLiteral("李四0013杭州市西湖区文三路一百号是有迟到三次旷课一次否")),
                 qPrintable(squeezed));
        QVERIFY(squeezed.contains(QStringLiteral("张三0012否无在校")));
        // 张 (U+5F20) sorts before 李 (U+674E), as in the roster's grid.
        QVERIFY(squeezed.indexOf(QStringLiteral("张三")) < squeezed.indexOf(QStringLiteral("李四")));
        QVERIFY(!text.contains(QStringLiteral("王五")));

        // The next export starts in the folder chosen, with the other class's
        // name made fit for a file name.
        roster.DBGridEh1->setFocus();
        QTest::keyClick(roster.DBGridEh1, Qt::Key_Down);
        QCOMPARE(roster.dsQuery->fieldText(QStringLiteral("ClassCode")), QStringLiteral("C2"));
        roster.printCommands->pdfAction()->trigger(); // cancelled
        QCOMPARE(dialogs.fileRequests.size(), 2);
        QCOMPARE(dialogs.fileRequests.last().directory, m_out.path());
        QCOMPARE(QFileInfo(dialogs.fileRequests.last().fileName).fileName(),
                 QStringLiteral("高一-2-班_学生基本资料.pdf"));

        // Print and preview take the same document.
        const QString printed = m_out.filePath(QStringLiteral("printed.pdf"));
        dialogs.printFiles.push_back(printed);
        roster.printCommands->printAction()->trigger();
        QVERIFY(Pdf::Text(printed, 1).contains(QStringLiteral("第一中学 高一/2:班 学生基本资料")));
        QVERIFY(Pdf::Text(printed, 1).contains(QStringLiteral("王五")));
        roster.printCommands->previewAction()->trigger();
        QCOMPARE(dialogs.previewPages, QList<int>{1});
    }

    void aLongClassTakesSeveralPagesEachStudentOnce()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        for (int s = 0; s < 150; ++s)
            db.addStudent(QStringLiteral("C1"), QStringLiteral("学生%1").arg(s, 3, 10, QLatin1Char('0')),
                          QString::number(1000 + s));
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        const QString pdf = m_out.filePath(QStringLiteral("long.pdf"));
        dialogs.files.push_back(pdf);
        roster.printCommands->pdfAction()->trigger();
        const int pages = Pdf::PageCount(pdf);
        QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));
        const QString all = Pdf::Text(pdf);
        for (int s = 0; s < 150; ++s)
            QCOMPARE(all.count(QStringLiteral("学生%1").arg(s, 3, 10, QLatin1Char('0'))), 1);
        for (int p = 1; p <= pages; ++p) {
            const QString page = Pdf::Text(pdf, p);
            // No school name set: the title starts with the class.
            QVERIFY(page.startsWith(QStringLiteral("一班 学生基本资料")));
            QVERIFY(Pdf::Squeezed(page).contains(QStringLiteral("姓名学号寝室")));
            QVERIFY(page.contains(QStringLiteral("第 %1 页 共 %2 页").arg(p).arg(pages)));
        }
    }

    void nothingToPrintOrAFailedReadAsksNothing()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        {
            TfrmStudent roster; // no class at all
            QVERIFY(roster.ReadyData());
            roster.printCommands->pdfAction()->trigger();
            roster.printCommands->printAction()->trigger();
            roster.printCommands->previewAction()->trigger();
            QVERIFY(dialogs.fileRequests.isEmpty());
            QCOMPARE(dialogs.printDialogs, 0);
            QVERIFY(dialogs.previewPages.isEmpty());
            QVERIFY(dialogs.messages.isEmpty());
        }
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        db.exec(QStringLiteral("alter table TStudent rename to TStudentGone"));
        dialogs.files.push_back(m_out.filePath(QStringLiteral("never.pdf")));
        roster.printCommands->pdfAction()->trigger();
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
        QVERIFY(dialogs.fileRequests.isEmpty());
        QVERIFY(!QFile::exists(m_out.filePath(QStringLiteral("never.pdf"))));
    }

    void aFileThatCannotBeWrittenIsReported()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.addClass(QStringLiteral("C1"), QStringLiteral("一班"));
        TfrmStudent roster;
        QVERIFY(roster.ReadyData());
        dialogs.files.push_back(m_out.filePath(QStringLiteral("no/such/folder.pdf")));
        roster.printCommands->pdfAction()->trigger();
        QCOMPARE(dialogs.messages, QStringList{PrintMsg::PdfFailed});
    }
};

QTEST_MAIN(RosterPrintTest)
#include "tst_rosterprint.moc"
