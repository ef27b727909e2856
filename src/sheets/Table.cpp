#include "sheets/Table.h"

#include <cmath>

namespace Sheets {

bool CellFormat::isPlain() const
{
    return *this == CellFormat();
}

bool CellFormat::operator==(const CellFormat& other) const
{
    return fill == other.fill && fontColour == other.fontColour && bold == other.bold &&
           textFormat == other.textFormat && numberFormat == other.numberFormat && align == other.align;
}

QString NumberText(double value)
{
    if (!std::isfinite(value))
        return QString::number(value);
    // Integral values as their digits: 20240001, not 2.0240001e+07 or 20240001.0.
    if (value == std::floor(value) && std::fabs(value) < 1e21) {
        if (std::fabs(value) < 1e15)
            return QString::number(value, 'f', 0);
        // Beyond fifteen digits a double's digits are noise: fifteen
        // significant digits and zeros, as a spreadsheet shows the number.
        const QString e = QString::number(value, 'e', 14); // "-1.23456789012346e+17"
        const int at = e.indexOf(QLatin1Char('e'));
        const int exponent = e.mid(at + 1).toInt();
        QString digits = e.left(at);
        const bool negative = digits.startsWith(QLatin1Char('-'));
        digits.remove(QLatin1Char('-')).remove(QLatin1Char('.'));
        digits = digits.leftJustified(exponent + 1, QLatin1Char('0'));
        return negative ? QLatin1Char('-') + digits : digits;
    }
    QString text = QString::number(value, 'g', 15);
    if (text.contains(QLatin1Char('e'))) {
        text = QString::number(value, 'f', 15);
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLatin1Char('.')))
            text.chop(1);
    }
    return text;
}

Cell Cell::text(const QString& text, const CellFormat& format)
{
    Cell cell;
    cell.m_type = Type::Text;
    cell.m_text = text;
    cell.m_format = format;
    return cell;
}

Cell Cell::number(double value, const QString& shown, const CellFormat& format)
{
    Cell cell;
    cell.m_type = Type::Number;
    cell.m_number = value;
    cell.m_text = shown.isEmpty() ? NumberText(value) : shown;
    cell.m_format = format;
    return cell;
}

Cell Cell::boolean(bool value, const CellFormat& format)
{
    Cell cell;
    cell.m_type = Type::Bool;
    cell.m_bool = value;
    cell.m_text = value ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    cell.m_format = format;
    return cell;
}

Cell Cell::blank(const CellFormat& format)
{
    Cell cell;
    cell.m_format = format;
    return cell;
}

bool Cell::operator==(const Cell& other) const
{
    return m_type == other.m_type && m_text == other.m_text && m_number == other.m_number &&
           m_bool == other.m_bool && m_format == other.m_format;
}

int Table::columnCount() const
{
    int columns = 0;
    for (const QVector<Cell>& cells : m_rows)
        columns = std::max(columns, int(cells.size()));
    return columns;
}

const QVector<Cell>& Table::row(int row) const
{
    static const QVector<Cell> none;
    if (row < 0 || row >= m_rows.size())
        return none;
    return m_rows.at(row);
}

const Cell& Table::cell(int row, int column) const
{
    static const Cell empty;
    const QVector<Cell>& cells = this->row(row);
    if (column < 0 || column >= cells.size())
        return empty;
    return cells.at(column);
}

void Table::setCell(int row, int column, const Cell& cell)
{
    if (row < 0 || column < 0)
        return;
    if (row >= m_rows.size())
        m_rows.resize(row + 1);
    QVector<Cell>& cells = m_rows[row];
    if (column >= cells.size())
        cells.resize(column + 1);
    cells[column] = cell;
}

void Table::appendRow(const QVector<Cell>& cells)
{
    m_rows.append(cells);
}

void Table::trim()
{
    for (QVector<Cell>& cells : m_rows) {
        while (!cells.isEmpty() && cells.constLast().isEmpty() && cells.constLast().format().isPlain())
            cells.removeLast();
    }
    while (!m_rows.isEmpty() && m_rows.constLast().isEmpty())
        m_rows.removeLast();
}

bool Table::operator==(const Table& other) const
{
    return m_name == other.m_name && m_rows == other.m_rows && m_titleRows == other.m_titleRows &&
           m_frozenRows == other.m_frozenRows;
}

} // namespace Sheets
