#include "statistics/ComparisonModel.h"

#include <algorithm>
#include <numeric>

ComparisonModel::ComparisonModel(QObject* parent) : QAbstractTableModel(parent) {}

void ComparisonModel::setComparison(const ClassComparison& comparison)
{
    beginResetModel();
    m_comparison = comparison;
    m_columns = {{Kind::Class}, {Kind::Sat}};
    for (int j = 0; j < comparison.subjects.size(); ++j)
        m_columns << Column{Kind::Average, j} << Column{Kind::PassRate, j} << Column{Kind::ExcellentRate, j};
    m_columns << Column{Kind::TotalAverage} << Column{Kind::Place};
    m_order.resize(comparison.rows.size());
    std::iota(m_order.begin(), m_order.end(), 0);
    m_texts.clear();
    m_keys.clear();
    for (const ClassComparison::Row& row : comparison.rows) {
        QStringList texts;
        QVariantList keys;
        for (const Column& column : std::as_const(m_columns)) {
            texts << text(row, column);
            keys << key(row, column);
        }
        m_texts.push_back(texts);
        m_keys.push_back(keys);
    }
    endResetModel();
}

const ClassComparison::Row& ComparisonModel::classAt(int row) const
{
    return m_comparison.rows.at(m_order.at(row));
}

int ComparisonModel::rowOfClass(const QString& classCode) const
{
    for (int r = 0; r < int(m_order.size()); ++r)
        if (classAt(r).klass.code == classCode)
            return r;
    return -1;
}

int ComparisonModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_order.size());
}

int ComparisonModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_columns.size();
}

std::optional<ColumnFigures> ComparisonModel::subjectFigures(const ClassComparison::Row& row,
                                                             const Column& column) const
{
    return column.subject >= 0 ? row.subjects.at(column.subject) : std::nullopt;
}

QString ComparisonModel::text(const ClassComparison::Row& row, const Column& column) const
{
    const std::optional<ColumnFigures> figures = subjectFigures(row, column);
    switch (column.kind) {
    case Kind::Class:
        return row.klass.name;
    case Kind::Sat:
        return FigureText::Count(row.total.sat);
    case Kind::Average:
        return figures ? FigureText::Average(figures->average) : QString();
    case Kind::PassRate:
        return figures ? FigureText::Rate(figures->passRate) : QString();
    case Kind::ExcellentRate:
        return figures ? FigureText::Rate(figures->excellentRate) : QString();
    case Kind::TotalAverage:
        return FigureText::Average(row.total.average);
    case Kind::Place:
        return PlaceText(row.place);
    }
    return {};
}

QVariant ComparisonModel::key(const ClassComparison::Row& row, const Column& column) const
{
    const auto number = [](const std::optional<double>& value) {
        return value ? QVariant(*value) : QVariant();
    };
    const std::optional<ColumnFigures> figures = subjectFigures(row, column);
    switch (column.kind) {
    case Kind::Class:
        return row.klass.code;
    case Kind::Sat:
        return row.total.sat;
    case Kind::Average:
        return figures ? number(figures->average) : QVariant();
    case Kind::PassRate:
        return figures ? number(figures->passRate) : QVariant();
    case Kind::ExcellentRate:
        return figures ? number(figures->excellentRate) : QVariant();
    case Kind::TotalAverage:
        return number(row.total.average);
    case Kind::Place:
        return row.place ? QVariant(*row.place) : QVariant();
    }
    return {};
}

QVariant ComparisonModel::sortKey(int row, int column) const
{
    return m_keys.at(m_order.at(row)).at(column);
}

QVariant ComparisonModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const Column& column = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return m_texts.at(m_order.at(index.row())).at(index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignVCenter |
                                   (column.kind == Kind::Class ? Qt::AlignLeft : Qt::AlignRight));
    default:
        return {};
    }
}

QVariant ComparisonModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    const Column& column = m_columns.at(section);
    if (role == Qt::InitialSortOrderRole) // the best first: highest figures, first place
        return column.kind == Kind::Class || column.kind == Kind::Place ? Qt::AscendingOrder
                                                                        : Qt::DescendingOrder;
    if (role != Qt::DisplayRole)
        return {};
    const QString subject = column.subject >= 0 ? m_comparison.subjects.at(column.subject).name : QString();
    switch (column.kind) {
    case Kind::Class:
        return QStringLiteral("班级");
    case Kind::Sat:
        return QStringLiteral("参考人数");
    case Kind::Average:
        return subject + QStringLiteral("\n平均分");
    case Kind::PassRate:
        return subject + QStringLiteral("\n及格率");
    case Kind::ExcellentRate:
        return subject + QStringLiteral("\n优秀率");
    case Kind::TotalAverage:
        return QStringLiteral("总分\n平均分");
    case Kind::Place:
        return QStringLiteral("名次");
    }
    return {};
}

void ComparisonModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= m_columns.size())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> oldOrder = m_order;
    std::sort(m_order.begin(), m_order.end()); // ties keep the class code order
    const Column& by = m_columns.at(column);
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        const QVariant& ka = m_keys.at(a).at(column);
        const QVariant& kb = m_keys.at(b).at(column);
        if (!ka.isValid() || !kb.isValid())
            return ka.isValid() && !kb.isValid(); // blanks last
        const bool less =
            by.kind == Kind::Class ? ka.toString() < kb.toString() : ka.toDouble() < kb.toDouble();
        const bool greater =
            by.kind == Kind::Class ? kb.toString() < ka.toString() : kb.toDouble() < ka.toDouble();
        return order == Qt::AscendingOrder ? less : greater;
    });
    // Persistent indexes (the view's current cell) move with their class.
    QModelIndexList after;
    for (const QModelIndex& index : before) {
        const int comparisonRow = oldOrder.at(index.row());
        const int newRow = int(std::find(m_order.begin(), m_order.end(), comparisonRow) - m_order.begin());
        after << this->index(newRow, index.column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
