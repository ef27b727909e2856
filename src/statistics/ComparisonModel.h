#pragma once

#include "data/ClassComparison.h"

#include <QAbstractTableModel>

// The classes of a term side by side for a table view: "班级", "参考人数",
// per subject its 平均分, 及格率 and 优秀率, the 总分 average and the place
// among the classes. A subject a class does not take is blank there. Sorting
// by a column orders by its numbers with the blanks last either way; the
// class column orders by class code.
class ComparisonModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ComparisonModel(QObject* parent = nullptr);

    void setComparison(const ClassComparison& comparison);
    const ClassComparison& comparison() const { return m_comparison; }
    // The class a row of the view shows, and the row of a class (-1: none).
    const ClassComparison::Row& classAt(int row) const;
    int rowOfClass(const QString& classCode) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // The number a cell is sorted by; invalid for a blank cell.
    QVariant sortKey(int row, int column) const;

private:
    enum class Kind { Class, Sat, Average, PassRate, ExcellentRate, TotalAverage, Place };
    struct Column {
        Kind kind;
        int subject = -1; // the compared subject of the three subject kinds
    };
    std::optional<ColumnFigures> subjectFigures(const ClassComparison::Row& row, const Column& column) const;
    QString text(const ClassComparison::Row& row, const Column& column) const;
    QVariant key(const ClassComparison::Row& row, const Column& column) const;

    ClassComparison m_comparison;
    QVector<Column> m_columns;
    std::vector<int> m_order; // view row -> comparison row
    // Per comparison row, the texts and sort keys of every column, made once:
    // a table of a term repaints thousands of cells.
    std::vector<QStringList> m_texts;
    std::vector<QVariantList> m_keys;
};
