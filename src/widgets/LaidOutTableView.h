#pragma once

#include <QPointer>
#include <QTableView>

// A table view that is painted once, and cheaply.
//
// Changed rows and columns are laid out just before its window paints. Qt
// lays them out on a timer that fires after the next paint and then paints
// the view a second time; a table rebuilt in one go (a class's rows
// replaced, columns added) is painted once this way.
//
// Its grid is drawn as rectangles one pixel wide, the same pixels in the
// same colour as Qt's. Qt strokes each grid line pixel by pixel, which for
// a whole class on a large screen costs as much as half its cells' texts.
class LaidOutTableView : public QTableView {
public:
    explicit LaidOutTableView(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void watchWindow();
    void paintGrid(QPainter& painter, QRect area, const QColor& color) const;

    QPointer<QWidget> m_window; // the window whose paint requests are watched
};
