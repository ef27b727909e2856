#pragma once

#include <QMdiArea>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QTransform>
#include <QVector>

class QAction;

// One box of the operation guide.
struct GuideStep {
    // The command a click on the box triggers; its text, without the access
    // key, is the box's label.
    QPointer<QAction> action;
    bool done = false; // the step holds data: drawn with a tick
    QString detail;    // the line under the label: "3 个学期", or what is still to do
    // Another way of doing the previous step: drawn under that box, with the
    // flow forking round both (成绩快速录入 beside 成绩录入). The previous
    // step must not be the last of its row.
    bool besidePrevious = false;
};
bool operator==(const GuideStep& a, const GuideStep& b);

// What the guide shows; the shell composes it from the school's progress.
struct GuideState {
    QVector<GuideStep> steps; // in the order of the work
    int next = -1;            // the step to do next, highlighted with the one beside it; -1: none
    // A command offered under the diagram (the demo school of an empty
    // school), and what it says of itself; none when null.
    QPointer<QAction> offer;
    QString offerText;
};
bool operator==(const GuideState& a, const GuideState& b);

// The MDI area of the main window, with the operation guide painted on its
// background: the steps of setting a school up as a flow diagram of boxes,
// each opening its window when clicked. Being background, it takes no focus
// and no key, and the windows in the area lie over it; a maximised one
// covers it whole. It reads nothing itself: the shell hands it its state.
class TOperationGuide : public QMdiArea {
    Q_OBJECT
public:
    explicit TOperationGuide(QWidget* parent = nullptr);

    void setShown(bool shown);
    bool isShown() const { return m_shown; }
    void setState(GuideState state);
    const GuideState& state() const { return m_state; }

    // A maximised window hides the whole background.
    bool isCovered() const;

    // A box's label: its command's text without the access key.
    QString stepLabel(int step) const;
    // Where a box and the offer are drawn, in the viewport's coordinates
    // (empty when not drawn).
    QRect stepRect(int step) const;
    QRect offerRect() const;

signals:
    // The guide has come into view: the area was shown, or the window
    // that covered it closed or was no longer maximised, or a window over
    // part of it closed. What it shows may be out of date.
    void cameIntoView();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void windowStateChanged(Qt::WindowStates before, Qt::WindowStates now);

private:
    // A place of the diagram a click can reach: a step's box, or the offer.
    static constexpr int kOffer = -2;
    static constexpr int kNowhere = -1;

    struct Layout {
        QRectF panel;
        QRectF title;
        QRectF subtitle;
        QVector<QRectF> boxes; // per step
        QRectF offerText;
        QRectF offerButton;
        QSizeF size; // of the whole, unscaled
    };

    void relayout();
    QRect placeRect(int place) const;
    int placeAt(const QPoint& viewportPos) const;
    void setHovered(int place);
    void watchWindows();
    void cameIntoViewLater();
    void notifyIfInView();

    void paintPanel(QPainter& p) const;
    void paintFlow(QPainter& p) const;
    void paintBox(QPainter& p, int step) const;
    void paintOffer(QPainter& p) const;
    bool isHighlighted(int step) const;

    GuideState m_state;
    bool m_shown = false;
    bool m_wasCovered = false;
    bool m_intoViewQueued = false;
    Layout m_layout;
    QTransform m_toView; // the diagram's units to the viewport, centred and scaled to fit
    int m_hovered = kNowhere;
    int m_pressed = kNowhere;
};
