#include "statistics/uClassCompare.h"

#include "data/ClassComparison.h"
#include "data/Messages.h"
#include "data/School.h"
#include "forms/Form.h"
#include "forms/uPub.h"
#include "print/PrintCommands.h"
#include "print/TableDocument.h"
#include "statistics/ComparisonModel.h"
#include "statistics/StatisticsPrint.h"
#include "statistics/StatisticsSheet.h"
#include "statistics/uGradeCount.h"
#include "transfer/ImportFlow.h"
#include "transfer/SheetButton.h"
#include "transfer/SheetDialogs.h"
#include "widgets/LaidOutTableView.h"
#include "widgets/PlainCellDelegate.h"
#include "widgets/TermClassTree.h"
#include "widgets/TitleHeader.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TfrmClassCompare::TfrmClassCompare(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmClassCompare"));
    setWindowTitle(QStringLiteral("班级成绩对比"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.png")));
    resize(780, 520);

    m_tree = new TTermClassTree(this);
    GroupBox2 = new QGroupBox(QStringLiteral("班级成绩对比"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Grid = new LaidOutTableView(GroupBox2);
    Grid->setObjectName(QStringLiteral("Grid"));
    m_model = new ComparisonModel(this);
    Grid->setModel(m_model);
    Grid->setItemDelegate(new PlainCellDelegate(Grid));
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setWordWrap(false);
    Grid->verticalHeader()->hide();
    Grid->verticalHeader()->setDefaultSectionSize(18);
    Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    auto* header = new TTitleHeader(Grid);
    Grid->setHorizontalHeader(header);
    header->setDefaultSectionSize(64);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setFixedHeight(2 * fontMetrics().height() + 8); // two lines: subject over figure
    header->setDefaultAlignment(Qt::AlignCenter);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(-1, Qt::AscendingOrder);
    Grid->setSortingEnabled(true);

    // A bar above the table for its printing and its export.
    auto* bar = new QFrame(GroupBox2);
    bar->setObjectName(QStringLiteral("Panel1"));
    bar->setFixedHeight(29);
    bar->setFrameShape(QFrame::Panel);
    bar->setFrameShadow(QFrame::Sunken);
    m_print = new PrintCommands(this, [this] { return tableJob(); });
    cmdPrint = m_print->makeButton(bar, QStringLiteral("cmdPrint"));
    cmdPrint->setGeometry(8, 3, 50, 22);
    cmdSheets = new SheetButton(bar);
    cmdSheets->setGeometry(cmdPrint->geometry().right() + 1 + 8, 3, cmdSheets->sizeHint().width(), 22);
    cmdSheets->addCommand(QStringLiteral("导出对比表"), QStringLiteral("mnuExportTable"),
                          [this] { ExportTable(); });

    auto* inner = new QVBoxLayout(GroupBox2);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->setSpacing(0);
    inner->addWidget(bar);
    inner->addWidget(Grid);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tree);
    layout->addWidget(GroupBox2, 1);
    setFocusProxy(m_tree);

    connect(m_tree, &TTermClassTree::TreeClick, this, Guarded([this] { TreeClick(); }));
    connect(m_tree, &TTermClassTree::readFailed, this, [] { ShowMessage(Msg::ReadFailed); });
    connect(Grid, &QAbstractItemView::doubleClicked, this,
            Guarded([this](const QModelIndex& index) { GridDblClick(index.row()); }));
}

bool TfrmClassCompare::ReadyData()
{
    return m_tree->LoadTree();
}

void TfrmClassCompare::TreeClick()
{
    // A term node or one of its classes: the term's classes, that class selected.
    const QList<QTreeWidgetItem*> selected = m_tree->Tree()->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* node = selected.first();
    QTreeWidgetItem* termNode = node->parent() ? node->parent() : node;
    const NodeData term = TTermClassTree::nodeData(termNode);
    bool isNumber = false;
    const qint64 termCode = term.Code.toLongLong(&isNumber);
    if (!isNumber)
        return;
    if ((!m_hasTerm || termCode != m_termCode || !node->parent()) && !showTerm(termCode, term.Name))
        return;
    if (node->parent()) {
        const int row = m_model->rowOfClass(TTermClassTree::nodeData(node).Code);
        if (row >= 0)
            Grid->selectRow(row);
    }
}

bool TfrmClassCompare::showTerm(qint64 termCode, const QString& termName)
{
    const DbValue<TermResults> term = LoadTermResults(termCode);
    if (!Succeeded(term, Msg::ReadFailed))
        return false;
    m_termCode = termCode;
    m_termName = termName;
    m_hasTerm = true;
    GroupBox2->setTitle(QStringLiteral("学期 [") + termName + QStringLiteral("] 的班级成绩对比"));
    // Another term has other subjects, so its columns start in class order.
    Grid->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_model->setComparison(CompareClasses(*term));
    Grid->setColumnWidth(0, 100);
    return true;
}

void TfrmClassCompare::ExportTable()
{
    if (!m_hasTerm) {
        ShowMessage(TransferText::ChooseTerm);
        return;
    }
    const QString title = m_termName + QStringLiteral(" 班级成绩对比");
    SheetDialogs::ExportTable(this, ModelSheet(QStringLiteral("班级成绩对比"), title, *m_model),
                              {m_termName, QStringLiteral("班级成绩对比")});
}

PrintJob TfrmClassCompare::tableJob() const
{
    if (!m_hasTerm)
        return {};
    const DbValue<QString> school = School::Name();
    if (!Succeeded(school, Msg::ReadFailed))
        return {};
    PrintJob job;
    job.document = std::make_unique<TableDocument>(ComparisonTable(*school, m_termName, *m_model));
    job.nameParts = QStringList{m_termName, QStringLiteral("班级成绩对比")};
    return job;
}

void TfrmClassCompare::GridDblClick(int row)
{
    if (!m_hasTerm || row < 0 || row >= m_model->rowCount())
        return;
    // Beside this window, in the MDI area it sits in.
    const auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget());
    TfrmGradeCount* form = OpenGradeCount(frame ? frame->mdiArea() : nullptr);
    if (form)
        form->ShowClass(QString::number(m_termCode), m_model->classAt(row).klass.code);
}

void TfrmClassCompare::closeEvent(QCloseEvent* event)
{
    if (!qobject_cast<QMdiSubWindow*>(parentWidget()))
        setAttribute(Qt::WA_DeleteOnClose);
    QWidget::closeEvent(event);
}

bool ShowClassCompare(QMdiArea* area)
{
    return RunInMdiArea<TfrmClassCompare>(area) != nullptr;
}
