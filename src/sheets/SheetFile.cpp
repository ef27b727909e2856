#include "sheets/SheetFile.h"

#include "sheets/CsvReader.h"
#include "sheets/CsvWriter.h"
#include "sheets/XlsxReader.h"
#include "sheets/XlsxWriter.h"

#include <QFile>
#include <QFileInfo>

namespace Sheets {

namespace {

bool isCsvName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("csv") || suffix == QLatin1String("txt");
}

} // namespace

Result<FileKind> KindOf(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Outcome::failed(Msg::CannotOpen);
    const QByteArray head = file.read(8);
    if (head.startsWith("PK"))
        return FileKind::Workbook;
    if (head == QByteArrayLiteral("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return Outcome::failed(Msg::Encrypted);
    if (isCsvName(path))
        return FileKind::Csv;
    // A workbook's name without a zip inside: cut short or overwritten.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xlsx") || suffix == QLatin1String("xlsm"))
        return Outcome::failed(Msg::Damaged);
    return FileKind::Csv;
}

Result<QStringList> SheetNames(const QString& path)
{
    const Result<FileKind> kind = KindOf(path);
    if (!kind)
        return Outcome(kind);
    if (*kind == FileKind::Workbook)
        return XlsxSheetNames(path);
    // Read whole, so that a file that cannot be read says so here already.
    const Result<Table> table = ReadCsv(path);
    if (!table)
        return Outcome(table);
    return QStringList{table->name()};
}

Result<Table> ReadSheet(const QString& path, const QString& name)
{
    const Result<FileKind> kind = KindOf(path);
    if (!kind)
        return Outcome(kind);
    if (*kind == FileKind::Workbook)
        return ReadXlsx(path, name);
    return ReadCsv(path);
}

Outcome WriteSheet(const QString& path, const Table& table)
{
    if (QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        return WriteCsv(path, table);
    return WriteXlsx(path, {table});
}

} // namespace Sheets
