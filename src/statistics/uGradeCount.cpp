#include "statistics/uGradeCount.h"

#include "app/uMain.h"
#include "app/uPub.h"
#include "data/Messages.h"
#include "data/QueryObject.h"
#include "data/SqlText.h"
#include "statistics/GridRows.h"
#include "students/uStudentEdit.h"
#include "widgets/StringAlignGrid.h"
#include "widgets/TermClassTree.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <memory>

namespace {

constexpr int kFirstSubjectCol = 3;
constexpr double kPassMark = 60.0;
constexpr double kProgressRatio = 1.1;

QLabel* MakeLabel(const QString& text, QWidget* parent, const QString& name, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->adjustSize();
    label->move(x, y);
    return label;
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

TStringAlignGrid* MakeStatisticsGrid(QWidget* parent, const QString& name, int cols, int rows)
{
    auto* grid = new TStringAlignGrid(parent);
    grid->setObjectName(name);
    grid->setDefaultColWidth(80);
    grid->setDefaultRowHeight(16);
    grid->setColCount(cols);
    grid->setRowCount(rows);
    return grid;
}

QString SqlTermCode(const ClassSelection& shown)
{
    return SqlInt(StrToInt(shown.TermCode));
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
    buildLegend(page);
    pageLayout->addWidget(Panel2);
    buildComparison(page);
    pageLayout->addWidget(GroupBox2);

    dsStudent = new QueryObject(this);
    dsStudent->setObjectName(QStringLiteral("dsStudent"));
    dsSubject = new QueryObject(this);
    dsSubject->setObjectName(QStringLiteral("dsSubject"));
    dsTemp = new QueryObject(this);
    dsTemp->setObjectName(QStringLiteral("dsTemp"));
    dsStd = new QueryObject(this);
    dsStd->setObjectName(QStringLiteral("dsStd"));

    setTabOrder(m_tree, cmbSubj);
    setTabOrder(cmbSubj, MaskEdit1);
    setTabOrder(MaskEdit1, MaskEdit2);
    setTabOrder(MaskEdit2, cmdFilter);
    setTabOrder(cmdFilter, cmdDetail);
    setTabOrder(cmdDetail, cmdClose);
    setTabOrder(cmdClose, chkCompare);
    setTabOrder(chkCompare, Grid);
    setFocusProxy(m_tree);

    connect(m_tree, &TTermClassTree::TreeClick, this, Guarded([this] { TreeClick(); }));
    connect(m_tree, &TTermClassTree::readFailed, this, [] { ShowMessage(Msg::ReadFailed); });
    connect(cmdFilter, &QPushButton::clicked, this, Guarded([this](bool) { cmdFilterClick(); }));
    connect(cmdDetail, &QPushButton::clicked, this, Guarded([this](bool) { cmdDetailClick(); }));
    connect(cmdClose, &QPushButton::clicked, this, Guarded([this](bool) { cmdCloseClick(); }));
    connect(chkCompare, &QCheckBox::toggled, GroupBox2, &QWidget::setVisible);
}

void TfrmGradeCount::buildCommandBar(QWidget* page)
{
    Panel1 = new QFrame(page);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(29);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);

    MakeLabel(QStringLiteral("科目"), Panel1, QStringLiteral("Label1"), 8, 8);
    cmbSubj = new QComboBox(Panel1);
    cmbSubj->setObjectName(QStringLiteral("cmbSubj"));
    cmbSubj->setEditable(false); // only its items can be chosen
    cmbSubj->setGeometry(34, 4, 95, 20);
    MakeLabel(QStringLiteral("分数范围"), Panel1, QStringLiteral("Label2"), 132, 8);
    MaskEdit1 = MakeScoreBound(Panel1, QStringLiteral("MaskEdit1"), QStringLiteral("0  "), 185);
    MakeLabel(QStringLiteral("--"), Panel1, QStringLiteral("Label3"), 219, 8);
    MaskEdit2 = MakeScoreBound(Panel1, QStringLiteral("MaskEdit2"), QStringLiteral("100"), 234);
    cmdFilter = MakeBarButton(QStringLiteral("过滤并排序"), Panel1, QStringLiteral("cmdFilter"), 266, 87);
    cmdDetail = MakeBarButton(QStringLiteral("学生资料"), Panel1, QStringLiteral("cmdDetail"), 354, 55);
    cmdClose = MakeBarButton(QStringLiteral("关闭"), Panel1, QStringLiteral("cmdClose"), 418, 55);
    chkCompare = new QCheckBox(QStringLiteral("显示最优/最差对比"), Panel1);
    chkCompare->setObjectName(QStringLiteral("chkCompare"));
    chkCompare->adjustSize();
    chkCompare->move(484, (29 - chkCompare->height()) / 2);

    ListSubjCode = new QListWidget(Panel1);
    ListSubjCode->setObjectName(QStringLiteral("ListSubjCode"));
    ListSubjCode->hide();
}

void TfrmGradeCount::buildLegend(QWidget* page)
{
    Panel2 = new QFrame(page);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(24);
    Panel2->setFrameShape(QFrame::Panel);
    Panel2->setFrameShadow(QFrame::Raised);

    MakeLabel(QStringLiteral("颜色标示说明："), Panel2, QStringLiteral("Panel2Caption"), 1, 6);
    QLabel* fail = MakeLabel(QStringLiteral("有不及格项"), Panel2, QStringLiteral("Label4"), 84, 6);
    QLabel* honours = MakeLabel(QStringLiteral("符合评优标准"), Panel2, QStringLiteral("Label5"), 150, 6);
    QLabel* progress = MakeLabel(QStringLiteral("进步较大"), Panel2, QStringLiteral("Label6"), 227, 6);
    QLabel* ordinary = MakeLabel(QStringLiteral(" 一般"), Panel2, QStringLiteral("Label7"), 281, 6);

    auto colour = [](QLabel* label, const QColor& text) {
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, text);
        label->setPalette(p);
    };
    colour(fail, palette().color(QPalette::Link));
    colour(honours, HonoursColor());
    colour(progress, Qt::black);
    colour(ordinary, Qt::black);
    QPalette p = progress->palette();
    p.setColor(QPalette::Window, ProgressColor());
    progress->setPalette(p);
    progress->setAutoFillBackground(true);
}

void TfrmGradeCount::buildComparison(QWidget* page)
{
    GroupBox2 = new QGroupBox(QStringLiteral("成绩最优/最差对比"), page);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setFixedHeight(105);
    auto* layout = new QVBoxLayout(GroupBox2);
    layout->setContentsMargins(2, 2, 2, 2);
    GridB = MakeStatisticsGrid(GroupBox2, QStringLiteral("GridB"), 3, 3);
    GridB->setSelectionMode(QAbstractItemView::NoSelection); // a display, nothing to pick
    GridB->clearSelection();
    layout->addWidget(GridB);
    GroupBox2->hide();
}

bool TfrmGradeCount::ReadyData()
{
    return m_tree->LoadTree();
}

void TfrmGradeCount::TreeClick()
{
    rebuild(true);
}

bool TfrmGradeCount::rebuild(bool refillSubjects)
{
    // The table is rebuilt cell by cell; the view hears of it once.
    const TStringAlignGrid::Batch batch(Grid);
    ClearGrid(Grid);
    if (!ReadyStudent() || !ReadySubj(refillSubjects) || !ReadyGrade())
        return false;
    CalcTotal();
    CheckHonours();
    SetJB();
    return true;
}

bool TfrmGradeCount::ReadyStudent()
{
    dsStudent->close();
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty())
        return false;
    ClearGrid(Grid);
    dsStudent->setSql(QStringLiteral("Select * from TStudent Where ClassCode=") + QuotedStr(shown.ClassCode) +
                      QStringLiteral(" Order by SName"));
    if (!dsStudent->open()) {
        ShowMessage(Msg::ReadFailed);
        return false;
    }
    Grid->setColCount(3);
    Grid->setRowCount(dsStudent->isEmpty() ? 2 : dsStudent->rowCount() + 1);
    Grid->setColWidth(0, -1);
    int row = 1;
    for (dsStudent->first(); !dsStudent->eof(); dsStudent->next(), ++row) {
        Grid->setCell(0, row, dsStudent->fieldText(QStringLiteral("ID")));
        Grid->setCell(1, row, dsStudent->fieldText(QStringLiteral("SName")));
        Grid->setCell(2, row, dsStudent->fieldText(QStringLiteral("SNumber")));
    }
    Grid->setCell(1, 0, QStringLiteral("姓名"));
    Grid->setCell(2, 0, QStringLiteral("学号"));
    Grid->setColAlignment(2, Qt::AlignRight);
    Grid->setCellAlignment(1, 0, Qt::AlignCenter);
    Grid->setCellAlignment(2, 0, Qt::AlignCenter);
    return true;
}

bool TfrmGradeCount::ReadySubj(bool refill)
{
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty()) {
        dsSubject->close();
        return false;
    }
    dsSubject->close();
    dsSubject->setSql(
        QStringLiteral("SELECT TClassToSubject.*,TSubject.SubjName from TClassToSubject,TSubject "
                       "Where TClassToSubject.SubjCode= TSubject.SubjCode And "
                       "TClassToSubject.TermCode=") +
        SqlTermCode(shown) + QStringLiteral(" And TClassToSubject.ClassCode=") + QuotedStr(shown.ClassCode));
    if (!dsSubject->open()) {
        ShowMessage(Msg::OpenFailed);
        return false;
    }
    const int subjects = dsSubject->rowCount();
    Grid->setColCount(subjects + Grid->colCount() + 1);
    if (refill) {
        cmbSubj->clear();
        ListSubjCode->clear();
        cmbSubj->addItem(QStringLiteral("全部"));
        ListSubjCode->addItem(QString());
    }
    int col = kFirstSubjectCol;
    for (dsSubject->first(); !dsSubject->eof(); dsSubject->next(), ++col) {
        const QString name = dsSubject->fieldText(QStringLiteral("SubjName"));
        Grid->setCell(col, 0, name);
        if (refill) {
            cmbSubj->addItem(name);
            ListSubjCode->addItem(dsSubject->fieldText(QStringLiteral("SubjCode")));
        }
        Grid->setCellAlignment(col, 0, Qt::AlignCenter);
        Grid->setColAlignment(col, Qt::AlignRight);
    }
    const int total = Grid->colCount() - 1;
    Grid->setCell(total, 0, QStringLiteral("总分"));
    Grid->setCellAlignment(total, 0, Qt::AlignCenter);
    Grid->setColAlignment(total, Qt::AlignRight);
    if (refill)
        cmbSubj->setCurrentIndex(-1);
    m_subjectCount = subjects;
    return true;
}

bool TfrmGradeCount::ReadyGrade()
{
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty())
        return false;
    dsTemp->close();
    dsTemp->setSql(QStringLiteral("Select TGrade.*,TSubject.SubjName from TGrade,TSubject Where  "
                                  "TGrade.SubjectCode=TSubject.SubjCode   And TGrade.TermCode=") +
                   SqlTermCode(shown) + QStringLiteral(" And TGrade.ClassCode=") +
                   QuotedStr(shown.ClassCode));
    if (!dsTemp->open()) {
        ShowMessage(Msg::ReadFailed);
        return false;
    }
    for (dsTemp->first(); !dsTemp->eof(); dsTemp->next()) {
        const int col = GetSubjectCol(dsTemp->fieldText(QStringLiteral("SubjName")));
        const int row = GetStudentRow(dsTemp->fieldText(QStringLiteral("StudentID")));
        if (col < 0 || row < 0)
            continue; // a subject outside the plan or a student outside the roster
        Grid->setCell(col, row, FormatOneDecimal(dsTemp->fieldDouble(QStringLiteral("Score"))));
        Grid->setCellAlignment(col, row, Qt::AlignRight);
    }

    dsStd->close();
    dsStd->setSql(QStringLiteral("Select THonoursStd.*,TSubject.SubjName from THonoursStd,TSubject Where "
                                 "THonoursStd.SubjectCode=TSubject.SubjCode And THonoursStd.TermCode=") +
                  SqlTermCode(shown) + QStringLiteral(" And THonoursStd.ClassCode=") +
                  QuotedStr(shown.ClassCode));
    if (!dsStd->open()) {
        ShowMessage(Msg::ReadFailed);
        return false;
    }
    for (int row = 1; row < Grid->rowCount(); ++row)
        for (int col = kFirstSubjectCol; col < Grid->colCount(); ++col)
            if (Grid->cell(col, row).isEmpty())
                Grid->setCell(col, row, FormatOneDecimal(0));
    return true;
}

int TfrmGradeCount::GetStudentRow(const QString& id) const
{
    for (int row = 1; row < Grid->rowCount(); ++row)
        if (Grid->cell(0, row) == id)
            return row;
    return -1;
}

int TfrmGradeCount::GetSubjectCol(const QString& name) const
{
    if (Grid->colCount() < 4)
        return -1;
    for (int col = kFirstSubjectCol; col < Grid->colCount(); ++col)
        if (Grid->cell(col, 0) == name)
            return col;
    return -1;
}

double TfrmGradeCount::cellNumber(int col, int row) const
{
    const QString text = Grid->cell(col, row);
    return text.isEmpty() ? 0.0 : StrToFloat(text);
}

void TfrmGradeCount::CalcTotal()
{
    int lowestRow = -1;
    int highestRow = -1;
    if (Grid->colCount() > 4) {
        const int totalCol = Grid->colCount() - 1;
        double lowest = 10000.0;
        double highest = 0.0;
        for (int row = 1; row < Grid->rowCount(); ++row) {
            Grid->setRowTextColor(row, Qt::black);
            double sum = 0;
            for (int col = kFirstSubjectCol; col < totalCol; ++col) {
                const double score = cellNumber(col, row);
                if (score < kPassMark)
                    Grid->setRowTextColor(row, FailColor());
                sum += score;
            }
            Grid->setCell(totalCol, row, FormatOneDecimal(sum));
            Grid->setCellAlignment(totalCol, row, Qt::AlignRight);
            // The comparison reads the total as shown, like every later step.
            const double total = cellNumber(totalCol, row);
            if (total <= lowest) {
                lowest = total;
                lowestRow = row;
            }
            if (total >= highest) {
                highest = total;
                highestRow = row;
            }
        }
    }
    fillComparison(lowestRow, highestRow);
}

void TfrmGradeCount::fillComparison(int lowestRow, int highestRow)
{
    GridB->setColCount(Grid->colCount());
    for (int col = 0; col < GridB->colCount(); ++col) {
        GridB->setCell(col, 0, Grid->cell(col, 0));
        GridB->setCellAlignment(col, 0, Qt::AlignCenter);
        GridB->setColAlignment(col, col >= 2 ? Qt::AlignRight : Qt::AlignLeft);
        // Without a row to compare, the figures of the class shown before
        // must not stand under this class's headers.
        GridB->setCell(col, 1, lowestRow >= 0 ? Grid->cell(col, lowestRow) : QString());
        GridB->setCell(col, 2, highestRow >= 0 ? Grid->cell(col, highestRow) : QString());
    }
    GridB->setCell(0, 0, QStringLiteral("名次"));
    GridB->setCell(0, 1, QStringLiteral("最差"));
    GridB->setCell(0, 2, QStringLiteral("最优"));
}

QString TfrmGradeCount::subjectCodeOfColumn(int col) const
{
    // Item i of the list belongs to column i + 2. After a rebuild without
    // refill the list may be shorter than the table: such a column has no code.
    const int item = col - 2;
    if (item < 0 || item >= ListSubjCode->count())
        return {};
    return ListSubjCode->item(item)->text();
}

double TfrmGradeCount::GetHScore(const QString& code)
{
    if (dsStd->isEmpty())
        return 0;
    if (!dsStd->locate(QStringLiteral("SubjectCode"), code))
        return 0;
    return dsStd->fieldDouble(QStringLiteral("Score"));
}

void TfrmGradeCount::CheckHonours()
{
    for (int row = 1; row < Grid->rowCount(); ++row) {
        if (Grid->cell(0, row).isEmpty())
            break;
        bool qualifies = true;
        for (int col = kFirstSubjectCol; col <= Grid->colCount() - 2 && qualifies; ++col)
            qualifies = cellNumber(col, row) >= GetHScore(subjectCodeOfColumn(col));
        if (qualifies)
            Grid->setRowTextColor(row, HonoursColor());
    }
}

void TfrmGradeCount::SetJB()
{
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty())
        return;
    dsTemp->close();
    dsTemp->setSql(QStringLiteral("Select Max(TermCode) from TTerm Where TermCode<") + SqlTermCode(shown));
    if (!dsTemp->open()) {
        ShowMessage(Msg::ReadingFailed);
        return;
    }
    Grid->setColCount(Grid->colCount() + 1);
    const int prevCol = Grid->colCount() - 1;
    const int totalCol = prevCol - 1;
    Grid->setCell(prevCol, 0, QStringLiteral("上学期总分"));
    Grid->setCellAlignment(prevCol, 0, Qt::AlignCenter);
    Grid->setColAlignment(prevCol, Qt::AlignRight);

    // Without an earlier term there is nothing to sum; a stand-in code would
    // count the scores of whatever term happens to carry it (even this one).
    const QStringList fields = dsTemp->fieldNames();
    const bool hasEarlier =
        !dsTemp->isEmpty() && !fields.isEmpty() && !dsTemp->valueAt(0, fields.first()).isNull();
    const QString previous = hasEarlier ? SqlInt(dsTemp->firstColumn().toLongLong()) : QStringLiteral("0");

    // One read for the whole class rather than one per student: the sums of
    // every student's previous-term scores under this class code.
    QHash<qint64, double> previousTotals;
    if (hasEarlier) {
        dsTemp->close();
        dsTemp->setSql(QStringLiteral("Select StudentID,Sum(Score) from Tgrade Where TermCode=") + previous +
                       QStringLiteral(" And ClassCode=") + QuotedStr(shown.ClassCode) +
                       QStringLiteral(" Group by StudentID"));
        if (!dsTemp->open()) {
            ShowMessage(Msg::ReadingFailed);
            return;
        }
        const QString sumField = dsTemp->fieldNames().value(1);
        for (int r = 0; r < dsTemp->rowCount(); ++r)
            previousTotals.insert(dsTemp->valueAt(r, QStringLiteral("StudentID")).toLongLong(),
                                  dsTemp->valueAt(r, sumField).toDouble());
    }

    for (int row = 1; row < Grid->rowCount(); ++row) {
        const QString id = Grid->cell(0, row);
        if (id.isEmpty())
            break;
        const double sum = hasEarlier ? previousTotals.value(StrToInt(id)) : 0;
        if (Grid->cell(totalCol, row).isEmpty())
            break;
        Grid->setCell(prevCol, row, FormatOneDecimal(sum));
        Grid->setCellAlignment(prevCol, row, Qt::AlignRight);
        const double current = cellNumber(totalCol, row);
        const double before = cellNumber(prevCol, row);
        if (current != 0 && before != 0 && sum != 0 && before < current && current / before > kProgressRatio)
            Grid->setRowBackColor(row, ProgressColor());
    }
}

void TfrmGradeCount::cmdFilterClick()
{
    if (!rebuild(false))
        return;
    const int index = cmbSubj->currentIndex();
    if (index < 1)
        return;
    // The lists come from the last tree click; a column they name that the
    // rebuilt table does not have as a subject column is not sorted on.
    if (index > m_subjectCount)
        return;
    SortGridRows(index + 2, false, Grid);
    HideArea();
}

void TfrmGradeCount::HideArea()
{
    const int index = cmbSubj->currentIndex();
    if (index < 1 || index > m_subjectCount)
        return;
    const int col = index + 2;
    // Both bounds are read before any row is hidden: a bad one hides nothing.
    const double lower = StrToFloat(MaskedText(MaskEdit1).trimmed());
    const double upper = StrToFloat(MaskedText(MaskEdit2).trimmed());
    for (int row = 1; row < Grid->rowCount(); ++row) {
        if (Grid->cell(0, row).isEmpty())
            break;
        const double score = cellNumber(col, row);
        if (score < lower)
            Grid->setRowHeight(row, -1);
        if (score > upper)
            Grid->setRowHeight(row, -1);
    }
}

void TfrmGradeCount::cmdDetailClick()
{
    const int row = Grid->currentRow();
    if (row < 1)
        return;
    const QString id = Grid->cell(0, row);
    if (id.isEmpty())
        return;
    // The class of the table on show: the tree may have been moved since by
    // keyboard, and the dialog stores the class it is given.
    const ClassSelection shown = m_tree->ShownClass();
    if (shown.isEmpty())
        return;
    ShowStudentEdit(StrToInt(id), shown.ClassCode, shown.ClassName);
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

bool ShowGradeCount()
{
    auto form = std::make_unique<TfrmGradeCount>();
    if (!form->ReadyData())
        return false;
    TfrmMain* main = TfrmMain::instance();
    QMdiArea* area = main ? main->mdiArea() : nullptr;
    if (!area) {
        form->setAttribute(Qt::WA_DeleteOnClose);
        form.release()->showMaximized();
        return true;
    }
    QMdiSubWindow* frame = area->addSubWindow(form.release());
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->showMaximized();
    frame->widget()->setFocus();
    return true;
}
