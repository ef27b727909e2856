#pragma once

#include <QWidget>

// A line of plain text that changes often: a window's status after every
// stored cell. A label asks the layouts up to its window to lay themselves
// out again at every new text, and the frame of an MDI child is painted
// again with them; this line keeps its size and paints only itself. The
// text is shown as given ("&" and markup too).
class StatusLine : public QWidget {
public:
    explicit StatusLine(QWidget* parent = nullptr);

    QString text() const { return m_text; }
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
};
