#include "sheets/CsvWriter.h"

#include "sheets/FileReplace.h"

#include <QFile>

namespace Sheets {

namespace {

QString field(const QString& text)
{
    static const QString special = QStringLiteral(",\"\r\n");
    bool quoted = false;
    for (QChar c : text) {
        if (special.contains(c)) {
            quoted = true;
            break;
        }
    }
    if (!quoted)
        return text;
    QString escaped = text;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

} // namespace

QString CsvText(const Table& table)
{
    QString text;
    for (int r = 0; r < table.rowCount(); ++r) {
        const QVector<Cell>& cells = table.row(r);
        for (int c = 0; c < cells.size(); ++c) {
            if (c > 0)
                text += QLatin1Char(',');
            text += field(cells.at(c).text());
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

Outcome WriteCsv(const QString& path, const Table& table)
{
    FileReplace target(path);
    if (!target.isReady())
        return Outcome::failed(Msg::CannotWrite);
    QFile file(target.temporaryPath());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return Outcome::failed(Msg::CannotWrite);
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + CsvText(table).toUtf8();
    if (file.write(bytes) != bytes.size() || !file.flush())
        return Outcome::failed(Msg::CannotWrite);
    file.close();
    return target.commit() ? Outcome() : Outcome::failed(Msg::CannotWrite);
}

} // namespace Sheets
