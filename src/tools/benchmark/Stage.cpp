#include "tools/benchmark/Stage.h"

#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Program.h"

#include "widgets/TermClassTree.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTest>

#include <cstdio>

namespace bench {

Stage::Stage(const Options& options, const schoolgen::SchoolShape& shape, const QString& dir)
    : m_options(options), m_dir(dir), m_shape(shape)
{
    m_facts.runs = runs();
    // The choices the windows remember (显示名次, the PDF folder) are the
    // benchmark's own, kept with its school, never the user's.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QDir(dir).filePath(QStringLiteral("settings")));
}

Stage::~Stage() = default;

bool Stage::wanted(const Action& action) const
{
    return Wanted(m_options, action);
}

Figures& Stage::add(const Action& action)
{
    m_figures.push_back(Figures{action.title(), action.kind, action.slackMs, {}, {}, false, false});
    return m_figures.back();
}

int Stage::termOf(int i) const
{
    return 1 + int((qint64(i) * (m_shape.terms - 1)) / runs()) % (m_shape.terms - 1);
}

int Stage::classOf(int i) const
{
    return (i * 17 + 3) % m_shape.classes;
}

QWidget* Stage::mainWindow()
{
    if (!m_program) {
        m_program = std::make_unique<Program>(m_dir);
        m_program->show();
        settle();
    }
    return m_program->mainWindow();
}

void Stage::endProgram()
{
    m_program.reset();
    settle();
}

void Stage::time(Figures& f, const Target& target, const std::function<void()>& input,
                 const QStringList& expected, Then then)
{
    settle();
    QElapsedTimer clock;
    std::function<void()> afterPaint;
    if (then == Then::CloseModal)
        afterPaint = [] { CloseModal(QApplication::activeModalWidget()); };
    m_paint.arm(target, &clock, afterPaint);
    clock.start();
    input();
    const double returned = clock.nsecsElapsed() / 1e6;
    const bool paintedWithin = m_paint.painted();
    // Generous, so that the actions can also be measured under a profiler,
    // which slows the program down fiftyfold.
    const bool painted = m_paint.wait(60000);
    const double onScreen = painted ? m_paint.paintedMs() : clock.nsecsElapsed() / 1e6;
    // A modal window's command returns once the window is closed: its
    // handler's part ends where it shows the window.
    const double handled = paintedWithin && m_paint.shownMs() >= 0 ? m_paint.shownMs() : returned;
    f.record(onScreen, handled);

    QStringList unexpected;
    for (const QString& text : m_dialogs.all())
        if (!expected.contains(text))
            unexpected << text;
    m_dialogs.clear();
    if (!painted)
        fault(f, QStringLiteral("nothing was painted"));
    else if (!unexpected.isEmpty())
        fault(f, unexpected.join(QStringLiteral(" / ")));
}

void Stage::timeUntilReturned(Figures& f, const std::function<void()>& input)
{
    settle();
    QElapsedTimer clock;
    clock.start();
    input();
    const double returned = clock.nsecsElapsed() / 1e6;
    f.record(returned, returned);
    if (!m_dialogs.all().isEmpty())
        fault(f, m_dialogs.all().join(QStringLiteral(" / ")));
    m_dialogs.clear();
}

bool Stage::inModal(const char* menuItem, const std::function<void(QWidget*)>& work)
{
    QWidget* main = mainWindow();
    const bool opened = RunInModal([main, menuItem] { TriggerMenuItem(main, menuItem); },
                                   [this, &work](QWidget* window) {
                                       settle();
                                       work(window);
                                   });
    if (!opened)
        std::fprintf(stderr, "warning: %s opened no window: %s\n", menuItem,
                     qPrintable(m_dialogs.all().join(QStringLiteral(" / "))));
    m_dialogs.clear();
    settle();
    return opened;
}

void Stage::fault(Figures& f, const QString& why)
{
    if (!f.faulty)
        std::fprintf(stderr, "warning: %s: %s\n", qPrintable(f.name), qPrintable(why));
    f.faulty = true;
}

void Stage::timeClassClick(Figures& f, TTermClassTree* tree, const Target& target, int run)
{
    const int term = termOf(run);
    OpenTerm(tree, term);
    settle();
    time(f, target, [&] { ClickNode(tree, ClassNode(tree, term, classOf(run))); });
}

void Stage::timeNextRow(Figures& f, QAbstractItemView* list, const Target& target)
{
    if (list->currentIndex().row() + 1 >= list->model()->rowCount()) {
        QTest::keyClick(list, Qt::Key_Home, Qt::ControlModifier);
        settle();
    }
    time(f, target, [list] { QTest::keyClick(list, Qt::Key_Down); });
}

QWidget* Stage::openMdiChild(const char* menuItem)
{
    TriggerMenuItem(mainWindow(), menuItem);
    settle();
    QMdiSubWindow* frame = mainWindow()->findChild<QMdiArea*>()->subWindowList().value(0);
    return frame ? frame->widget() : nullptr;
}

void Stage::closeMdiChildren()
{
    mainWindow()->findChild<QMdiArea*>()->closeAllSubWindows();
    settle();
}

void Stage::settle()
{
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

Stage::Target OutsideOf(QWidget* mainWindow)
{
    return [mainWindow](QObject* o) {
        return o->isWidgetType() && static_cast<QWidget*>(o)->window() != mainWindow;
    };
}

Stage::Target InsideNamed(const QString& name)
{
    return [name](QObject* o) {
        for (QObject* p = o; p; p = p->parent())
            if (p->objectName() == name)
                return true;
        return false;
    };
}

QWidget* GridViewport(QWidget* window, const char* name)
{
    auto* grid = window->findChild<QAbstractScrollArea*>(QLatin1String(name));
    return grid ? grid->viewport() : nullptr;
}

Stage::Target Is(const QObject* widget)
{
    return [widget](QObject* o) { return widget && o == widget; };
}

} // namespace bench
