#include "widgets/StatusLine.h"

#include <QPainter>
#include <QStyle>

StatusLine::StatusLine(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void StatusLine::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

QSize StatusLine::sizeHint() const
{
    return {0, fontMetrics().height()};
}

QSize StatusLine::minimumSizeHint() const
{
    return sizeHint();
}

void StatusLine::paintEvent(QPaintEvent*)
{
    // As a label paints its text, without its mnemonics.
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(),
                          int(QStyle::visualAlignment(layoutDirection(), Qt::AlignLeft | Qt::AlignVCenter)),
                          palette(), isEnabled(), m_text, foregroundRole());
}
