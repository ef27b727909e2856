#pragma once

#include <QHash>
#include <QHeaderView>
#include <QStaticText>

// A table's column titles drawn flat in the grids' silver, a title of more
// than one line centred in its section, with the sort mark of the column
// sorted by. Drawn here rather than by the style: a table of forty figures
// repaints all its titles on every change, and the style's sections cost
// more than the whole table's texts.
class TTitleHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TTitleHeader(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    // A line of a title laid out once: laying Chinese text out costs far
    // more than drawing it.
    const QStaticText& laidOut(const QString& line) const;

    mutable QHash<QString, QStaticText> m_lines;
};
