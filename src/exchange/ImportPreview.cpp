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

void ImportPreview::tally()
{
    added = updated = unchanged = scoresAdded = scoresReplaced = 0;
    for (const PreviewRow& row : rows) {
        if (!row.problems.isEmpty() || row.action.isEmpty())
            continue;
        switch (row.outcome) {
        case PreviewRow::Outcome::Added:
            ++added;
            break;
        case PreviewRow::Outcome::Updated:
            ++updated;
            break;
        case PreviewRow::Outcome::Unchanged:
            ++unchanged;
            break;
        }
        scoresAdded += row.scoresAdded;
        scoresReplaced += row.scoresReplaced;
    }
}
