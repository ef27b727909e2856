// The application shell: Enter navigation in dialogs, the message seam, the
// top-level error report, and the main window's menu and toolbar.
#include "TestSupport.h"

#include "data/Messages.h"
#include "data/SqlText.h"
#include "data/uDM.h"
#include "forms/EditForm.h"
#include "shell/Application.h"
#include "shell/uAbout.h"
#include "shell/uMain.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace {

// A dialog of the usual shape: two buttons first in tab order, then fields.
class SmallDialog : public TEditForm {
public:
    SmallDialog()
    {
        resize(250, 160);
        code = new QLineEdit(this);
        code->setObjectName("EditCode");
        code->setGeometry(64, 12, 166, 20);
        memo = new QPlainTextEdit(this);
        memo->setGeometry(64, 40, 166, 47);
        name = new QLineEdit(this);
        name->setObjectName("EditName");
        name->setGeometry(64, 92, 166, 20);
        code->setFocus();
    }
    bool ReadyData() override { return true; }
    bool SaveData() override
    {
        ++saves;
        if (failSave)
            throw ConversionError("'8.5.5' is not a valid floating point value");
        return true;
    }
    QLineEdit* code;
    QPlainTextEdit* memo;
    QLineEdit* name;
    int saves = 0;
    bool failSave = false;
};

void enter(QWidget* w, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QTest::keyClick(w->window()->focusWidget(), Qt::Key_Return, mods);
    Settle();
}

} // namespace

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void enterMovesThroughTheDialog();
    void escCancelsAndEnterPressesOnlyFocusedButtons();
    void failuresReachTheTopLevelReport();
    void questionsAnswerNoWhenClosed();
    void mainWindowHasTheMenuAndToolbar();
    void startsWithoutTheDataFile();
};

void ShellTest::enterMovesThroughTheDialog()
{
    SmallDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    QCOMPARE(d.focusWidget(), d.code);
    enter(&d);
    QCOMPARE(d.focusWidget(), d.memo); // the move was posted and has run
    enter(&d);
    QCOMPARE(d.focusWidget(), d.memo); // Enter alone is a line break in a memo
    QCOMPARE(d.memo->toPlainText(), QString("\n"));
    enter(&d, Qt::ControlModifier);
    QCOMPARE(d.focusWidget(), d.name);
    QCOMPARE(d.memo->toPlainText(), QString("\n"));
    enter(&d); // from the last field back round to the first control: "确认(&E)"
    QCOMPARE(d.focusWidget(), d.ensureButton());
    QCOMPARE(d.saves, 0); // no default button: nothing was pressed on the way
    enter(&d);
    QCOMPARE(d.saves, 1);
    QVERIFY(!d.isVisible());
    QVERIFY(!d.NotStored);
}

void ShellTest::escCancelsAndEnterPressesOnlyFocusedButtons()
{
    SmallDialog d;
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    for (QPushButton* b : d.findChildren<QPushButton*>())
        QVERIFY(!b->autoDefault() && !b->isDefault());
    d.code->setText("x");
    QTest::keyClick(d.code, Qt::Key_Escape);
    QVERIFY(!d.isVisible());
    QVERIFY(d.NotStored);
    QCOMPARE(d.saves, 0);
}

void ShellTest::failuresReachTheTopLevelReport()
{
    ScriptedDialogs dialogs;
    SmallDialog d;
    d.failSave = true;
    d.show();
    QVERIFY(QTest::qWaitForWindowActive(&d));
    d.ensureButton()->setFocus();
    enter(&d);
    QCOMPARE(dialogs.errors, QStringList{"'8.5.5' is not a valid floating point value"});
    QVERIFY(d.isVisible()); // the program and the dialog go on
    QVERIFY(d.NotStored);
    // The same report catches a failure that escapes an event handler unwrapped.
    struct Thrower : QObject {
        bool event(QEvent* e) override
        {
            if (e->type() == QEvent::User)
                throw ConversionError("'12a' is not a valid integer value");
            return QObject::event(e);
        }
    } thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    Settle();
    QCOMPARE(dialogs.errors.last(), QString("'12a' is not a valid integer value"));
    d.reject();
}

void ShellTest::questionsAnswerNoWhenClosed()
{
    WidgetDialogProvider real;
    auto answerWith = [&real](const std::function<void(QMessageBox*)>& act) {
        OnNextModal([act](QWidget* w) { act(qobject_cast<QMessageBox*>(w)); });
        return real.question("删除吗？");
    };
    QVERIFY(!answerWith([](QMessageBox* box) { box->close(); }));
    QVERIFY(!answerWith([](QMessageBox* box) { QTest::keyClick(box, Qt::Key_Escape); }));
    QVERIFY(answerWith([](QMessageBox* box) {
        QCOMPARE(box->windowTitle(), QString("Warning"));
        QStringList texts;
        for (QAbstractButton* b : box->buttons())
            texts << b->text();
        texts.sort();
        QCOMPARE(texts, (QStringList{"&No", "&Yes"}));
        box->buttons().at(0)->text() == "&Yes" ? box->buttons().at(0)->click()
                                               : box->buttons().at(1)->click();
    }));
    // The plain box: the application title, no icon, one button.
    OnNextModal([](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QCOMPARE(box->windowTitle(), QString("学生成绩管理系统"));
        QCOMPARE(box->icon(), QMessageBox::NoIcon);
        QCOMPARE(box->buttons().size(), 1);
        QCOMPARE(box->text(), QString("a\nb"));
        box->accept();
    });
    real.message("a\rb");
}

void ShellTest::mainWindowHasTheMenuAndToolbar()
{
    ScriptedDialogs dialogs;
    TempDatabase db;
    const QString appPath = AppPath;
    TfrmMain main;
    AppPath = appPath; // the test's program directory, not the test binary's
    QCOMPARE(main.windowTitle(), QString("Quorvel学生成绩管理系统"));
    QStringList menus;
    for (QAction* a : main.menuBar()->actions())
        menus << a->text();
    QCOMPARE(menus, (QStringList{"系统(&S)", "基本信息(&B)", "录入(&R)", "查询/统计(&Q)", "帮助(&H)"}));
    auto items = [&main](int menu) {
        QStringList texts;
        for (QAction* a : main.menuBar()->actions().at(menu)->menu()->actions())
            texts << (a->isSeparator() ? QString("-") : a->objectName() + ":" + a->text());
        return texts;
    };
    QCOMPARE(items(0),
             (QStringList{"mnuBak:备份数据库(&B)", "mnuRestore:还原数据库(&R)", "mnuSchool:学校信息(&I)", "-",
                          "mnuClose:退出(&X)"}));
    QCOMPARE(items(1),
             (QStringList{"mnuKM:科目信息", "mnuXQ:学期信息(&T)", "mnuBJ:班级信息(&C)", "-",
                          "N5:学期/班级对应设置", "N6:学期/班级/科目对应设置", "-", "mnuIsY:成绩评优标准"}));
    QCOMPARE(items(2), (QStringList{"mnuSBase:学生基本信息录入(&S)", "-", "mnuEditCJ:成绩录入(&R)",
                                    "mnuQuickEntry:成绩快速录入(&K)"}));
    QCOMPARE(items(3), (QStringList{"mnuGCount:成绩统计(&G)", "mnuClassCompare:班级成绩对比(&C)"}));
    QCOMPARE(items(4), (QStringList{"mnuGuide:操作向导(&W)", "A1:关于(&A)"}));

    auto* toolbar = main.findChild<QToolBar*>("ToolBar1");
    QVERIFY(toolbar);
    QStringList buttons;
    for (QAction* a : toolbar->actions())
        if (!a->isSeparator())
            buttons << a->objectName() + ":" + a->text();
    QCOMPARE(buttons, (QStringList{"tbHis:成绩录入", "TBStop:学生基本信息录入", "ToolButton1:成绩统计",
                                   "tbClose:退出"}));
    QCOMPARE(toolbar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(toolbar->iconSize(), QSize(16, 16));
    // The captions stand under the icons; the buttons show no tool tips.
    QWidget* his = toolbar->widgetForAction(main.findChild<QAction*>("tbHis"));
    main.show();
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), his->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(his, &hover);
    QVERIFY(!QToolTip::isVisible());

    // The About dialog opens from the menu and closes with its one button.
    bool seen = false;
    OnNextModal([&seen](QWidget* w) {
        seen = w->windowTitle() == "关于.." && Button(w, "Button1");
        Button(w, "Button1")->click();
    });
    QVERIFY(TriggerMenuItem(&main, "A1"));
    QVERIFY(seen);
}

void ShellTest::startsWithoutTheDataFile()
{
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    TfrmMain main;
    AppPath = dir.path() + "/"; // as if the program stood there, without its data file
    TDM dm(AppPath + "db/Student.dat");
    TApplication::dataModuleCreated(dm);
    QCOMPARE(dialogs.messages, QStringList{Msg::ConnectFailed});
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));

    // A window that cannot read reports it and does not open.
    bool opened = false;
    OnNextModal(
        [&opened](QWidget* w) {
            opened = true;
            CloseModal(w);
        },
        300);
    QVERIFY(TriggerMenuItem(&main, "mnuXQ"));
    Settle(400);
    QVERIFY(!opened);
    QCOMPARE(dialogs.messages, (QStringList{Msg::ConnectFailed, Msg::ReadFailed}));

    // Once the file is back, the next window opens without a restart.
    QVERIFY(TDM::createDatabase(dir.path() + "/db/Student.dat"));
    QString caption;
    OnNextModal([&caption](QWidget* w) {
        caption = w->windowTitle();
        CloseModal(w);
    });
    QVERIFY(TriggerMenuItem(&main, "mnuXQ"));
    QCOMPARE(caption, QString("学期信息维护"));
    QCOMPARE(dialogs.messages.size(), 2);
}

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    ShellTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell.moc"
