#pragma once

#include <QGroupBox>
#include <QIcon>
#include <QMetaType>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class QueryObject;

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
// classes. LoadTree lists the terms; a term's classes are read when the term
// is first opened. The user only selects in it.
//
// Every left click emits TreeClick after the click has changed the selection;
// the right button neither selects nor notifies.
// The selection at that moment is kept as ShownClass(): the class the window's
// lists were loaded for. A keyboard move loads nothing, so windows act on
// ShownClass(), never on a class other than the one they show.
class TTermClassTree : public QGroupBox {
    Q_OBJECT
public:
    explicit TTermClassTree(QWidget* parent = nullptr);

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

private:
    void singleExpand();
    void readClasses(QTreeWidgetItem* term);
    void mouseClicked();

    QTreeWidget* m_tree = nullptr;
    QueryObject* m_query = nullptr;        // dsQuery
    QTreeWidgetItem* m_previous = nullptr; // the node selected before the current one
    QIcon m_classPicture;
    ClassSelection m_shown;
};
