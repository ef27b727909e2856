#pragma once

#include "print/PrintDocument.h"
#include "print/PrintTable.h"

// A table on as many pages as it takes: on each page the title, the note
// and the date, the header row, then rows; after the last row the summary
// rows under a double rule and the legend; at the foot "第 N 页 共 M 页". A
// row never breaks across pages unless it is taller than a page by itself;
// then it is cut between lines of text.
class TableDocument : public PrintDocument {
public:
    explicit TableDocument(PrintTable table, QPageLayout::Orientation orientation = QPageLayout::Landscape);

    const PrintTable& table() const { return m_table; }

    QString title() const override { return m_table.title; }
    QPageLayout pageLayout() const override { return Print::A4(m_orientation); }
    int paint(QPainter& painter, QPagedPaintDevice& device) const override;

private:
    PrintTable m_table;
    QPageLayout::Orientation m_orientation;
};
