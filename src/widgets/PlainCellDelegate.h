#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QStyledItemDelegate>

// Paints cells of one line of text as the style paints them, but from a
// laid-out copy kept per text: a table of a whole class repaints hundreds of
// cells at once, and asking the model for every role of every cell and
// laying each text out again costs more than the drawing. Selected cells are
// painted the same way in the selection's colours. The focused cell, a text
// too wide for its cell (which the style elides), a text of several lines
// and cells a subclass leaves alone are painted by the style.
class PlainCellDelegate : public QStyledItemDelegate {
public:
    explicit PlainCellDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    struct Cell {
        QString text;
        QColor textColor;  // invalid: the palette's text colour
        QColor background; // invalid: the view's own
        Qt::Alignment alignment = Qt::AlignLeft;
    };
    // What a cell shows; false leaves it to the style. The default reads the
    // model's display, foreground, background and alignment roles.
    virtual bool cellOf(const QModelIndex& index, Cell& cell) const;

private:
    const QStaticText& staticText(const QString& text, const QFont& font) const;

    mutable QHash<QString, QStaticText> m_texts;
    mutable QFont m_font;
};
