#include "shell/uMain.h"

#include "forms/UserSettings.h"
#include "forms/uPub.h"
#include "guide/OperationGuide.h"
#include "plan/uClassToSubject.h"
#include "plan/uTermToClass.h"
#include "reference/uClass.h"
#include "reference/uSchool.h"
#include "reference/uSubject.h"
#include "reference/uTerm.h"
#include "scores/uGrade.h"
#include "scores/uHonoursStd.h"
#include "scores/uQuickEntry.h"
#include "shell/uAbout.h"
#include "shell/uDemoSchool.h"
#include "statistics/uClassCompare.h"
#include "statistics/uGradeCount.h"
#include "students/uStudent.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

namespace {
// Launchers return whether their window opened; the main window ignores it.
template <bool (*Launcher)()> void launch()
{
    Launcher();
}

// The toolbar's captions stand under its icons; its buttons show no tool tips.
class NoToolTips : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return event->type() == QEvent::ToolTip || QObject::eventFilter(watched, event);
    }
};
} // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Quorvel学生成绩管理系统"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.png")));
    m_guide = new TOperationGuide(this);
    m_guide->setObjectName(QStringLiteral("MDIClient"));
    setCentralWidget(m_guide);
    buildMenu();
    buildToolBar();
    FormCreate();
}

TfrmMain::~TfrmMain()
{
    // The choice is written once, when the window goes: writing the user's
    // file waits for the disk, which would hold up the guide's appearing.
    if (m_guideItem->isChecked() != m_guideRemembered)
        UserSettings::SetShowGuide(m_guideItem->isChecked());
}

QMdiArea* TfrmMain::mdiArea() const
{
    return m_guide;
}

void TfrmMain::FormCreate()
{
    AppPath = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
}

// Whatever a command did to the school, the guide shows it once the command
// is over: a modal window has closed by then.
QAction* TfrmMain::addItem(QMenu* menu, const QString& text, const QString& name,
                           std::function<void()> command)
{
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, Guarded([this, command = std::move(command)](bool) {
                command();
                refreshGuide();
            }));
    return action;
}

void TfrmMain::addItem(QMenu* menu, const QString& text, const QString& name, void (TfrmMain::*slot)())
{
    addItem(menu, text, name, [this, slot] { (this->*slot)(); });
}

void TfrmMain::buildMenu()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* system = bar->addMenu(QStringLiteral("系统(&S)"));
    addItem(system, QStringLiteral("备份数据库(&B)"), QStringLiteral("mnuBak"), &TfrmMain::mnuBakClick);
    addItem(system, QStringLiteral("还原数据库(&R)"), QStringLiteral("mnuRestore"),
            &TfrmMain::mnuRestoreClick);
    addItem(system, QStringLiteral("学校信息(&I)"), QStringLiteral("mnuSchool"), &launch<ShowSchool>);
    system->addSeparator();
    addItem(system, QStringLiteral("退出(&X)"), QStringLiteral("mnuClose"), &TfrmMain::mnuCloseClick);

    QMenu* base = bar->addMenu(QStringLiteral("基本信息(&B)"));
    addItem(base, QStringLiteral("科目信息"), QStringLiteral("mnuKM"), &launch<ShowSubject>);
    addItem(base, QStringLiteral("学期信息(&T)"), QStringLiteral("mnuXQ"), &launch<ShowTerm>);
    addItem(base, QStringLiteral("班级信息(&C)"), QStringLiteral("mnuBJ"), &launch<ShowClass>);
    base->addSeparator();
    addItem(base, QStringLiteral("学期/班级对应设置"), QStringLiteral("N5"), &launch<ShowTermToClass>);
    addItem(base, QStringLiteral("学期/班级/科目对应设置"), QStringLiteral("N6"),
            &launch<ShowClassToSubject>);
    base->addSeparator();
    addItem(base, QStringLiteral("成绩评优标准"), QStringLiteral("mnuIsY"), &launch<ShowHonoursStd>);

    QMenu* entry = bar->addMenu(QStringLiteral("录入(&R)"));
    addItem(entry, QStringLiteral("学生基本信息录入(&S)"), QStringLiteral("mnuSBase"), &launch<ShowStudent>);
    entry->addSeparator();
    addItem(entry, QStringLiteral("成绩录入(&R)"), QStringLiteral("mnuEditCJ"), &launch<ShowGrade>);
    QAction* quickEntry = addItem(entry, QStringLiteral("成绩快速录入(&K)"), QStringLiteral("mnuQuickEntry"),
                                  [this] { ShowQuickEntry(m_guide); });
    quickEntry->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));

    QMenu* query = bar->addMenu(QStringLiteral("查询/统计(&Q)"));
    addItem(query, QStringLiteral("成绩统计(&G)"), QStringLiteral("mnuGCount"),
            [this] { ShowGradeCount(m_guide); });
    addItem(query, QStringLiteral("班级成绩对比(&C)"), QStringLiteral("mnuClassCompare"),
            [this] { ShowClassCompare(m_guide); });

    QMenu* help = bar->addMenu(QStringLiteral("帮助(&H)"));
    QAction* guide = help->addAction(QStringLiteral("操作向导(&W)"));
    guide->setObjectName(QStringLiteral("mnuGuide"));
    addItem(help, QStringLiteral("关于(&A)"), QStringLiteral("A1"), &launch<ShowAbout>);
    buildGuide(guide);
}

void TfrmMain::buildGuide(QAction* toggle)
{
    const auto item = [this](const char* name) { return findChild<QAction*>(QLatin1String(name)); };
    m_guideCommands.term = item("mnuXQ");
    m_guideCommands.subject = item("mnuKM");
    m_guideCommands.klass = item("mnuBJ");
    m_guideCommands.termToClass = item("N5");
    m_guideCommands.classToSubject = item("N6");
    m_guideCommands.student = item("mnuSBase");
    m_guideCommands.honours = item("mnuIsY");
    m_guideCommands.grade = item("mnuEditCJ");
    m_guideCommands.quickEntry = item("mnuQuickEntry");
    m_guideCommands.statistics = item("mnuGCount");

    // Offered by the guide alone, while the school is empty.
    auto* demo = new QAction(QStringLiteral("载入示例学校"), this);
    demo->setObjectName(QStringLiteral("actDemoSchool"));
    connect(demo, &QAction::triggered, this, Guarded([this](bool) {
                DemoSchool::Load();
                refreshGuide();
            }));
    m_guideCommands.demoSchool = demo;

    connect(m_guide, &TOperationGuide::cameIntoView, this, &TfrmMain::refreshGuide);
    m_guideItem = toggle;
    m_guideRemembered = UserSettings::ShowGuide();
    toggle->setCheckable(true);
    toggle->setChecked(m_guideRemembered);
    m_guide->setShown(m_guideRemembered);
    connect(toggle, &QAction::toggled, this, Guarded([this](bool shown) { setGuideShown(shown); }));
}

void TfrmMain::setGuideShown(bool shown)
{
    m_guide->setShown(shown);
    refreshGuide();
}

void TfrmMain::refreshGuide()
{
    if (!m_guide->isShown() || !m_guide->isVisible() || m_guide->isCovered())
        return;
    // A read that fails shows no message: the guide is a glance, and the
    // window that is opened next reports what is wrong.
    const DbValue<SchoolProgress> progress = ReadSchoolProgress();
    m_guide->setState(
        GuideStateOf(progress ? std::optional<SchoolProgress>(*progress) : std::nullopt, m_guideCommands));
}

void TfrmMain::buildToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("ToolBar1"));
    m_toolBar->setObjectName(QStringLiteral("ToolBar1"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    m_toolBar->setStyleSheet(QStringLiteral(
        "QToolBar#ToolBar1 { border-top: 1px solid palette(mid); border-bottom: 1px solid palette(mid);"
        " spacing: 0px; }"
        "QToolBar#ToolBar1::separator { width: 8px; }"
        "QToolBar#ToolBar1 QToolButton { min-height: 33px; max-height: 33px; padding: 0px 4px; }"));

    // Each button repeats a menu item: it triggers that item's action.
    struct Button {
        const char* name;
        const char* caption;
        const char* icon;
        const char* item;
    };
    const Button buttons[] = {
        {"tbHis", "成绩录入", ":/icons/grade.png", "mnuEditCJ"},
        {"TBStop", "学生基本信息录入", ":/icons/student.png", "mnuSBase"},
        {"ToolButton1", "成绩统计", ":/icons/statistics.png", "mnuGCount"},
        {"tbClose", "退出", ":/icons/exit.png", "mnuClose"},
    };
    auto* noToolTips = new NoToolTips(m_toolBar);
    bool first = true;
    for (const Button& b : buttons) {
        if (!first)
            m_toolBar->addSeparator();
        first = false;
        QAction* item = findChild<QAction*>(QLatin1String(b.item));
        QAction* action = m_toolBar->addAction(QIcon(QLatin1String(b.icon)), QString::fromUtf8(b.caption));
        action->setObjectName(QLatin1String(b.name));
        connect(action, &QAction::triggered, item, &QAction::trigger);
        if (auto* button = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(action))) {
            button->setObjectName(QLatin1String(b.name));
            button->installEventFilter(noToolTips);
        }
    }
}
