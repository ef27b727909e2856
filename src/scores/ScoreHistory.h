#pragma once

#include "data/ScoreSheet.h"

#include <QObject>
#include <QStringList>
#include <QVector>

// One stored change of the quick entry sheet: the cells it wrote, what they
// held before and what it stored.
struct ScoreChange {
    enum class Kind { Cell, Paste, Clear };

    Kind kind = Kind::Cell;
    SheetClass klass;
    QString termName; // for showing the class again
    QString className;
    QVector<SheetCell> cells;
    QStringList cellNames; // "张三 语文", one per cell
    QVector<CellScore> before;
    QVector<CellScore> after;
};

// The changes of one sheet window since it opened, to be taken back and
// made again in order. Taking back writes the cells' earlier scores only
// where every cell still holds what the change stored (and making again
// only where every cell holds what it held before), in one transaction; when
// another window or program has changed a cell since, nothing is written and
// the history stays as it was.
class ScoreHistory : public QObject {
    Q_OBJECT
public:
    explicit ScoreHistory(QObject* parent = nullptr) : QObject(parent) {}

    // A change just stored; the changes that were taken back are dropped.
    void push(ScoreChange change);

    // The change the next undo or redo acts on; nullptr when there is none.
    const ScoreChange* nextUndo() const;
    const ScoreChange* nextRedo() const;

    // What the write did; a failure when there was nothing to take back or
    // make again, or a statement failed.
    DbValue<SheetWrite> undo();
    DbValue<SheetWrite> redo();

signals:
    void changed();

private:
    // Writes scores into the change's cells where they hold expected, and
    // moves the history by step when that was stored.
    DbValue<SheetWrite> apply(const ScoreChange& change, const QVector<CellScore>& scores,
                              const QVector<CellScore>& expected, int step);

    QVector<ScoreChange> m_changes;
    int m_done = 0; // the changes before this index are in effect
};
