#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

// Paints the plain texts of a table's cells from a laid-out copy kept per
// text, with the model's alignment and the view's colours; the selected
// row, the focused cell and a text too wide for its cell (which the style
// elides) are left to the style. A table of many figures (the comparison of
// a term's classes) repaints thousands of cells at once, and laying each
// text out again costs more than the drawing.
class TextCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const QStaticText& laidOut(const QString& text, const QFont& font) const;

    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
};
