#pragma once

#include <QString>

class TStringAlignGrid;

// Row operations on an aligned string grid whose row 0 is a header.

// Resets every row: black text, the window background, the default height,
// and empty texts. The grid keeps its size and its column widths.
void ClearGrid(TStringAlignGrid* grid);

// Orders the data rows 1 .. rowCount-1 by the texts of one column (a
// selection sort: of equal texts the earlier row is taken first). Each row
// takes its texts, height and colours with it.
void SortGridRows(int col, bool ascending, TStringAlignGrid* grid);
// The row between first and last with the smallest / largest text in col;
// the earliest of several equal ones, and first when last < first.
int FindMinRow(int col, int first, int last, const TStringAlignGrid* grid);
int FindMaxRow(int col, int first, int last, const TStringAlignGrid* grid);
// Exchanges rows a and b, moving the texts through the scratch row.
void SwapGridRows(int a, int b, int scratch, TStringAlignGrid* grid);

// The order the sort uses: texts that both read as numbers compare as numbers
// (so 100.0 ranks above 99.9 and 9.5 below 85.0), any other pair as plain
// texts, character code by character code. Negative, zero or positive.
int CompareCellTexts(const QString& a, const QString& b);
