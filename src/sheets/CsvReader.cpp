#include "sheets/CsvReader.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace Sheets {

namespace {

Result<QString> decodeWith(QStringDecoder decoder, QByteArrayView bytes)
{
    if (!decoder.isValid())
        return Outcome::failed(Msg::UnknownEncoding);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return Outcome::failed(Msg::UnknownEncoding);
    return text;
}

QChar separatorOf(const QString& text)
{
    bool quoted = false;
    bool tab = false;
    for (QChar c : text) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char(','))
            return QLatin1Char(',');
        else if (!quoted && c == QLatin1Char('\t'))
            tab = true;
        else if (!quoted && (c == QLatin1Char('\n') || c == QLatin1Char('\r')))
            break;
    }
    return tab ? QLatin1Char('\t') : QLatin1Char(',');
}

} // namespace

Result<QString> DecodeCsv(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeWith(QStringDecoder(QStringDecoder::Utf8), QByteArrayView(bytes).sliced(3));
    if (bytes.startsWith("\xFF\xFE"))
        return decodeWith(QStringDecoder(QStringDecoder::Utf16LE), QByteArrayView(bytes).sliced(2));
    if (bytes.startsWith("\xFE\xFF"))
        return decodeWith(QStringDecoder(QStringDecoder::Utf16BE), QByteArrayView(bytes).sliced(2));
    // Without a mark, a NUL byte belongs to no text file.
    if (bytes.contains('\0'))
        return Outcome::failed(Msg::NotSpreadsheet);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    // Qt finds GB18030 by this name through ICU, though encodingForName
    // does not report it.
    return decodeWith(QStringDecoder("GB18030"), bytes);
}

Result<Table> ParseCsv(const QString& text)
{
    Table table;
    const QChar separator = separatorOf(text);
    QVector<Cell> row;
    QString field;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field began with a quote
    bool rowHasContent = false;
    auto endField = [&] {
        row.append(field.isEmpty() && !wasQuoted ? Cell() : Cell::text(field));
        field.clear();
        wasQuoted = false;
        rowHasContent = true;
    };
    auto endRow = [&] {
        endField();
        table.appendRow(row);
        row.clear();
        rowHasContent = false;
    };
    const int size = text.size();
    for (int i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < size && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"') && field.isEmpty() && !wasQuoted) {
            quoted = true;
            wasQuoted = true;
        } else if (c == separator) {
            endField();
        } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            endRow();
        } else {
            field += c;
        }
    }
    if (quoted)
        return Outcome::failed(Msg::Damaged); // a quote that never closes
    if (!field.isEmpty() || wasQuoted || !row.isEmpty() || rowHasContent)
        endRow();
    table.trim();
    return table;
}

Result<Table> ReadCsv(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Outcome::failed(Msg::CannotOpen);
    const Result<QString> text = DecodeCsv(file.readAll());
    if (!text)
        return Outcome(text);
    Result<Table> table = ParseCsv(*text);
    if (table)
        table.value().setName(QFileInfo(path).completeBaseName());
    return table;
}

} // namespace Sheets
