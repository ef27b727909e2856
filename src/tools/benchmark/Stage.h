#pragma once

// What a window driver measures with: the program as the user has it, the
// school's shape, the dialog seam and the clock from an input to the paint
// that shows its result.
#include "WindowDrivers.h"
#include "tools/SchoolGenerator.h"
#include "tools/benchmark/Benchmark.h"
#include "tools/benchmark/Figures.h"
#include "tools/benchmark/Report.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

class QAbstractItemView;
class TTermClassTree;

namespace bench {

class Program;

class Stage {
public:
    Stage(const Options& options, const schoolgen::SchoolShape& shape, const QString& dir);
    ~Stage();

    const Options& options() const { return m_options; }
    // The school's folder, which stands for the program's directory.
    const QString& dir() const { return m_dir; }
    const schoolgen::SchoolShape& shape() const { return m_shape; }
    SchoolFacts& facts() { return m_facts; }

    // The actions whose name contains the text of --only, or all.
    bool wanted(const Action& action) const;
    Figures& add(const Action& action);
    const std::deque<Figures>& figures() const { return m_figures; }

    int runs() const { return std::max(1, m_options.runs); }
    // The timed loops run once more than counted: the first run warms up.
    int timedRuns() const { return runs() + 1; }
    // The term and class of run i: spread over the whole history and every
    // class; never the first term, which has no previous term to sum.
    int termOf(int i) const;
    int classOf(int i) const;

    // The main window of the program, shown, on the school's data file; made on first use.
    QWidget* mainWindow();
    // Ends the program, as before the next school or at the end.
    void endProgram();

    using Target = PaintWatch::Target;
    enum class Then { Nothing, CloseModal };
    // Times input: until its handler returned, and until target was painted.
    // With Then::CloseModal the input opens a modal window, which is closed
    // once painted; its handler counts until it showed the window. A box
    // shown other than the expected ones spoils the figure.
    void time(Figures& f, const Target& target, const std::function<void()>& input,
              const QStringList& expected = {}, Then then = Then::Nothing);
    // Times input that shows nothing, such as writing a file: until its
    // handler returned. A box shown spoils the figure.
    void timeUntilReturned(Figures& f, const std::function<void()>& input);
    // The dialog seam, for a file or a printer the next command is to get.
    ScriptedDialogs& dialogs() { return m_dialogs; }
    // Runs work on the modal window that the main window's menu item opens,
    // then closes it; false (and a warning) when none opened.
    bool inModal(const char* menuItem, const std::function<void(QWidget*)>& work);
    // Times a click on the class of run i in tree, its term opened first
    // (untimed), until target was painted.
    void timeClassClick(Figures& f, TTermClassTree* tree, const Target& target, int run);
    // Times the step down a list to its next row, from the top again after
    // the last, until target was painted.
    void timeNextRow(Figures& f, QAbstractItemView* list, const Target& target);
    // The window that the main window's menu item opened inside its MDI
    // area, or nullptr; closeMdiChildren() closes every such window.
    QWidget* openMdiChild(const char* menuItem);
    void closeMdiChildren();

    // Marks a figure as unreliable, saying why once.
    void fault(Figures& f, const QString& why);
    // Lets everything queued run, so that one action's paint is not taken for the next's.
    void settle();

private:
    const Options& m_options;
    QString m_dir;
    schoolgen::SchoolShape m_shape;
    SchoolFacts m_facts;
    std::deque<Figures> m_figures;   // a deque: add() hands out references that must stay valid
    ScriptedDialogs m_dialogs{true}; // every question is answered Yes
    PaintWatch m_paint;
    std::unique_ptr<Program> m_program;
};

// A widget inside a window other than the main window: the modal window a menu item opened.
Stage::Target OutsideOf(QWidget* mainWindow);
// A widget inside the widget of the given object name.
Stage::Target InsideNamed(const QString& name);
// The viewport of a window's grid of the given name (nullptr when it has none).
QWidget* GridViewport(QWidget* window, const char* name);
// The one target: that widget itself.
Stage::Target Is(const QObject* widget);

} // namespace bench
