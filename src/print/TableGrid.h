#pragma once

#include "print/PrintTable.h"
#include "print/TextBlock.h"

#include <QFont>
#include <QVector>

class QPaintDevice;
class QPainter;

// The columns of a printed table fitted to a width: at the type size asked
// for when they fit; otherwise in smaller type, down to a least size; below
// that, texts break onto further lines (figures stay whole) and only when
// even one character per line would not fit does the type shrink further.
// So every text is printed whole.
class TableGrid {
public:
    struct Sizes {
        qreal points = 10;     // the size wished for
        qreal leastPoints = 7; // the smallest before texts break
    };

    // A row laid out in the grid's columns; its height holds every cell's text.
    struct Row {
        QVector<TextBlock> cells;
        qreal height = 0;
        QColor text = Qt::black;
        QColor background;
        bool header = false;
    };

    // Fits the columns on device into width (device pixels) for the header
    // and the given rows.
    TableGrid(const QVector<PrintColumn>& columns, const QVector<const PrintRow*>& rows, QPaintDevice* device,
              qreal width, Sizes sizes);
    TableGrid(const QVector<PrintColumn>& columns, const QVector<const PrintRow*>& rows, QPaintDevice* device,
              qreal width)
        : TableGrid(columns, rows, device, width, Sizes())
    {
    }

    qreal pointSize() const { return m_points; }
    qreal width() const;
    const QVector<qreal>& columnWidths() const { return m_widths; }

    Row header() const;
    Row lay(const PrintRow& row) const;
    // The largest cut at or before limit (row coordinates) that no line of a cell crosses.
    qreal cut(const Row& row, qreal limit) const;
    // Paints the part [from, to) of a row with its top-left corner at origin.
    void paint(QPainter& painter, const Row& row, const QPointF& origin, qreal from, qreal to) const;
    void paint(QPainter& painter, const Row& row, const QPointF& origin) const
    {
        paint(painter, row, origin, 0, row.height);
    }

private:
    QVector<qreal> naturalWidths() const;
    void fit(qreal width, Sizes sizes);
    void breakTexts(qreal width, qreal points);
    void setPoints(qreal points);
    Row lay(const QStringList& cells, bool header) const;
    qreal slack() const { return m_padX / 2; }

    QVector<PrintColumn> m_columns;
    QVector<const PrintRow*> m_rows;
    QPaintDevice* m_device = nullptr;
    qreal m_points = 10;
    QFont m_font;
    QFont m_bold;
    qreal m_padX = 0;
    qreal m_padY = 0;
    QVector<qreal> m_widths;
};
