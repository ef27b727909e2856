#include "statistics/uGradeCount.h"

#include "data/GroupedResults.h"
#include "data/Messages.h"
#include "data/Roster.h"
#include "data/School.h"
#include "data/SqlText.h"
#include "forms/UserSettings.h"
#include "forms/uPub.h"
#include "print/PrintCommands.h"
#include "print/TableDocument.h"
#include "statistics/AnalysisPage.h"
#include "statistics/GradeCountParts.h"
#include "statistics/StatisticsPrint.h"
#include "statistics/StatisticsSheet.h"
#include "statistics/SummaryRows.h"
#include "statistics/uGradeTrend.h"
#include "statistics/uReportCards.h"
#include "students/uStudentEdit.h"
#include "transfer/ImportFlow.h"
#include "transfer/SheetButton.h"
#include "transfer/SheetDialogs.h"
#include "widgets/FollowingGrid.h"
#include "widgets/StringAlignGrid.h"
#include "widgets/TermClassTree.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

using Step = ClassResultsLoad::Step;

void MakeLabel(const QString& text, QWidget* parent, const QString& name, int x)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->adjustSize();
    label->move(x, 8);
}

// The range fields: up to three digits, every position optional.
QLineEdit* MakeScoreBound(QWidget* parent, const QString& name, const QString& text, int x)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setInputMask(QStringLiteral("000;_"));
    edit->setText(text);
    edit->setTextMargins(0, 0, 0, 0);
    edit->setGeometry(x, 4, 28, 20);
    return edit;
}

QPushButton* MakeBarButton(const QString& text, QWidget* parent, const QString& name, int x, int width)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setGeometry(x, 3, width, 22);
    return button;
}

// The shown scores of one subject, by student: what the sort and the range compare.
RowKeys ScoresOf(const ClassResults& results, int subject)
{
    RowKeys keys(results.studentCount());
    for (int s = 0; s < results.studentCount(); ++s)
        keys[s] = results.shownScore(s, subject);
    return keys;
}

// The report cards of the class on show as chosen, with the roster's 不在校
// as it stands now; no document (after the message) when there is none to print.
PrintJob ReportCardsJob(const ClassResults& results, bool places, const ClassSelection& shown,
                        ReportCardDocument::Layout layout, bool forInactive)
{
    const DbValue<QString> school = School::Name();
    if (!Succeeded(school, Msg::ReadFailed))
        return {};
    QSet<qint64> leftOut;
    if (!forInactive) {
        const DbValue<RowSet> roster = Db::select(Roster::Students(shown.ClassCode));
        if (!Succeeded(roster, Msg::ReadFailed))
            return {};
        for (int r = 0; r < roster->rowCount(); ++r)
            if (roster->value(r, QStringLiteral("IsActive")).toInt() == 0)
                leftOut.insert(roster->value(r, QStringLiteral("ID")).toLongLong());
    }
    ReportCardSet cards = ReportCardsOf({*school, shown.TermName, shown.ClassName}, results, places, leftOut);
    if (cards.cards.isEmpty()) {
        ShowMessage(PrintMsg::NoReportCards);
        return {};
    }
    PrintJob job;
    job.document = std::make_unique<ReportCardDocument>(std::move(cards), layout);
    job.nameParts = QStringList{shown.TermName, shown.ClassName, QStringLiteral("成绩通知单")};
    return job;
}

} // namespace

QString MaskedText(const QLineEdit* edit)
{
    // text() drops unfilled positions; the display shows each as the blank
    // character, which is what the user typed around.
    QString text = edit->displayText();
    text.replace(QLatin1Char('_'), QLatin1Char(' '));
    return text;
}

TfrmGradeCount::TfrmGradeCount(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmGradeCount"));
    setWindowTitle(QStringLiteral("成绩统计/查询"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.png")));
    resize(780, 520);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_tree = new TTermClassTree(this);
    layout->addWidget(m_tree);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* page = new QWidget(PageControl1);
    page->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(page, QStringLiteral("成绩列表"));
    layout->addWidget(PageControl1, 1);

    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    buildCommandBar(page);
    pageLayout->addWidget(Panel1);
    Grid = MakeStatisticsGrid(page, QStringLiteral("Grid"), 3, 2);
    pageLayout->addWidget(Grid, 1);
    GridSum = new TFollowingGrid(Grid, page);
    GridSum->setObjectName(QStringLiteral("GridSum"));
    pageLayout->addWidget(GridSum);
    Panel2 = new ColourLegend(page);
    pageLayout->addWidget(Panel2);
    GroupBox2 = new ComparisonBox(page);
    GridB = GroupBox2->grid();
    pageLayout->addWidget(GroupBox2);
    m_table = new ResultsTable(Grid, GridB, this);
    m_summary = new SummaryRows(GridSum, this);
    m_analysis = new AnalysisPage(PageControl1);
    PageControl1->addTab(m_analysis, QStringLiteral("统计分析"));

    setTabOrder(m_tree, cmbSubj);
    setTabOrder(cmbSubj, MaskEdit1);
    setTabOrder(MaskEdit1, MaskEdit2);
    setTabOrder(MaskEdit2, cmdFilter);
    setTabOrder(cmdFilter, cmdDetail);
    setTabOrder(cmdDetail, cmdClose);
    setTabOrder(cmdClose, chkCompare);
    setTabOrder(chkCompare, chkPlaces);
    setTabOrder(chkPlaces, cmdTrend);
    setTabOrder(cmdTrend, cmdPrint);
    setTabOrder(cmdPrint, cmdSheets);
    setTabOrder(cmdSheets, Grid);
    setFocusProxy(m_tree);

    connect(m_tree, &TTermClassTree::TreeClick, this, Guarded([this] { TreeClick(); }));
    connect(m_tree, &TTermClassTree::readFailed, this, [] { ShowMessage(Msg::ReadFailed); });
    connect(cmdFilter, &QPushButton::clicked, this, Guarded([this](bool) { cmdFilterClick(); }));
    connect(cmdDetail, &QPushButton::clicked, this, Guarded([this](bool) { cmdDetailClick(); }));
    connect(cmdClose, &QPushButton::clicked, this, Guarded([this](bool) { cmdCloseClick(); }));
    connect(chkCompare, &QCheckBox::toggled, GroupBox2, &QWidget::setVisible);
    connect(chkPlaces, &QCheckBox::clicked, this, Guarded([this](bool checked) { chkPlacesClick(checked); }));
    connect(cmdTrend, &QPushButton::clicked, this, Guarded([this](bool) { cmdTrendClick(); }));
    connect(PageControl1, &QTabWidget::currentChanged, this, Guarded([this](int) { showAnalysis(); }));
}

void TfrmGradeCount::buildCommandBar(QWidget* page)
{
    Panel1 = new QFrame(page);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(29);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);

    MakeLabel(QStringLiteral("科目"), Panel1, QStringLiteral("Label1"), 8);
    cmbSubj = new QComboBox(Panel1);
    cmbSubj->setObjectName(QStringLiteral("cmbSubj"));
    cmbSubj->setEditable(false); // only its items can be chosen
    cmbSubj->setGeometry(34, 4, 95, 20);
    MakeLabel(QStringLiteral("分数范围"), Panel1, QStringLiteral("Label2"), 132);
    MaskEdit1 = MakeScoreBound(Panel1, QStringLiteral("MaskEdit1"), QStringLiteral("0  "), 185);
    MakeLabel(QStringLiteral("--"), Panel1, QStringLiteral("Label3"), 219);
    MaskEdit2 = MakeScoreBound(Panel1, QStringLiteral("MaskEdit2"), QStringLiteral("100"), 234);
    cmdFilter = MakeBarButton(QStringLiteral("过滤并排序"), Panel1, QStringLiteral("cmdFilter"), 266, 87);
    cmdDetail = MakeBarButton(QStringLiteral("学生资料"), Panel1, QStringLiteral("cmdDetail"), 354, 55);
    cmdClose = MakeBarButton(QStringLiteral("关闭"), Panel1, QStringLiteral("cmdClose"), 418, 55);
    chkCompare = new QCheckBox(QStringLiteral("显示最优/最差对比"), Panel1);
    chkCompare->setObjectName(QStringLiteral("chkCompare"));
    chkCompare->adjustSize();
    chkCompare->move(484, (29 - chkCompare->height()) / 2);
    chkPlaces = new QCheckBox(QStringLiteral("显示名次"), Panel1);
    chkPlaces->setObjectName(QStringLiteral("chkPlaces"));
    chkPlaces->setChecked(UserSettings::ShowPlaces());
    chkPlaces->adjustSize();
    chkPlaces->move(chkCompare->geometry().right() + 12, chkCompare->y());
    cmdTrend = MakeBarButton(QStringLiteral("成绩走势"), Panel1, QStringLiteral("cmdTrend"),
                             chkPlaces->geometry().right() + 10, 55);
    // Printing in one drop-down after the rest: the table, and the report cards.
    m_print = new PrintCommands(this, [this] { return tableJob(); });
    cmdPrint = m_print->makeButton(Panel1, QStringLiteral("cmdPrint"));
    cmdPrint->setGeometry(cmdTrend->geometry().right() + 1 + 8, 3, 50, 22);
    cmdPrint->addSeparator();
    m_reportCards = cmdPrint->addCommand(QStringLiteral("成绩通知单…"), QStringLiteral("actReportCards"),
                                         [this] { cmdReportCardsClick(); });
    // The spreadsheet commands right of the printing.
    cmdSheets = new SheetButton(Panel1);
    cmdSheets->setGeometry(cmdPrint->geometry().right() + 1 + 8, 3, cmdSheets->sizeHint().width(), 22);
    cmdSheets->addCommand(QStringLiteral("导出成绩表"), QStringLiteral("mnuExportTable"),
                          [this] { ExportTable(); });
}

Sheets::Table TfrmGradeCount::sheet() const
{
    const ClassSelection shown = m_tree->ShownClass();
    const QString title =
        QStringList{shown.TermName, shown.ClassName, QStringLiteral("成绩统计")}.join(QLatin1Char(' '));
    return StatisticsSheet(title, *Grid, *GridSum, *m_table);
}

void TfrmGradeCount::ExportTable()
{
    // The table of the class on show; a term node shows none.
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty() || !m_load) {
        ShowMessage(TransferText::ChooseClass);
        return;
    }
    SheetDialogs::ExportTable(this, sheet(), {shown.TermName, shown.ClassName, QStringLiteral("成绩统计")});
}

bool TfrmGradeCount::ReadyData()
{
    return m_tree->LoadTree();
}

std::optional<ClassResultsLoad> TfrmGradeCount::readShownClass() const
{
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty())
        return std::nullopt;
    return LoadClassResults(StrToInt(shown.TermCode), shown.ClassCode);
}

void TfrmGradeCount::reportFailure(const ClassResultsLoad& load)
{
    switch (load.failed) {
    case Step::Students:
    case Step::Scores:
    case Step::Standards:
        ShowMessage(Msg::ReadFailed);
        break;
    case Step::Plan:
        ShowMessage(Msg::OpenFailed);
        break;
    case Step::PreviousTerm:
    case Step::PreviousTotals:
        ShowMessage(Msg::ReadingFailed);
        break;
    case Step::Done:
        break;
    }
}

void TfrmGradeCount::refillSubjects(const ClassResults& results)
{
    cmbSubj->clear();
    cmbSubj->addItem(QStringLiteral("全部"));
    for (const PlanSubject& subject : results.subjects())
        cmbSubj->addItem(subject.name);
    cmbSubj->setCurrentIndex(-1);
}

int TfrmGradeCount::chosenSubject(const ClassResults& results) const
{
    // The list comes from the last tree click; a position the rebuilt
    // results do not have is not sorted on.
    const int index = cmbSubj->currentIndex();
    return index >= 1 && index <= results.subjectCount() ? index - 1 : -1;
}

void TfrmGradeCount::present(const ClassResultsLoad& load, const GridRows& rows)
{
    const bool figures = m_figuresShown && load.has(Step::Standards);
    std::optional<PlaceColumns> places;
    DbResult previousPlaces;
    if (m_figuresShown && chkPlaces->isChecked() && load.complete()) {
        const DbValue<Places> before = ReadPreviousPlaces(load.results);
        previousPlaces = before;
        places = PlaceColumns{TermPlaces(load.results), before ? std::optional(*before) : std::nullopt};
    }
    m_table->show(load, rows, places ? &*places : nullptr);
    m_places = places;
    if (figures)
        m_summary->show(load.results);
    else
        m_summary->clear();
    m_load = load;
    m_analysisStale = true;
    showAnalysis();
    reportFailure(load);
    Succeeded(previousPlaces, Msg::ReadingFailed); // the previous term's places, after the previous totals
}

void TfrmGradeCount::showNothing()
{
    m_table->clear(); // a term node: the table blanks, the subject list stays
    m_summary->clear();
    m_load.reset();
    m_places.reset();
    m_analysisStale = true;
    showAnalysis();
}

void TfrmGradeCount::showAnalysis()
{
    // The page follows the class on show, but only once it is looked at.
    if (!m_analysisStale || PageControl1->currentWidget() != m_analysis || !m_figuresShown)
        return;
    m_analysisStale = false;
    if (m_load && m_load->has(Step::Standards))
        m_analysis->show(m_load->results);
    else
        m_analysis->clear();
}

void TfrmGradeCount::TreeClick()
{
    const std::optional<ClassResultsLoad> load = readShownClass();
    if (!load) {
        showNothing();
        return;
    }
    if (load->has(Step::Plan))
        refillSubjects(load->results);
    present(*load, GridRows::inRosterOrder(load->results.studentCount()));
}

void TfrmGradeCount::cmdFilterClick()
{
    const std::optional<ClassResultsLoad> load = readShownClass();
    if (!load) {
        showNothing();
        return;
    }
    GridRows rows = GridRows::inRosterOrder(load->results.studentCount());
    const int subject = load->complete() ? chosenSubject(load->results) : -1;
    if (subject < 0) {
        present(*load, rows);
        return;
    }
    // Highest first; the table is shown sorted before the range is read, so
    // that a bad bound leaves it sorted with nothing hidden.
    const RowKeys scores = ScoresOf(load->results, subject);
    SortGridRows(scores, false, rows);
    present(*load, rows);
    HideArea(scores, rows);
}

void TfrmGradeCount::chkPlacesClick(bool checked)
{
    UserSettings::SetShowPlaces(checked);
    // The class on show gains or loses the two columns in the order and
    // with the rows hidden as they are.
    if (m_load && m_load->complete()) {
        const ClassResultsLoad load = *m_load;
        const GridRows rows = m_table->rows();
        present(load, rows);
    }
}

void TfrmGradeCount::cmdTrendClick()
{
    const ClassResults::Student* student = m_table->studentAt(Grid->currentRow());
    if (!student)
        return;
    ShowGradeTrend(student->id);
}

PrintJob TfrmGradeCount::tableJob() const
{
    // What the window shows, not a fresh reading: the order and the hidden
    // rows belong to the reading on show.
    const ClassSelection shown = m_tree->ShownClass();
    if (!m_load || !m_load->complete() || shown.isEmpty())
        return {};
    const DbValue<QString> school = School::Name();
    if (!Succeeded(school, Msg::ReadFailed))
        return {};
    const PrintedClass named{*school, shown.TermName, shown.ClassName};
    PrintJob job;
    job.document = std::make_unique<TableDocument>(
        StatisticsTable(named, m_load->results, m_table->rows(), m_places ? &*m_places : nullptr));
    job.nameParts = QStringList{shown.TermName, shown.ClassName, QStringLiteral("成绩统计")};
    return job;
}

void TfrmGradeCount::cmdReportCardsClick()
{
    const ClassSelection shown = m_tree->ShownClass();
    if (!m_load || !m_load->complete() || shown.isEmpty())
        return;
    const ClassResults results = m_load->results;
    const bool places = m_places.has_value();
    ShowReportCards([results, places, shown](ReportCardDocument::Layout layout, bool forInactive) {
        return ReportCardsJob(results, places, shown, layout, forInactive);
    });
}

bool TfrmGradeCount::ShowClass(const QString& termCode, const QString& classCode)
{
    return m_tree->ShowClass(termCode, classCode);
}

void TfrmGradeCount::HideArea(const RowKeys& scores, GridRows& rows)
{
    const double lower = StrToFloat(MaskedText(MaskEdit1).trimmed());
    const double upper = StrToFloat(MaskedText(MaskEdit2).trimmed());
    HideRowsOutside(scores, lower, upper, rows);
    m_table->hideRows(rows);
}

void TfrmGradeCount::cmdDetailClick()
{
    // Only a row the user sees selected; the empty row of a class without
    // students shows nobody.
    const ClassResults::Student* student = m_table->studentAt(Grid->currentRow());
    if (!student)
        return;
    // The class of the table on show: the tree may have been moved since by
    // keyboard, and the dialog stores the class it is given.
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty())
        return;
    ShowStudentEdit(int(student->id), shown.ClassCode, shown.ClassName);
}

void TfrmGradeCount::cmdCloseClick()
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget()))
        frame->close();
    else
        close();
}

void TfrmGradeCount::closeEvent(QCloseEvent* event)
{
    // Closing frees the window. Inside the main window the MDI frame owns it
    // and is freed on closing itself.
    if (!qobject_cast<QMdiSubWindow*>(parentWidget()))
        setAttribute(Qt::WA_DeleteOnClose);
    QWidget::closeEvent(event);
}

TfrmGradeCount* OpenGradeCount(QMdiArea* area)
{
    return RunInMdiArea<TfrmGradeCount>(area);
}

bool ShowGradeCount(QMdiArea* area)
{
    return OpenGradeCount(area) != nullptr;
}
