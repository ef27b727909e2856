#include "widgets/TermClassTree.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace {
constexpr int kPictureTerm = 0;
constexpr int kPictureClass = 1;
constexpr int kIndent = 19;
constexpr int kTermNodeType = QTreeWidgetItem::UserType + 1;

// A node shows the same picture when it is selected: without a picture of
// its own for that state, the style would tint it with the highlight.
QIcon picture(int index)
{
    const QPixmap pixmap(index == kPictureTerm ? QStringLiteral(":/icons/term.png")
                                               : QStringLiteral(":/icons/class.png"));
    QIcon icon;
    icon.addPixmap(pixmap, QIcon::Normal);
    icon.addPixmap(pixmap, QIcon::Selected);
    return icon;
}

// A term's node, which holds its classes as loaded and makes their nodes when
// the term is first opened: ten years of a school are thousands of classes,
// and a node for each would make every window with the navigator slower with
// each term.
class TermNode : public QTreeWidgetItem {
public:
    TermNode(TermClassPlan::Term&& term, const QIcon& picture)
        : QTreeWidgetItem(QStringList{term.name}, kTermNodeType), m_classes(std::move(term.classes))
    {
        setIcon(0, picture);
        setData(0, Qt::UserRole, QVariant::fromValue(NodeData{QString::number(term.code), term.name}));
        // Only terms with classes are listed, so each can be opened.
        setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }

    bool hasClassNodes() const { return m_made; }
    const QList<int>& classes() const { return m_classes; }
    void setClassNodes(const QList<QTreeWidgetItem*>& nodes)
    {
        m_made = true;
        m_classes.clear();
        setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
        addChildren(nodes);
    }

private:
    QList<int> m_classes; // positions in the loaded plan's classes
    bool m_made = false;
};

// Hot tracking: the node under the mouse pointer is drawn as a link.
class HotTrackDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if ((option->state & QStyle::State_MouseOver) && !(option->state & QStyle::State_Selected)) {
            option->font.setUnderline(true);
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Link));
        }
    }
};

// The tree view itself: dotted connecting lines with boxed expand buttons
// (the look the users know, which the widget style does not draw), and a
// notification once a left click on a node has been handled completely,
// selection included. Keyboard moves never notify.
class NavigatorView : public QTreeWidget {
public:
    explicit NavigatorView(QWidget* parent) : QTreeWidget(parent) {}

    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        // Only the left button on a node selects: a right click, or one below
        // the last node (which would clear the selection and close the open
        // term), must not move the selection away from the class the window
        // shows, and does nothing at all. Nor does a second button pressed
        // during a press.
        if (event->buttons() != event->button()) {
            event->accept();
            return;
        }
        m_pressed = event->button() == Qt::LeftButton && onNode(event);
        m_ignoring = !m_pressed;
        if (m_pressed)
            QTreeWidget::mousePressEvent(event);
        else
            event->accept();
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && onNode(event)) {
            QTreeWidget::mouseDoubleClickEvent(event);
        } else {
            m_ignoring = true;
            event->accept();
        }
    }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        // Dragging on from an ignored press would select the nodes passed over.
        if (m_ignoring && event->buttons() != Qt::NoButton) {
            event->accept();
            return;
        }
        QTreeWidget::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (m_ignoring) {
            m_ignoring = event->buttons() != Qt::NoButton;
            event->accept();
            return;
        }
        QTreeWidget::mouseReleaseEvent(event);
        // A click is a press and a release of the left button inside the tree.
        const bool click = m_pressed && event->button() == Qt::LeftButton &&
                           viewport()->rect().contains(event->position().toPoint());
        m_pressed = false;
        if (click && onClick)
            onClick();
    }

    // Only the current node shows whether the tree has the focus. Qt paints
    // the whole tree again when the focus comes or goes, its frame, scroll
    // bar and the group box around it too; a window that hands the focus on
    // to its table after a click paid that twice for every click.
    void focusInEvent(QFocusEvent* event) override
    {
        // As Qt's own: the focus from the keyboard makes the first node
        // current when none is, without scrolling to it.
        if (!currentIndex().isValid() && event->reason() != Qt::MouseFocusReason) {
            const QModelIndex first = moveCursor(MoveNext, Qt::NoModifier);
            if (first.isValid() && (first.flags() & Qt::ItemIsEnabled)) {
                const bool scrolls = hasAutoScroll();
                setAutoScroll(false);
                selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
                setAutoScroll(scrolls);
            }
        }
        updateCurrentRow();
    }

    void focusOutEvent(QFocusEvent*) override { updateCurrentRow(); }

    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override
    {
        int depth = 0;
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            ++depth;
        const int indent = indentation();
        const int midY = rect.top() + rect.height() / 2;

        painter->save();
        QPen dots(palette().color(QPalette::Mid));
        dots.setStyle(Qt::DotLine);
        painter->setPen(dots);

        // The node's own level: a line up to its parent or previous sibling,
        // down to its next sibling, and across to its caption.
        const int ownLeft = rect.right() + 1 - indent;
        const int ownX = ownLeft + indent / 2;
        const bool hasNext = index.sibling(index.row() + 1, 0).isValid();
        const bool hasAbove = index.row() > 0 || index.parent().isValid();
        painter->drawLine(ownX, hasAbove ? rect.top() : midY, ownX, hasNext ? rect.bottom() : midY);
        painter->drawLine(ownX, midY, ownLeft + indent - 2, midY);

        // Ancestors' levels: a through line where the ancestor has a next sibling.
        QModelIndex ancestor = index.parent();
        for (int level = depth - 1; level >= 0; --level, ancestor = ancestor.parent()) {
            if (!ancestor.sibling(ancestor.row() + 1, 0).isValid())
                continue;
            const int x = rect.right() + 1 - (depth - level + 1) * indent + indent / 2;
            painter->drawLine(x, rect.top(), x, rect.bottom());
        }

        if (model()->hasChildren(index)) {
            const QRect box(ownX - 4, midY - 4, 8, 8);
            painter->setPen(palette().color(QPalette::Dark));
            painter->fillRect(box, palette().color(QPalette::Base));
            painter->drawRect(box);
            painter->setPen(palette().color(QPalette::Text));
            painter->drawLine(box.left() + 2, midY, box.right() - 2, midY);
            if (!isExpanded(index))
                painter->drawLine(ownX, box.top() + 2, ownX, box.bottom() - 2);
        }
        painter->restore();
    }

private:
    void updateCurrentRow()
    {
        const QRect node = visualRect(currentIndex());
        if (node.isValid())
            viewport()->update(0, node.top(), viewport()->width(), node.height());
    }

    bool onNode(const QMouseEvent* event) const { return indexAt(event->position().toPoint()).isValid(); }

    bool m_pressed = false;
    bool m_ignoring = false; // between a press that does nothing and the release of every button
};
} // namespace

TTermClassTree::TTermClassTree(QWidget* parent, Loader loader)
    : QGroupBox(QStringLiteral("学期/班级对应结构"), parent), m_loader(std::move(loader))
{
    setObjectName(QStringLiteral("GroupBox1"));
    setFixedWidth(209);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    auto* view = new NavigatorView(this);
    m_tree = view;
    m_tree->setObjectName(QStringLiteral("Tree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setIndentation(kIndent);
    m_tree->setRootIsDecorated(true);
    m_tree->setItemsExpandable(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setMouseTracking(true); // hot tracking
    m_tree->setAttribute(Qt::WA_Hover);
    m_tree->setItemDelegate(new HotTrackDelegate(m_tree));
    m_tree->setIconSize(QSize(16, 16));
    // Every node is one line with a picture: measured once, not node by node.
    m_tree->setUniformRowHeights(true);
    layout->addWidget(m_tree);
    setFocusProxy(m_tree);
    view->onClick = [this] { mouseClicked(); };
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &TTermClassTree::singleExpand);
    // However a term is opened (selection, button, keyboard), its classes are there first.
    connect(m_tree, &QTreeWidget::itemExpanded, this, &TTermClassTree::makeClassNodes);
}

bool TTermClassTree::LoadTree()
{
    m_previous = nullptr;
    m_shown = ClassSelection{};
    m_classes.clear();
    {
        const QSignalBlocker quiet(m_tree);
        m_tree->clear();
    }
    std::optional<TermClassPlan> plan = m_loader();
    if (!plan) {
        emit readFailed();
        return false;
    }
    // Decoded once per load and shared by every node: a picture per node
    // would read and decode its file again each time.
    const QIcon termPicture = picture(kPictureTerm);
    m_classPicture = picture(kPictureClass);
    // The nodes are put together outside the tree and handed to it at once:
    // a node added to the tree itself costs a model update each.
    QList<QTreeWidgetItem*> termNodes;
    termNodes.reserve(plan->terms.size());
    for (TermClassPlan::Term& term : plan->terms)
        termNodes.append(new TermNode(std::move(term), termPicture));
    m_classes = std::move(plan->classes);
    m_tree->addTopLevelItems(termNodes);
    return true;
}

void TTermClassTree::makeClassNodes(QTreeWidgetItem* node)
{
    if (node->type() != kTermNodeType)
        return;
    auto* term = static_cast<TermNode*>(node);
    if (term->hasClassNodes())
        return;
    QList<QTreeWidgetItem*> classNodes;
    classNodes.reserve(term->classes().size());
    for (const int at : term->classes()) {
        const TermClassPlan::Class& klass = m_classes.at(at);
        auto* classNode = new QTreeWidgetItem(QStringList{klass.name});
        classNode->setIcon(0, m_classPicture);
        classNode->setData(0, Qt::UserRole, QVariant::fromValue(NodeData{klass.code, klass.name}));
        classNodes.append(classNode);
    }
    term->setClassNodes(classNodes);
}

NodeData TTermClassTree::nodeData(const QTreeWidgetItem* item)
{
    return item ? item->data(0, Qt::UserRole).value<NodeData>() : NodeData{};
}

ClassSelection TTermClassTree::SelectedClass() const
{
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    ClassSelection answer;
    if (selected.isEmpty() || !selected.first()->parent())
        return answer;
    const NodeData classNode = nodeData(selected.first());
    const NodeData termNode = nodeData(selected.first()->parent());
    answer.TermCode = termNode.Code;
    answer.TermName = termNode.Name;
    answer.ClassCode = classNode.Code;
    answer.ClassName = classNode.Name;
    answer.empty = false;
    return answer;
}

void TTermClassTree::singleExpand()
{
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    QTreeWidgetItem* node = selected.isEmpty() ? nullptr : selected.first();
    // Collapse the branch of the node selected before, up to where it meets
    // the new node's own branch; a term opened by its button alone stays open.
    for (QTreeWidgetItem* old = m_previous; old; old = old->parent()) {
        bool onNewPath = false;
        for (QTreeWidgetItem* up = node; up && !onNewPath; up = up->parent())
            onNewPath = up == old;
        if (!onNewPath)
            old->setExpanded(false);
    }
    if (node)
        node->setExpanded(true);
    m_previous = node;
}

void TTermClassTree::mouseClicked()
{
    m_shown = SelectedClass();
    emit TreeClick();
}

bool TTermClassTree::ShowClass(const QString& termCode, const QString& classCode)
{
    for (int t = 0; t < m_tree->topLevelItemCount(); ++t) {
        QTreeWidgetItem* term = m_tree->topLevelItem(t);
        if (nodeData(term).Code != termCode)
            continue;
        makeClassNodes(term);
        for (int c = 0; c < term->childCount(); ++c) {
            QTreeWidgetItem* klass = term->child(c);
            if (nodeData(klass).Code == classCode) {
                m_tree->setCurrentItem(klass);
                m_tree->scrollToItem(klass);
                mouseClicked();
                return true;
            }
        }
    }
    return false;
}
