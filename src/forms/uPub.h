#pragma once

#include "data/DbResult.h"

#include <QString>
#include <QWidget>
#include <exception>
#include <functional>
#include <memory>

class QMdiArea;
class QPrinter;

// The program's directory, ending in "/"; set once while the main window is
// created. Every file path is built from it.
extern QString AppPath;

// Every message box and file dialog of the program goes through this seam, so
// that tests can answer questions, choose files and read what was shown.
class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    // Plain box: the application title, no icon, one OK button.
    virtual void message(const QString& text) = 0;
    // Warning box "Warning" with "&Yes" and "&No"; Esc and the close box answer No.
    virtual bool question(const QString& text) = 0;
    // The top-level error report of a failure no operation caught.
    virtual void errorReport(const QString& text) = 0;
    // Empty result: the user cancelled.
    struct FileRequest {
        QString title;
        QString directory;
        QString fileName;
        QString filter;
        QString defaultSuffix;
    };
    virtual QString saveFileName(QWidget* parent, const FileRequest& request) = 0;
    virtual QString openFileName(QWidget* parent, const FileRequest& request) = 0;
    // A password typed into a masked field; empty: the user cancelled.
    virtual QString password(const QString& /*prompt*/) { return {}; }
    // Qt's print dialog for printer; false: the user cancelled.
    virtual bool choosePrinter(QWidget* parent, QPrinter* printer) = 0;
    // Qt's print preview on printer. paint draws every page on the printer
    // it is handed: the preview's, and the real one when the user prints
    // from the preview.
    using PaintPages = std::function<void(QPrinter*)>;
    virtual void printPreview(QWidget* parent, QPrinter* printer, const PaintPages& paint) = 0;
};

// The boxes and dialogs a user sees.
class WidgetDialogProvider : public DialogProvider {
public:
    void message(const QString& text) override;
    bool question(const QString& text) override;
    void errorReport(const QString& text) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString password(const QString& prompt) override;
    bool choosePrinter(QWidget* parent, QPrinter* printer) override;
    void printPreview(QWidget* parent, QPrinter* printer, const PaintPages& paint) override;
};

DialogProvider& Dialogs();
// Installs another provider (not owned; nullptr restores the widgets) and
// returns the previous one.
DialogProvider* SetDialogProvider(DialogProvider* provider);

void ShowMessage(const QString& text);
bool AskQuestion(const QString& text);

// The windows' one way of reporting a failed operation: when result is a
// failure, failureText (a fixed text of data/Messages.h, or the window's
// own) is shown in a plain box; a row that another clerk changed or deleted
// since it was read is reported as that instead (Msg::Conflict). Returns
// whether the operation succeeded.
bool Succeeded(const DbResult& result, const QString& failureText);

// The application's top-level error report: a failure that escaped the user's
// action is shown with its own text, and the program goes on.
void ReportException(const std::exception& e);
void ReportUnknownException();

// Wraps a command so that a failure it throws reaches the top-level error
// report at the edge of the user's action instead of unwinding through Qt.
template <class F> auto Guarded(F f)
{
    return [f = std::move(f)](auto&&... args) {
        try {
            f(std::forward<decltype(args)>(args)...);
        } catch (const std::exception& e) {
            ReportException(e);
        } catch (...) {
            ReportUnknownException();
        }
    };
}

// Enter moves the focus on in every edit dialog: not in a memo unless Ctrl is
// held, never in an aligned string grid. The move is posted, not performed at
// once, so the focused control still receives the key.
void EnterToNextControl(QWidget* control, int key, Qt::KeyboardModifiers shift);
// Moves the focus of control's window to the next control in tab order that
// accepts it, wrapping from the last to the first.
void FocusNextControl(QWidget* window);

// A name for a caption that reads "&" as the mark of an access key (group
// boxes, labels, buttons): every "&" doubled, so the name shows as typed and
// takes no key from the window's commands.
QString AsTyped(const QString& name);

// A name for a file that a file name can hold: each character no file
// system takes (\ / : * ? " < > | and control characters) becomes "-".
QString FileNameFrom(const QString& text);

// Hands a web address (at most 255 characters) to the desktop; failures are ignored.
void OpenUrl(const QString& address);

// The modal launcher: create with no owner, ReadyData, show modally only when
// that succeeded; the window is destroyed before returning.
template <class Window, class... Args> bool RunModal(Args&&... args)
{
    Window window(std::forward<Args>(args)...);
    if (!window.ReadyData())
        return false;
    window.exec();
    return true;
}

// Shows a window maximised inside the MDI area, freed when it closes; on its
// own, maximised, without an area.
void ShowInMdiArea(QMdiArea* area, std::unique_ptr<QWidget> window);

// The launcher of a non-modal window: create with no owner, ReadyData, show
// it in the MDI area only when that succeeded. Returns the window shown, or
// nullptr when it was not.
template <class Window, class... Args> Window* RunInMdiArea(QMdiArea* area, Args&&... args)
{
    auto window = std::make_unique<Window>(std::forward<Args>(args)...);
    if (!window->ReadyData())
        return nullptr;
    Window* shown = window.get();
    ShowInMdiArea(area, std::move(window));
    return shown;
}

// The edit-dialog launcher: true exactly when the user confirmed and the row was stored.
template <class Dialog, class... Args> bool RunEdit(Args&&... args)
{
    Dialog dialog(std::forward<Args>(args)...);
    if (!dialog.ReadyData())
        return false;
    dialog.exec();
    return !dialog.NotStored;
}
