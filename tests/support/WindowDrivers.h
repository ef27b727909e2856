#pragma once

// Driving the program's windows as a user does: clicks on the navigator,
// buttons and menu items, keys, the windows that open modally, the message
// boxes through the dialog seam, and the paint that shows a result. Shared
// by the tests and the benchmark, so that both press the same buttons.
#include "forms/uPub.h"

#include <QElapsedTimer>
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class QPushButton;
class QTreeWidgetItem;
class QWidget;
class TTermClassTree;

// ---------------------------------------------------------------- the seam

// The dialog seam of a test or a benchmark: records every message and
// answers questions and file dialogs from queues (questions without a queued
// answer get defaultAnswer, files are cancelled).
class ScriptedDialogs : public DialogProvider {
public:
    explicit ScriptedDialogs(bool defaultAnswer = false);
    ~ScriptedDialogs() override;

    void message(const QString& text) override;
    bool question(const QString& text) override;
    void errorReport(const QString& text) override;
    QString saveFileName(QWidget* parent, const FileRequest& request) override;
    QString openFileName(QWidget* parent, const FileRequest& request) override;
    QString password(const QString& prompt) override;
    // Answers the print dialog with the next of printFiles: the printer
    // then prints into that PDF file; none left cancels.
    bool choosePrinter(QWidget* parent, QPrinter* printer) override;
    // Lays the preview out as Qt's preview does and records its page count;
    // with showPreviews it is also shown (named "PrintPreview") until painted.
    void printPreview(QWidget* parent, QPrinter* printer, const PaintPages& paint) override;

    QStringList messages; // plain boxes, in order
    QStringList passwordPrompts;
    std::deque<QString> passwords; // answers to password prompts (empty: cancelled)
    QStringList questions;         // questions asked
    QStringList errors;            // top-level error reports
    QList<FileRequest> fileRequests;
    std::deque<bool> answers;
    std::deque<QString> files;
    std::deque<QString> printFiles;
    int printDialogs = 0;
    QList<int> previewPages; // the page count of each preview laid out
    bool showPreviews = false;
    bool defaultAnswer = false;
    // Runs while a plain box is "shown", e.g. to look at the focus behind it.
    std::function<void(const QString&)> onMessage;

    QStringList all() const { return messages + errors; }
    void clear();

private:
    DialogProvider* m_previous = nullptr;
};

// ---------------------------------------------------------------- input

// A mouse click on a node of a navigator, as a user makes it; the click's
// notification has run when it returns.
void ClickNode(TTermClassTree* tree, QTreeWidgetItem* item);
// Clicks the blank area below the last node.
void ClickBlank(TTermClassTree* tree);
// The node of the term with the given position, and of a class under it
// (the term is opened: its class nodes exist once it is).
QTreeWidgetItem* TermNode(TTermClassTree* tree, int term);
QTreeWidgetItem* ClassNode(TTermClassTree* tree, int term, int klass);
// Opens the term with a click, as a user does before clicking one of its classes.
void OpenTerm(TTermClassTree* tree, int term);

// The button of window with the given name, or nullptr.
QPushButton* Button(QWidget* window, const char* name);
// A mouse click on that button; false when the window has none.
bool ClickButton(QWidget* window, const char* name);
// Chooses the menu item (or toolbar button) of the main window with the
// given name; false when there is none. Returns once its command has run:
// for a modal window, once that window was closed.
bool TriggerMenuItem(QWidget* mainWindow, const char* name);
// Sends a key press and release to the focused widget of window.
void SendKey(QWidget* window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// ---------------------------------------------------------------- windows

// Shows window and makes it the active one, as a click on it would.
void ShowActive(QWidget* window);
// Runs action on the next modal window that appears (found through
// QApplication::activeModalWidget()), then returns; the call is queued so it
// runs inside that window's event loop.
void OnNextModal(std::function<void(QWidget*)> action, int timeoutMs = 5000);
// Runs open (which opens a modal window and returns once it is closed) and
// work on the window it opened, inside that window's event loop, then closes
// the window. False when open opened no modal window.
bool RunInModal(const std::function<void()>& open, const std::function<void(QWidget*)>& work);
// Closes the active modal window by its close box (reject).
void CloseModal(QWidget* window);
// Lets queued calls and timers run.
void Settle(int ms = 0);

// ---------------------------------------------------------------- painting

// The region a widget has been painted in since it was watched or cleared.
class PaintedRegion : public QObject {
public:
    explicit PaintedRegion(QWidget* watched);

    const QRegion& region() const { return m_region; }
    void clear() { m_region = QRegion(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRegion m_region;
};

// A widget's pixels as its window shows them now (what was painted, kept in
// the window's backing store), and as it draws itself afresh; equal when
// the paints since it was shown left nothing stale.
QImage OnScreen(QWidget* widget);
QImage DrawnAfresh(QWidget* widget);

// Notices the first paint of a chosen widget. Once the paint pass that
// painted it is over (it has then painted the whole window), it notes the
// time and runs the armed reaction, whichever event loop is running.
class PaintWatch : public QObject {
public:
    PaintWatch();
    ~PaintWatch() override;

    using Target = std::function<bool(QObject*)>;
    // Watches for target; clock is the time the paint is noted on.
    void arm(Target target, const QElapsedTimer* clock = nullptr, std::function<void()> then = {});
    // Runs the event loop until the target was painted or timeoutMs passed.
    bool wait(int timeoutMs = 3000);

    bool painted() const { return m_painted; }
    // Milliseconds on the armed clock: when the paint pass was over, and
    // when a target was first shown (-1: not yet).
    double paintedMs() const { return m_paintedMs; }
    double shownMs() const { return m_shownMs; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void afterPaint();

    Target m_target;
    const QElapsedTimer* m_clock = nullptr;
    std::function<void()> m_then;
    bool m_armed = false;
    bool m_seen = false;    // the target's paint event arrived
    bool m_painted = false; // and the paint pass is over
    double m_paintedMs = -1;
    double m_shownMs = -1;
};

// True when object is window or lies inside it.
bool IsInside(const QObject* object, const QWidget* window);
