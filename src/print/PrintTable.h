#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <QVector>

// A table as it is printed: what the windows hand the print layer. It holds
// texts and colours only; the layout is the printer's business.
struct PrintColumn {
    QString title;
    Qt::Alignment alignment = Qt::AlignLeft;
    // A column of figures keeps each figure on one line; only its title may
    // be broken. Other columns break their texts when the page is narrow.
    bool figures = false;
};

struct PrintRow {
    QStringList cells; // one per column; missing ones print empty
    QColor text = Qt::black;
    QColor background; // invalid: the paper's
};

// One mark explained under the table: its sign, its words and its colours.
struct LegendEntry {
    QString sign;
    QString text;
    QColor textColour = Qt::black;
    QColor background; // invalid: none
};

struct PrintTable {
    QString title;
    QString note; // under the title, on the left (may be empty)
    QString date; // under the title, on the right
    QVector<PrintColumn> columns;
    QVector<PrintRow> rows;
    QVector<PrintRow> summary; // under the rows, set off by a heavy rule
    QString legendCaption;
    QVector<LegendEntry> legend;
};
