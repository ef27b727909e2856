#include "statistics/StatisticsSheet.h"

#include "exchange/Exports.h"
#include "statistics/ResultsTable.h"
#include "statistics/StatisticsPrint.h"
#include "widgets/StringAlignGrid.h"

#include <QAbstractItemModel>
#include <QRegularExpression>

namespace {

constexpr int kNumberCol = 2; // 学号, as the table lays it out

Sheets::Rgb rgbOf(const QColor& colour)
{
    return Sheets::Rgb(colour.rgb() & 0xFFFFFF);
}

// The row's marks: its text colour unless black, its background unless the window's.
Sheets::CellFormat rowFormat(const TStringAlignGrid& grid, int row)
{
    Sheets::CellFormat format;
    const QColor text = grid.rowTextColor(row);
    if (text.isValid() && text != QColor(Qt::black))
        format.fontColour = rgbOf(text);
    const QColor back = grid.rowBackColor(row);
    if (back.isValid() && back != grid.windowColor())
        format.fill = rgbOf(back);
    return format;
}

QVector<int> shownColumns(const TStringAlignGrid& grid)
{
    QVector<int> columns;
    for (int c = 0; c < grid.colCount(); ++c) {
        if (grid.colWidth(c) >= 0)
            columns << c;
    }
    return columns;
}

Sheets::CellFormat oneDecimal(Sheets::CellFormat format)
{
    format.numberFormat = QStringLiteral("0.0");
    return format;
}

} // namespace

Sheets::Cell ShownCell(const QString& text, const Sheets::CellFormat& format)
{
    static const QRegularExpression number(QStringLiteral("^-?\\d+(\\.(\\d+))?(%?)$"));
    const QRegularExpressionMatch match = number.match(text.trimmed());
    if (!match.hasMatch())
        return text.isEmpty() && format.isPlain() ? Sheets::Cell() : Sheets::Cell::text(text, format);
    Sheets::CellFormat shown = format;
    const int decimals = match.captured(2).size();
    double value = match.captured(0).remove(QLatin1Char('%')).toDouble();
    if (!match.captured(3).isEmpty()) {
        // 93.3% is 0.933, not the 0.93299… that dividing leaves.
        value = QString::number(value / 100, 'g', 15).toDouble();
        shown.numberFormat = decimals > 0 ? QStringLiteral("0.%1%").arg(QString(decimals, QLatin1Char('0')))
                                          : QStringLiteral("0%");
    } else if (decimals > 0) {
        shown.numberFormat = QStringLiteral("0.") + QString(decimals, QLatin1Char('0'));
    }
    return Sheets::Cell::number(value, text.trimmed(), shown);
}

Sheets::Table StatisticsSheet(const QString& title, const TStringAlignGrid& grid,
                              const TStringAlignGrid& summary, const ResultsTable& table)
{
    Sheets::Table sheet(QStringLiteral("成绩统计"));
    sheet.appendRow({Sheets::Cell::text(title)});

    // The printed legend's marks, in their colours; the rows carry no signs here.
    QVector<Sheets::Cell> legend{Sheets::Cell::text(MarkLegendCaption())};
    for (const LegendEntry& entry : MarkLegend()) {
        Sheets::CellFormat format;
        if (entry.textColour != QColor(Qt::black))
            format.fontColour = rgbOf(entry.textColour);
        if (entry.background.isValid())
            format.fill = rgbOf(entry.background);
        legend << Sheets::Cell::text(entry.text, format);
    }
    sheet.appendRow(legend);

    const QVector<int> columns = shownColumns(grid);
    QVector<Sheets::Cell> header;
    for (int c : columns)
        header << Sheets::Cell::text(grid.cell(c, 0), Exports::HeaderFormat());
    sheet.appendRow(header);
    sheet.setTitleRows(1);
    sheet.setFrozenRows(3);

    const ClassResults& results = table.results();
    const int firstSubject = ResultsTable::FirstSubjectCol;
    for (int r = 1; r < grid.rowCount(); ++r) {
        if (grid.rowHeight(r) < 0)
            continue; // hidden by the range filter
        const Sheets::CellFormat format = rowFormat(grid, r);
        const ClassResults::Student* student = table.studentAt(r);
        const int s = student ? results.indexOfStudent(student->id) : -1;
        QVector<Sheets::Cell> cells;
        for (int c : columns) {
            const int subject = c - firstSubject;
            if (s >= 0 && subject >= 0 && subject < results.subjectCount()) {
                const std::optional<double> score = results.score(s, subject);
                cells << (score ? Sheets::Cell::number(*score, grid.cell(c, r), oneDecimal(format))
                                : Sheets::Cell::blank(format));
            } else if (c == kNumberCol) {
                Sheets::CellFormat number = format;
                number.textFormat = true; // 学号 keeps its leading zeros
                cells << Sheets::Cell::text(grid.cell(c, r), number);
            } else {
                cells << ShownCell(grid.cell(c, r), format);
            }
        }
        sheet.appendRow(cells);
    }

    // The summary rows under a blank line; the grid's row 0 is its hidden header.
    bool blankDone = false;
    for (int r = 1; r < summary.rowCount(); ++r) {
        QVector<Sheets::Cell> cells;
        bool any = false;
        for (int c : columns) {
            cells << ShownCell(summary.cell(c, r));
            any = any || !summary.cell(c, r).isEmpty();
        }
        if (!any)
            continue;
        if (!blankDone) {
            sheet.appendRow({});
            blankDone = true;
        }
        sheet.appendRow(cells);
    }
    return sheet;
}

Sheets::Table ModelSheet(const QString& name, const QString& title, const QAbstractItemModel& model)
{
    Sheets::Table sheet(name);
    sheet.appendRow({Sheets::Cell::text(title)});
    QVector<Sheets::Cell> header;
    for (int c = 0; c < model.columnCount(); ++c)
        header << Sheets::Cell::text(model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString(),
                                     Exports::HeaderFormat());
    sheet.appendRow(header);
    sheet.setTitleRows(1);
    sheet.setFrozenRows(2);
    for (int r = 0; r < model.rowCount(); ++r) {
        QVector<Sheets::Cell> cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells << ShownCell(model.index(r, c).data(Qt::DisplayRole).toString());
        sheet.appendRow(cells);
    }
    return sheet;
}
