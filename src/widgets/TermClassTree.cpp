#include "widgets/TermClassTree.h"

#include "app/uPub.h"
#include "data/Messages.h"
#include "data/QueryObject.h"
#include "data/SqlText.h"

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

// A term's node, whose class nodes are read and made when the term is first
// opened: ten years of a school are thousands of classes, and reading them
// all would make every window with the navigator slower with each term.
class TermNode : public QTreeWidgetItem {
public:
    TermNode(qint64 code, const QString& name, const QIcon& picture)
        : QTreeWidgetItem(QStringList{name}, kTermNodeType), m_code(code)
    {
        setIcon(0, picture);
        setData(0, Qt::UserRole, QVariant::fromValue(NodeData{QString::number(code), name}));
        // Only terms with classes are listed, so each can be opened.
        setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    }

    bool hasClassNodes() const { return m_read; }
    qint64 code() const { return m_code; }
    void setClassNodes(const QList<QTreeWidgetItem*>& nodes)
    {
        m_read = true;
        setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicatorWhenChildless);
        addChildren(nodes);
    }

private:
    qint64 m_code;
    bool m_read = false;
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
// notification once a left click has been handled completely, selection
// included. Keyboard moves never notify.
class NavigatorView : public QTreeWidget {
public:
    explicit NavigatorView(QWidget* parent) : QTreeWidget(parent) {}

    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        // Only the left button selects: a right click must not move the
        // selection away from the class the window shows without a notification.
        m_pressed = event->button() == Qt::LeftButton;
        if (m_pressed)
            QTreeWidget::mousePressEvent(event);
        else
            event->accept();
    }

    void mouseDoubleClickEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            QTreeWidget::mouseDoubleClickEvent(event);
        else
            event->accept();
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        QTreeWidget::mouseReleaseEvent(event);
        // A click is a press and a release of the left button inside the tree.
        const bool click = m_pressed && event->button() == Qt::LeftButton &&
                           viewport()->rect().contains(event->position().toPoint());
        m_pressed = false;
        if (click && onClick)
            onClick();
    }

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
    bool m_pressed = false;
};
} // namespace

TTermClassTree::TTermClassTree(QWidget* parent) : QGroupBox(QStringLiteral("学期/班级对应结构"), parent)
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
    m_query = new QueryObject(this);
    m_query->setObjectName(QStringLiteral("dsQuery"));
    view->onClick = [this] { mouseClicked(); };
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &TTermClassTree::singleExpand);
    // However a term is opened (selection, button, keyboard), its classes are there first.
    connect(m_tree, &QTreeWidget::itemExpanded, this, &TTermClassTree::readClasses);
}

bool TTermClassTree::LoadTree()
{
    m_previous = nullptr;
    m_shown = ClassSelection{};
    {
        const QSignalBlocker quiet(m_tree);
        m_tree->clear();
    }
    m_query->close();
    // The terms that have at least one class, each looked at only up to its
    // first class; the classes themselves are read when a term is opened.
    m_query->setSql(QStringLiteral(
        "select TTerm.TermCode,TTerm.TermName from TTerm where exists (select 1 from TTermToClass,TClass "
        "where TTermToClass.TermCode=TTerm.TermCode And TTermToClass.ClassCode=TClass.ClassCode) Order by "
        "TTerm.TermCode"));
    if (!m_query->open()) {
        ShowMessage(Msg::ReadFailed);
        return false;
    }
    // Decoded once per load and shared by every node: a picture per node
    // would read and decode its file again each time.
    const QIcon termPicture = picture(kPictureTerm);
    m_classPicture = picture(kPictureClass);
    // The nodes are put together outside the tree and handed to it at once:
    // a node added to the tree itself costs a model update each.
    QList<QTreeWidgetItem*> termNodes;
    for (m_query->first(); !m_query->eof(); m_query->next())
        termNodes.append(new TermNode(m_query->value(QStringLiteral("TermCode")).toLongLong(),
                                      m_query->fieldText(QStringLiteral("TermName")), termPicture));
    m_tree->addTopLevelItems(termNodes);
    m_query->close();
    return true;
}

void TTermClassTree::readClasses(QTreeWidgetItem* node)
{
    if (node->type() != kTermNodeType)
        return;
    auto* term = static_cast<TermNode*>(node);
    if (term->hasClassNodes())
        return;
    m_query->close();
    m_query->setSql(
        QStringLiteral("select TTermToClass.*,TClass.ClassName from TTermToClass,TClass where "
                       "TTermToClass.TermCode=") +
        SqlInt(term->code()) +
        QStringLiteral(" And TTermToClass.ClassCode=TClass.ClassCode Order by TTermToClass.ClassCode"));
    if (!m_query->open()) {
        // The term stays openable, so that opening it again reads again.
        ShowMessage(Msg::ReadFailed);
        return;
    }
    QList<QTreeWidgetItem*> classNodes;
    for (m_query->first(); !m_query->eof(); m_query->next()) {
        const NodeData klass{m_query->fieldText(QStringLiteral("ClassCode")),
                             m_query->fieldText(QStringLiteral("ClassName"))};
        auto* classNode = new QTreeWidgetItem(QStringList{klass.Name});
        classNode->setIcon(0, m_classPicture);
        classNode->setData(0, Qt::UserRole, QVariant::fromValue(klass));
        classNodes.append(classNode);
    }
    m_query->close();
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
        readClasses(term);
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
