#include "students/uStudent.h"

#include "data/CodeTables.h"
#include "data/Messages.h"
#include "data/Roster.h"
#include "exchange/Exports.h"
#include "forms/CommandButton.h"
#include "forms/uPub.h"
#include "print/PrintCommands.h"
#include "statistics/uGradeTrend.h"
#include "students/RosterPrint.h"
#include "students/uStudentEdit.h"
#include "transfer/ImportFlow.h"
#include "transfer/SheetDialogs.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// At the opening size the buttons stand at x 30 to 350 of the bar and then
// keep their distance from its right edge.
constexpr int kButtonsRight = 350;
constexpr int kButtonsRightGap = 419 - kButtonsRight; // until the bar's width is known
// The bar has room for one more button right of "关闭(&X)": the commands
// added to the roster share it as one drop-down.
constexpr int kMoreGap = 8;
constexpr int kMoreWidth = 50;

GridColumn Flag(const QString& field, const QString& title, int width, const QStringList& items)
{
    GridColumn column = Column(field, title, width);
    column.valueList = StudentFlags::ValueList(items);
    return column;
}

} // namespace

TfrmStudent::TfrmStudent(QWidget* parent) : TListForm(kButtonsRightGap, parent)
{
    setObjectName(QStringLiteral("frmStudent"));
    setWindowTitle(QStringLiteral("学生基本资料维护"));
    // Resizable, with a close box and a maximise box but no minimise box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // The client area inside a 640 x 441 frame.
    resize(632, 414);

    dsQuery = new QueryObject(this);
    dsQuery->setObjectName(QStringLiteral("dsQuery"));
    dsStudent = new QueryObject(this);
    dsStudent->setObjectName(QStringLiteral("dsStudent"));

    GroupBox1 = new QGroupBox(QStringLiteral("班级列举"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFixedWidth(209);
    DBGridEh1 = new DataGrid(GroupBox1);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->setColumns({GridColumn::hidden(QStringLiteral("ID")),
                           Column(QStringLiteral("ClassCode"), QStringLiteral("班级简码"), 50),
                           Column(QStringLiteral("ClassName"), QStringLiteral("班级名称"), 120)});
    DBGridEh1->setQuery(dsQuery);
    auto* left = new QVBoxLayout(GroupBox1);
    left->setContentsMargins(2, 2, 2, 2);
    left->addWidget(DBGridEh1);

    GroupBox2 = new QGroupBox(QStringLiteral("班级XX的学生信息列表"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    DBGridEh2 = new DataGrid(GroupBox2);
    DBGridEh2->setObjectName(QStringLiteral("DBGridEh2"));
    QVector<GridColumn> columns{
        GridColumn::hidden(QStringLiteral("ID")),
        GridColumn::hidden(QStringLiteral("ClassCode")),
        Column(QStringLiteral("SName"), QStringLiteral("姓名"), 56),
        Column(QStringLiteral("SNumber"), QStringLiteral("学号"), 32),
        Column(QStringLiteral("Room"), QStringLiteral("寝室"), 52),
        Column(QStringLiteral("Address"), QStringLiteral("家庭地址"), 242),
        Column(QStringLiteral("PostCode"), QStringLiteral("邮编"), 42),
        Column(QStringLiteral("Patriarchy"), QStringLiteral("家长"), 50),
        Column(QStringLiteral("HomeTel"), QStringLiteral("家庭电话"), 98),
        Flag(QStringLiteral("IsTY"), QStringLiteral("是否团员"), 28, StudentFlags::IsTY()),
        Flag(QStringLiteral("HasWJ"), QStringLiteral("有否违纪记录"), 46, StudentFlags::HasWJ()),
        Column(QStringLiteral("WJContent"), QStringLiteral("违纪说明"), 119),
        Flag(QStringLiteral("IsActive"), QStringLiteral("是否在校"), 33, StudentFlags::IsActive()),
    };
    for (GridColumn& column : columns)
        column.titleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    DBGridEh2->setColumns(columns);
    DBGridEh2->setMultiLineTitles(true);
    DBGridEh2->setQuery(dsStudent);
    buttons()->setParent(GroupBox2);
    auto* right = new QVBoxLayout(GroupBox2);
    right->setContentsMargins(2, 2, 2, 2);
    right->setSpacing(0);
    right->addWidget(DBGridEh2);
    right->addWidget(buttons());

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox2);

    setRecords(dsStudent, QStringLiteral("您确认删除选定的学生信息记录吗？"), Msg::DeleteStudentRefused);
    connect(dsQuery, &QueryObject::currentRowChanged, this, Guarded([this](int) { dsQueryAfterScroll(); }));
    connect(DBGridEh2, &DataGrid::dblClick, this, Guarded([this] { cmdEditClick(); }));

    printCommands = new PrintCommands(this, [this]() -> PrintJob {
        const std::optional<RosterTarget> shown = currentClass();
        return shown ? RosterPrintJob(shown->classCode, shown->className) : PrintJob{};
    });
    actTrend = new QAction(QStringLiteral("成绩走势"), this);
    actTrend->setObjectName(QStringLiteral("actTrend"));
    connect(actTrend, &QAction::triggered, this, Guarded([this](bool) { cmdTrendClick(); }));
    cmdMore = new CommandButton(QStringLiteral("更多"), QStringLiteral("cmdMore"), buttons());
    cmdMore->addCommands({actTrend});
    cmdMore->addSeparator();
    cmdMore->addCommand(QStringLiteral("导出本班名单"), QStringLiteral("mnuExportClass"),
                        [this] { ExportClassRoster(); });
    cmdMore->addCommand(QStringLiteral("导出全校名单"), QStringLiteral("mnuExportSchool"),
                        [this] { ExportSchoolRoster(); });
    cmdMore->addCommand(QStringLiteral("导入名单"), QStringLiteral("mnuImport"), [this] { ImportRoster(); });
    cmdMore->addCommand(QStringLiteral("导出模板"), QStringLiteral("mnuTemplate"),
                        [this] { ExportTemplate(); });
    cmdMore->addSeparator();
    cmdMore->addCommands(printCommands->actions());
    cmdMore->resize(kMoreWidth, buttons()->cmdClose->height());
    buttons()->addTrailing(cmdMore, kMoreGap);

    setTabOrder(DBGridEh1, buttons()->cmdAppend);
    setTabOrder(buttons()->cmdClose, DBGridEh2);
    setTabOrder(DBGridEh2, cmdMore);
    DBGridEh1->setFocus();
}

void TfrmStudent::showEvent(QShowEvent* event)
{
    TListForm::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        buttons()->setRightGap(buttons()->width() - kButtonsRight);
    }
}

std::optional<RosterTarget> TfrmStudent::currentClass() const
{
    if (dsQuery->isEmpty() || dsQuery->eof())
        return std::nullopt;
    return RosterTarget{dsQuery->fieldText(QStringLiteral("ClassCode")),
                        dsQuery->fieldText(QStringLiteral("ClassName"))};
}

void TfrmStudent::ExportClassRoster()
{
    const std::optional<RosterTarget> shown = currentClass();
    if (!shown)
        return;
    const DbValue<Sheets::Table> table = Exports::ClassRoster(shown->classCode, shown->className);
    if (Succeeded(table, Msg::ReadFailed))
        SheetDialogs::ExportTable(this, *table, {shown->className, QStringLiteral("学生名单")});
}

void TfrmStudent::ExportSchoolRoster()
{
    const DbValue<Sheets::Table> table = Exports::SchoolRoster();
    if (Succeeded(table, Msg::ReadFailed))
        SheetDialogs::ExportTable(this, *table, {QStringLiteral("全校"), QStringLiteral("学生名单")});
}

void TfrmStudent::ImportRoster()
{
    // Without a class, only a sheet with a "班级" column can be imported.
    if (ImportFlow::ImportRoster(this, currentClass().value_or(RosterTarget{})))
        ReadyList();
}

void TfrmStudent::ExportTemplate()
{
    SheetDialogs::ExportTable(this, Exports::RosterTemplate(), {QStringLiteral("学生名单模板")});
}

void TfrmStudent::cmdTrendClick()
{
    if (dsQuery->isEmpty() || dsQuery->eof() || dsStudent->isEmpty() || dsStudent->eof())
        return;
    ShowGradeTrend(dsStudent->fieldInt(QStringLiteral("ID")));
}

bool TfrmStudent::ReadyData()
{
    // Opening makes the first class current, which lists its students.
    return Succeeded(dsQuery->open(CodeTables::List(CodeTables::Classes())), Msg::ReadFailed);
}

bool TfrmStudent::ReadyList()
{
    if (dsQuery->isEmpty() || dsQuery->eof())
        return false;
    GroupBox2->setTitle(QStringLiteral("班级 [") + AsTyped(dsQuery->fieldText(QStringLiteral("ClassName"))) +
                        QStringLiteral("] 的学生信息列表！"));
    return Succeeded(dsStudent->open(Roster::Students(dsQuery->fieldText(QStringLiteral("ClassCode")))),
                     Msg::ReadFailed);
}

bool TfrmStudent::canAppend() const
{
    return !dsQuery->isEmpty() && !dsQuery->eof();
}

bool TfrmStudent::appendRecord()
{
    return ShowStudentEdit(-1, dsQuery->fieldText(QStringLiteral("ClassCode")),
                           dsQuery->fieldText(QStringLiteral("ClassName")));
}

bool TfrmStudent::editRecord(int id)
{
    return ShowStudentEdit(id, dsQuery->fieldText(QStringLiteral("ClassCode")),
                           dsQuery->fieldText(QStringLiteral("ClassName")));
}

DbResult TfrmStudent::deleteRecord(const RowImage& listed)
{
    return Roster::RemoveStudent(listed);
}

bool ShowStudent()
{
    return RunModal<TfrmStudent>();
}
