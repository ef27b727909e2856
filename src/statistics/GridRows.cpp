#include "statistics/GridRows.h"

#include "widgets/StringAlignGrid.h"

#include <cmath>

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

namespace {

// A cell text with its number read once: a search compares the best text so
// far with every other, and reading the same number again for each
// comparison costs more than the whole search otherwise.
struct CellKey {
    explicit CellKey(const QString& cellText) : text(cellText)
    {
        bool ok = false;
        value = QStringView(text).trimmed().toDouble(&ok);
        number = ok && std::isfinite(value);
    }
    QString text;
    double value = 0;
    bool number = false;
};

int compareKeys(const CellKey& a, const CellKey& b)
{
    if (a.number && b.number)
        return a.value < b.value ? -1 : (a.value > b.value ? 1 : 0);
    return QString::compare(a.text, b.text, Qt::CaseSensitive);
}

// Of the rows first..last, the one whose text wins against every other under
// "better"; ties keep the earlier row.
template <class Better>
int findBestRow(int col, int first, int last, const TStringAlignGrid* grid, Better better)
{
    CellKey best(grid->cell(col, first));
    int bestRow = first;
    for (int r = first; r <= last; ++r) {
        CellKey key(grid->cell(col, r));
        if (better(compareKeys(best, key))) {
            best = std::move(key);
            bestRow = r;
        }
    }
    return bestRow;
}

} // namespace

int CompareCellTexts(const QString& a, const QString& b)
{
    return compareKeys(CellKey(a), CellKey(b));
}

int FindMinRow(int col, int first, int last, const TStringAlignGrid* grid)
{
    return findBestRow(col, first, last, grid, [](int order) { return order > 0; });
}

int FindMaxRow(int col, int first, int last, const TStringAlignGrid* grid)
{
    return findBestRow(col, first, last, grid, [](int order) { return order < 0; });
}

void SwapGridRows(int a, int b, int scratch, TStringAlignGrid* grid)
{
    const int height = grid->rowHeight(a);
    grid->setRowHeight(a, grid->rowHeight(b));
    grid->setRowHeight(b, height);

    const QColor text = grid->rowTextColor(a);
    grid->setRowTextColor(a, grid->rowTextColor(b));
    grid->setRowTextColor(b, text);

    const QColor back = grid->rowBackColor(a);
    grid->setRowBackColor(a, grid->rowBackColor(b));
    grid->setRowBackColor(b, back);

    for (int c = 0; c < grid->colCount(); ++c) {
        grid->setCell(c, scratch, grid->cell(c, a));
        grid->setCell(c, a, grid->cell(c, b));
        grid->setCell(c, b, grid->cell(c, scratch));
    }
}

void SortGridRows(int col, bool ascending, TStringAlignGrid* grid)
{
    const TStringAlignGrid::Batch sorting(grid);
    const int n = grid->rowCount();
    grid->setRowCount(n + 1);
    for (int i = 1; i <= n - 1; ++i) {
        const int j = ascending ? FindMinRow(col, i, n - 1, grid) : FindMaxRow(col, i, n - 1, grid);
        SwapGridRows(i, j, n, grid);
    }
    for (int c = 0; c < grid->colCount(); ++c)
        grid->setCell(c, n, QString());
    grid->setRowCount(n);
}
