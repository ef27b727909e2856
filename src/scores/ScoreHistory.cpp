#include "scores/ScoreHistory.h"

namespace {

QVector<CellWrite> writesOf(const ScoreChange& change, const QVector<CellScore>& scores)
{
    QVector<CellWrite> writes;
    writes.reserve(change.cells.size());
    for (int i = 0; i < change.cells.size(); ++i)
        writes.append({change.cells.at(i), scores.at(i)});
    return writes;
}

} // namespace

void ScoreHistory::push(ScoreChange change)
{
    m_changes.resize(m_done);
    m_changes.append(std::move(change));
    m_done = m_changes.size();
    emit changed();
}

const ScoreChange* ScoreHistory::nextUndo() const
{
    return m_done > 0 ? &m_changes.at(m_done - 1) : nullptr;
}

const ScoreChange* ScoreHistory::nextRedo() const
{
    return m_done < m_changes.size() ? &m_changes.at(m_done) : nullptr;
}

DbValue<SheetWrite> ScoreHistory::undo()
{
    const ScoreChange* change = nextUndo();
    if (!change)
        return DbResult::failed(QStringLiteral("nothing to undo"));
    return apply(*change, change->before, change->after, -1);
}

DbValue<SheetWrite> ScoreHistory::redo()
{
    const ScoreChange* change = nextRedo();
    if (!change)
        return DbResult::failed(QStringLiteral("nothing to redo"));
    return apply(*change, change->after, change->before, +1);
}

DbValue<SheetWrite> ScoreHistory::apply(const ScoreChange& change, const QVector<CellScore>& scores,
                                        const QVector<CellScore>& expected, int step)
{
    DbValue<SheetWrite> written =
        ScoreSheet::StoreScoresIfUnchanged(change.klass, writesOf(change, scores), expected);
    if (written && written->stored()) {
        m_done += step;
        emit changed();
    }
    return written;
}
