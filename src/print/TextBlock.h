#pragma once

#include <QFont>
#include <QString>
#include <QTextLayout>
#include <memory>

class QPaintDevice;
class QPainter;

// A text laid out for printing in a given width: broken between words, or
// anywhere in a word wider than the width, and at the text's own line
// breaks. Every line is whole inside the block, so what is measured is what
// is painted and nothing is cut; a block taller than a page is painted in
// slices that end between lines.
class TextBlock {
public:
    TextBlock() = default;
    TextBlock(const QString& text, const QFont& font, QPaintDevice* device, qreal width,
              Qt::Alignment alignment = Qt::AlignLeft);

    qreal height() const { return m_height; }
    qreal width() const { return m_width; }

    // The largest y (from the block's top) not above limit at which the
    // block can be cut between lines: limit itself when no line crosses it.
    qreal cutAtOrBefore(qreal limit) const;
    // Paints the lines lying between from and to (block coordinates, cut
    // points of cutAtOrBefore) with their top at origin.y() + (line top - from).
    void paint(QPainter& painter, const QPointF& origin, qreal from = 0, qreal to = 1e12) const;

    // The widest line of text unbroken (its own line breaks kept).
    static qreal naturalWidth(const QString& text, const QFont& font, QPaintDevice* device);
    // Line breaks of every kind as the layout's line separator.
    static QString withLineSeparators(QString text);

private:
    std::shared_ptr<QTextLayout> m_layout; // shared: blocks are values, the layout never changes
    qreal m_width = 0;
    qreal m_height = 0;
};
