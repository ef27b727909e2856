#include "forms/uPub.h"

#include "data/Messages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QInputDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProxyStyle>
#include <QPushButton>
#include <QTextEdit>
#include <QUrl>

QString AppPath;

namespace {

WidgetDialogProvider widgetDialogs;
DialogProvider* currentDialogs = &widgetDialogs;

QString applicationTitle()
{
    return QCoreApplication::applicationName();
}

// Qt shows a lone carriage return as nothing; the users' texts join lines with it.
QString displayText(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString runFileDialog(QWidget* parent, const DialogProvider::FileRequest& request,
                      QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, request.title, request.directory, request.filter);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    // The program does its own replacing; it never asks first.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    // Qt's own dialog speaks the program's Chinese whatever the desktop's language.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

void WidgetDialogProvider::message(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), displayText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool WidgetDialogProvider::question(const QString& text)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Warning"), displayText(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton* yes = box.addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no); // Esc and the title bar's close box answer No
    box.exec();
    return box.clickedButton() == yes;
}

void WidgetDialogProvider::errorReport(const QString& text)
{
    QMessageBox box(QMessageBox::Critical, applicationTitle(), displayText(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

QString WidgetDialogProvider::saveFileName(QWidget* parent, const FileRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

QString WidgetDialogProvider::openFileName(QWidget* parent, const FileRequest& request)
{
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString WidgetDialogProvider::password(const QString& prompt)
{
    bool ok = false;
    const QString typed = QInputDialog::getText(QApplication::activeWindow(), applicationTitle(), prompt,
                                                QLineEdit::Password, QString(), &ok);
    return ok ? typed : QString();
}

bool WidgetDialogProvider::choosePrinter(QWidget* parent, QPrinter* printer)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void WidgetDialogProvider::printPreview(QWidget* parent, QPrinter* printer, const PaintPages& paint)
{
    QPrintPreviewDialog dialog(printer, parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
    // A page of a table or of report cards is seen whole at first.
    dialog.resize(900, 700);
    dialog.exec();
}

DialogProvider& Dialogs()
{
    return *currentDialogs;
}

DialogProvider* SetDialogProvider(DialogProvider* next)
{
    DialogProvider* previous = currentDialogs;
    currentDialogs = next ? next : &widgetDialogs;
    return previous;
}

void ShowMessage(const QString& text)
{
    Dialogs().message(text);
}

bool AskQuestion(const QString& text)
{
    return Dialogs().question(text);
}

bool Succeeded(const DbResult& result, const QString& failureText)
{
    if (!result)
        ShowMessage(result.isConflict() ? Msg::Conflict : failureText);
    return result.isOk();
}

void ReportException(const std::exception& e)
{
    Dialogs().errorReport(QString::fromStdString(e.what()));
}

void ReportUnknownException()
{
    Dialogs().errorReport(QStringLiteral("未知错误"));
}

void FocusNextControl(QWidget* window)
{
    if (!window)
        return;
    QWidget* start = window->focusWidget();
    if (!start)
        start = window;
    for (QWidget* w = start->nextInFocusChain(); w && w != start; w = w->nextInFocusChain()) {
        if (w->window() == window && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
            w->isVisibleTo(window) && w->focusProxy() == nullptr) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void EnterToNextControl(QWidget* control, int key, Qt::KeyboardModifiers shift)
{
    if (!control || (key != Qt::Key_Return && key != Qt::Key_Enter))
        return;
    QWidget* w = control;
    // A memo's viewport or an editor inside a grid reports for its owner.
    while (w && !qobject_cast<QPlainTextEdit*>(w) && !qobject_cast<QTextEdit*>(w) &&
           !w->inherits("TStringAlignGrid") && !w->isWindow())
        w = w->parentWidget();
    if (w && (qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w))) {
        if (!(shift & Qt::ControlModifier))
            return;
    } else if (w && w->inherits("TStringAlignGrid")) {
        return;
    }
    QWidget* window = control->window();
    QMetaObject::invokeMethod(
        window, [window] { FocusNextControl(window); }, Qt::QueuedConnection);
}

void OpenUrl(const QString& address)
{
    QDesktopServices::openUrl(QUrl(address.left(255)));
}

QString AsTyped(const QString& name)
{
    QString text = name;
    text.replace(QLatin1Char('&'), QLatin1String("&&"));
    return text;
}

namespace {

// The style of an MDI area's child frames, one for the area: the program's
// own, but without a frame while the child is maximised. Qt repaints where
// the frame would be at every change of the focus inside the child,
// although a maximised child covers it: a border four pixels wide down the
// group boxes at the window's edges, which took longer than storing a typed
// score.
class MdiFrameStyle : public QProxyStyle {
public:
    explicit MdiFrameStyle(QMdiArea* area) : QProxyStyle(QApplication::style()->name())
    {
        setParent(area);
        setObjectName(Name);
    }

    static QStyle* of(QMdiArea* area)
    {
        QStyle* style = area->findChild<QStyle*>(Name, Qt::FindDirectChildrenOnly);
        return style ? style : new MdiFrameStyle(area);
    }

    inline static const QString Name = QStringLiteral("MdiFrameStyle");

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        if (metric == PM_MdiSubWindowFrameWidth && widget && widget->isMaximized())
            return 0;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void ShowInMdiArea(QMdiArea* area, std::unique_ptr<QWidget> window)
{
    if (!area) {
        window->setAttribute(Qt::WA_DeleteOnClose);
        window.release()->showMaximized();
        return;
    }
    QMdiSubWindow* frame = area->addSubWindow(window.release());
    frame->setStyle(MdiFrameStyle::of(area));
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->showMaximized();
    frame->widget()->setFocus();
}

QString FileNameFrom(const QString& text)
{
    static const QString refused = QStringLiteral("\\/:*?\"<>|");
    QString name = text;
    for (QChar& c : name)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || refused.contains(c))
            c = QLatin1Char('-');
    return name;
}
