#pragma once

#include "exchange/RosterImport.h"
#include "forms/ListForm.h"

#include <optional>

class CommandButton;
class PrintCommands;
class QGroupBox;
class QAction;
class QPushButton;

// "学生基本资料维护": the classes on the left, the students of the current
// class on the right. Every class change reloads the students; adding,
// editing and deleting act on the current class's list.
class TfrmStudent : public TListForm {
    Q_OBJECT
public:
    explicit TfrmStudent(QWidget* parent = nullptr);

    bool ReadyData() override;
    // Loads the students of the current class; false when there is no class
    // or the list could not be read.
    bool ReadyList();
    void dsQueryAfterScroll() { ReadyList(); }
    // "成绩走势" of the current student.
    void cmdTrendClick();
    // The commands behind "导入/导出…".
    void ExportClassRoster();
    void ExportSchoolRoster();
    void ImportRoster();
    void ExportTemplate();

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    DataGrid* DBGridEh1 = nullptr; // classes
    DataGrid* DBGridEh2 = nullptr; // students
    QueryObject* dsQuery = nullptr;
    QueryObject* dsStudent = nullptr;
    // The bar has room for one button beyond the specified ones: "更多", a
    // drop-down with "成绩走势" of the current student, the spreadsheet
    // commands, and "打印", "打印预览" and "导出PDF" of the current class's roster.
    CommandButton* cmdMore = nullptr;
    QAction* actTrend = nullptr;
    PrintCommands* printCommands = nullptr;

protected:
    bool canAppend() const override;
    bool appendRecord() override;
    bool editRecord(int id) override;
    DbResult deleteRecord(const RowImage& listed) override;
    void reloadAfterStore() override { ReadyList(); }
    void showEvent(QShowEvent* event) override;

private:
    std::optional<RosterTarget> currentClass() const;

    bool m_shown = false;
};

bool ShowStudent();
