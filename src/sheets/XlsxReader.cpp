#include "sheets/XlsxReader.h"

#include <QDir>
#include <QHash>
#include <QXmlStreamReader>

#include <quazip.h>
#include <quazipfile.h>

#include <memory>

namespace Sheets {

namespace {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;

struct SheetEntry {
    QString name;
    QString part; // the sheet's path inside the package
};

struct Relationship {
    QString type;
    QString target;
};

// The package of an open workbook: its parts are read one at a time.
class Package {
public:
    explicit Package(const QString& path) : m_zip(path) {}

    bool open() { return m_zip.open(QuaZip::mdUnzip); }
    bool has(const QString& part) { return m_zip.setCurrentFile(part, QuaZip::csInsensitive); }

    // Runs parse on the part's XML; false when the part is missing or its
    // XML is broken.
    template <class Parse> bool read(const QString& part, Parse parse)
    {
        if (!m_zip.setCurrentFile(part, QuaZip::csInsensitive))
            return false;
        QuaZipFile file(&m_zip);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        QXmlStreamReader xml(&file);
        const bool parsed = parse(xml);
        file.close();
        return parsed && !xml.hasError() && file.getZipError() == UNZ_OK;
    }

private:
    QuaZip m_zip;
};

// Whether there is more to read. A part cut short is an error that does not
// end the reading by itself: the reader waits for more data from a device
// that has none to give.
bool more(const QXmlStreamReader& xml)
{
    return !xml.atEnd() && !xml.hasError();
}

// A relationship target against the folder of the part that names it.
QString resolve(const QString& fromPart, const QString& target)
{
    if (target.startsWith(QLatin1Char('/')))
        return QDir::cleanPath(target.mid(1));
    const int slash = fromPart.lastIndexOf(QLatin1Char('/'));
    const QString folder = slash < 0 ? QString() : fromPart.left(slash + 1);
    return QDir::cleanPath(folder + target);
}

QString relationshipsOf(const QString& part)
{
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

bool readRelationships(QXmlStreamReader& xml, QHash<QString, Relationship>& out)
{
    while (more(xml)) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")) {
            const QXmlStreamAttributes a = xml.attributes();
            out.insert(
                a.value(QLatin1String("Id")).toString(),
                {a.value(QLatin1String("Type")).toString(), a.value(QLatin1String("Target")).toString()});
        }
    }
    return !xml.hasError();
}

// The text of an <si> or <is>: its <t>, or the <t> of every run, without
// the phonetic guides (<rPh>) that Japanese and Chinese Excel add.
QString richText(QXmlStreamReader& xml)
{
    const QString element = xml.name().toString();
    QString text;
    int phonetic = 0;
    while (more(xml)) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0)
                text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == element)
                break;
        }
    }
    return text;
}

// "BC12" to column 54 and row 11 (both from 0); false when it is no reference.
bool parseReference(QStringView ref, int& row, int& column)
{
    int i = 0;
    int col = 0;
    while (i < ref.size() && ref.at(i).isLetter()) {
        const char16_t c = ref.at(i).toUpper().unicode();
        if (c < u'A' || c > u'Z')
            return false;
        col = col * 26 + (c - u'A' + 1);
        if (col > kMaxColumns)
            return false;
        ++i;
    }
    if (i == 0 || i == ref.size())
        return false;
    bool ok = false;
    const int r = ref.mid(i).toInt(&ok);
    if (!ok || r < 1 || r > kMaxRows)
        return false;
    row = r - 1;
    column = col - 1;
    return true;
}

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

Cell numberCell(const QString& value)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return Cell::text(value);
    // Digits as the file holds them: a number longer than a double keeps
    // its digits, so that what a spreadsheet would round can be seen.
    const QStringView digits =
        value.startsWith(QLatin1Char('-')) ? QStringView(value).mid(1) : QStringView(value);
    if (isDigits(digits) && !(digits.size() > 1 && digits.startsWith(QLatin1Char('0'))))
        return Cell::number(number, value);
    return Cell::number(number);
}

class SheetParser {
public:
    SheetParser(const QStringList& shared, Table& table) : m_shared(shared), m_table(table) {}

    bool parse(QXmlStreamReader& xml)
    {
        int row = -1;
        while (more(xml)) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("row")) {
                const QStringView r = xml.attributes().value(QLatin1String("r"));
                if (r.isEmpty()) {
                    ++row;
                } else {
                    bool ok = false;
                    const int n = r.toInt(&ok);
                    if (!ok || n < 1 || n > kMaxRows)
                        return false;
                    row = n - 1;
                }
                m_column = -1;
            } else if (xml.name() == QLatin1String("c")) {
                if (row < 0)
                    row = 0;
                if (!readCell(xml, row))
                    return false;
            }
        }
        return !xml.hasError();
    }

private:
    bool readCell(QXmlStreamReader& xml, int& row)
    {
        const QXmlStreamAttributes a = xml.attributes();
        const QStringView ref = a.value(QLatin1String("r"));
        int column = m_column + 1;
        if (!ref.isEmpty()) {
            int refRow = 0;
            if (!parseReference(ref, refRow, column))
                return false;
            row = refRow;
        }
        if (column >= kMaxColumns)
            return false;
        m_column = column;
        const QString type = a.value(QLatin1String("t")).toString();
        QString value;
        bool hasValue = false;
        QString inlineText;
        bool hasInline = false;
        while (more(xml)) {
            xml.readNext();
            if (xml.isStartElement()) {
                if (xml.name() == QLatin1String("v")) {
                    value = xml.readElementText();
                    hasValue = true;
                } else if (xml.name() == QLatin1String("is")) {
                    inlineText = richText(xml);
                    hasInline = true;
                } else {
                    xml.skipCurrentElement();
                }
            } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                break;
            }
        }
        if (xml.hasError())
            return false;
        Cell cell;
        if (type == QLatin1String("inlineStr")) {
            if (hasInline)
                cell = Cell::text(inlineText);
        } else if (!hasValue) {
            return true; // a formatted blank, or a formula without a result
        } else if (type == QLatin1String("s")) {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!ok || index < 0 || index >= m_shared.size())
                return false;
            cell = Cell::text(m_shared.at(index));
        } else if (type == QLatin1String("b")) {
            cell = Cell::boolean(value.trimmed() == QLatin1String("1") ||
                                 value.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0);
        } else if (type == QLatin1String("str") || type == QLatin1String("e") || type == QLatin1String("d")) {
            cell = Cell::text(value);
        } else {
            cell = numberCell(value.trimmed());
        }
        if (!cell.isEmpty())
            m_table.setCell(row, column, cell);
        return true;
    }

    const QStringList& m_shared;
    Table& m_table;
    int m_column = -1;
};

// What the workbook part says: its sheets in order and its shared strings' part.
struct WorkbookParts {
    QVector<SheetEntry> sheets;
    QString sharedStrings;
};

Result<WorkbookParts> readWorkbook(Package& package)
{
    // The package's own relationships name the workbook part; Excel's is
    // xl/workbook.xml, but others may differ.
    QHash<QString, Relationship> rootRels;
    QString workbook = QStringLiteral("xl/workbook.xml");
    if (package.has(QStringLiteral("_rels/.rels"))) {
        if (!package.read(QStringLiteral("_rels/.rels"),
                          [&](QXmlStreamReader& xml) { return readRelationships(xml, rootRels); }))
            return Outcome::failed(Msg::Damaged);
        for (const Relationship& r : std::as_const(rootRels)) {
            if (r.type.endsWith(QLatin1String("/officeDocument")))
                workbook = resolve(QString(), r.target);
        }
    }
    if (!package.has(workbook))
        return Outcome::failed(Msg::NotSpreadsheet);

    QHash<QString, Relationship> rels;
    if (!package.read(relationshipsOf(workbook),
                      [&](QXmlStreamReader& xml) { return readRelationships(xml, rels); }))
        return Outcome::failed(Msg::Damaged);

    struct Named {
        QString name;
        QString id;
    };
    QVector<Named> named;
    const bool parsed = package.read(workbook, [&](QXmlStreamReader& xml) {
        while (more(xml)) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("sheet")) {
                Named sheet;
                for (const QXmlStreamAttribute& a : xml.attributes()) {
                    if (a.name() == QLatin1String("name") && a.namespaceUri().isEmpty())
                        sheet.name = a.value().toString();
                    else if (a.name() == QLatin1String("id") && !a.namespaceUri().isEmpty())
                        sheet.id = a.value().toString();
                }
                named.append(sheet);
            }
        }
        return !xml.hasError();
    });
    if (!parsed)
        return Outcome::failed(Msg::Damaged);

    WorkbookParts parts;
    for (const Named& sheet : named) {
        const auto rel = rels.constFind(sheet.id);
        if (rel == rels.cend())
            return Outcome::failed(Msg::Damaged);
        parts.sheets.append({sheet.name, resolve(workbook, rel->target)});
    }
    for (const Relationship& r : std::as_const(rels)) {
        if (r.type.endsWith(QLatin1String("/sharedStrings")))
            parts.sharedStrings = resolve(workbook, r.target);
    }
    if (parts.sheets.isEmpty())
        return Outcome::failed(Msg::NoSheet);
    return parts;
}

Result<WorkbookParts> openWorkbook(Package& package)
{
    if (!package.open())
        return Outcome::failed(Msg::Damaged);
    return readWorkbook(package);
}

} // namespace

Result<QStringList> XlsxSheetNames(const QString& path)
{
    Package package(path);
    const Result<WorkbookParts> parts = openWorkbook(package);
    if (!parts)
        return Outcome(parts);
    QStringList names;
    for (const SheetEntry& sheet : parts->sheets)
        names << sheet.name;
    return names;
}

Result<Table> ReadXlsx(const QString& path, const QString& name)
{
    Package package(path);
    const Result<WorkbookParts> parts = openWorkbook(package);
    if (!parts)
        return Outcome(parts);
    const SheetEntry* chosen = &parts->sheets.constFirst();
    if (!name.isEmpty()) {
        chosen = nullptr;
        for (const SheetEntry& sheet : parts->sheets) {
            if (sheet.name == name)
                chosen = &sheet;
        }
        if (!chosen)
            return Outcome::failed(Msg::NoSuchSheet.arg(name));
    }

    QStringList shared;
    if (!parts->sharedStrings.isEmpty() && package.has(parts->sharedStrings)) {
        const bool read = package.read(parts->sharedStrings, [&](QXmlStreamReader& xml) {
            while (more(xml)) {
                xml.readNext();
                if (xml.isStartElement() && xml.name() == QLatin1String("si"))
                    shared << richText(xml);
            }
            return !xml.hasError();
        });
        if (!read)
            return Outcome::failed(Msg::Damaged);
    }

    Table table(chosen->name);
    SheetParser parser(shared, table);
    if (!package.read(chosen->part, [&](QXmlStreamReader& xml) { return parser.parse(xml); }))
        return Outcome::failed(Msg::Damaged);
    table.trim();
    return table;
}

} // namespace Sheets
