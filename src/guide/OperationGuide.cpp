#include "guide/OperationGuide.h"

#include <QAction>
#include <QCursor>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// The diagram in its own units, about pixels at 1280 × 1024: scaled down to
// fit a smaller area, and a little up on a larger one.
constexpr int kPerRow = 3;
constexpr qreal kBoxWidth = 236;
constexpr qreal kBoxHeight = 72;
constexpr qreal kGapX = 60;
constexpr qreal kRowGap = 52;
constexpr qreal kBesideGap = 26;
constexpr qreal kPadding = 28;
constexpr qreal kTitleHeight = 32;
constexpr qreal kSubtitleHeight = 22;
constexpr qreal kTitleGap = 22;
constexpr qreal kOfferGap = 26;
constexpr qreal kOfferTextHeight = 22;
constexpr qreal kOfferButtonWidth = 200;
constexpr qreal kOfferButtonHeight = 40;
constexpr qreal kMargin = 16;
constexpr qreal kMinScale = 0.5;
constexpr qreal kMaxScale = 1.3;

const QString kTitle = QStringLiteral("操作向导");
const QString kSubtitle = QStringLiteral("按以下顺序设置学校的数据，点击方框即可打开对应的窗口。");
const QString kNextTag = QStringLiteral("下一步");

const QColor kPanelFill(250, 249, 244);
const QColor kPanelBorder(190, 186, 170);
const QColor kBoxBorder(150, 150, 150);
const QColor kDoneBorder(84, 150, 84);
const QColor kDoneText(0, 110, 0);
const QColor kAccent(49, 106, 197);
const QColor kAccentFill(224, 234, 251);
const QColor kHoverFill(242, 246, 253);
const QColor kLine(90, 90, 90);
const QColor kOfferFill(28, 134, 92);
const QColor kQuiet(105, 105, 105);

// The menu item's text as a label: "学期信息(&T)" → "学期信息".
QString withoutAccessKey(const QString& text)
{
    static const QRegularExpression key(QStringLiteral("\\(&.\\)"));
    QString label = text;
    label.remove(key);
    label.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    label.remove(QLatin1Char('&'));
    label.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return label;
}

QFont sized(const QFont& base, int pixels, bool bold = false)
{
    QFont font = base;
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void arrowHead(QPainter& p, const QPointF& tip, const QPointF& from)
{
    const QLineF back(tip, from);
    QLineF side = back;
    side.setLength(9);
    QLineF left = side;
    left.setAngle(back.angle() + 28);
    QLineF right = side;
    right.setAngle(back.angle() - 28);
    p.setBrush(kLine);
    p.drawPolygon(QPolygonF{tip, left.p2(), right.p2()});
    p.setBrush(Qt::NoBrush);
}

// A line through the points, with a head at the last one.
void arrow(QPainter& p, const QVector<QPointF>& points, bool head = true)
{
    p.drawPolyline(points.constData(), int(points.size()));
    if (head && points.size() >= 2)
        arrowHead(p, points.last(), points.at(points.size() - 2));
}

void tick(QPainter& p, const QPointF& at)
{
    QPainterPath path;
    path.moveTo(at + QPointF(0, 6));
    path.lineTo(at + QPointF(4.5, 10.5));
    path.lineTo(at + QPointF(12, 1));
    p.save();
    p.setPen(QPen(kDoneText, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.restore();
}

} // namespace

bool operator==(const GuideStep& a, const GuideStep& b)
{
    return a.action == b.action && a.done == b.done && a.detail == b.detail &&
           a.besidePrevious == b.besidePrevious;
}

bool operator==(const GuideState& a, const GuideState& b)
{
    return a.steps == b.steps && a.next == b.next && a.offer == b.offer && a.offerText == b.offerText;
}

TOperationGuide::TOperationGuide(QWidget* parent) : QMdiArea(parent)
{
    // Background only: the focus stays with the windows, the keys with the menu.
    setFocusPolicy(Qt::NoFocus);
    viewport()->setFocusPolicy(Qt::NoFocus);
    viewport()->setMouseTracking(true);
    connect(this, &QMdiArea::subWindowActivated, this, [this] { watchWindows(); });
}

void TOperationGuide::setShown(bool shown)
{
    if (m_shown == shown)
        return;
    m_shown = shown;
    setHovered(kNowhere);
    m_pressed = kNowhere;
    viewport()->update();
}

void TOperationGuide::setState(GuideState state)
{
    // Most refreshes find what is shown already: nothing to paint then.
    if (state == m_state)
        return;
    m_state = std::move(state);
    relayout();
    // The boxes may have moved under the pointer.
    setHovered(viewport()->underMouse() ? placeAt(viewport()->mapFromGlobal(QCursor::pos())) : kNowhere);
    viewport()->update();
}

bool TOperationGuide::isCovered() const
{
    const QList<QMdiSubWindow*> windows = subWindowList();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QMdiSubWindow* w) { return w->isVisible() && w->isMaximized(); });
}

QString TOperationGuide::stepLabel(int step) const
{
    if (step < 0 || step >= m_state.steps.size() || !m_state.steps.at(step).action)
        return {};
    return withoutAccessKey(m_state.steps.at(step).action->text());
}

QRect TOperationGuide::stepRect(int step) const
{
    if (!m_shown || step < 0 || step >= m_layout.boxes.size())
        return {};
    return m_toView.mapRect(m_layout.boxes.at(step)).toAlignedRect();
}

QRect TOperationGuide::offerRect() const
{
    if (!m_shown || !m_state.offer)
        return {};
    return m_toView.mapRect(m_layout.offerButton).toAlignedRect();
}

void TOperationGuide::relayout()
{
    Layout layout;
    const qreal flowTop = kPadding + kTitleHeight + kSubtitleHeight + kTitleGap;
    layout.title = QRectF(kPadding, kPadding, 0, kTitleHeight);
    layout.subtitle = QRectF(kPadding, kPadding + kTitleHeight, 0, kSubtitleHeight);

    // Main steps fill rows of kPerRow; a step beside its predecessor hangs under it.
    layout.boxes.resize(m_state.steps.size());
    int column = -1;
    int columns = 1;
    qreal rowTop = flowTop;
    qreal rowBottom = flowTop;
    for (int i = 0; i < m_state.steps.size(); ++i) {
        if (m_state.steps.at(i).besidePrevious && i > 0) {
            const QRectF above = layout.boxes.at(i - 1);
            layout.boxes[i] = QRectF(above.left(), above.bottom() + kBesideGap, kBoxWidth, kBoxHeight);
            rowBottom = std::max(rowBottom, layout.boxes.at(i).bottom());
            continue;
        }
        if (++column == kPerRow) {
            column = 0;
            rowTop = rowBottom + kRowGap;
        }
        columns = std::max(columns, column + 1);
        layout.boxes[i] = QRectF(kPadding + column * (kBoxWidth + kGapX), rowTop, kBoxWidth, kBoxHeight);
        rowBottom = std::max(rowBottom, layout.boxes.at(i).bottom());
    }
    const qreal width = 2 * kPadding + columns * kBoxWidth + (columns - 1) * kGapX;
    qreal bottom = rowBottom;
    if (m_state.offer) {
        layout.offerText = QRectF(kPadding, bottom + kOfferGap, width - 2 * kPadding, kOfferTextHeight);
        layout.offerButton = QRectF((width - kOfferButtonWidth) / 2, layout.offerText.bottom() + 8,
                                    kOfferButtonWidth, kOfferButtonHeight);
        bottom = layout.offerButton.bottom();
    }
    layout.title.setWidth(width - 2 * kPadding);
    layout.subtitle.setWidth(width - 2 * kPadding);
    layout.size = QSizeF(width, bottom + kPadding);
    layout.panel = QRectF(QPointF(0, 0), layout.size);
    m_layout = layout;

    const QSizeF room = QSizeF(viewport()->size()) - QSizeF(2 * kMargin, 2 * kMargin);
    const qreal scale =
        std::clamp(std::min(room.width() / layout.size.width(), room.height() / layout.size.height()),
                   kMinScale, kMaxScale);
    const QSizeF drawn = layout.size * scale;
    // Centred, but never pushed off the top or the left.
    const qreal x = std::max(kMargin, (viewport()->width() - drawn.width()) / 2);
    const qreal y = std::max(kMargin, (viewport()->height() - drawn.height()) / 2);
    m_toView = QTransform::fromTranslate(std::round(x), std::round(y)).scale(scale, scale);
}

int TOperationGuide::placeAt(const QPoint& viewportPos) const
{
    if (!m_shown)
        return kNowhere;
    const QPointF at = m_toView.inverted().map(QPointF(viewportPos));
    for (int i = 0; i < m_layout.boxes.size(); ++i)
        if (m_layout.boxes.at(i).contains(at) && m_state.steps.at(i).action)
            return i;
    if (m_state.offer && m_layout.offerButton.contains(at))
        return kOffer;
    return kNowhere;
}

QRect TOperationGuide::placeRect(int place) const
{
    return place == kOffer ? offerRect() : stepRect(place);
}

void TOperationGuide::setHovered(int place)
{
    if (place == m_hovered)
        return;
    // Only the two places whose look changes are painted again.
    viewport()->update(placeRect(m_hovered).adjusted(-3, -3, 3, 3));
    viewport()->update(placeRect(place).adjusted(-3, -3, 3, 3));
    m_hovered = place;
    if (place == kNowhere)
        viewport()->unsetCursor();
    else
        viewport()->setCursor(Qt::PointingHandCursor);
}

void TOperationGuide::watchWindows()
{
    for (QMdiSubWindow* window : subWindowList()) {
        connect(window, &QMdiSubWindow::windowStateChanged, this, &TOperationGuide::windowStateChanged,
                Qt::UniqueConnection);
        // A window over a box takes the pointer from it (eventFilter).
        window->installEventFilter(this);
    }
}

void TOperationGuide::windowStateChanged(Qt::WindowStates before, Qt::WindowStates now)
{
    if (before.testFlag(Qt::WindowMaximized) && !now.testFlag(Qt::WindowMaximized))
        cameIntoViewLater();
}

void TOperationGuide::cameIntoViewLater()
{
    if (m_intoViewQueued)
        return;
    m_intoViewQueued = true;
    // Once the window that closed is gone from the area's list.
    QTimer::singleShot(0, this, [this] {
        m_intoViewQueued = false;
        notifyIfInView();
    });
}

void TOperationGuide::notifyIfInView()
{
    if (m_shown && isVisible() && !isCovered())
        emit cameIntoView();
}

void TOperationGuide::paintEvent(QPaintEvent* event)
{
    QMdiArea::paintEvent(event);
    if (!m_shown || m_state.steps.isEmpty())
        return;
    QPainter p(viewport());
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(m_toView);
    paintPanel(p);
    paintFlow(p);
    for (int i = 0; i < m_state.steps.size(); ++i)
        paintBox(p, i);
    paintOffer(p);
}

void TOperationGuide::paintPanel(QPainter& p) const
{
    p.setPen(QPen(kPanelBorder, 1));
    p.setBrush(kPanelFill);
    p.drawRoundedRect(m_layout.panel.adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::black);
    p.setFont(sized(font(), 22, true));
    p.drawText(m_layout.title, Qt::AlignLeft | Qt::AlignVCenter, kTitle);
    p.setPen(kQuiet);
    p.setFont(sized(font(), 14));
    p.drawText(m_layout.subtitle, Qt::AlignLeft | Qt::AlignVCenter, kSubtitle);
}

void TOperationGuide::paintFlow(QPainter& p) const
{
    p.setPen(QPen(kLine, 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    int previousMain = -1;
    for (int i = 0; i < m_state.steps.size(); ++i) {
        const QRectF box = m_layout.boxes.at(i);
        if (m_state.steps.at(i).besidePrevious && i > 0) {
            // The fork round the box above: in from the arrow that reaches
            // that box, out into the arrow that leaves it.
            const QRectF above = m_layout.boxes.at(i - 1);
            const qreal inX = above.left() - kGapX / 2;
            const qreal outX = above.right() + kGapX / 2;
            if (inX > kPadding)
                arrow(p, {QPointF(inX, above.center().y()), QPointF(inX, box.center().y()),
                          QPointF(box.left(), box.center().y())});
            if (outX < m_layout.size.width() - kPadding)
                arrow(p,
                      {QPointF(box.right(), box.center().y()), QPointF(outX, box.center().y()),
                       QPointF(outX, above.center().y())},
                      false);
            continue;
        }
        if (previousMain >= 0) {
            const QRectF from = m_layout.boxes.at(previousMain);
            if (qFuzzyCompare(from.top(), box.top())) {
                arrow(p, {QPointF(from.right(), from.center().y()), QPointF(box.left(), box.center().y())});
            } else {
                // On to the next row: down, back to its first box, down again.
                const qreal midY = box.top() - kRowGap / 2;
                arrow(p, {QPointF(from.center().x(), from.bottom()), QPointF(from.center().x(), midY),
                          QPointF(box.center().x(), midY), QPointF(box.center().x(), box.top())});
            }
        }
        previousMain = i;
    }
}

bool TOperationGuide::isHighlighted(int step) const
{
    const int next = m_state.next;
    if (next < 0 || next >= m_state.steps.size())
        return false;
    if (step == next)
        return true;
    // The other way of the same step shares its highlight.
    return (step == next + 1 && m_state.steps.at(step).besidePrevious) ||
           (step == next - 1 && m_state.steps.at(next).besidePrevious);
}

void TOperationGuide::paintBox(QPainter& p, int step) const
{
    const GuideStep& s = m_state.steps.at(step);
    const QRectF box = m_layout.boxes.at(step);
    const bool next = isHighlighted(step);
    const bool hovered = step == m_hovered;

    QColor fill = Qt::white;
    QPen border(kBoxBorder, 1.2);
    if (s.done)
        border = QPen(kDoneBorder, 1.6);
    if (next) {
        fill = kAccentFill;
        border = QPen(kAccent, 2.6);
    }
    if (hovered) {
        fill = next ? kAccentFill.darker(106) : kHoverFill;
        border.setColor(kAccent);
        border.setWidthF(std::max(border.widthF(), 2.0));
    }
    p.setPen(border);
    p.setBrush(fill);
    p.drawRoundedRect(box, 6, 6);
    p.setBrush(Qt::NoBrush);

    const QRectF label(box.left() + 14, box.top() + 11, box.width() - 28, 24);
    p.setPen(s.action && s.action->isEnabled() ? Qt::black : kQuiet);
    p.setFont(sized(font(), 16, true));
    p.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, stepLabel(step));

    QRectF detail(box.left() + 14, box.top() + 42, box.width() - 28, 20);
    if (s.done) {
        tick(p, QPointF(detail.left(), detail.top() + 4));
        detail.setLeft(detail.left() + 19);
    }
    p.setPen(s.done ? kDoneText : kQuiet);
    p.setFont(sized(font(), 14));
    p.drawText(detail, Qt::AlignLeft | Qt::AlignVCenter, s.detail);

    if (step == m_state.next) {
        const QFont tagFont = sized(font(), 12, true);
        const qreal width = QFontMetricsF(tagFont).horizontalAdvance(kNextTag) + 14;
        const QRectF tag(box.right() - 10 - width, box.bottom() - 28, width, 19);
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawRoundedRect(tag, 9.5, 9.5);
        p.setBrush(Qt::NoBrush);
        p.setPen(Qt::white);
        p.setFont(tagFont);
        p.drawText(tag, Qt::AlignCenter, kNextTag);
    }
}

void TOperationGuide::paintOffer(QPainter& p) const
{
    if (!m_state.offer)
        return;
    p.setPen(Qt::black);
    p.setFont(sized(font(), 14));
    p.drawText(m_layout.offerText, Qt::AlignCenter, m_state.offerText);
    const QRectF button = m_layout.offerButton;
    p.setPen(Qt::NoPen);
    p.setBrush(m_hovered == kOffer ? kOfferFill.darker(120) : kOfferFill);
    p.drawRoundedRect(button, 6, 6);
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::white);
    p.setFont(sized(font(), 16, true));
    p.drawText(button, Qt::AlignCenter, withoutAccessKey(m_state.offer->text()));
}

void TOperationGuide::resizeEvent(QResizeEvent* event)
{
    QMdiArea::resizeEvent(event);
    relayout();
    viewport()->update();
}

void TOperationGuide::showEvent(QShowEvent* event)
{
    QMdiArea::showEvent(event);
    relayout();
    // At once: the first paint shows the state.
    notifyIfInView();
}

void TOperationGuide::mouseMoveEvent(QMouseEvent* event)
{
    setHovered(placeAt(event->position().toPoint()));
    QMdiArea::mouseMoveEvent(event);
}

void TOperationGuide::mousePressEvent(QMouseEvent* event)
{
    const int place = event->button() == Qt::LeftButton ? placeAt(event->position().toPoint()) : kNowhere;
    if (place == kNowhere) {
        QMdiArea::mousePressEvent(event);
        return;
    }
    m_pressed = place;
    event->accept();
}

void TOperationGuide::mouseReleaseEvent(QMouseEvent* event)
{
    const int pressed = std::exchange(m_pressed, kNowhere);
    if (event->button() != Qt::LeftButton || pressed == kNowhere) {
        QMdiArea::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (placeAt(event->position().toPoint()) != pressed)
        return;
    QAction* action = pressed == kOffer ? m_state.offer.data() : m_state.steps.at(pressed).action.data();
    // Last: the command may open a window and change this guide's state.
    if (action && action->isEnabled())
        action->trigger();
}

bool TOperationGuide::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Enter && qobject_cast<QMdiSubWindow*>(watched))
        setHovered(kNowhere);
    return QMdiArea::eventFilter(watched, event);
}

bool TOperationGuide::viewportEvent(QEvent* event)
{
    const bool handled = QMdiArea::viewportEvent(event);
    switch (event->type()) {
    case QEvent::ChildRemoved:
        cameIntoViewLater();
        break;
    case QEvent::Leave:
        setHovered(kNowhere);
        break;
    default:
        break;
    }
    return handled;
}
