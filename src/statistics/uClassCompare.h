#pragma once

#include <QString>
#include <QWidget>

class CommandButton;
class ComparisonModel;
class PrintCommands;
struct PrintJob;
class QPushButton;
class QGroupBox;
class SheetButton;
class QMdiArea;
class QTableView;
class TTermClassTree;

// "班级成绩对比": the classes of the term clicked in the tree side by side,
// one row per class with the figures of its summary rows in 成绩统计 and its
// place among the term's classes by the 总分 average. A click on a column
// title sorts by it; a double-click on a class opens its statistics window
// at that class. Not modal; it writes nothing.
class TfrmClassCompare : public QWidget {
    Q_OBJECT
public:
    explicit TfrmClassCompare(QWidget* parent = nullptr);

    bool ReadyData();
    void TreeClick();
    void GridDblClick(int row);
    // "导出对比表" behind "导入/导出…": the table as it stands, in its order.
    void ExportTable();

    TTermClassTree* tree() const { return m_tree; }
    QTableView* grid() const { return Grid; }
    ComparisonModel* model() const { return m_model; }
    // "打印", "打印预览" and "导出PDF" of the term on show, in the order on show.
    PrintCommands* printCommands() const { return m_print; }
    CommandButton* printButton() const { return cmdPrint; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Reads and shows the term; false after the failure was reported.
    bool showTerm(qint64 termCode, const QString& termName);
    PrintJob tableJob() const;

    TTermClassTree* m_tree = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QTableView* Grid = nullptr;
    ComparisonModel* m_model = nullptr;
    CommandButton* cmdPrint = nullptr;
    PrintCommands* m_print = nullptr;
    SheetButton* cmdSheets = nullptr;
    qint64 m_termCode = 0;
    QString m_termName;
    bool m_hasTerm = false;
};

// Opens one more comparison window, maximised inside the given MDI area (on
// its own without one); false when its tree could not be loaded (the failure
// was reported).
bool ShowClassCompare(QMdiArea* area);
