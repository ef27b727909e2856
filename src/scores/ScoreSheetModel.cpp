#include "scores/ScoreSheetModel.h"

#include "data/Marks.h"
#include "data/SqlText.h"
#include "statistics/ResultsTable.h"

ScoreSheetModel::ScoreSheetModel(QObject* parent) : QAbstractTableModel(parent) {}

void ScoreSheetModel::setResults(const ClassResults& results)
{
    beginResetModel();
    m_results = results;
    m_hasClass = true;
    endResetModel();
}

void ScoreSheetModel::clear()
{
    beginResetModel();
    m_results = ClassResults();
    m_hasClass = false;
    endResetModel();
}

int ScoreSheetModel::subjectAt(int column) const
{
    const int subject = column - FirstSubjectColumn;
    return subject >= 0 && subject < m_results.subjectCount() ? subject : -1;
}

bool ScoreSheetModel::isScoreCell(const QModelIndex& index) const
{
    return index.isValid() && index.model() == this && subjectAt(index.column()) >= 0;
}

SheetCell ScoreSheetModel::cellAt(const QModelIndex& index) const
{
    return {m_results.students().at(index.row()).id, m_results.subjects().at(subjectAt(index.column())).code};
}

QModelIndex ScoreSheetModel::indexOf(const SheetCell& cell) const
{
    const int student = m_results.indexOfStudent(cell.studentId);
    const int subject = m_results.indexOfSubject(cell.subjectCode);
    if (!m_hasClass || student < 0 || subject < 0)
        return {};
    return index(student, FirstSubjectColumn + subject);
}

QString ScoreSheetModel::cellName(const QModelIndex& index) const
{
    const QString student = m_results.students().at(index.row()).name;
    const int subject = subjectAt(index.column());
    return subject < 0 ? student : student + QLatin1Char(' ') + m_results.subjects().at(subject).name;
}

CellScore ScoreSheetModel::scoreAt(const QModelIndex& index) const
{
    return isScoreCell(index) ? m_results.score(index.row(), subjectAt(index.column())) : std::nullopt;
}

void ScoreSheetModel::setScore(const QModelIndex& index, CellScore score)
{
    if (!isScoreCell(index))
        return;
    m_results.setScore(index.row(), subjectAt(index.column()), score);
    emit dataChanged(index, index);
    const QModelIndex total = this->index(index.row(), totalColumn());
    emit dataChanged(total, total);
}

void ScoreSheetModel::setScores(const QVector<SheetCell>& cells, const QVector<CellScore>& scores)
{
    int top = rowCount(), bottom = -1;
    for (int i = 0; i < cells.size(); ++i) {
        const QModelIndex at = indexOf(cells.at(i));
        if (!at.isValid())
            continue;
        m_results.setScore(at.row(), subjectAt(at.column()), scores.at(i));
        top = std::min(top, at.row());
        bottom = std::max(bottom, at.row());
    }
    // One notice for the rows touched, totals included: a pasted block is
    // repainted once.
    if (bottom >= top)
        emit dataChanged(index(top, FirstSubjectColumn), index(bottom, totalColumn()));
}

std::optional<QColor> ScoreSheetModel::markColor(int subject, CellScore score) const
{
    if (!score || subject < 0 || subject >= m_results.subjectCount())
        return std::nullopt;
    const double shown = Marks::OneDecimal(*score);
    const std::optional<double> standard = m_results.standard(subject);
    if (standard && Marks::ReachesStandard(shown, *standard))
        return ResultsTable::HonoursColor();
    if (Marks::Fails(shown))
        return ResultsTable::FailColor();
    return std::nullopt;
}

QString ScoreSheetModel::copyText(int top, int left, int bottom, int right) const
{
    QString copied;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            if (c > left)
                copied += QLatin1Char('\t');
            const QModelIndex at = index(r, c);
            copied += isScoreCell(at) ? data(at, Qt::EditRole).toString() : text(at);
        }
        copied += QLatin1Char('\n');
    }
    return copied;
}

int ScoreSheetModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_hasClass ? 0 : m_results.studentCount();
}

int ScoreSheetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !m_hasClass ? 0 : totalColumn() + 1;
}

QString ScoreSheetModel::text(const QModelIndex& index) const
{
    const int row = index.row();
    if (index.column() == NameColumn)
        return m_results.students().at(row).name;
    if (index.column() == NumberColumn)
        return m_results.students().at(row).number;
    if (index.column() == totalColumn())
        return FormatOneDecimal(m_results.total(row));
    const CellScore score = scoreAt(index);
    return score ? FormatOneDecimal(*score) : QString();
}

QVariant ScoreSheetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return text(index);
    case Qt::EditRole: {
        if (!isScoreCell(index))
            return text(index);
        const CellScore score = scoreAt(index);
        return score ? FormatPlainNumber(*score) : QString();
    }
    case Qt::ForegroundRole: {
        const std::optional<QColor> mark = markColor(subjectAt(index.column()), scoreAt(index));
        return mark ? QVariant(*mark) : QVariant();
    }
    case Qt::TextAlignmentRole:
        return index.column() == NameColumn ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                            : int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant ScoreSheetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section == NameColumn)
        return QStringLiteral("姓名");
    if (section == NumberColumn)
        return QStringLiteral("学号");
    if (section == totalColumn())
        return QStringLiteral("总分");
    const int subject = subjectAt(section);
    return subject >= 0 ? m_results.subjects().at(subject).name : QVariant();
}

Qt::ItemFlags ScoreSheetModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return isScoreCell(index) ? flags | Qt::ItemIsEditable : flags;
}

QVector<QStringList> TabSeparatedRows(const QString& text)
{
    QString block = text;
    block.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    block.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (block.endsWith(QLatin1Char('\n')))
        block.chop(1);
    QVector<QStringList> rows;
    if (block.isEmpty())
        return rows;
    const QStringList lines = block.split(QLatin1Char('\n'));
    rows.reserve(lines.size());
    for (const QString& line : lines)
        rows.append(line.split(QLatin1Char('\t')));
    return rows;
}
