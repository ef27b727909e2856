#include "widgets/StringAlignGrid.h"

#include "widgets/PlainCellDelegate.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QHeaderView>
#include <QVector>

namespace {
// The header row keeps this look whatever its row colours say.
const QColor kHeaderSilver(192, 192, 192);

Qt::Alignment withVerticalCentre(Qt::Alignment horizontal)
{
    return (horizontal & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter;
}

} // namespace

// The grid's storage. Grid row 0 is presented as the horizontal header, grid
// row r (r >= 1) as model row r - 1, so the header stays fixed on screen.
class StringAlignModel : public QAbstractTableModel {
public:
    struct Row {
        QStringList texts;
        QVector<int> align; // 0: the cell has no alignment of its own
        QColor text;
        QColor back;
        int height = 0;
    };
    struct Col {
        int width = 0;
        int align = 0; // 0: the column has no alignment of its own
    };

    StringAlignModel(QObject* parent, const QColor& window) : QAbstractTableModel(parent), m_window(window) {}

    QVector<Row> rows;
    QVector<Col> cols;
    int defaultWidth = 80;
    int defaultHeight = 16;

    Row newRow() const
    {
        Row row;
        row.texts = QStringList(QList<QString>(cols.size()));
        row.align = QVector<int>(cols.size(), 0);
        row.text = Qt::black;
        row.back = m_window;
        row.height = defaultHeight;
        return row;
    }

    void setColCount(int count)
    {
        count = qMax(0, count);
        const int old = cols.size();
        if (count == old)
            return;
        if (count > old) {
            beginInsertColumns({}, old, count - 1);
            for (int c = old; c < count; ++c)
                cols.append(Col{defaultWidth, 0});
            for (Row& row : rows) {
                for (int c = old; c < count; ++c) {
                    row.texts.append(QString());
                    row.align.append(0);
                }
            }
            endInsertColumns();
        } else {
            beginRemoveColumns({}, count, old - 1);
            cols.resize(count);
            for (Row& row : rows) {
                row.texts.erase(row.texts.begin() + count, row.texts.end());
                row.align.resize(count);
            }
            endRemoveColumns();
        }
        emit headerDataChanged(Qt::Horizontal, 0, qMax(0, count - 1));
    }

    void setRowCount(int count)
    {
        count = qMax(1, count); // the header row always exists
        const int old = rows.size();
        if (count == old)
            return;
        if (count > old) {
            beginInsertRows({}, old - 1, count - 2);
            for (int r = old; r < count; ++r)
                rows.append(newRow());
            endInsertRows();
        } else {
            beginRemoveRows({}, count - 1, old - 2);
            rows.resize(count);
            endRemoveRows();
        }
    }

    Qt::Alignment effectiveAlignment(int col, int row) const
    {
        const int own = rows.at(row).align.at(col);
        if (own)
            return Qt::Alignment(own);
        if (cols.at(col).align)
            return Qt::Alignment(cols.at(col).align);
        return Qt::AlignLeft;
    }

    // While a batch is open, changes of texts and colours are only noted and
    // announced once when it closes: a rebuilt table changes thousands of
    // cells, and the view works out where each one is on screen.
    int batches = 0;
    bool changedInBatch = false;

    void endBatch()
    {
        if (--batches > 0 || !changedInBatch)
            return;
        changedInBatch = false;
        if (!cols.isEmpty()) {
            emit headerDataChanged(Qt::Horizontal, 0, cols.size() - 1);
            if (rows.size() > 1)
                emit dataChanged(index(0, 0), index(rows.size() - 2, cols.size() - 1));
        }
    }

    // True when a batch is open: the change is noted for its end.
    bool deferred()
    {
        if (batches > 0)
            changedInBatch = true;
        return batches > 0;
    }

    void cellChanged(int col, int row)
    {
        if (deferred())
            return;
        if (row == 0) {
            emit headerDataChanged(Qt::Horizontal, col, col);
        } else {
            const QModelIndex i = index(row - 1, col);
            emit dataChanged(i, i);
        }
    }

    void rowChanged(int row)
    {
        if (deferred())
            return;
        if (row > 0 && !cols.isEmpty())
            emit dataChanged(index(row - 1, 0), index(row - 1, cols.size() - 1));
    }

    void columnChanged(int col)
    {
        if (deferred())
            return;
        emit headerDataChanged(Qt::Horizontal, col, col);
        if (rows.size() > 1)
            emit dataChanged(index(0, col), index(rows.size() - 2, col));
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : rows.size() - 1;
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : cols.size();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int row = index.row() + 1;
        const Row& r = rows.at(row);
        switch (role) {
        case Qt::DisplayRole:
            return r.texts.at(index.column());
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(withVerticalCentre(effectiveAlignment(index.column(), row)));
        case Qt::ForegroundRole:
            return r.text;
        case Qt::BackgroundRole:
            return r.back;
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || section < 0 || section >= cols.size())
            return {};
        switch (role) {
        case Qt::DisplayRole:
            return rows.at(0).texts.at(section);
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(withVerticalCentre(effectiveAlignment(section, 0)));
        case Qt::BackgroundRole:
            return kHeaderSilver;
        case Qt::ForegroundRole:
            return QColor(Qt::black);
        default:
            return {};
        }
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

private:
    QColor m_window;
};

namespace {
// Paints a cell straight from the grid's storage.
class CellDelegate : public PlainCellDelegate {
public:
    CellDelegate(const StringAlignModel* model, QObject* parent) : PlainCellDelegate(parent), m_model(model)
    {
    }

protected:
    bool cellOf(const QModelIndex& index, Cell& cell) const override
    {
        if (index.model() != m_model)
            return false;
        const int row = index.row() + 1;
        const StringAlignModel::Row& cells = m_model->rows.at(row);
        cell.text = cells.texts.at(index.column());
        cell.textColor = cells.text;
        cell.background = cells.back;
        cell.alignment = m_model->effectiveAlignment(index.column(), row);
        return true;
    }

private:
    const StringAlignModel* m_model;
};
// The header row: always as high as row 0 says (the grid fixes its height),
// so its size is never measured from its texts, which the view would
// otherwise do for every column each time columns are added.
class HeaderRow : public QHeaderView {
public:
    explicit HeaderRow(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}
    QSize sizeHint() const override { return QSize(length(), height()); }
};
} // namespace

TStringAlignGrid::TStringAlignGrid(QWidget* parent) : LaidOutTableView(parent)
{
    m_model = new StringAlignModel(this, palette().color(QPalette::Active, QPalette::Base));
    m_model->rows.append(m_model->newRow());
    setModel(m_model);
    setItemDelegate(new CellDelegate(m_model, this));

    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setFrameShape(QFrame::Box); // flat border
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
    setCornerButtonEnabled(false);

    QHeaderView* rows = verticalHeader();
    rows->hide(); // no fixed column
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(m_defaultRowHeight);
    rows->setSectionResizeMode(QHeaderView::Fixed);

    auto* header = new HeaderRow(this);
    setHorizontalHeader(header);
    header->setMinimumSectionSize(1);
    header->setDefaultSectionSize(m_defaultColWidth);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    header->setStyleSheet(QStringLiteral(
        "QHeaderView::section { background-color: rgb(192, 192, 192); color: black; padding: 0px 2px;"
        " border: none; border-right: 1px solid rgb(128, 128, 128); border-bottom: 1px solid rgb(128, 128, "
        "128); }"));
    header->setFixedHeight(m_defaultRowHeight);
    // A width the user drags stays with the column until it is set again.
    connect(header, &QHeaderView::sectionResized, this, [this](int col, int, int width) {
        if (!m_syncing && col >= 0 && col < m_model->cols.size() && m_model->cols[col].width >= 0)
            m_model->cols[col].width = width;
    });
}

TStringAlignGrid::~TStringAlignGrid() = default;

int TStringAlignGrid::colCount() const
{
    return m_model->cols.size();
}

void TStringAlignGrid::setColCount(int count)
{
    const int old = colCount();
    m_model->setColCount(count);
    for (int c = old; c < colCount(); ++c)
        syncColumn(c);
    // A row selection covers the columns it was made over: widen it to the new ones.
    if (currentIndex().isValid() && selectionMode() != QAbstractItemView::NoSelection)
        selectionModel()->select(currentIndex(),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    keepCurrentRow();
}

int TStringAlignGrid::rowCount() const
{
    return m_model->rows.size();
}

void TStringAlignGrid::setRowCount(int count)
{
    const int old = rowCount();
    m_model->setRowCount(count);
    for (int r = old; r < rowCount(); ++r)
        syncRow(r);
    keepCurrentRow();
}

QString TStringAlignGrid::cell(int col, int row) const
{
    if (col < 0 || col >= colCount() || row < 0 || row >= rowCount())
        return {};
    return m_model->rows.at(row).texts.at(col);
}

void TStringAlignGrid::setCell(int col, int row, const QString& text)
{
    if (col < 0 || col >= colCount() || row < 0 || row >= rowCount())
        return;
    m_model->rows[row].texts[col] = text;
    m_model->cellChanged(col, row);
}

void TStringAlignGrid::setDefaultColWidth(int width)
{
    m_defaultColWidth = width;
    m_model->defaultWidth = width;
    horizontalHeader()->setDefaultSectionSize(qMax(1, width));
}

int TStringAlignGrid::colWidth(int col) const
{
    return (col >= 0 && col < colCount()) ? m_model->cols.at(col).width : 0;
}

void TStringAlignGrid::setColWidth(int col, int width)
{
    if (col < 0 || col >= colCount())
        return;
    m_model->cols[col].width = width;
    syncColumn(col);
}

void TStringAlignGrid::setDefaultRowHeight(int height)
{
    m_defaultRowHeight = height;
    m_model->defaultHeight = height;
    verticalHeader()->setDefaultSectionSize(qMax(1, height));
}

int TStringAlignGrid::rowHeight(int row) const
{
    return (row >= 0 && row < rowCount()) ? m_model->rows.at(row).height : 0;
}

void TStringAlignGrid::setRowHeight(int row, int height)
{
    if (row < 0 || row >= rowCount())
        return;
    m_model->rows[row].height = height;
    syncRow(row);
}

QColor TStringAlignGrid::rowTextColor(int row) const
{
    return (row >= 0 && row < rowCount()) ? m_model->rows.at(row).text : QColor();
}

void TStringAlignGrid::setRowTextColor(int row, const QColor& color)
{
    if (row < 0 || row >= rowCount())
        return;
    m_model->rows[row].text = color;
    m_model->rowChanged(row);
}

QColor TStringAlignGrid::rowBackColor(int row) const
{
    return (row >= 0 && row < rowCount()) ? m_model->rows.at(row).back : QColor();
}

void TStringAlignGrid::setRowBackColor(int row, const QColor& color)
{
    if (row < 0 || row >= rowCount())
        return;
    m_model->rows[row].back = color;
    m_model->rowChanged(row);
}

QColor TStringAlignGrid::windowColor() const
{
    return palette().color(QPalette::Active, QPalette::Base);
}

void TStringAlignGrid::setCellAlignment(int col, int row, Qt::Alignment alignment)
{
    if (col < 0 || col >= colCount() || row < 0 || row >= rowCount())
        return;
    m_model->rows[row].align[col] = int(alignment & Qt::AlignHorizontal_Mask);
    m_model->cellChanged(col, row);
}

void TStringAlignGrid::setColAlignment(int col, Qt::Alignment alignment)
{
    if (col < 0 || col >= colCount())
        return;
    m_model->cols[col].align = int(alignment & Qt::AlignHorizontal_Mask);
    m_model->columnChanged(col);
}

Qt::Alignment TStringAlignGrid::alignment(int col, int row) const
{
    if (col < 0 || col >= colCount() || row < 0 || row >= rowCount())
        return Qt::AlignLeft;
    return m_model->effectiveAlignment(col, row);
}

int TStringAlignGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || isRowHidden(current.row()))
        return -1;
    // A click below the last row or a Ctrl+click takes the highlight away
    // but leaves the view a current index: no row is selected then.
    if (selectionMode() != QAbstractItemView::NoSelection &&
        !selectionModel()->rowIntersectsSelection(current.row(), current.parent()))
        return -1;
    return current.row() + 1;
}

void TStringAlignGrid::setCurrentRow(int row)
{
    if (row < 1 || row >= rowCount() || colCount() == 0)
        return;
    int col = 0;
    while (col < colCount() - 1 && isColumnHidden(col))
        ++col;
    setCurrentIndex(m_model->index(row - 1, col));
}

QRect TStringAlignGrid::cellRect(int col, int row) const
{
    if (row == 0) {
        const QHeaderView* header = horizontalHeader();
        return QRect(header->sectionViewportPosition(col), 0, header->sectionSize(col), header->height());
    }
    return visualRect(m_model->index(row - 1, col));
}

TStringAlignGrid::Batch::Batch(TStringAlignGrid* grid) : m_grid(grid)
{
    if (m_grid)
        ++m_grid->m_model->batches;
}

TStringAlignGrid::Batch::~Batch()
{
    if (m_grid)
        m_grid->m_model->endBatch();
}

void TStringAlignGrid::syncColumn(int col)
{
    m_syncing = true;
    const int width = m_model->cols.at(col).width;
    if (width < 0) {
        setColumnHidden(col, true);
    } else {
        setColumnHidden(col, false);
        horizontalHeader()->resizeSection(col, width);
    }
    m_syncing = false;
}

void TStringAlignGrid::syncRow(int row)
{
    const int height = m_model->rows.at(row).height;
    if (row == 0) {
        horizontalHeader()->setVisible(height >= 0);
        if (height >= 0)
            horizontalHeader()->setFixedHeight(height);
        return;
    }
    if (height < 0) {
        setRowHidden(row - 1, true);
        if (currentIndex().isValid() && currentIndex().row() == row - 1)
            leaveHiddenRow(row);
    } else {
        setRowHidden(row - 1, false);
        verticalHeader()->resizeSection(row - 1, height);
        keepCurrentRow();
    }
}

void TStringAlignGrid::leaveHiddenRow(int row)
{
    // The user cannot see a hidden row, so it must not stay the one that
    // commands act on: the nearest visible row below, else above, takes over.
    for (int r = row + 1; r < rowCount(); ++r) {
        if (!isRowHidden(r - 1)) {
            setCurrentRow(r);
            return;
        }
    }
    for (int r = row - 1; r >= 1; --r) {
        if (!isRowHidden(r - 1)) {
            setCurrentRow(r);
            return;
        }
    }
    selectionModel()->clearCurrentIndex();
    clearSelection();
}

void TStringAlignGrid::keepCurrentRow()
{
    // Like a grid that always has a current cell: a built table starts on its
    // first data row, so a command on "the selected row" has one to act on.
    if (currentIndex().isValid() || colCount() == 0)
        return;
    for (int r = 1; r < rowCount(); ++r) {
        if (!isRowHidden(r - 1)) {
            setCurrentRow(r);
            return;
        }
    }
}
