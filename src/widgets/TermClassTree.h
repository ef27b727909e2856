#pragma once

#include "data/TermClassData.h"

#include <QGroupBox>
#include <QIcon>
#include <QMetaType>
#include <QString>

#include <functional>
#include <optional>

class QTreeWidget;
class QTreeWidgetItem;

// The record every node of the navigator carries.
struct NodeData {
    QString Code; // term node: the TermCode as text; class node: the ClassCode
    QString Name; // term node: the TermName; class node: the ClassName
};
Q_DECLARE_METATYPE(NodeData)

// The navigator's answer: no class, or a class within a term.
struct ClassSelection {
    QString TermCode;
    QString TermName;
    QString ClassCode;
    QString ClassName;
    bool empty = true;
    bool isEmpty() const { return empty; }
    bool operator==(const ClassSelection& o) const
    {
        return empty == o.empty && TermCode == o.TermCode && ClassCode == o.ClassCode;
    }
};

// The term/class navigator: a group box "学期/班级对应结构", 209 pixels wide,
// whose tree lists every term with active classes and, under each, those
// classes. LoadTree reads the whole plan at once from its loader, so that the
// tree shows the moment it was loaded; a term's nodes are made when the term
// is first opened. The user only selects in it. A failed read is reported by
// readFailed; the window says so.
//
// Every left click on a node emits TreeClick after the click has changed the
// selection; a click below the last node, and the right button, neither
// select nor notify.
// The selection at that moment is kept as ShownClass(): the class the window's
// lists were loaded for. A keyboard move loads nothing, so windows act on
// ShownClass(), never on a class other than the one they show.
class TTermClassTree : public QGroupBox {
    Q_OBJECT
public:
    // Where the plan comes from: nullopt when it cannot be read.
    using Loader = std::function<std::optional<TermClassPlan>()>;

    explicit TTermClassTree(QWidget* parent = nullptr, Loader loader = ReadTermClassPlan);

    bool LoadTree();
    ClassSelection SelectedClass() const;
    ClassSelection ShownClass() const { return m_shown; }

    // Selects the class node of a term as a click on it would, and notifies
    // as a click does; false when the tree has no such node.
    bool ShowClass(const QString& termCode, const QString& classCode);

    QTreeWidget* Tree() const { return m_tree; }
    // The nodes' records (for tests and the windows' captions).
    static NodeData nodeData(const QTreeWidgetItem* item);

signals:
    void TreeClick();
    // LoadTree could not read the plan; it returns false after this.
    void readFailed();

private:
    void singleExpand();
    void makeClassNodes(QTreeWidgetItem* term);
    void mouseClicked();

    QTreeWidget* m_tree = nullptr;
    Loader m_loader;
    QList<TermClassPlan::Class> m_classes; // of the last load, for the terms not yet opened
    QTreeWidgetItem* m_previous = nullptr; // the node selected before the current one
    QIcon m_classPicture;
    ClassSelection m_shown;
};
