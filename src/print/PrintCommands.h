#pragma once

#include "data/DbResult.h"
#include "print/PrintDocument.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QPrinter;
class CommandButton;
class QWidget;

// What a window prints at the moment of a command, read afresh: the
// document and the words of its proposed PDF name ("2024-2025学年第一学期",
// "高一(1)班", "成绩统计"). Without a document there is nothing to print;
// the window has said why when there was a reason to.
struct PrintJob {
    std::unique_ptr<PrintDocument> document;
    QStringList nameParts;
};

namespace PrintMsg {
inline const QString PrintFailed = QStringLiteral("打印发生错误，请检查打印机设置！");
inline const QString PdfFailed = QStringLiteral("导出PDF发生错误，请确认目标位置可读写！");
inline const QString NoReportCards = QStringLiteral("该班级没有需要打印成绩通知单的学生！");
} // namespace PrintMsg

// The commands "打印", "打印预览" and "导出PDF" of a window: Qt's print
// dialog, Qt's preview, and a PDF file through the file dialog with a
// proposed name, in the folder the user chose last. All three go through
// the dialog seam.
class PrintCommands : public QObject {
    Q_OBJECT
public:
    using Source = std::function<PrintJob()>;

    PrintCommands(QWidget* window, Source source);

    QAction* printAction() const { return m_print; }
    QAction* previewAction() const { return m_preview; }
    QAction* pdfAction() const { return m_pdf; }
    QList<QAction*> actions() const { return {m_print, m_preview, m_pdf}; }
    // One drop-down button "打印" holding the three, for a bar where room is short.
    CommandButton* makeButton(QWidget* parent, const QString& objectName) const;

    void print();
    void preview();
    void exportPdf();

    // The proposed name of the PDF: the parts joined by "_", each character
    // a file name cannot hold replaced by "-".
    static QString ProposedFileName(const QStringList& nameParts);
    // Paints the document on printer; false when the printer cannot be painted on.
    static bool PrintOn(const PrintDocument& document, QPrinter& printer);
    // Writes the document as a PDF file through a temporary file beside
    // path, which replaces path only once it is complete.
    static DbResult WritePdf(const PrintDocument& document, const QString& path);

private:
    QWidget* m_window;
    Source m_source;
    QAction* m_print = nullptr;
    QAction* m_preview = nullptr;
    QAction* m_pdf = nullptr;
};
