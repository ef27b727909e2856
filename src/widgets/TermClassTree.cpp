#include "widgets/TermClassTree.h"

#include "app/uPub.h"
#include "data/Messages.h"
#include "data/QueryObject.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {
constexpr int kPictureTerm = 0;
constexpr int kPictureClass = 1;

QIcon picture(int index)
{
    return QIcon(index == kPictureTerm ? QStringLiteral(":/icons/term.png") : QStringLiteral(":/icons/class.png"));
}
} // namespace

TTermClassTree::TTermClassTree(QWidget* parent) : QGroupBox(QStringLiteral("学期/班级对应结构"), parent)
{
    setObjectName(QStringLiteral("GroupBox1"));
    setFixedWidth(209);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("Tree"));
    m_tree->setHeaderHidden(true);
    m_tree->setColumnCount(1);
    m_tree->setIndentation(19);
    m_tree->setRootIsDecorated(true);
    m_tree->setItemsExpandable(true);
    m_tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setMouseTracking(true); // hot tracking
    m_tree->setAttribute(Qt::WA_Hover);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setStyleSheet(QStringLiteral("QTreeView::item:hover:!selected { color: palette(link); }"));
    m_tree->viewport()->installEventFilter(this);
    layout->addWidget(m_tree);
    setFocusProxy(m_tree);
    m_query = new QueryObject(this);
    m_query->setObjectName(QStringLiteral("dsQuery"));
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &TTermClassTree::singleExpand);
}

bool TTermClassTree::LoadTree()
{
    m_tree->clear();
    m_query->close();
    m_query->setSql(QStringLiteral(
        "select TTermToClass.*,TTerm.TermName,TClass.ClassName from TTermToClass,TTerm,TClass where "
        "TTermToClass.TermCode=TTerm.TermCode And TTermToClass.ClassCode=TClass.ClassCode Order by "
        "TTermToClass.TermCode,TTermToClass.ClassCode"));
    if (!m_query->open()) {
        ShowMessage(Msg::ReadFailed);
        return false;
    }
    QString term;
    bool haveTerm = false;
    QTreeWidgetItem* termNode = nullptr;
    for (m_query->first(); !m_query->eof(); m_query->next()) {
        const QString code = m_query->fieldText(QStringLiteral("TermCode"));
        // A new term starts only where the code changes: the rows arrive sorted.
        if (!haveTerm || code != term) {
            const QString name = m_query->fieldText(QStringLiteral("TermName"));
            termNode = new QTreeWidgetItem(m_tree, QStringList{name});
            termNode->setIcon(0, picture(kPictureTerm));
            termNode->setData(0, Qt::UserRole, QVariant::fromValue(NodeData{code, name}));
            term = code;
            haveTerm = true;
        }
        const QString className = m_query->fieldText(QStringLiteral("ClassName"));
        auto* classNode = new QTreeWidgetItem(termNode, QStringList{className});
        classNode->setIcon(0, picture(kPictureClass));
        classNode->setData(0, Qt::UserRole,
                           QVariant::fromValue(NodeData{m_query->fieldText(QStringLiteral("ClassCode")), className}));
    }
    m_query->close();
    return true;
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
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* node = selected.first();
    QTreeWidgetItem* top = node;
    while (top->parent())
        top = top->parent();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        if (m_tree->topLevelItem(i) != top)
            m_tree->topLevelItem(i)->setExpanded(false);
    node->setExpanded(true);
}

bool TTermClassTree::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // Runs once the view has finished with the click and its selection.
        QTimer::singleShot(0, this, [this] {
            m_shown = SelectedClass();
            emit TreeClick();
        });
    }
    return QGroupBox::eventFilter(watched, event);
}
