#pragma once

#include <QVector>
#include <vector>

class TStringAlignGrid;

// Resets every row of an aligned string grid: black text, the window
// background, the default height, and empty texts. The grid keeps its size
// and its column widths.
void ClearGrid(TStringAlignGrid* grid);

// The order in which the statistics table shows a class's students:
// position p (table row p + 1) shows student students[p] of the results; a
// hidden row keeps its position. The row operations below order and hide
// positions by a key per student, such as the shown scores of one subject.
struct GridRows {
    QVector<int> students;
    QVector<bool> hidden;

    // Roster order, nothing hidden.
    static GridRows inRosterOrder(int studentCount);
    int size() const { return students.size(); }
};

using RowKeys = std::vector<double>; // indexed by student

// Orders the positions by their keys, a selection sort: each pass takes the
// earliest of equal keys and swaps it into place, so equal keys may change
// their relative order (A, C, B with 50, 50, 80 come out B, C, A).
void SortGridRows(const RowKeys& keys, bool ascending, GridRows& rows);
// The position between first and last with the smallest / largest key; the
// earliest of several equal ones, and first when last < first.
int FindMinRow(const RowKeys& keys, int first, int last, const GridRows& rows);
int FindMaxRow(const RowKeys& keys, int first, int last, const GridRows& rows);
// Exchanges positions a and b, each taking its hidden state with it.
void SwapGridRows(int a, int b, GridRows& rows);
// Hides every position whose key is below lower or above upper.
void HideRowsOutside(const RowKeys& keys, double lower, double upper, GridRows& rows);
