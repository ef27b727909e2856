#include "exchange/ImportPreview.h"

void ImportPreview::addFileProblem(int line, const QString& problem)
{
    for (PreviewRow& row : rows) {
        if (row.line == line && row.action.isEmpty()) {
            row.problems << problem;
            return;
        }
    }
    PreviewRow row;
    row.line = line;
    row.problems << problem;
    rows.prepend(row);
}

int ImportPreview::problemRows() const
{
    int count = 0;
    for (const PreviewRow& row : rows)
        count += row.problems.isEmpty() ? 0 : 1;
    return count;
}
