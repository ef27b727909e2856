#include "widgets/DataGrid.h"

#include "data/QueryObject.h"
#include "data/SqlText.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

GridColumn GridColumn::hidden(const QString& field)
{
    GridColumn c;
    c.field = field;
    c.visible = false;
    return c;
}

namespace {

QString shownText(const GridColumn& column, const QVariant& value)
{
    if (value.isNull())
        return {};
    if (!column.valueList.isEmpty()) {
        const QString key = value.toString();
        return column.valueList.value(key, key);
    }
    if (column.format == GridColumn::Format::PlainNumber || value.typeId() == QMetaType::Double) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok)
            return FormatPlainNumber(number);
    }
    return value.toString();
}

// Breaks a title into lines that fit a column of the given width.
QString wrapTitle(const QString& title, const QFontMetrics& metrics, int width)
{
    QString result;
    QString line;
    for (const QChar ch : title) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + ch) > width - 4) {
            result += line + QLatin1Char('\n');
            line.clear();
        }
        line += ch;
    }
    return result + line;
}

} // namespace

class QueryTableModel : public QAbstractTableModel {
public:
    QueryTableModel(DataGrid* grid) : QAbstractTableModel(grid), m_grid(grid) {}

    void setQuery(QueryObject* query)
    {
        beginResetModel();
        if (m_query)
            disconnect(m_query, nullptr, this, nullptr);
        m_query = query;
        if (m_query) {
            connect(m_query, &QueryObject::aboutToReset, this, [this] { beginResetModel(); });
            connect(m_query, &QueryObject::reset, this, [this] { endResetModel(); });
            connect(m_query, &QueryObject::rowAboutToBeRemoved, this,
                    [this](int row) { beginRemoveRows({}, row, row); });
            connect(m_query, &QueryObject::rowRemoved, this, [this](int) { endRemoveRows(); });
            connect(m_query, &QueryObject::rowAboutToBeAppended, this,
                    [this](int row) { beginInsertRows({}, row, row); });
            connect(m_query, &QueryObject::rowAppended, this, [this](int) { endInsertRows(); });
            connect(m_query, &QueryObject::rowChanged, this,
                    [this](int row) { emit dataChanged(index(row, 0), index(row, columnCount() - 1)); });
            connect(m_query, &QueryObject::currentRowChanged, this,
                    [this] { emit headerDataChanged(Qt::Vertical, 0, qMax(0, rowCount() - 1)); });
            connect(m_query, &QObject::destroyed, this, [this] {
                beginResetModel();
                m_query = nullptr;
                endResetModel();
            });
        }
        endResetModel();
    }

    void columnsChanged()
    {
        beginResetModel();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() || !m_query ? 0 : m_query->rowCount();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : m_grid->columns().size();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!m_query || !index.isValid())
            return {};
        const GridColumn& column = m_grid->columns().at(index.column());
        switch (role) {
        case Qt::DisplayRole:
            return shownText(column, m_query->valueAt(index.row(), column.field));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(column.alignment);
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Vertical) {
            // The row indicator marks the current row.
            if (role == Qt::DisplayRole)
                return m_query && section == m_query->currentRow() ? QStringLiteral("▶") : QString();
            if (role == Qt::TextAlignmentRole)
                return QVariant::fromValue(Qt::AlignCenter);
            return {};
        }
        if (section < 0 || section >= m_grid->columns().size())
            return {};
        const GridColumn& column = m_grid->columns().at(section);
        if (role == Qt::DisplayRole)
            return m_wrapTitles ? wrapTitle(column.title, m_grid->fontMetrics(), column.width) : column.title;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(column.titleAlignment);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
    }

    QueryObject* query() const { return m_query; }
    bool m_wrapTitles = false;

private:
    DataGrid* m_grid;
    QPointer<QueryObject> m_query;
};

// The footer row: fixed texts or column sums, drawn under the cells of their columns.
class FooterBar : public QWidget {
public:
    FooterBar(DataGrid* grid) : QWidget(grid), m_grid(grid) {}

    QString text(int column) const
    {
        const GridColumn& c = m_grid->columns().at(column);
        switch (c.footer) {
        case GridColumn::Footer::Text:
            return c.footerText;
        case GridColumn::Footer::Sum: {
            QueryObject* q = m_grid->query();
            double sum = 0;
            if (q)
                for (int row = 0; row < q->rowCount(); ++row)
                    sum += q->valueAt(row, c.field).toDouble();
            return FormatPlainNumber(sum);
        }
        case GridColumn::Footer::None:
            break;
        }
        return {};
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Button));
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(0, 0, width(), 0);
        QHeaderView* header = m_grid->horizontalHeader();
        const int offset = m_grid->verticalHeader()->isVisible() ? m_grid->verticalHeader()->width() : 0;
        for (int column = 0; column < m_grid->columns().size(); ++column) {
            if (header->isSectionHidden(column))
                continue;
            const QRect cell(offset + header->sectionViewportPosition(column), 1, header->sectionSize(column),
                             height() - 1);
            p.setPen(palette().color(QPalette::Mid));
            p.drawLine(cell.right(), 0, cell.right(), height());
            p.setPen(palette().color(QPalette::ButtonText));
            p.drawText(cell.adjusted(3, 0, -3, 0),
                       static_cast<int>(m_grid->columns().at(column).footerAlignment), text(column));
        }
    }

private:
    DataGrid* m_grid;
};

DataGrid::DataGrid(QWidget* parent) : LaidOutTableView(parent)
{
    m_model = new QueryTableModel(this);
    QTableView::setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setShowGrid(true);
    setFrameShape(QFrame::Box);
    setAlternatingRowColors(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(12);
    verticalHeader()->setFixedWidth(12);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionsClickable(false);
    m_footer = new FooterBar(this);
    m_footer->hide();
    connect(horizontalHeader(), &QHeaderView::sectionResized, m_footer, qOverload<>(&QWidget::update));
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, m_footer, qOverload<>(&QWidget::update));
}

DataGrid::~DataGrid() = default;

void DataGrid::setQuery(QueryObject* query)
{
    if (m_query)
        disconnect(m_query, nullptr, this, nullptr);
    m_query = query;
    m_model->setQuery(query);
    if (query) {
        connect(query, &QueryObject::currentRowChanged, this, &DataGrid::syncFromQuery);
        connect(query, &QueryObject::reset, this, [this] {
            applyColumns();
            syncFromQuery(m_query ? m_query->currentRow() : -1);
            m_footer->update();
        });
        connect(query, &QueryObject::rowRemoved, m_footer, qOverload<>(&QWidget::update));
        connect(query, &QueryObject::rowChanged, m_footer, qOverload<>(&QWidget::update));
        connect(query, &QueryObject::rowAppended, m_footer, qOverload<>(&QWidget::update));
    }
    applyColumns();
    syncFromQuery(query ? query->currentRow() : -1);
}

void DataGrid::setColumns(const QVector<GridColumn>& columns)
{
    m_columns = columns;
    m_model->columnsChanged();
    applyColumns();
}

void DataGrid::setMultiLineTitles(bool on)
{
    m_multiLine = on;
    m_model->m_wrapTitles = on;
    m_model->columnsChanged();
    applyColumns();
}

void DataGrid::applyColumns()
{
    for (int i = 0; i < m_columns.size(); ++i) {
        setColumnHidden(i, !m_columns.at(i).visible);
        if (m_columns.at(i).visible)
            setColumnWidth(i, m_columns.at(i).width);
    }
    if (m_multiLine) {
        int lines = 1;
        for (const GridColumn& c : m_columns)
            if (c.visible)
                lines = qMax(lines, m_model->headerData(columnOf(c.field), Qt::Horizontal, Qt::DisplayRole)
                                            .toString()
                                            .count(QLatin1Char('\n')) +
                                        1);
        horizontalHeader()->setFixedHeight(lines * fontMetrics().height() + 8);
    }
    m_footer->setVisible(hasFooter());
    updateGeometries();
}

int DataGrid::columnOf(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool DataGrid::hasFooter() const
{
    for (const GridColumn& c : m_columns)
        if (c.footer != GridColumn::Footer::None)
            return true;
    return false;
}

int DataGrid::rowCount() const
{
    return m_model->rowCount();
}

QString DataGrid::cellText(int row, const QString& field) const
{
    const int column = columnOf(field);
    if (column < 0)
        return {};
    return m_model->data(m_model->index(row, column), Qt::DisplayRole).toString();
}

QString DataGrid::footerText(const QString& field) const
{
    const int column = columnOf(field);
    return column < 0 ? QString() : m_footer->text(column);
}

void DataGrid::updateGeometries()
{
    const int footerHeight = hasFooter() ? verticalHeader()->defaultSectionSize() + 2 : 0;
    setViewportMargins(verticalHeader()->isVisible() ? verticalHeader()->width() : 0,
                       horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0, 0, footerHeight);
    QTableView::updateGeometries();
    if (footerHeight > 0) {
        const QRect area = viewport()->geometry();
        m_footer->setGeometry(area.left() - (verticalHeader()->isVisible() ? verticalHeader()->width() : 0),
                              area.bottom() + 1, area.width() + verticalHeader()->width(), footerHeight);
        m_footer->raise();
    }
}

void DataGrid::syncFromQuery(int row)
{
    if (m_syncing)
        return;
    m_syncing = true;
    if (row < 0 || row >= m_model->rowCount()) {
        selectionModel()->clear();
    } else {
        const int column = qMax(0, horizontalHeader()->logicalIndexAt(0));
        const QModelIndex index = m_model->index(row, column);
        selectionModel()->setCurrentIndex(index,
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    }
    m_syncing = false;
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !m_query || !current.isValid())
        return;
    if (current.row() != m_query->currentRow()) {
        m_syncing = true;
        m_query->setCurrentRow(current.row());
        m_syncing = false;
    }
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit dblClick();
}

void DataGrid::keyPressEvent(QKeyEvent* event)
{
    emit keyDown(event->key(), event->modifiers());
    QTableView::keyPressEvent(event);
}
