#pragma once

#include <QString>
#include <QVector>
#include <optional>

// A spreadsheet as a plain value: what the program writes out and what it
// reads in, independent of the file's format. No widgets, no database.
namespace Sheets {

// A colour as 0xRRGGBB.
using Rgb = quint32;

enum class Align { Default, Left, Centre, Right };

// How a cell looks in a workbook. A .csv file carries none of it.
struct CellFormat {
    std::optional<Rgb> fill;
    std::optional<Rgb> fontColour;
    bool bold = false;
    // The text number format "@": what is typed into the cell later stays
    // text too (student numbers, post codes, telephone numbers keep their
    // leading zeros).
    bool textFormat = false;
    // The number format of a number cell ("0.0", "0.0%"); empty: general.
    QString numberFormat;
    Align align = Align::Default;

    bool isPlain() const;
    bool operator==(const CellFormat& other) const;
    bool operator!=(const CellFormat& other) const { return !(*this == other); }
};

class Cell {
public:
    enum class Type { Empty, Text, Number, Bool };

    Cell() = default;
    static Cell text(const QString& text, const CellFormat& format = {});
    // shown: the number as the program shows it (its one-decimal text, say);
    // empty for the plain digits of the number.
    static Cell number(double value, const QString& shown = QString(), const CellFormat& format = {});
    static Cell boolean(bool value, const CellFormat& format = {});
    // A cell holding no value that still has a format (a filled blank).
    static Cell blank(const CellFormat& format);

    Type type() const { return m_type; }
    bool isEmpty() const { return m_type == Type::Empty; }
    double number() const { return m_number; }
    bool boolean() const { return m_bool; }
    // What a reader sees: a text as it stands, a number in its shown or
    // plain form (integral numbers as digits, never with an exponent), a
    // boolean as TRUE or FALSE, nothing for an empty cell.
    const QString& text() const { return m_text; }
    // The text without blanks around it: an empty or blank cell gives "".
    QString trimmed() const { return m_text.trimmed(); }

    const CellFormat& format() const { return m_format; }
    void setFormat(const CellFormat& format) { m_format = format; }

    bool operator==(const Cell& other) const;
    bool operator!=(const Cell& other) const { return !(*this == other); }

private:
    Type m_type = Type::Empty;
    QString m_text;
    double m_number = 0;
    bool m_bool = false;
    CellFormat m_format;
};

// A number's plain digits: integral values without ".0" or an exponent,
// others with up to fifteen significant digits.
QString NumberText(double value);

// One sheet: rows of cells, ragged rows allowed (a missing cell is empty).
class Table {
public:
    Table() = default;
    explicit Table(const QString& name) : m_name(name) {}

    const QString& name() const { return m_name; }
    void setName(const QString& name) { m_name = name; }

    int rowCount() const { return m_rows.size(); }
    // The widest row's cell count.
    int columnCount() const;
    const QVector<Cell>& row(int row) const;
    const Cell& cell(int row, int column) const;
    void setCell(int row, int column, const Cell& cell);
    void appendRow(const QVector<Cell>& cells);
    // Drops empty cells at the ends of rows and empty rows at the end.
    void trim();

    // Title lines at the top (one text spanning the table): not counted for
    // the column widths.
    int titleRows() const { return m_titleRows; }
    void setTitleRows(int rows) { m_titleRows = rows; }
    // Rows kept in view when the sheet scrolls: the title lines and the header.
    int frozenRows() const { return m_frozenRows; }
    void setFrozenRows(int rows) { m_frozenRows = rows; }

    bool operator==(const Table& other) const;

private:
    QString m_name;
    QVector<QVector<Cell>> m_rows;
    int m_titleRows = 0;
    int m_frozenRows = 0;
};

// A whole file: its sheets in order.
using Workbook = QVector<Table>;

} // namespace Sheets
