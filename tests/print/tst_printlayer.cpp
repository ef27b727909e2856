// The print layer on its own: tables and report cards written as PDF files
// and read back with poppler's tools, as any reader of the file would.
#include "PdfSupport.h"
#include "TestSupport.h"
#include "print/PrintCommands.h"
#include "print/ReportCards.h"
#include "print/TableDocument.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QColor kBlue(0, 0, 255);
const QColor kRed(255, 0, 0);
const QColor kGreen(183, 233, 194);

// A class of n students and the given subjects, some rows marked.
PrintTable ClassTable(int students, int subjects)
{
    PrintTable table;
    table.title = QStringLiteral("第一中学 2024-2025学年第一学期 高一(1)班 成绩统计");
    table.date = QStringLiteral("打印日期：2024年9月1日");
    table.columns.append({QStringLiteral("标记"), Qt::AlignLeft, false});
    table.columns.append({QStringLiteral("姓名"), Qt::AlignLeft, false});
    table.columns.append({QStringLiteral("学号"), Qt::AlignRight, true});
    for (int j = 0; j < subjects; ++j)
        table.columns.append({QStringLiteral("科目%1").arg(j + 1), Qt::AlignRight, true});
    table.columns.append({QStringLiteral("总分"), Qt::AlignRight, true});
    for (int s = 0; s < students; ++s) {
        PrintRow row;
        row.cells << QString() << QStringLiteral("学生%1").arg(s + 1, 3, 10, QLatin1Char('0'))
                  << QString::number(20240000 + s);
        for (int j = 0; j < subjects; ++j)
            row.cells << QStringLiteral("%1.5").arg(60 + (s * 7 + j) % 40);
        row.cells << QStringLiteral("888.0");
        if (s % 10 == 1) {
            row.cells[0] = QStringLiteral("▼");
            row.text = kBlue;
        } else if (s % 10 == 2) {
            row.cells[0] = QStringLiteral("▲");
            row.text = kRed;
        } else if (s % 10 == 3) {
            row.cells[0] = QStringLiteral("↑");
            row.background = kGreen;
        }
        table.rows.append(row);
    }
    PrintRow average;
    average.cells << QString() << QStringLiteral("平均分");
    table.summary.append(average);
    table.legendCaption = QStringLiteral("颜色标示说明：");
    table.legend = {{QStringLiteral("▼"), QStringLiteral("有不及格项"), kBlue, {}},
                    {QStringLiteral("▲"), QStringLiteral("符合评优标准"), kRed, {}},
                    {QStringLiteral("↑"), QStringLiteral("进步较大"), Qt::black, kGreen}};
    return table;
}

} // namespace

class TestPrintLayer : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const PrintDocument& document, const QString& name)
    {
        const QString path = m_dir.filePath(name);
        const DbResult written = PrintCommands::WritePdf(document, path);
        if (!written)
            qWarning() << written.error();
        return written ? path : QString();
    }

private slots:
    void aLongClassRepeatsItsTitleAndHeaderOnEveryPage()
    {
        const QString pdf = write(TableDocument(ClassTable(120, 12)), QStringLiteral("long.pdf"));
        QVERIFY(!pdf.isEmpty());
        const int pages = Pdf::PageCount(pdf);
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));

        QStringList seen;
        for (int p = 1; p <= pages; ++p) {
            const QString text = Pdf::Text(pdf, p);
            QVERIFY(text.contains(QStringLiteral("第一中学 2024-2025学年第一学期 高一(1)班 成绩统计")));
            // The header row, in its order, on every page.
            const QString squeezed = Pdf::Squeezed(text);
            QVERIFY2(squeezed.contains(QStringLiteral("标记姓名学号科目1科目2")),
                     qPrintable(squeezed.left(200)));
            QVERIFY(squeezed.contains(QStringLiteral("科目12总分")));
            QVERIFY(text.contains(QStringLiteral("第 %1 页 共 %2 页").arg(p).arg(pages)));
            static const QRegularExpression name(QStringLiteral("学生\\d{3}"));
            for (auto it = name.globalMatch(text); it.hasNext();)
                seen << it.next().captured();
        }
        // Every student once, in order; the summary and the legend after the last.
        QCOMPARE(seen.size(), 120);
        for (int s = 0; s < 120; ++s)
            QCOMPARE(seen.at(s), QStringLiteral("学生%1").arg(s + 1, 3, 10, QLatin1Char('0')));
        const QString last = Pdf::Text(pdf, pages);
        QVERIFY(last.indexOf(QStringLiteral("学生120")) < last.indexOf(QStringLiteral("平均分")));
        QVERIFY(last.contains(QStringLiteral("颜色标示说明：")));
        QVERIFY(last.contains(QStringLiteral("符合评优标准")));
        QVERIFY(!Pdf::Text(pdf, 1).contains(QStringLiteral("平均分")));
    }

    void signsAndColoursArePrinted()
    {
        const QString pdf = write(TableDocument(ClassTable(12, 6)), QStringLiteral("marks.pdf"));
        QCOMPARE(Pdf::PageCount(pdf), 1);
        const QString text = Pdf::Text(pdf, 1);
        // Each sign in front of its row, so that it survives a grey printer.
        QVERIFY(Pdf::Squeezed(text).contains(QStringLiteral("▼学生002")));
        QVERIFY(Pdf::Squeezed(text).contains(QStringLiteral("▲学生003")));
        QVERIFY(Pdf::Squeezed(text).contains(QStringLiteral("↑学生004")));

        const QImage page = Pdf::Render(pdf, 1, 72);
        QVERIFY(!page.isNull());
        QVERIFY(Pdf::HasColour(page, kGreen, 6));
        QVERIFY(Pdf::HasColour(page, kBlue, 60));
        QVERIFY(Pdf::HasColour(page, kRed, 60));

        // The green row is the fourth student's: its band lies where that name stands.
        const QList<Pdf::PageWords> words = Pdf::Words(pdf);
        QCOMPARE(words.size(), 1);
        const double scale = page.height() / words.first().height;
        for (const Pdf::Word& word : words.first().words) {
            if (word.text != QStringLiteral("学生004") && word.text != QStringLiteral("学生005"))
                continue;
            const int y = int((word.yMin + word.yMax) / 2 * scale);
            const int x = int((word.xMax + 2) * scale);
            const QColor at = page.pixelColor(x, y);
            const bool green = qAbs(at.green() - kGreen.green()) < 8 && qAbs(at.red() - kGreen.red()) < 8;
            QCOMPARE(green, word.text == QStringLiteral("学生004"));
        }
    }

    void theFontIsEmbeddedAsATrueTypeSubsetWithUnicode()
    {
        const QString pdf = write(TableDocument(ClassTable(30, 12)), QStringLiteral("fonts.pdf"));
        const QStringList fonts = Pdf::Fonts(pdf);
        QVERIFY(!fonts.isEmpty());
        for (const QString& line : fonts) {
            const QStringList f = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            // name, "CID", "TrueType", encoding, emb, sub, uni, object, generation
            QVERIFY2(f.first().contains(QStringLiteral("UMing")), qPrintable(line));
            QVERIFY2(line.contains(QStringLiteral("CID TrueType")), qPrintable(line));
            QCOMPARE(f.at(f.size() - 5), QStringLiteral("yes")); // embedded
            QCOMPARE(f.at(f.size() - 3), QStringLiteral("yes")); // a ToUnicode map
        }
        // Only the glyphs used: the whole font is some twenty megabytes.
        QVERIFY(QFileInfo(pdf).size() < 400 * 1024);
    }

    void aWideTableShrinksThenBreaksTextsButCutsNone()
    {
        PrintTable table;
        table.title = QStringLiteral("宽表");
        const QString longName = QStringLiteral("中华人民共和国浙江省杭州市西湖区文三路第一百八十八号");
        for (int c = 0; c < 24; ++c)
            table.columns.append({QStringLiteral("很长的科目名称第%1号").arg(c + 1), Qt::AlignLeft, c > 0});
        for (int r = 0; r < 5; ++r) {
            PrintRow row;
            row.cells << longName;
            for (int c = 1; c < 24; ++c)
                row.cells << QStringLiteral("100.0");
            table.rows.append(row);
        }
        const QString pdf = write(TableDocument(table), QStringLiteral("wide.pdf"));
        const QString text = Pdf::Squeezed(Pdf::Text(pdf, 0));
        QCOMPARE(text.count(longName), 5);
        for (int c = 1; c <= 24; ++c)
            QVERIFY2(text.contains(QStringLiteral("很长的科目名称第%1号").arg(c)),
                     qPrintable(QString::number(c)));
        // Figures stay whole on one line.
        QCOMPARE(Pdf::Text(pdf, 0).count(QStringLiteral("100.0")), 5 * 23);
        // Every word within the page's printable width.
        for (const Pdf::PageWords& page : Pdf::Words(pdf))
            for (const Pdf::Word& word : page.words) {
                QVERIFY2(word.xMin >= 12 / 25.4 * 72 - 1, qPrintable(word.text));
                QVERIFY2(word.xMax <= page.width - 12 / 25.4 * 72 + 1, qPrintable(word.text));
            }
    }

    void aRowTallerThanAPageGoesOnOverPagesBetweenLines()
    {
        PrintTable table;
        table.title = QStringLiteral("违纪说明");
        table.columns = {{QStringLiteral("姓名"), Qt::AlignLeft, false},
                         {QStringLiteral("违纪说明"), Qt::AlignLeft, false}};
        QStringList lines;
        for (int i = 0; i < 90; ++i)
            lines << QStringLiteral("第%1行").arg(i + 1);
        table.rows.append({{QStringLiteral("张三"), lines.join(QLatin1Char('\n'))}, Qt::black, {}});
        table.rows.append({{QStringLiteral("李四"), QStringLiteral("无")}, Qt::black, {}});
        const QString pdf = write(TableDocument(table), QStringLiteral("tall.pdf"));
        const int pages = Pdf::PageCount(pdf);
        QVERIFY(pages >= 2);
        const QString all = Pdf::Text(pdf, 0);
        for (int i = 1; i <= 90; ++i)
            QCOMPARE(all.count(QStringLiteral("第%1行").arg(i)), 1);
        for (int p = 1; p <= pages; ++p)
            QVERIFY(Pdf::Squeezed(Pdf::Text(pdf, p)).contains(QStringLiteral("姓名违纪说明")));
    }

    void reportCardsThreeToAPageOrOne()
    {
        ReportCardSet set;
        set.school = QStringLiteral("第一中学");
        set.term = QStringLiteral("2024-2025学年第一学期");
        set.className = QStringLiteral("高一(1)班");
        set.subjects = {QStringLiteral("语文"), QStringLiteral("数学"), QStringLiteral("英语")};
        set.averages = {QStringLiteral("80.0"), QStringLiteral("75.5"), QStringLiteral("—")};
        set.totalAverage = QStringLiteral("155.5");
        for (int s = 0; s < 7; ++s)
            set.cards.append({QStringLiteral("学生%1").arg(s + 1),
                              QString::number(1000 + s),
                              {QStringLiteral("90.0"), QStringLiteral("8%1.0").arg(s), QStringLiteral("—")},
                              QStringLiteral("17%1.0").arg(s),
                              QString::number(s + 1)});

        const QString three = write(ReportCardDocument(set, ReportCardDocument::Layout::ThreePerPage),
                                    QStringLiteral("cards3.pdf"));
        QCOMPARE(Pdf::PageCount(three), 3);
        const QString text = Pdf::Text(three, 0);
        for (int s = 1; s <= 7; ++s) {
            QCOMPARE(text.count(QRegularExpression(QStringLiteral("姓名：学生%1\\b").arg(s))), 1);
            QVERIFY(text.contains(QStringLiteral("学号：%1").arg(999 + s)));
        }
        QCOMPARE(text.count(QStringLiteral("第一中学 成绩通知单")), 7);
        QCOMPARE(text.count(QStringLiteral("班主任评语：")), 7);
        QCOMPARE(text.count(QStringLiteral("家长签名：")), 7);
        QCOMPARE(text.count(QStringLiteral("2024-2025学年第一学期")), 7);
        const QString first = Pdf::Squeezed(Pdf::Text(three, 1));
        QVERIFY(first.contains(QStringLiteral("科目语文数学英语总分名次")));
        QVERIFY(first.contains(QStringLiteral("成绩90.080.0—170.01")));
        QVERIFY(first.contains(QStringLiteral("班级平均分80.075.5—155.5")));

        const QString one = write(ReportCardDocument(set, ReportCardDocument::Layout::OnePerPage),
                                  QStringLiteral("cards1.pdf"));
        QCOMPARE(Pdf::PageCount(one), 7);
        for (int p = 1; p <= 7; ++p)
            QVERIFY(Pdf::Text(one, p).contains(QStringLiteral("姓名：学生%1").arg(p)));

        // Without places the column is not printed at all.
        set.showPlaces = false;
        const QString noPlaces = write(ReportCardDocument(set, ReportCardDocument::Layout::ThreePerPage),
                                       QStringLiteral("cards0.pdf"));
        QVERIFY(!Pdf::Text(noPlaces, 0).contains(QStringLiteral("名次")));
    }

    void manySubjectsMakeFewerSlipsToAPage()
    {
        ReportCardSet set;
        set.term = QStringLiteral("第一学期");
        set.className = QStringLiteral("一班");
        for (int j = 0; j < 40; ++j) {
            set.subjects << QStringLiteral("综合实践活动课程%1").arg(j + 1);
            set.averages << QStringLiteral("99.5");
        }
        for (int s = 0; s < 3; ++s)
            set.cards.append({QStringLiteral("学生%1").arg(s + 1), QStringLiteral("1"),
                              QStringList(set.averages), QStringLiteral("3980.0"), QStringLiteral("1")});
        const QString pdf = write(ReportCardDocument(set, ReportCardDocument::Layout::ThreePerPage),
                                  QStringLiteral("crowded.pdf"));
        const QString text = Pdf::Squeezed(Pdf::Text(pdf, 0));
        // Nothing cut: every subject's name on each slip.
        for (int j = 1; j <= 40; ++j)
            QCOMPARE(text.count(QRegularExpression(QStringLiteral("综合实践活动课程%1(?!\\d)").arg(j))), 3);
        QVERIFY(Pdf::PageCount(pdf) >= 1);
        for (const Pdf::PageWords& page : Pdf::Words(pdf))
            for (const Pdf::Word& word : page.words)
                QVERIFY2(word.yMax <= page.height && word.xMax <= page.width, qPrintable(word.text));
    }

    void proposedNamesHoldOnlyWhatAFileNameCan()
    {
        QCOMPARE(PrintCommands::ProposedFileName({QStringLiteral("2024-2025学年第一学期"),
                                                  QStringLiteral("高一(1)班"), QStringLiteral("成绩统计")}),
                 QStringLiteral("2024-2025学年第一学期_高一(1)班_成绩统计.pdf"));
        QCOMPARE(PrintCommands::ProposedFileName(
                     {QStringLiteral("2024/2025:上"), QString(), QStringLiteral("a*b?\"<>|\\c")}),
                 QStringLiteral("2024-2025-上_a-b------c.pdf"));
    }

    void aPdfThatCannotBeWrittenLeavesTheOldFileAndNoTemporary()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("old.pdf"));
        {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old");
        }
        QFile::setPermissions(target, QFileDevice::ReadOwner);
        QVERIFY(!PrintCommands::WritePdf(TableDocument(ClassTable(3, 2)), target));
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.pdf")});

        // A folder that does not exist.
        QVERIFY(!PrintCommands::WritePdf(TableDocument(ClassTable(3, 2)),
                                         dir.filePath(QStringLiteral("no/such.pdf"))));

        // Over a writable old file: replaced whole.
        QVERIFY(PrintCommands::WritePdf(TableDocument(ClassTable(3, 2)), target));
        QCOMPARE(Pdf::PageCount(target), 1);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.pdf")});
    }

    void printingGoesThroughThePrintDialogAndPreviewLaysOutEveryPage()
    {
        ScriptedDialogs dialogs;
        const QString printed = m_dir.filePath(QStringLiteral("printed.pdf"));
        PrintCommands commands(nullptr, [] {
            PrintJob job;
            job.document = std::make_unique<TableDocument>(ClassTable(120, 12));
            job.nameParts = QStringList{QStringLiteral("一班"), QStringLiteral("成绩统计")};
            return job;
        });
        commands.print(); // cancelled: nothing printed
        QCOMPARE(dialogs.printDialogs, 1);
        QVERIFY(!QFile::exists(printed));
        dialogs.printFiles.push_back(printed);
        commands.printAction()->trigger();
        QCOMPARE(dialogs.printDialogs, 2);
        const int pages = Pdf::PageCount(printed);
        QVERIFY(pages >= 3);
        QVERIFY(Pdf::Text(printed, pages).contains(QStringLiteral("第 %1 页 共 %1 页").arg(pages)));

        commands.previewAction()->trigger();
        QCOMPARE(dialogs.previewPages, QList<int>{pages});
        QVERIFY(dialogs.messages.isEmpty());
    }
};

QTEST_MAIN(TestPrintLayer)
#include "tst_printlayer.moc"
