#include "sheets/XlsxWriter.h"

#include "sheets/FileReplace.h"
#include "sheets/XlsxLibrary.h"

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>

#include <cmath>
#include <memory>

namespace Sheets {

namespace {

constexpr double kMinWidth = 4;
constexpr double kMaxWidth = 60;
constexpr double kPadding = 2;
constexpr int kSheetNameLimit = 31;

bool isWide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2010 && c <= 0x2027) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
}

// The formats of one workbook, made once per distinct look: the library
// keeps every format it is given in the file.
class Formats {
public:
    Formats(const XlsxLibrary& lib, lxw_workbook* book) : lib(lib), m_book(book) {}

    lxw_format* get(const CellFormat& look, bool wrap, bool title)
    {
        if (look.isPlain() && !wrap && !title)
            return nullptr;
        for (const Made& made : m_made) {
            if (made.look == look && made.wrap == wrap && made.title == title)
                return made.format;
        }
        lxw_format* format = lib.workbook_add_format(m_book);
        if (look.fill)
            lib.format_set_bg_color(format, *look.fill);
        if (look.fontColour)
            lib.format_set_font_color(format, *look.fontColour);
        if (look.bold || title)
            lib.format_set_bold(format);
        if (look.textFormat)
            lib.format_set_num_format(format, "@");
        else if (!look.numberFormat.isEmpty())
            lib.format_set_num_format(format, look.numberFormat.toUtf8().constData());
        switch (title ? Align::Centre : look.align) {
        case Align::Left:
            lib.format_set_align(format, LXW_ALIGN_LEFT);
            break;
        case Align::Centre:
            lib.format_set_align(format, LXW_ALIGN_CENTER);
            break;
        case Align::Right:
            lib.format_set_align(format, LXW_ALIGN_RIGHT);
            break;
        case Align::Default:
            break;
        }
        if (wrap) {
            lib.format_set_text_wrap(format);
            lib.format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
        }
        m_made.append({look, wrap, title, format});
        return format;
    }

private:
    struct Made {
        CellFormat look;
        bool wrap;
        bool title;
        lxw_format* format;
    };
    const XlsxLibrary& lib;
    lxw_workbook* m_book;
    QVector<Made> m_made;
};

// Closing a workbook writes it; the writer closes the one it abandons too,
// and the temporary file that got is removed.
struct WorkbookCloser {
    const XlsxLibrary* lib;
    void operator()(lxw_workbook* book) const
    {
        if (book)
            lib->workbook_close(book);
    }
};

// Sheet names as a workbook allows them: at most 31 characters, none of
// []:*?/\, not empty, and no two alike regardless of case.
QString sheetName(const QString& wanted, int position, QSet<QString>& taken)
{
    QString name = wanted;
    for (QChar& c : name) {
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = QLatin1Char('-');
    }
    name = name.trimmed();
    if (name.startsWith(QLatin1Char('\'')))
        name[0] = QLatin1Char('-');
    if (name.isEmpty())
        name = QStringLiteral("Sheet%1").arg(position + 1);
    name = name.left(kSheetNameLimit);
    QString unique = name;
    for (int n = 2; taken.contains(unique.toLower()); ++n) {
        const QString suffix = QStringLiteral("(%1)").arg(n);
        unique = name.left(kSheetNameLimit - suffix.size()) + suffix;
    }
    taken.insert(unique.toLower());
    return unique;
}

Outcome cellFailure(lxw_error error, int row, int column)
{
    if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
        return Outcome::failed(Msg::TextTooLong.arg(row + 1).arg(column + 1));
    return Outcome::failed(Msg::CannotWrite);
}

Outcome writeSheet(const XlsxLibrary& lib, lxw_worksheet* sheet, Formats& formats, const Table& table)
{
    const int columns = table.columnCount();
    if (table.rowCount() > LXW_ROW_MAX || columns > LXW_COL_MAX)
        return Outcome::failed(Msg::CannotWrite);
    const QVector<double> widths = ColumnWidths(table);
    for (int c = 0; c < widths.size(); ++c)
        lib.worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths.at(c), nullptr);

    for (int r = 0; r < table.rowCount(); ++r) {
        const bool title = r < table.titleRows();
        if (title && columns > 1) {
            const Cell& cell = table.cell(r, 0);
            const lxw_error error = lib.worksheet_merge_range(
                sheet, lxw_row_t(r), 0, lxw_row_t(r), lxw_col_t(columns - 1),
                cell.text().toUtf8().constData(), formats.get(cell.format(), false, true));
            if (error != LXW_NO_ERROR)
                return cellFailure(error, r, 0);
            continue;
        }
        const QVector<Cell>& cells = table.row(r);
        for (int c = 0; c < cells.size(); ++c) {
            const Cell& cell = cells.at(c);
            const bool wrap = cell.type() == Cell::Type::Text && cell.text().contains(QLatin1Char('\n'));
            lxw_format* format = formats.get(cell.format(), wrap, title);
            lxw_error error = LXW_NO_ERROR;
            switch (cell.type()) {
            case Cell::Type::Text:
                error = lib.worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                                   cell.text().toUtf8().constData(), format);
                break;
            case Cell::Type::Number:
                if (std::isfinite(cell.number()))
                    error =
                        lib.worksheet_write_number(sheet, lxw_row_t(r), lxw_col_t(c), cell.number(), format);
                else
                    error = lib.worksheet_write_string(sheet, lxw_row_t(r), lxw_col_t(c),
                                                       cell.text().toUtf8().constData(), format);
                break;
            case Cell::Type::Bool:
                error =
                    lib.worksheet_write_boolean(sheet, lxw_row_t(r), lxw_col_t(c), cell.boolean(), format);
                break;
            case Cell::Type::Empty:
                if (format)
                    error = lib.worksheet_write_blank(sheet, lxw_row_t(r), lxw_col_t(c), format);
                break;
            }
            if (error != LXW_NO_ERROR)
                return cellFailure(error, r, c);
        }
    }
    if (table.frozenRows() > 0)
        lib.worksheet_freeze_panes(sheet, lxw_row_t(table.frozenRows()), 0);
    return {};
}

} // namespace

int DisplayWidth(const QString& text)
{
    int widest = 0;
    int width = 0;
    for (char32_t c : text.toUcs4()) {
        if (c == U'\n') {
            widest = std::max(widest, width);
            width = 0;
        } else if (c != U'\r') {
            width += isWide(c) ? 2 : 1;
        }
    }
    return std::max(widest, width);
}

QVector<double> ColumnWidths(const Table& table)
{
    QVector<double> widths(table.columnCount(), kMinWidth);
    for (int r = table.titleRows(); r < table.rowCount(); ++r) {
        const QVector<Cell>& cells = table.row(r);
        for (int c = 0; c < cells.size(); ++c) {
            const double wanted = DisplayWidth(cells.at(c).text()) + kPadding;
            widths[c] = std::min(kMaxWidth, std::max(widths.at(c), wanted));
        }
    }
    return widths;
}

Outcome WriteXlsx(const QString& path, const Workbook& book)
{
    const XlsxLibrary* library = XlsxLibrary::get();
    if (!library)
        return Outcome::failed(Msg::WriterMissing);
    const XlsxLibrary& lib = *library;
    FileReplace target(path);
    if (!target.isReady())
        return Outcome::failed(Msg::CannotWrite);
    {
        std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(
            lib.workbook_new(QFile::encodeName(target.temporaryPath()).constData()), WorkbookCloser{library});
        if (!workbook)
            return Outcome::failed(Msg::CannotWrite);
        Formats formats(lib, workbook.get());
        QSet<QString> taken;
        for (int i = 0; i < book.size(); ++i) {
            const Table& table = book.at(i);
            lxw_worksheet* sheet = lib.workbook_add_worksheet(
                workbook.get(), sheetName(table.name(), i, taken).toUtf8().constData());
            if (!sheet)
                return Outcome::failed(Msg::CannotWrite);
            if (Outcome written = writeSheet(lib, sheet, formats, table); !written)
                return written;
        }
        if (book.isEmpty() && !lib.workbook_add_worksheet(workbook.get(), nullptr))
            return Outcome::failed(Msg::CannotWrite);
        const lxw_error closed = lib.workbook_close(workbook.release());
        if (closed != LXW_NO_ERROR)
            return Outcome::failed(Msg::CannotWrite);
    }
    return target.commit() ? Outcome() : Outcome::failed(Msg::CannotWrite);
}

} // namespace Sheets
