#include "widgets/DataGrid.h"

#include "data/QueryObject.h"
#include "data/SqlText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

GridColumn GridColumn::hidden(const QString& field)
{
    GridColumn c;
    c.field = field;
    c.visible = false;
    return c;
}

QString GridColumn::shownText(const QVariant& value) const
{
    if (value.isNull())
        return {};
    if (!valueList.isEmpty()) {
        const QString key = value.toString();
        return valueList.value(key, key);
    }
    if (format == Format::PlainNumber || value.typeId() == QMetaType::Double) {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (ok)
            return FormatPlainNumber(number);
    }
    return value.toString();
}

namespace {

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

// Draws each cell as its declared column shows the stored value.
class ColumnFormat : public QStyledItemDelegate {
public:
    ColumnFormat(DataGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() >= m_grid->columns().size())
            return;
        const GridColumn& column = m_grid->columns().at(index.column());
        option->text = column.shownText(index.data());
        option->displayAlignment = column.alignment;
    }

private:
    DataGrid* m_grid;
};

} // namespace

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
        const int columns = qMin(int(m_grid->columns().size()), header->count());
        for (int column = 0; column < columns; ++column) {
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
    setItemDelegate(new ColumnFormat(this));
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
    bindColumns();
    QTableView::setModel(query);
    if (query) {
        connect(query, &QueryObject::currentRowChanged, this, &DataGrid::syncFromQuery);
        // A reset view forgets its hidden columns and widths.
        connect(query, &QAbstractItemModel::modelReset, this, [this] {
            applyColumns();
            m_footer->update();
        });
        for (auto changed : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::rowsInserted})
            connect(query, changed, m_footer, qOverload<>(&QWidget::update));
        connect(query, &QAbstractItemModel::dataChanged, m_footer, qOverload<>(&QWidget::update));
    }
    applyColumns();
    syncFromQuery(query ? query->currentRow() : -1);
}

void DataGrid::setColumns(const QVector<GridColumn>& columns)
{
    m_columns = columns;
    bindColumns();
    applyColumns();
}

void DataGrid::setMultiLineTitles(bool on)
{
    m_multiLine = on;
    applyColumns();
}

void DataGrid::bindColumns()
{
    if (!m_query)
        return;
    QStringList fields;
    for (const GridColumn& c : std::as_const(m_columns))
        fields << c.field;
    m_query->setColumnFields(fields);
}

QString DataGrid::title(const GridColumn& column) const
{
    return m_multiLine ? wrapTitle(column.title, fontMetrics(), column.width) : column.title;
}

void DataGrid::applyColumns()
{
    const int sections = horizontalHeader()->count();
    int lines = 1;
    for (int i = 0; i < m_columns.size() && i < sections; ++i) {
        const GridColumn& c = m_columns.at(i);
        setColumnHidden(i, !c.visible);
        if (!c.visible)
            continue;
        setColumnWidth(i, c.width);
        const QString text = title(c);
        m_query->setHeaderData(i, Qt::Horizontal, text, Qt::DisplayRole);
        m_query->setHeaderData(i, Qt::Horizontal, QVariant::fromValue(c.titleAlignment),
                               Qt::TextAlignmentRole);
        lines = qMax(lines, int(text.count(QLatin1Char('\n'))) + 1);
    }
    if (m_multiLine)
        horizontalHeader()->setFixedHeight(lines * fontMetrics().height() + 8);
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
    return m_query ? m_query->rowCount() : 0;
}

QString DataGrid::cellText(int row, const QString& field) const
{
    const int column = columnOf(field);
    if (column < 0 || !m_query)
        return {};
    return m_columns.at(column).shownText(m_query->index(row, column).data());
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
    if (m_syncing || !selectionModel())
        return;
    m_syncing = true;
    if (!m_query || row < 0 || row >= m_query->rowCount()) {
        selectionModel()->clear();
    } else {
        const int column = qMax(0, horizontalHeader()->logicalIndexAt(0));
        const QModelIndex index = m_query->index(row, column);
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
