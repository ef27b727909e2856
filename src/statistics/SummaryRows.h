#pragma once

#include <QObject>
#include <QStringList>

class ClassResults;
struct ColumnFigures;
class TFollowingGrid;

// Writes the figures of a class into the summary rows under the statistics
// table: "参考人数", "平均分", "最高分", "最低分", "及格率" and "优秀率" in the
// name column, each subject's figures under its column and the totals'
// under "总分" (without rates). The grid follows the table's columns; the
// other columns stay empty.
class SummaryRows : public QObject {
    Q_OBJECT
public:
    explicit SummaryRows(TFollowingGrid* grid, QObject* parent = nullptr);

    static const QStringList& Labels();
    // The texts of one column's figures, in the order of the labels; the
    // rates left empty where the column has none (总分).
    static QStringList Texts(const ColumnFigures& figures, bool withRates);

    // Takes the table's columns and shows no figures.
    void clear();
    void show(const ClassResults& results);

private:
    void writeLabels();

    TFollowingGrid* m_grid;
};
