#pragma once

#include <QPointer>
#include <QTableView>

// A table view that lays out changed rows and columns just before its window
// paints. Qt lays them out on a timer that fires after the next paint and
// then paints the view a second time; a table rebuilt in one go (a class's
// rows replaced, columns added) is painted once this way.
class LaidOutTableView : public QTableView {
public:
    explicit LaidOutTableView(QWidget* parent = nullptr) : QTableView(parent) {}

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watchWindow();

    QPointer<QWidget> m_window; // the window whose paint requests are watched
};
