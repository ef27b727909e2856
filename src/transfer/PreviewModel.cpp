#include "transfer/PreviewModel.h"

#include <QColor>

namespace {
enum Column { Line, ClassName, Name, Number, Action, Problems, ColumnCount };
} // namespace

PreviewModel::PreviewModel(QObject* parent) : QAbstractTableModel(parent) {}

void PreviewModel::setPreview(const ImportPreview& preview)
{
    beginResetModel();
    m_preview = preview;
    refilter();
    endResetModel();
}

void PreviewModel::setProblemsOnly(bool only)
{
    beginResetModel();
    m_problemsOnly = only;
    refilter();
    endResetModel();
}

void PreviewModel::refilter()
{
    m_shown.clear();
    for (int i = 0; i < m_preview.rows.size(); ++i) {
        if (!m_problemsOnly || !m_preview.rows.at(i).problems.isEmpty())
            m_shown << i;
    }
}

int PreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_shown.size());
}

int PreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

const PreviewRow& PreviewModel::rowAt(int row) const
{
    return m_preview.rows.at(m_shown.at(row));
}

QVariant PreviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_shown.size())
        return {};
    const PreviewRow& row = rowAt(index.row());
    if (role == Qt::ForegroundRole)
        return row.problems.isEmpty() ? QVariant() : QVariant(QColor(255, 0, 0));
    if (role == Qt::TextAlignmentRole && index.column() == Line)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Line:
        return row.line;
    case ClassName:
        return row.className;
    case Name:
        return row.name;
    case Number:
        return row.number;
    case Action:
        return row.problems.isEmpty() ? row.action : QString();
    case Problems:
        return row.problems.join(QStringLiteral("；"));
    }
    return {};
}

QVariant PreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const QStringList titles{QStringLiteral("行"),   QStringLiteral("班级"), QStringLiteral("姓名"),
                                    QStringLiteral("学号"), QStringLiteral("处理"), QStringLiteral("问题")};
    return titles.value(section);
}
