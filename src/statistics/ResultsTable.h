#pragma once

#include "data/ClassResults.h"
#include "data/Places.h"
#include "statistics/GridRows.h"

#include <QColor>
#include <QObject>
#include <QStringList>

class TStringAlignGrid;

// The places shown in the columns "名次" and "名次变化", by student.
struct PlaceColumns {
    Places now;
    std::optional<Places> before; // nullopt: the earlier places could not be read
};

// Writes a class's results into the statistics table and its best/worst
// box: one row per student in the order given, hidden ID in column 0, 姓名,
// 学号, one column per subject of the plan, 总分 and 上学期总分, and each
// row's marks; when places are given, "名次" and "名次变化" after them. The grids only show what it writes;
// it keeps the results and the order on show so that commands can ask which student a row shows.
//
// A reading that failed half-way is written as far as it got, step by step
// as the table was always built (ReadyStudent, ReadySubj, ReadyGrade,
// CalcTotal, CheckHonours, SetJB).
class ResultsTable : public QObject {
    Q_OBJECT
public:
    ResultsTable(TStringAlignGrid* grid, TStringAlignGrid* comparison, QObject* parent = nullptr);

    // The row marks.
    static QColor FailColor() { return QColor(0, 0, 255); }
    static QColor HonoursColor() { return QColor(255, 0, 0); }
    static QColor ProgressColor() { return QColor(183, 233, 194); }

    // Empties every cell; the table keeps its size and shows no student.
    void clear();
    // The places are written only after a complete reading.
    void show(const ClassResultsLoad& load, const GridRows& rows, const PlaceColumns* places = nullptr);
    // Hides the rows the order marks hidden (the order itself must be the one on show).
    void hideRows(const GridRows& rows);

    // The student a table row shows; nullptr for the header, the empty row
    // of a class without students and rows outside the table.
    const ClassResults::Student* studentAt(int tableRow) const;

    // What is on show: the results and the order of their rows.
    const ClassResults& results() const { return m_results; }
    const GridRows& rows() const { return m_rows; }

    // The column of the plan's first subject; 总分 follows the last one.
    static constexpr int FirstSubjectCol = 3;

private:
    void ReadyStudent();
    void ReadySubj();
    void ReadyGrade(bool fillMissing);
    void CalcTotal();
    void CheckHonours();
    void SetJB(bool withTotals);
    void writePlaces(const PlaceColumns& places);
    // The students with the lowest and highest totals (-1: the empty row, -2: none).
    void fillComparison(int lowest, int highest);
    QStringList rowTexts(int student) const;

    int totalCol() const;
    int rowCount() const; // data rows: one even without students

    TStringAlignGrid* Grid;
    TStringAlignGrid* GridB;
    ClassResults m_results;
    GridRows m_rows;
};
