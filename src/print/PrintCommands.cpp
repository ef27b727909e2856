#include "print/PrintCommands.h"

#include "data/FileCopy.h"
#include "data/TempFiles.h"
#include "forms/CommandButton.h"
#include "forms/UserSettings.h"
#include "forms/uPub.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QStandardPaths>

namespace {

const QString kApplication = QStringLiteral("学生成绩管理系统");

// The folder chosen last, while it exists; the user's documents before.
QString PdfFolder()
{
    const QString folder = UserSettings::PdfFolder();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return documents.isEmpty() ? QDir::homePath() : documents;
}

// A printer set up for the document: its page, its name.
void Prepare(QPrinter& printer, const PrintDocument& document)
{
    printer.setPageLayout(document.pageLayout());
    printer.setDocName(document.title());
    printer.setCreator(kApplication);
}

} // namespace

PrintCommands::PrintCommands(QWidget* window, Source source)
    : QObject(window), m_window(window), m_source(std::move(source))
{
    m_print = new QAction(QStringLiteral("打印"), this);
    m_print->setObjectName(QStringLiteral("actPrint"));
    m_preview = new QAction(QStringLiteral("打印预览"), this);
    m_preview->setObjectName(QStringLiteral("actPrintPreview"));
    m_pdf = new QAction(QStringLiteral("导出PDF"), this);
    m_pdf->setObjectName(QStringLiteral("actExportPdf"));
    connect(m_print, &QAction::triggered, this, Guarded([this](bool) { print(); }));
    connect(m_preview, &QAction::triggered, this, Guarded([this](bool) { preview(); }));
    connect(m_pdf, &QAction::triggered, this, Guarded([this](bool) { exportPdf(); }));
}

CommandButton* PrintCommands::makeButton(QWidget* parent, const QString& objectName) const
{
    auto* button = new CommandButton(QStringLiteral("打印"), objectName, parent);
    button->addCommands(actions());
    return button;
}

QString PrintCommands::ProposedFileName(const QStringList& nameParts)
{
    QStringList parts;
    for (const QString& part : nameParts)
        if (!part.trimmed().isEmpty())
            parts << part.trimmed();
    return FileNameFrom(parts.join(QLatin1Char('_'))) + QStringLiteral(".pdf");
}

bool PrintCommands::PrintOn(const PrintDocument& document, QPrinter& printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    document.paint(painter, printer);
    return painter.end();
}

DbResult PrintCommands::WritePdf(const PrintDocument& document, const QString& path)
{
    TempCopy file(path);
    if (const DbResult created = file.create(); !created)
        return created;
    {
        QPdfWriter writer(file.device());
        writer.setPageLayout(document.pageLayout());
        writer.setTitle(document.title());
        writer.setCreator(kApplication);
        // Figures line up to a hundredth of a millimetre; more only makes the file larger.
        writer.setResolution(600);
        QPainter painter;
        if (!painter.begin(&writer))
            return DbResult::failed(QStringLiteral("the PDF cannot be painted"));
        document.paint(painter, writer);
        if (!painter.end())
            return DbResult::failed(QStringLiteral("the PDF cannot be finished"));
    }
    if (const DbResult closed = file.closeWritten(); !closed)
        return closed;
    const DbResult replaced = file.replaceDestination();
    // What a killed run of the program left in the folder goes, as beside backups.
    TempFiles::removeLeftovers(QFileInfo(file.destination()).absolutePath());
    return replaced;
}

void PrintCommands::print()
{
    const PrintJob job = m_source();
    if (!job.document)
        return;
    QPrinter printer(QPrinter::HighResolution);
    Prepare(printer, *job.document);
    if (!Dialogs().choosePrinter(m_window, &printer))
        return;
    if (!PrintOn(*job.document, printer))
        ShowMessage(PrintMsg::PrintFailed);
}

void PrintCommands::preview()
{
    const PrintJob job = m_source();
    if (!job.document)
        return;
    QPrinter printer(QPrinter::HighResolution);
    Prepare(printer, *job.document);
    const PrintDocument& document = *job.document;
    Dialogs().printPreview(m_window, &printer, [&document](QPrinter* target) {
        if (!PrintOn(document, *target))
            ShowMessage(PrintMsg::PrintFailed);
    });
}

void PrintCommands::exportPdf()
{
    const PrintJob job = m_source();
    if (!job.document)
        return;
    DialogProvider::FileRequest request;
    request.title = QStringLiteral("导出PDF");
    request.directory = PdfFolder();
    request.fileName = QDir(request.directory).filePath(ProposedFileName(job.nameParts));
    request.filter = QStringLiteral("PDF 文件 (*.pdf)");
    request.defaultSuffix = QStringLiteral("pdf");
    const QString path = Dialogs().saveFileName(m_window, request);
    if (path.isEmpty())
        return;
    if (Succeeded(WritePdf(*job.document, path), PrintMsg::PdfFailed))
        UserSettings::SetPdfFolder(QFileInfo(path).absolutePath());
}
