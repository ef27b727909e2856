#pragma once

#include "data/QueryObject.h"
#include "widgets/LaidOutTableView.h"

#include <QMap>
#include <QPointer>
#include <QVector>

class FooterBar;

// One declared column of a data-bound grid.
struct GridColumn {
    enum class Footer { None, Text, Sum };
    enum class Format { AsStored, PlainNumber };

    QString field;
    QString title;
    int width = 64;
    bool visible = true;
    Qt::Alignment titleAlignment = Qt::AlignCenter;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QMap<QString, QString> valueList; // stored value text -> shown text
    Format format = Format::AsStored;
    Footer footer = Footer::None;
    QString footerText;
    Qt::Alignment footerAlignment = Qt::AlignRight | Qt::AlignVCenter;

    static GridColumn hidden(const QString& field);
    // The text a stored value is shown as in this column.
    QString shownText(const QVariant& value) const;
};

// The data-bound grid: a read-only, whole-row view of a query object through
// declared columns, with value lists, an optional footer row and a row
// indicator. The query's columns are the declared fields, in their order;
// the grid's current row is the query's current row, both ways.
class DataGrid : public LaidOutTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    ~DataGrid() override;

    void setQuery(QueryObject* query);
    QueryObject* query() const { return m_query; }
    void setColumns(const QVector<GridColumn>& columns);
    const QVector<GridColumn>& columns() const { return m_columns; }
    // Titles wrap onto several lines to fit their column.
    void setMultiLineTitles(bool on);

    int rowCount() const;
    QString cellText(int row, const QString& field) const;
    QString footerText(const QString& field) const;
    bool hasFooter() const;

signals:
    void dblClick();
    void keyDown(int key, Qt::KeyboardModifiers shift);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void updateGeometries() override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void bindColumns();
    void applyColumns();
    QString title(const GridColumn& column) const;
    void syncFromQuery(int row);
    int columnOf(const QString& field) const;

    QPointer<QueryObject> m_query;
    QVector<GridColumn> m_columns;
    FooterBar* m_footer = nullptr;
    bool m_multiLine = false;
    bool m_syncing = false;
};
