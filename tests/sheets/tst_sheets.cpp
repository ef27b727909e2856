#include "OtherTool.h"

#include "sheets/CsvReader.h"
#include "sheets/CsvWriter.h"
#include "sheets/SheetFile.h"
#include "sheets/XlsxReader.h"
#include "sheets/XlsxWriter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Sheets;

namespace {

// Raw strings are kept out of Qt's macros, which moc cannot read them in.
QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

const Rgb Green = 0xB7E9C2;

CellFormat Filled(Rgb colour)
{
    CellFormat f;
    f.fill = colour;
    return f;
}

CellFormat AsText()
{
    CellFormat f;
    f.textFormat = true;
    return f;
}

CellFormat OneDecimal()
{
    CellFormat f;
    f.numberFormat = QStringLiteral("0.0");
    return f;
}

// A class's table as an export writes it: a title line, the header, the
// students with a text number, scores as numbers, a flag, a note with a line
// break and a marked row.
Table ClassTable()
{
    Table t(QStringLiteral("成绩统计"));
    t.appendRow({Cell::text(QStringLiteral("2024-2025学年第一学期 高一(1)班 成绩统计"))});
    t.appendRow({Cell::text(QStringLiteral("姓名")), Cell::text(QStringLiteral("学号")),
                 Cell::text(QStringLiteral("语文")), Cell::text(QStringLiteral("数学")),
                 Cell::text(QStringLiteral("团员")), Cell::text(QStringLiteral("违纪说明"))});
    t.appendRow({Cell::text(QStringLiteral("张三")), Cell::text(QStringLiteral("0012"), AsText()),
                 Cell::number(85.5, QStringLiteral("85.5"), OneDecimal()),
                 Cell::number(90, QStringLiteral("90.0"), OneDecimal()), Cell::boolean(true),
                 Cell::text(QStringLiteral("迟到\n早退，两次"))});
    QVector<Cell> marked{Cell::text(QStringLiteral("李四"), Filled(Green)),
                         Cell::text(QStringLiteral("20240001"), AsText()),
                         Cell::blank(Filled(Green)),
                         Cell::number(100, QStringLiteral("100.0"), OneDecimal()),
                         Cell::boolean(false),
                         Cell::text(QStringLiteral("say \"hi\", then go"))};
    t.appendRow(marked);
    t.setTitleRows(1);
    t.setFrozenRows(2);
    return t;
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// A package written entry by entry with Python's zipfile: the parts as some
// other program might lay them out. parts: name, text, alternately.
bool writePackage(const QString& path, const QStringList& parts)
{
    return bool(RunScript(QStringLiteral("zip_parts.py"), QStringList{path} + parts));
}

const QString ContentTypes = Utf8(
    R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"/>)");

QString Rels(const QString& relationships)
{
    return Utf8(R"(<?xml version="1.0" encoding="UTF-8"?>)"
                R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)") +
           relationships + QStringLiteral("</Relationships>");
}

QString Rel(const QString& id, const QString& type, const QString& target)
{
    return Utf8(
               R"(<Relationship Id="%1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/%2" Target="%3"/>)")
        .arg(id, type, target);
}

QStringList texts(const Table& t, int row)
{
    QStringList out;
    for (const Cell& c : t.row(row))
        out << c.text();
    return out;
}

} // namespace

class TestSheets : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY2(RunPython({QStringLiteral("-c"), QStringLiteral("import openpyxl")}),
                 "python3-openpyxl is needed (scripts/setup.sh)");
    }

    void xlsxReadsBackWhatItWrote()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("班级.xlsx"));
        QVERIFY(WriteXlsx(path, {ClassTable()}));

        QCOMPARE(*XlsxSheetNames(path), QStringList{QStringLiteral("成绩统计")});
        const Result<Table> read = ReadSheet(path);
        QVERIFY2(read, qPrintable(read.message()));
        const Table& t = *read;
        QCOMPARE(t.cell(0, 0).text(), QStringLiteral("2024-2025学年第一学期 高一(1)班 成绩统计"));
        QCOMPARE(texts(t, 1), (QStringList{"姓名", "学号", "语文", "数学", "团员", "违纪说明"}));
        // Numbers come back as numbers, with their plain digits; the number
        // of a student stays text with its leading zero.
        QCOMPARE(t.cell(2, 1).type(), Cell::Type::Text);
        QCOMPARE(t.cell(2, 1).text(), QStringLiteral("0012"));
        QCOMPARE(t.cell(2, 2).type(), Cell::Type::Number);
        QCOMPARE(t.cell(2, 2).number(), 85.5);
        QCOMPARE(t.cell(2, 3).text(), QStringLiteral("90"));
        QCOMPARE(t.cell(2, 4).type(), Cell::Type::Bool);
        QVERIFY(t.cell(2, 4).boolean());
        QCOMPARE(t.cell(2, 5).text(), QStringLiteral("迟到\n早退，两次"));
        QVERIFY(t.cell(3, 2).isEmpty());
        QCOMPARE(t.cell(3, 3).number(), 100.0);
        QVERIFY(!t.cell(3, 4).boolean());
        QCOMPARE(t.cell(3, 5).text(), QStringLiteral("say \"hi\", then go"));
        QCOMPARE(t.rowCount(), 4);
    }

    // Another tool sees what Excel would: numbers as numbers, the student
    // number as text in a text-formatted cell, the fills of marked rows, the
    // frozen title and header, the merged title, widths that fit Chinese.
    void openpyxlReadsWhatWeWrote()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.xlsx"));
        QVERIFY(WriteXlsx(path, {ClassTable()}));
        const QVariantMap seen = RunScriptJson(QStringLiteral("read_workbook.py"), {path}).toMap();
        QVERIFY(!seen.isEmpty());
        QCOMPARE(seen.value("sheet").toString(), QStringLiteral("成绩统计"));
        const QVariantMap cells = seen.value("cells").toMap();
        auto cell = [&](const char* ref) { return cells.value(QLatin1String(ref)).toMap(); };
        QCOMPARE(cell("A1").value("value").toString(),
                 QStringLiteral("2024-2025学年第一学期 高一(1)班 成绩统计"));
        QVERIFY(cell("A1").value("bold").toBool());
        QCOMPARE(seen.value("merged").toStringList(), QStringList{QStringLiteral("A1:F1")});
        QCOMPARE(seen.value("freeze").toString(), QStringLiteral("A3"));

        QCOMPARE(cell("B3").value("type").toString(), QStringLiteral("str"));
        QCOMPARE(cell("B3").value("value").toString(), QStringLiteral("0012"));
        QCOMPARE(cell("B3").value("format").toString(), QStringLiteral("@"));
        QCOMPARE(cell("C3").value("type").toString(), QStringLiteral("float"));
        QCOMPARE(cell("C3").value("value").toDouble(), 85.5);
        QCOMPARE(cell("C3").value("format").toString(), QStringLiteral("0.0"));
        QCOMPARE(cell("D3").value("type").toString(), QStringLiteral("int"));
        QCOMPARE(cell("E3").value("type").toString(), QStringLiteral("bool"));
        QCOMPARE(cell("F3").value("value").toString(), QStringLiteral("迟到\n早退，两次"));

        // The marked row is filled, its empty cell included; others are not.
        QCOMPARE(cell("A4").value("fill").toString(), QStringLiteral("FFB7E9C2"));
        QCOMPARE(cell("C4").value("fill").toString(), QStringLiteral("FFB7E9C2"));
        QVERIFY(cell("A3").value("fill").isNull());

        // "违纪说明" is 8 units wide in Chinese, its longest line 10; "学号"
        // holds 8 digits: widths from the contents, the title left out.
        const QVariantMap widths = seen.value("widths").toMap();
        QVERIFY(widths.value("B").toDouble() >= 8 && widths.value("B").toDouble() < 14);
        QVERIFY(widths.value("F").toDouble() >= 17 && widths.value("F").toDouble() < 30);
        QVERIFY(widths.value("A").toDouble() < 20);
    }

    void readsWorkbooksOpenpyxlWrites()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("from-openpyxl.xlsx"));
        const QJsonArray sheets{
            QJsonObject{{"name", "说明"}, {"rows", QJsonArray{QJsonArray{"这一页不是名单"}}}},
            QJsonObject{{"name", "名单"},
                        {"rows", QJsonArray{QJsonArray{"高一年级新生名单"}, QJsonArray{},
                                            QJsonArray{"姓名", "学号", "邮编", "是否团员", "分数", "大数"},
                                            QJsonArray{"王五", 20240001, "010020", true, 85.5,
                                                       QJsonObject{{"big", "123456789012345678"}}},
                                            QJsonArray{"赵六", "0012", QJsonValue(), false, 1e20, -7,
                                                       QJsonValue(), "x"}}}}};
        QVERIFY(RunScript(QStringLiteral("write_workbook.py"),
                          {path, QString::fromUtf8(QJsonDocument(sheets).toJson(QJsonDocument::Compact))}));
        QCOMPARE(*SheetNames(path), (QStringList{"说明", "名单"}));
        QCOMPARE(ReadSheet(path)->cell(0, 0).text(), QStringLiteral("这一页不是名单"));

        const Result<Table> read = ReadSheet(path, QStringLiteral("名单"));
        QVERIFY2(read, qPrintable(read.message()));
        const Table& t = *read;
        QVERIFY(t.row(1).isEmpty());
        QCOMPARE(texts(t, 2), (QStringList{"姓名", "学号", "邮编", "是否团员", "分数", "大数"}));
        QCOMPARE(t.cell(3, 1).type(), Cell::Type::Number);
        QCOMPARE(t.cell(3, 1).text(), QStringLiteral("20240001"));
        QCOMPARE(t.cell(3, 2).text(), QStringLiteral("010020"));
        QCOMPARE(t.cell(3, 3).type(), Cell::Type::Bool);
        QCOMPARE(t.cell(3, 4).text(), QStringLiteral("85.5"));
        // Digits a spreadsheet could not hold keep their length, for the
        // import to see them, with the fifteen digits a spreadsheet shows.
        QCOMPARE(t.cell(3, 5).text(), QStringLiteral("123456789012346000"));
        QCOMPARE(t.cell(4, 1).text(), QStringLiteral("0012"));
        QVERIFY(t.cell(4, 2).isEmpty());
        QCOMPARE(t.cell(4, 4).text(), QStringLiteral("100000000000000000000"));
        QCOMPARE(t.cell(4, 5).text(), QStringLiteral("-7"));
        QCOMPARE(t.cell(4, 7).text(), QStringLiteral("x"));

        QCOMPARE(ReadSheet(path, QStringLiteral("别的")).message(), Msg::NoSuchSheet.arg("别的"));
    }

    // What Excel, WPS and LibreOffice write beyond openpyxl's habits: rich
    // text with phonetic guides, inline strings, formula strings, booleans
    // and errors, cells and rows without references, exponents, prefixed
    // elements, a workbook part elsewhere with absolute targets, and the
    // sheets in another order than their parts.
    void readsPackagesAsOtherProgramsLayThemOut()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("hand.xlsx"));
        const QString ns = QStringLiteral("http://schemas.openxmlformats.org/spreadsheetml/2006/main");
        const QString rns =
            QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
        const QString workbook =
            Utf8(
                R"(<?xml version="1.0"?><x:workbook xmlns:x="%1" xmlns:r="%2"><x:sheets>)"
                R"(<x:sheet name="成绩" sheetId="7" r:id="rB"/><x:sheet name="Other" sheetId="1" r:id="rA"/>)"
                R"(</x:sheets></x:workbook>)")
                .arg(ns, rns);
        const QString shared =
            QStringLiteral(R"(<?xml version="1.0"?><sst xmlns="%1" count="3" uniqueCount="3">)"
                           R"(<si><t>姓名</t></si>)"
                           R"(<si><r><rPr><b/></rPr><t>学</t></r><r><t xml:space="preserve">号 </t></r>)"
                           R"(<rPh sb="0" eb="1"><t>がく</t></rPh></si>)"
                           R"(<si><t>00123</t></si></sst>)")
                .arg(ns);
        const QString sheet =
            QStringLiteral(
                R"(<?xml version="1.0"?><worksheet xmlns="%1"><sheetData>)"
                R"(<row r="2"><c r="A2" t="s"><v>0</v></c><c t="s"><v>1</v></c><c><v>2.0240001E7</v></c></row>)"
                R"(<row><c t="inlineStr"><is><r><t>张</t></r><r><t>三</t></r></is></c>)"
                R"(<c t="s"><v>2</v></c><c t="str"><f>A1</f><v>公式</v></c><c t="b"><v>1</v></c>)"
                R"(<c t="e"><v>#N/A</v></c><c><f>1/0</f></c><c><v>1.23456789012346E+19</v></c><c s="3"/></row>)"
                R"(<row r="9"><c r="C9"><v>59.96</v></c></row>)"
                R"(</sheetData></worksheet>)")
                .arg(ns);
        QVERIFY(writePackage(
            path, {"[Content_Types].xml", ContentTypes, "_rels/.rels",
                   Rels(Rel("r1", "officeDocument", "/book/main.xml")), "book/main.xml", workbook,
                   "book/_rels/main.xml.rels",
                   Rels(Rel("rA", "worksheet", "/book/sheets/one.xml") +
                        Rel("rB", "worksheet", "sheets/two.xml") + Rel("rS", "sharedStrings", "strings.xml")),
                   "book/strings.xml", shared, "book/sheets/two.xml", sheet, "book/sheets/one.xml",
                   Utf8(R"(<worksheet xmlns="%1"><sheetData/></worksheet>)").arg(ns)}));

        QCOMPARE(*SheetNames(path), (QStringList{"成绩", "Other"}));
        const Result<Table> read = ReadSheet(path);
        QVERIFY2(read, qPrintable(read.message()));
        const Table& t = *read;
        QVERIFY(t.row(0).isEmpty());
        QCOMPARE(texts(t, 1), (QStringList{"姓名", "学号 ", "20240001"}));
        QCOMPARE(t.cell(1, 2).type(), Cell::Type::Number);
        QCOMPARE(t.cell(2, 0).text(), QStringLiteral("张三"));
        QCOMPARE(t.cell(2, 1).type(), Cell::Type::Text);
        QCOMPARE(t.cell(2, 1).text(), QStringLiteral("00123"));
        QCOMPARE(t.cell(2, 2).text(), QStringLiteral("公式"));
        QCOMPARE(t.cell(2, 3).type(), Cell::Type::Bool);
        QCOMPARE(t.cell(2, 4).text(), QStringLiteral("#N/A"));
        QVERIFY(t.cell(2, 5).isEmpty());
        QCOMPARE(t.cell(2, 6).text(), QStringLiteral("12345678901234600000"));
        QCOMPARE(t.cell(8, 2).text(), QStringLiteral("59.96"));
        QCOMPARE(t.rowCount(), 9);
        QCOMPARE(ReadSheet(path, QStringLiteral("Other"))->rowCount(), 0);
    }

    void csvIsQuotedAndMarkedAsUtf8()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("out.csv"));
        QVERIFY(WriteSheet(path, ClassTable()));
        const QByteArray bytes = bytesOf(path);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QString text = QString::fromUtf8(bytes.mid(3));
        QVERIFY(text.startsWith(QStringLiteral("2024-2025学年第一学期 高一(1)班 成绩统计\r\n姓名,学号,")));
        // Cells as shown: one decimal, the flag as spreadsheets write it.
        QVERIFY(text.contains(QStringLiteral("张三,0012,85.5,90.0,TRUE,\"迟到\n早退，两次\"\r\n")));
        QVERIFY(text.contains(QStringLiteral("李四,20240001,,100.0,FALSE,\"say \"\"hi\"\", then go\"\r\n")));

        const Result<Table> back = ReadSheet(path);
        QVERIFY2(back, qPrintable(back.message()));
        QCOMPARE(back->cell(2, 5).text(), QStringLiteral("迟到\n早退，两次"));
        QCOMPARE(back->cell(3, 5).text(), QStringLiteral("say \"hi\", then go"));
        QVERIFY(back->cell(3, 2).isEmpty());
        QCOMPARE(back->rowCount(), 4);
    }

    void csvEncodings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QString text = QStringLiteral("姓名,学号\r\n𠀀张,\"0012\"\r\n");
        QTest::newRow("UTF-8 with a mark") << QByteArray("\xEF\xBB\xBF" + text.toUtf8());
        QTest::newRow("UTF-8 without") << text.toUtf8();
        QStringEncoder gb("GB18030");
        QVERIFY(gb.isValid());
        const QByteArray gbBytes = gb.encode(text);
        QVERIFY(gbBytes != text.toUtf8());
        QTest::newRow("GB18030, a four-byte character too") << gbBytes;
        QStringEncoder utf16(QStringEncoder::Utf16LE);
        QString tabbed = text;
        tabbed.replace(QLatin1Char(','), QLatin1Char('\t'));
        QTest::newRow("UTF-16 with tabs, Excel's Unicode text")
            << QByteArray("\xFF\xFE" + QByteArray(utf16.encode(tabbed)));
    }

    void csvEncodings()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("in.csv"));
        writeBytes(path, bytes);
        const Result<Table> t = ReadSheet(path);
        QVERIFY2(t, qPrintable(t.message()));
        QCOMPARE(texts(*t, 0), (QStringList{"姓名", "学号"}));
        QCOMPARE(texts(*t, 1), (QStringList{"𠀀张", "0012"}));
        QCOMPARE(t->rowCount(), 2);
    }

    void csvFieldsAndLines()
    {
        const Result<Table> t = ParseCsv(QStringLiteral("a,\"b\nc\",\"\"\rd,,\"x\"\"y\"\n\ne\n"));
        QVERIFY(t);
        QCOMPARE(texts(*t, 0), (QStringList{"a", "b\nc", ""}));
        QCOMPARE(t->cell(0, 2).type(), Cell::Type::Text); // "" is an empty text, not nothing
        QCOMPARE(texts(*t, 1), (QStringList{"d", "", "x\"y"}));
        QVERIFY(t->row(2).isEmpty() || t->cell(2, 0).isEmpty());
        QCOMPARE(texts(*t, 3), QStringList{"e"});
        QCOMPARE(t->rowCount(), 4);
    }

    void unreadableFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("an encrypted workbook, an OLE file")
            << "secret.xlsx" << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + QByteArray(600, '\0'))
            << Msg::Encrypted;
        QTest::newRow("an old .xls") << "old.xls"
                                     << QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1" + QByteArray(600, '\1'))
                                     << Msg::Encrypted;
        QTest::newRow("a picture") << "photo.png" << QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)
                                   << Msg::NotSpreadsheet;
        QTest::newRow("binary named .csv") << "data.csv" << QByteArray("a,b\0c", 5) << Msg::NotSpreadsheet;
        QTest::newRow("text named .xlsx") << "list.xlsx" << QByteArray("姓名,学号") << Msg::Damaged;
        QTest::newRow("empty .xlsx") << "empty.xlsx" << QByteArray() << Msg::Damaged;
        QTest::newRow("a quote never closed") << "open.csv" << QByteArray("姓名\n\"张三\n") << Msg::Damaged;
    }

    void unreadableFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        writeBytes(path, bytes);
        QCOMPARE(ReadSheet(path).message(), message);
        QCOMPARE(SheetNames(path).message(), message);
    }

    void damagedWorkbooks()
    {
        QTemporaryDir dir;
        const QString good = dir.filePath(QStringLiteral("good.xlsx"));
        QVERIFY(WriteXlsx(good, {ClassTable()}));
        const QByteArray bytes = bytesOf(good);

        const QString truncated = dir.filePath(QStringLiteral("truncated.xlsx"));
        writeBytes(truncated, bytes.left(bytes.size() / 2));
        QCOMPARE(ReadSheet(truncated).message(), Msg::Damaged);

        // One byte changed inside the compressed sheet: its checksum fails.
        const int at = bytes.indexOf("xl/worksheets/sheet1.xml") + 40;
        QByteArray flipped = bytes;
        flipped[at] = char(flipped.at(at) ^ 0x55);
        const QString corrupt = dir.filePath(QStringLiteral("corrupt.xlsx"));
        writeBytes(corrupt, flipped);
        QCOMPARE(ReadSheet(corrupt).message(), Msg::Damaged);

        const QString broken = dir.filePath(QStringLiteral("broken.xlsx"));
        QVERIFY(writePackage(
            broken, {"xl/workbook.xml",
                     R"(<workbook xmlns:r="urn:r"><sheets><sheet name="a" r:id="r1"/></sheets></workbook>)",
                     "xl/_rels/workbook.xml.rels", Rels(Rel("r1", "worksheet", "s.xml")), "xl/s.xml",
                     "<worksheet><sheetData><row><c><v>1</v></row>"}));
        QCOMPARE(ReadSheet(broken).message(), Msg::Damaged);

        const QString document = dir.filePath(QStringLiteral("letter.docx"));
        QVERIFY(writePackage(document, {"word/document.xml", "<document/>"}));
        QCOMPARE(ReadSheet(document).message(), Msg::NotSpreadsheet);

        QCOMPARE(ReadSheet(dir.filePath(QStringLiteral("missing.xlsx"))).message(), Msg::CannotOpen);
    }

    // A refused write leaves the file that was there, and nothing beside it.
    void failedWritesChangeNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("keep.xlsx"));
        writeBytes(path, "before");
        Table huge;
        huge.appendRow({Cell::text(QStringLiteral("ok"))});
        huge.appendRow({Cell::text(QStringLiteral("ok")), Cell::text(QString(32768, QLatin1Char('x')))});
        QCOMPARE(WriteXlsx(path, {huge}).message(), Msg::TextTooLong.arg(2).arg(2));
        QCOMPARE(bytesOf(path), QByteArray("before"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.xlsx")});

        const QString nowhere = dir.filePath(QStringLiteral("no/such/folder/out.xlsx"));
        QCOMPARE(WriteXlsx(nowhere, {ClassTable()}).message(), Msg::CannotWrite);
        QCOMPARE(WriteCsv(dir.filePath(QStringLiteral("no/out.csv")), ClassTable()).message(),
                 Msg::CannotWrite);

        // A good write replaces the old file whole.
        QVERIFY(WriteSheet(path, ClassTable()));
        QVERIFY(bytesOf(path).startsWith("PK"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("keep.xlsx")});
    }

    void widthsCountChineseDouble()
    {
        QCOMPARE(DisplayWidth(QStringLiteral("学号")), 4);
        QCOMPARE(DisplayWidth(QStringLiteral("85.5")), 4);
        QCOMPARE(DisplayWidth(QStringLiteral("高一(1)班")), 9);
        QCOMPARE(DisplayWidth(QStringLiteral("中a\r\nabcdef")), 6);
        QCOMPARE(DisplayWidth(QStringLiteral("𠀀")), 2);
    }
};

QTEST_GUILESS_MAIN(TestSheets)
#include "tst_sheets.moc"
