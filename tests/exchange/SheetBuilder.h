#pragma once

#include "data/Roster.h"
#include "exchange/ImportPreview.h"
#include "sheets/Table.h"

#include <QStringList>
#include <QVariant>

// Sheets written in a test the way a spreadsheet holds them: a QString is a
// text cell, a number a number cell, a bool a boolean, an invalid QVariant
// an empty cell.
inline Sheets::Table SheetOf(const QVector<QVariantList>& rows)
{
    Sheets::Table table;
    for (const QVariantList& values : rows) {
        QVector<Sheets::Cell> cells;
        for (const QVariant& v : values) {
            switch (v.typeId()) {
            case QMetaType::QString:
                cells << Sheets::Cell::text(v.toString());
                break;
            case QMetaType::Bool:
                cells << Sheets::Cell::boolean(v.toBool());
                break;
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::Double:
                cells << Sheets::Cell::number(v.toDouble());
                break;
            default:
                cells << Sheets::Cell();
            }
        }
        table.appendRow(cells);
    }
    return table;
}

// The preview row of a sheet line; a default row when there is none.
inline PreviewRow RowAt(const ImportPreview& preview, int line)
{
    for (const PreviewRow& row : preview.rows) {
        if (row.line == line && !row.action.isEmpty())
            return row;
    }
    return {};
}

// Every problem of the preview as "line: problem".
inline QStringList ProblemsOf(const ImportPreview& preview)
{
    QStringList all;
    for (const PreviewRow& row : preview.rows) {
        for (const QString& problem : row.problems)
            all << QStringLiteral("%1: %2").arg(row.line).arg(problem);
    }
    return all;
}

// A class's students as text, sorted: every column but the ID and the class.
inline QStringList StudentsOf(const QString& classCode)
{
    QStringList out;
    const DbValue<RowSet> read = Db::select(Roster::Students(classCode));
    for (int r = 0; read && r < read->rowCount(); ++r) {
        const Roster::Student s = Roster::FromRow(*read, r);
        out << QStringList{s.SName,
                           s.SNumber,
                           s.Room,
                           s.Address,
                           s.PostCode,
                           s.Patriarchy,
                           s.HomeTel,
                           QString::number(s.IsTY),
                           QString::number(s.HasWJ),
                           s.WJContent,
                           QString::number(s.IsActive)}
                   .join(QLatin1Char('|'));
    }
    out.sort();
    return out;
}

inline QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

// Progress that cancels once it has been asked the given number of times.
class CancellingProgress : public ImportProgress {
public:
    explicit CancellingProgress(int allowed) : m_allowed(allowed) {}
    bool advance(int, int) override { return m_calls++ < m_allowed; }
    int calls() const { return m_calls; }

private:
    int m_allowed;
    int m_calls = 0;
};
