#pragma once

// What the benchmark needs besides its sessions: a dialog seam that answers
// Yes, a watch for the paint that shows a result, the user's input, and the
// machine's own figures.
#include "forms/uPub.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

class QTreeWidgetItem;
class QWidget;
class TTermClassTree;

namespace bench {

// ---------------------------------------------------------------- the seam

// Every question is answered Yes; every box is recorded, so that a failure a
// window reports spoils its figure instead of passing for a fast action.
class AnswerYes : public DialogProvider {
public:
    AnswerYes() { m_previous = SetDialogProvider(this); }
    ~AnswerYes() override { SetDialogProvider(m_previous); }

    void message(const QString& text) override { shown << text; }
    bool question(const QString& text) override
    {
        asked << text;
        return true;
    }
    void errorReport(const QString& text) override { shown << text; }
    QString saveFileName(QWidget*, const FileRequest&) override { return {}; }
    QString openFileName(QWidget*, const FileRequest&) override { return {}; }
    bool choosePrinter(QWidget*, QPrinter*) override { return false; }
    void printPreview(QWidget*, QPrinter*, const PaintPages&) override {}

    // The boxes shown since the last call, except the expected ones.
    QStringList takeUnexpected(const QStringList& expected = {})
    {
        QStringList unexpected;
        for (const QString& text : shown)
            if (!expected.contains(text))
                unexpected << text;
        shown.clear();
        asked.clear();
        return unexpected;
    }

    QStringList shown;
    QStringList asked;

private:
    DialogProvider* m_previous = nullptr;
};

// ---------------------------------------------------------------- painting

// Notices the first paint of a chosen widget; the event loop runs until then.
class PaintWatch : public QObject {
public:
    PaintWatch() { QCoreApplication::instance()->installEventFilter(this); }

    void arm(std::function<bool(QObject*)> target)
    {
        m_target = std::move(target);
        m_seen = false;
    }
    // Runs the event loop until the target was painted; the paint pass that
    // painted it has then painted the whole window.
    bool wait(int timeoutMs = 3000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!m_seen && clock.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        m_target = nullptr;
        return m_seen;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!m_seen && m_target && event->type() == QEvent::Paint && m_target(watched))
            m_seen = true;
        return false;
    }

private:
    std::function<bool(QObject*)> m_target;
    bool m_seen = false;
};

// True when object is window or lies inside it.
bool isInside(QObject* object, const QWidget* window);
// Lets everything queued run, so that one action's paint is not taken for the next's.
void settle();

// A mouse click on a node of a navigator, as a user makes it.
void clickNode(TTermClassTree* tree, QTreeWidgetItem* item);
QTreeWidgetItem* classNode(TTermClassTree* tree, int term, int klass);
// Opens the term with a click, as a user would before clicking one of its classes.
void openTerm(TTermClassTree* tree, int term);

// A field of /proc/self/status in kB (VmHWM: the peak), -1 when unknown.
qint64 statusKb(const char* field);
// Forgets the peak so far (Linux), so the school's generation does not count.
void resetPeakMemory();
// The machine's one-minute load average: other work on the machine shows in
// every figure, so the report says how busy it was.
QString loadAverage();
QString megabytes(qint64 bytes);
// The processor, cores, system and Qt version.
QString machine();

// True when the data file at path has the schema a new one gets: a kept
// school must not miss an index added since.
bool schemaIsCurrent(const QString& path);

} // namespace bench
