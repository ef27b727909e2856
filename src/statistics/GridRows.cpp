#include "statistics/GridRows.h"

#include "widgets/StringAlignGrid.h"

#include <numeric>
#include <utility>

void ClearGrid(TStringAlignGrid* grid)
{
    const TStringAlignGrid::Batch clearing(grid);
    for (int r = 0; r < grid->rowCount(); ++r) {
        grid->setRowTextColor(r, Qt::black);
        grid->setRowBackColor(r, grid->windowColor());
        grid->setRowHeight(r, grid->defaultRowHeight());
        for (int c = 0; c < grid->colCount(); ++c)
            grid->setCell(c, r, QString());
    }
}

GridRows GridRows::inRosterOrder(int studentCount)
{
    GridRows rows;
    rows.students.resize(studentCount);
    std::iota(rows.students.begin(), rows.students.end(), 0);
    rows.hidden.fill(false, studentCount);
    return rows;
}

namespace {

// Of the positions first..last, the one whose key wins against every other
// under "better"; ties keep the earlier position.
template <class Better>
int findBestRow(const RowKeys& keys, int first, int last, const GridRows& rows, Better better)
{
    if (first < 0 || first >= rows.size())
        return first;
    double best = keys.at(rows.students.at(first));
    int bestRow = first;
    for (int p = first; p <= last && p < rows.size(); ++p) {
        const double key = keys.at(rows.students.at(p));
        if (better(best, key)) {
            best = key;
            bestRow = p;
        }
    }
    return bestRow;
}

} // namespace

int FindMinRow(const RowKeys& keys, int first, int last, const GridRows& rows)
{
    return findBestRow(keys, first, last, rows, [](double best, double key) { return best > key; });
}

int FindMaxRow(const RowKeys& keys, int first, int last, const GridRows& rows)
{
    return findBestRow(keys, first, last, rows, [](double best, double key) { return best < key; });
}

void SwapGridRows(int a, int b, GridRows& rows)
{
    std::swap(rows.students[a], rows.students[b]);
    std::swap(rows.hidden[a], rows.hidden[b]);
}

void SortGridRows(const RowKeys& keys, bool ascending, GridRows& rows)
{
    const int last = rows.size() - 1;
    for (int i = 0; i < last; ++i) {
        const int j = ascending ? FindMinRow(keys, i, last, rows) : FindMaxRow(keys, i, last, rows);
        SwapGridRows(i, j, rows);
    }
}

void HideRowsOutside(const RowKeys& keys, double lower, double upper, GridRows& rows)
{
    for (int p = 0; p < rows.size(); ++p) {
        const double key = keys.at(rows.students.at(p));
        if (key < lower || key > upper)
            rows.hidden[p] = true;
    }
}
