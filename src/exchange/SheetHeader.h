#pragma once

#include "sheets/Table.h"

#include <QStringList>
#include <optional>

// The header row of a sheet that is read back: the first row holding one of
// the key titles (姓名 or 学号), so that title lines above it, and anything a
// school puts there, are passed over. Titles are compared without blanks and
// line breaks ("有否违纪\n记录" is "有否违纪记录").
class SheetHeader {
public:
    static std::optional<SheetHeader> Find(const Sheets::Table& table, const QStringList& keys);

    int row() const { return m_row; }
    // The line a spreadsheet shows for it.
    int line() const { return m_row + 1; }
    // The first column under the title; -1 when the sheet has no such title.
    int column(const QString& title) const;

    struct Title {
        int column;
        QString text;
    };
    // Every title that is not empty, in column order.
    const QVector<Title>& titles() const { return m_titles; }
    // Of the given titles, those the header holds more than once.
    QStringList repeated(const QStringList& titles) const;

    static QString Normalised(const QString& title);

private:
    int m_row = -1;
    QVector<Title> m_titles;
};
