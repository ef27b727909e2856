#include "tools/Benchmark.h"
#include "tools/BenchmarkSupport.h"

#include "data/QueryObject.h"
#include "data/SqlText.h"
#include "data/uDM.h"
#include "forms/uPub.h"
#include "plan/uClassToSubject.h"
#include "plan/uTermToClass.h"
#include "reference/uClass.h"
#include "reference/uSubject.h"
#include "reference/uTerm.h"
#include "scores/uGrade.h"
#include "scores/uHonoursStd.h"
#include "shell/uMain.h"
#include "statistics/uGradeCount.h"
#include "students/uStudent.h"
#include "tools/SchoolGenerator.h"
#include "widgets/DataGrid.h"
#include "widgets/StringAlignGrid.h"
#include "widgets/TermClassTree.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <functional>
#include <memory>
#include <unistd.h>

namespace bench {

namespace {

QTextStream& out()
{
    static QTextStream stream(stdout);
    return stream;
}

// ---------------------------------------------------------------- figures

enum class Kind {
    StartUp,   // launching the program; target 500 ms
    Read,      // an action that only reads; target one 60 Hz frame
    Write,     // an initialisation; target: the smallest durable commit + 5 ms
    Reference, // a commit to compare the initialisations with
};

struct Figures {
    QString name;
    Kind kind = Kind::Read;
    std::vector<double> onScreen; // from the user's action until the result is painted
    std::vector<double> handled;  // the handler alone, until it returned
    bool faulty = false;          // a window reported a failure or nothing was painted
    bool warm = false;            // the first run of each action warms caches and is not counted

    static double median(std::vector<double> v)
    {
        if (v.empty())
            return 0;
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    double medianMs() const { return median(onScreen); }
    double maxMs() const
    {
        return onScreen.empty() ? 0 : *std::max_element(onScreen.begin(), onScreen.end());
    }
    double handledMs() const { return median(handled); }
};

// What is kept of an action's figures, also across processes.
struct Result {
    QString name;
    Kind kind = Kind::Read;
    double median = 0;
    double max = 0;
    double handled = 0;
    bool faulty = false;

    static Result of(const Figures& f)
    {
        return {f.name, f.kind, f.medianMs(), f.maxMs(), f.handledMs(), f.faulty};
    }
};
using Results = std::vector<Result>;

// The actions by the names the report gives them.
namespace action {
constexpr const char* StartUpProcess = "start-up until the main window is shown (process)";
constexpr const char* StartUpInProcess = "start-up in process: TfrmMain + TDM + first paint";
constexpr const char* OpenStatistics = "open 成绩统计/查询 (statistics)";
constexpr const char* StatisticsClick = "成绩统计: click on a class (table, marks, previous term)";
constexpr const char* StatisticsFilter = "成绩统计: 过滤并排序 (rebuild, sort, hide)";
constexpr const char* GradeClick = "成绩录入: click on a class (students, first student's scores)";
constexpr const char* GradeNext = "成绩录入: change of the current student";
constexpr const char* Roster = "学生基本资料维护: roster of a class (next class)";
constexpr const char* ClassToSubjectClick = "学期/班级/科目对应设置: click on a class";
constexpr const char* TermToClassNext = "学期/班级对应关系设置: next term";
constexpr const char* HonoursClick = "优生评定标准: click on a class";
constexpr const char* EmptyCommit = "empty transaction (BEGIN/COMMIT, nothing to flush)";
constexpr const char* OneRowCommit = "one-row transaction (the smallest commit that reaches the disk)";
constexpr const char* GradeInit = "成绩初始化: one student (one transaction)";
constexpr const char* HonoursInit = "标准初始化: one class (one transaction)";
} // namespace action

constexpr double kFrameMs = 16.0;
constexpr double kStartUpMs = 500.0;
constexpr double kCommitSlackMs = 5.0;
constexpr double kGrowthLimit = 1.5;
// Below this a difference is the scheduler's and the timer's, not the action's.
constexpr double kNoiseMs = 1.0;

// ---------------------------------------------------------------- one school

class Session {
public:
    Session(const Options& options, int factor, const QString& dir)
        : m_options(options), m_factor(factor), m_dir(dir), m_shape(schoolgen::BenchmarkShape(factor))
    {
    }

    bool prepare();
    void measure();
    Results results() const
    {
        Results all;
        for (const Figures& f : m_figures)
            all.push_back(Result::of(f));
        return all;
    }
    int factor() const { return m_factor; }
    QString title() const
    {
        return QStringLiteral("%1 terms, %2 classes of %3 students, %4 subjects")
            .arg(m_shape.terms)
            .arg(m_shape.classes)
            .arg(m_shape.maxStudents)
            .arg(m_shape.subjects);
    }
    void report() const;

private:
    QString dataFile() const { return m_dir + QStringLiteral("db/Student.dat"); }
    int runs() const { return std::max(1, m_options.runs); }
    // The timed loops run once more than counted: the first run warms up.
    int timedRuns() const { return runs() + 1; }
    // The term and class of run i: spread over the whole history and every
    // class; never the first term, which has no previous term to sum.
    int termOf(int i) const
    {
        return 1 + int((qint64(i) * (m_shape.terms - 1)) / runs()) % (m_shape.terms - 1);
    }
    int classOf(int i) const { return (i * 17 + 3) % m_shape.classes; }

    Figures& add(const QString& name, Kind kind)
    {
        m_figures.push_back(Figures{name, kind, {}, {}, false, false});
        return m_figures.back();
    }
    // Times one action: handler until it returns, and until target painted.
    void time(Figures& f, const std::function<bool(QObject*)>& target, const std::function<void()>& action,
              const QStringList& expected = {});

    void measureProcessStartUp();
    qint64 programPeakKb(const QString& program, const QProcessEnvironment& env) const;
    void measureInProcessStartUp();
    template <class Window> void measureOpening(const QString& name);
    void measureStatisticsOpening();
    void measureStatistics();
    void measureGradeWindow();
    void measureRoster();
    void measurePlanWindows();
    void measureHonoursWindow();
    void measureCommits();
    void measureInitialisations();

    const Options& m_options;
    int m_factor;
    QString m_dir;
    schoolgen::SchoolShape m_shape;
    schoolgen::SchoolSummary m_summary;
    double m_generatedSeconds = -1;
    qint64 m_fileSize = 0;
    qint64 m_peakKb = -1;
    qint64 m_programPeakKb = -1;
    QString m_sqliteVersion;
    QString m_loadBefore;
    QString m_loadAfter;

    std::deque<Figures> m_figures; // a deque: add() hands out references that must stay valid
    AnswerYes m_dialogs;
    PaintWatch m_paint;
    std::unique_ptr<TfrmMain> m_main;
    std::unique_ptr<TDM> m_dm;
};

bool Session::prepare()
{
    QDir().mkpath(m_dir + QStringLiteral("db"));
    const QString file = dataFile();
    if (QFileInfo::exists(file) && schemaIsCurrent(file)) {
        out() << "reusing the school in " << file << "\n" << Qt::flush;
    } else {
        out() << "building " << title() << " in " << file << " ..." << Qt::flush;
        QElapsedTimer clock;
        clock.start();
        if (const DbResult written = schoolgen::WriteSchool(file, m_shape, true, &m_summary); !written) {
            out() << "\ncannot build the school: " << written.error() << "\n";
            return false;
        }
        m_generatedSeconds = clock.elapsed() / 1000.0;
        out() << " " << QString::number(m_generatedSeconds, 'f', 1) << " s\n" << Qt::flush;
        // The new file's pages would otherwise be written out during the measurements.
        ::sync();
    }
    m_fileSize = QFileInfo(file).size();
    // Read once, so that every school is measured with its file in the
    // system's cache, as it is after the first minutes of work.
    QFile data(file);
    if (data.open(QIODevice::ReadOnly))
        while (!data.read(1 << 20).isEmpty()) {
        }
    return true;
}

void Session::time(Figures& f, const std::function<bool(QObject*)>& target,
                   const std::function<void()>& action, const QStringList& expected)
{
    settle();
    m_paint.arm(target);
    QElapsedTimer clock;
    clock.start();
    action();
    const double handled = clock.nsecsElapsed() / 1e6;
    const bool painted = m_paint.wait();
    const double onScreen = clock.nsecsElapsed() / 1e6;
    if (f.warm) {
        f.handled.push_back(handled);
        f.onScreen.push_back(onScreen);
    }
    f.warm = true;
    const QStringList unexpected = m_dialogs.takeUnexpected(expected);
    if (!painted || !unexpected.isEmpty()) {
        if (!f.faulty)
            std::fprintf(stderr, "warning: %s: %s\n", qPrintable(f.name),
                         painted ? qPrintable(unexpected.join(QStringLiteral(" / ")))
                                 : "nothing was painted");
        f.faulty = true;
    }
}

void Session::measure()
{
    m_loadBefore = loadAverage();
    // The actions whose name contains the text of --only, or all.
    const auto wanted = [this](const QString& name) {
        return m_options.only.isEmpty() || name.contains(m_options.only);
    };
    if (wanted(QString::fromUtf8(action::StartUpProcess)))
        measureProcessStartUp();
    resetPeakMemory();
    AppPath = m_dir;
    if (wanted(QString::fromUtf8(action::StartUpInProcess)))
        measureInProcessStartUp();

    // The program as the user has it from here on: the main window and the data module.
    m_main = std::make_unique<TfrmMain>();
    AppPath = m_dir; // the main window takes the benchmark's own folder
    m_dm = std::make_unique<TDM>(dataFile());
    m_main->showMaximized();
    settle();
    {
        QSqlQuery q(m_dm->ADOLocal());
        if (q.exec(QStringLiteral("select sqlite_version()")) && q.next())
            m_sqliteVersion = q.value(0).toString();
        // A school kept from an earlier run is counted, so that every report says what it measured.
        if (m_summary.grades == 0 &&
            q.exec(QStringLiteral("select (select count(*) from TGrade),(select count(*) from TStudent),"
                                  "(select count(*) from THonoursStd)")) &&
            q.next()) {
            m_summary.grades = q.value(0).toLongLong();
            m_summary.students = q.value(1).toInt();
            m_summary.standards = q.value(2).toLongLong();
        }
    }

    const auto opening = [&](const QString& name, void (Session::*measureIt)(const QString&)) {
        if (wanted(name))
            (this->*measureIt)(name);
    };
    opening(QStringLiteral("open 学期信息维护 (terms)"), &Session::measureOpening<TfrmTerm>);
    opening(QStringLiteral("open 科目信息维护 (subjects)"), &Session::measureOpening<TfrmSubject>);
    opening(QStringLiteral("open 班级信息维护 (classes)"), &Session::measureOpening<TfrmClass>);
    opening(QStringLiteral("open 学期/班级对应关系设置"), &Session::measureOpening<TfrmTermToClass>);
    opening(QStringLiteral("open 学期/班级/科目对应设置"), &Session::measureOpening<TfrmClassToSubject>);
    opening(QStringLiteral("open 学生基本资料维护 (roster)"), &Session::measureOpening<TfrmStudent>);
    opening(QStringLiteral("open 优生评定标准"), &Session::measureOpening<TfrmHonoursStd>);
    opening(QStringLiteral("open 学生成绩录入"), &Session::measureOpening<TfrmGrade>);

    // Each measuring function with the actions it reports.
    const std::pair<QStringList, void (Session::*)()> groups[] = {
        {{action::OpenStatistics}, &Session::measureStatisticsOpening},
        {{action::StatisticsClick, action::StatisticsFilter}, &Session::measureStatistics},
        {{action::GradeClick, action::GradeNext}, &Session::measureGradeWindow},
        {{action::Roster}, &Session::measureRoster},
        {{action::ClassToSubjectClick, action::TermToClassNext}, &Session::measurePlanWindows},
        {{action::HonoursClick}, &Session::measureHonoursWindow},
        // The initialisations are judged against the commit, so either brings it along.
        {{action::EmptyCommit, action::OneRowCommit, action::GradeInit, action::HonoursInit},
         &Session::measureCommits},
        {{action::GradeInit, action::HonoursInit}, &Session::measureInitialisations},
    };
    for (const auto& [actions, measureIt] : groups)
        if (std::any_of(actions.begin(), actions.end(), wanted))
            (this->*measureIt)();

    m_peakKb = statusKb("VmHWM:");
    m_loadAfter = loadAverage();
    m_main.reset();
    m_dm.reset();
    settle();
}

void Session::measureProcessStartUp()
{
    Figures& f = add(QString::fromUtf8(action::StartUpProcess), Kind::StartUp);
    // The program finds its data file beside itself: a link to it in the
    // school's folder makes the school its data.
    const QString program = m_dir + QStringLiteral("StudentGrades");
    QFile::remove(program);
    if (::link(QFile::encodeName(m_options.program).constData(), QFile::encodeName(program).constData()) !=
            0 &&
        !QFile::copy(m_options.program, program)) {
        std::fprintf(stderr, "warning: cannot place %s in %s\n", qPrintable(m_options.program),
                     qPrintable(m_dir));
        f.faulty = true;
        return;
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The program starts on the benchmark's own unseen screen.
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), qEnvironmentVariable("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("GRADES_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    for (int i = -1; i < runs(); ++i) { // one run to warm the caches, not counted
        QProcess process;
        process.setProcessEnvironment(env);
        process.setProgram(program);
        QElapsedTimer clock;
        clock.start();
        process.start();
        const bool finished = process.waitForFinished(20000);
        const double ms = clock.nsecsElapsed() / 1e6;
        if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            if (!finished)
                process.kill(), process.waitForFinished();
            std::fprintf(stderr, "warning: StudentGrades did not start and quit cleanly: %s\n",
                         process.readAllStandardError().constData());
            f.faulty = true;
            return;
        }
        if (i >= 0) {
            f.onScreen.push_back(ms);
            f.handled.push_back(ms);
        }
    }
    m_programPeakKb = programPeakKb(program, env);
}

// The peak memory of one start-up. A child forked from this big process
// would count this process's memory as its own, so a small one starts it.
qint64 Session::programPeakKb(const QString& program, const QProcessEnvironment& env) const
{
    const QString time = QStringLiteral("/usr/bin/time");
    if (!QFileInfo(time).isExecutable())
        return -1;
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(time, {QStringLiteral("-f"), QStringLiteral("peak-kb=%M"), program});
    if (!process.waitForFinished(20000) || process.exitCode() != 0)
        return -1;
    const QString report = QString::fromLocal8Bit(process.readAllStandardError());
    const int at = report.lastIndexOf(QStringLiteral("peak-kb="));
    return at < 0 ? -1 : report.mid(at + 8).trimmed().toLongLong();
}

void Session::measureInProcessStartUp()
{
    Figures& f = add(QString::fromUtf8(action::StartUpInProcess), Kind::StartUp);
    for (int i = 0; i < timedRuns(); ++i) {
        std::unique_ptr<TfrmMain> main;
        std::unique_ptr<TDM> dm;
        time(
            f, [&main](QObject* o) { return main && isInside(o, main.get()); },
            [&] {
                main = std::make_unique<TfrmMain>();
                AppPath = m_dir;
                dm = std::make_unique<TDM>(dataFile());
                main->showMaximized();
            });
        main.reset();
        dm.reset();
        settle();
    }
}

template <class Window> void Session::measureOpening(const QString& name)
{
    Figures& f = add(name, Kind::Read);
    for (int i = 0; i < timedRuns(); ++i) {
        std::unique_ptr<Window> window;
        time(
            f, [&window](QObject* o) { return window && isInside(o, window.get()); },
            [&] {
                // What the launcher does, shown without the modal loop.
                window = std::make_unique<Window>();
                if (window->ReadyData())
                    window->show();
            });
        window.reset();
        settle();
    }
}

void Session::measureStatisticsOpening()
{
    Figures& f = add(QString::fromUtf8(action::OpenStatistics), Kind::Read);
    for (int i = 0; i < timedRuns(); ++i) {
        time(
            f,
            [](QObject* o) {
                for (QObject* p = o; p; p = p->parent())
                    if (p->inherits("TfrmGradeCount"))
                        return true;
                return false;
            },
            [this] { ShowGradeCount(m_main->mdiArea()); });
        for (QMdiSubWindow* frame : m_main->mdiArea()->subWindowList())
            frame->close();
        settle();
    }
}

void Session::measureStatistics()
{
    ShowGradeCount(m_main->mdiArea());
    settle();
    QMdiSubWindow* frame = m_main->mdiArea()->subWindowList().value(0);
    auto* window = frame ? qobject_cast<TfrmGradeCount*>(frame->widget()) : nullptr;
    if (!window)
        return;
    auto* subjects = window->findChild<QComboBox*>(QStringLiteral("cmbSubj"));
    auto* lower = window->findChild<QLineEdit*>(QStringLiteral("MaskEdit1"));
    auto* upper = window->findChild<QLineEdit*>(QStringLiteral("MaskEdit2"));
    auto* filter = window->findChild<QPushButton*>(QStringLiteral("cmdFilter"));
    QWidget* grid = window->grid()->viewport();
    const auto onGrid = [grid](QObject* o) { return o == grid; };

    Figures& click = add(QString::fromUtf8(action::StatisticsClick), Kind::Read);
    Figures& sorted = add(QString::fromUtf8(action::StatisticsFilter), Kind::Read);
    for (int i = 0; i < timedRuns(); ++i) {
        openTerm(window->tree(), termOf(i));
        time(click, onGrid,
             [&] { clickNode(window->tree(), classNode(window->tree(), termOf(i), classOf(i))); });
        if (subjects && lower && upper && filter) {
            subjects->setCurrentIndex(1 + i % std::max(1, subjects->count() - 1));
            lower->setText(QStringLiteral("60"));
            upper->setText(QStringLiteral("100"));
            time(sorted, onGrid, [&] { QTest::mouseClick(filter, Qt::LeftButton); });
        }
    }
    frame->close();
    settle();
}

void Session::measureGradeWindow()
{
    TfrmGrade window;
    if (!window.ReadyData())
        return;
    window.show();
    settle();
    QWidget* students = window.studentGrid()->viewport();
    QWidget* scores = window.scoreGrid()->viewport();
    Figures& click = add(QString::fromUtf8(action::GradeClick), Kind::Read);
    Figures& next = add(QString::fromUtf8(action::GradeNext), Kind::Read);
    for (int i = 0; i < timedRuns(); ++i) {
        openTerm(window.tree(), termOf(i));
        time(
            click, [students](QObject* o) { return o == students; },
            [&] { clickNode(window.tree(), classNode(window.tree(), termOf(i), classOf(i))); });
        time(
            next, [scores](QObject* o) { return o == scores; },
            [&] { QTest::keyClick(window.studentGrid(), Qt::Key_Down); });
    }
}

void Session::measureRoster()
{
    TfrmStudent window;
    if (!window.ReadyData())
        return;
    window.show();
    settle();
    QWidget* students = window.DBGridEh2->viewport();
    Figures& f = add(QString::fromUtf8(action::Roster), Kind::Read);
    for (int i = 0; i < timedRuns(); ++i) {
        if (window.dsQuery->currentRow() + 1 >= window.dsQuery->rowCount()) {
            window.dsQuery->setCurrentRow(0);
            settle();
        }
        time(
            f, [students](QObject* o) { return o == students; },
            [&] { QTest::keyClick(window.DBGridEh1, Qt::Key_Down); });
    }
}

void Session::measurePlanWindows()
{
    {
        TfrmClassToSubject window;
        if (window.ReadyData()) {
            window.show();
            settle();
            auto* grid = window.findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
            QWidget* planned = grid ? grid->viewport() : nullptr;
            Figures& f = add(QString::fromUtf8(action::ClassToSubjectClick), Kind::Read);
            for (int i = 0; i < timedRuns(); ++i) {
                openTerm(window.tree(), termOf(i));
                time(
                    f, [planned](QObject* o) { return o == planned; },
                    [&] { clickNode(window.tree(), classNode(window.tree(), termOf(i), classOf(i))); });
            }
        }
    }
    {
        TfrmTermToClass window;
        if (window.ReadyData()) {
            window.show();
            settle();
            auto* terms = window.findChild<DataGrid*>(QStringLiteral("DBGridEh1"));
            auto* active = window.findChild<DataGrid*>(QStringLiteral("DBGridEh2"));
            QWidget* shown = active ? active->viewport() : nullptr;
            Figures& f = add(QString::fromUtf8(action::TermToClassNext), Kind::Read);
            for (int i = 0; terms && i < timedRuns(); ++i) {
                if (terms->query()->currentRow() + 1 >= terms->query()->rowCount()) {
                    terms->query()->setCurrentRow(0);
                    settle();
                }
                time(
                    f, [shown](QObject* o) { return o == shown; },
                    [&] { QTest::keyClick(terms, Qt::Key_Down); });
            }
        }
    }
}

void Session::measureHonoursWindow()
{
    TfrmHonoursStd window;
    if (!window.ReadyData())
        return;
    window.show();
    settle();
    QWidget* standards = window.scoreGrid()->viewport();
    Figures& f = add(QString::fromUtf8(action::HonoursClick), Kind::Read);
    for (int i = 0; i < timedRuns(); ++i) {
        openTerm(window.tree(), termOf(i));
        time(
            f, [standards](QObject* o) { return o == standards; },
            [&] { clickNode(window.tree(), classNode(window.tree(), termOf(i), classOf(i))); });
    }
}

void Session::measureCommits()
{
    Figures& empty = add(QString::fromUtf8(action::EmptyCommit), Kind::Reference);
    Figures& one = add(QString::fromUtf8(action::OneRowCommit), Kind::Reference);
    // A row written and removed again: SQLite skips an update that changes
    // nothing, so only a real change makes the commit flush to the disk.
    const Statement insert{
        QStringLiteral("Insert into TSubject (SubjCode,SubjName) Values('bench-commit','')"), {}};
    const Statement remove{QStringLiteral("Delete from TSubject Where SubjCode='bench-commit'"), {}};
    for (int i = 0; i < timedRuns(); ++i) {
        QElapsedTimer clock;
        clock.start();
        {
            Transaction transaction;
            transaction.commit();
        }
        empty.onScreen.push_back(clock.nsecsElapsed() / 1e6);
        empty.handled.push_back(empty.onScreen.back());
        clock.restart();
        {
            Transaction transaction;
            Db::execute(insert);
            Db::execute(remove);
            transaction.commit();
        }
        one.onScreen.push_back(clock.nsecsElapsed() / 1e6);
        one.handled.push_back(one.onScreen.back());
        if (i == 0) { // the warm-up
            empty.onScreen.clear(), empty.handled.clear();
            one.onScreen.clear(), one.handled.clear();
        }
    }
}

void Session::measureInitialisations()
{
    // In the first term, which no other figure reads.
    {
        TfrmGrade window;
        if (window.ReadyData()) {
            window.show();
            settle();
            auto* init = window.findChild<QPushButton*>(QStringLiteral("cmdAppend"));
            QWidget* scores = window.scoreGrid()->viewport();
            Figures& f = add(QString::fromUtf8(action::GradeInit), Kind::Write);
            openTerm(window.tree(), 0);
            clickNode(window.tree(), classNode(window.tree(), 0, 0));
            settle();
            for (int i = 0; init && i < timedRuns(); ++i) {
                if (window.students()->currentRow() + 1 >= window.students()->rowCount())
                    window.students()->setCurrentRow(0);
                else
                    QTest::keyClick(window.studentGrid(), Qt::Key_Down);
                time(
                    f, [scores](QObject* o) { return o == scores; },
                    [&] { QTest::mouseClick(init, Qt::LeftButton); });
            }
        }
    }
    {
        TfrmHonoursStd window;
        if (window.ReadyData()) {
            window.show();
            settle();
            auto* init = window.findChild<QPushButton*>(QStringLiteral("cmdAppend"));
            QWidget* standards = window.scoreGrid()->viewport();
            Figures& f = add(QString::fromUtf8(action::HonoursInit), Kind::Write);
            const QStringList done{QStringLiteral("指定学期，指定班级的评优标准初始化完成！")};
            for (int i = 0; init && i < timedRuns(); ++i) {
                const int klass = i % m_shape.classes;
                openTerm(window.tree(), 0);
                clickNode(window.tree(), classNode(window.tree(), 0, klass));
                time(
                    f, [standards](QObject* o) { return o == standards; },
                    [&] { QTest::mouseClick(init, Qt::LeftButton); }, done);
            }
        }
    }
}

// ---------------------------------------------------------------- printing

int displayWidth(const QString& text)
{
    int width = 0;
    for (const QChar c : text)
        width += c.unicode() >= 0x2E80 ? 2 : 1; // CJK takes two columns on a terminal
    return width;
}

QString padded(const QString& text, int width)
{
    return text + QString(std::max(0, width - displayWidth(text)), QLatin1Char(' '));
}

QString ms(double value)
{
    return QString::number(value, 'f', value < 10 ? 2 : 1).rightJustified(8);
}

const Result* find(const Results& results, Kind kind, const QString& prefix)
{
    for (const Result& r : results)
        if (r.kind == kind && r.name.startsWith(prefix))
            return &r;
    return nullptr;
}

constexpr int kNameWidth = 64;

// An action's figure against its target: the target's text, and whether it was met.
struct Verdict {
    QString target;
    bool met = true;
};

Verdict judge(const Result& f, const Result* reference)
{
    Verdict v;
    switch (f.kind) {
    case Kind::StartUp:
        v.target = QStringLiteral("< 500");
        v.met = f.median < kStartUpMs && f.max < kStartUpMs;
        break;
    case Kind::Read:
        v.target = QStringLiteral("median <= 16");
        v.met = f.median <= kFrameMs;
        break;
    case Kind::Write:
        if (reference) {
            const double over = f.median - reference->median;
            v.target = QStringLiteral("commit + %1 (+%2)").arg(kCommitSlackMs).arg(over, 0, 'f', 2);
            v.met = over <= kCommitSlackMs;
        }
        break;
    case Kind::Reference:
        v.target = QStringLiteral("(reference)");
        break;
    }
    if (f.faulty) {
        v.met = false;
        v.target += QStringLiteral(" [unreliable: see warnings]");
    }
    return v;
}

void printFigures(const Results& all)
{
    out() << padded(QStringLiteral("action"), kNameWidth) << "  median       max  handler  target\n";
    const Result* reference = find(all, Kind::Reference, QStringLiteral("one-row"));
    for (const Result& f : all) {
        const Verdict v = judge(f, reference);
        out() << padded(f.name, kNameWidth) << ms(f.median) << "  " << ms(f.max) << " " << ms(f.handled)
              << "  " << v.target
              << (f.kind == Kind::Reference ? ""
                  : v.met                   ? "  met"
                                            : "  MISSED")
              << "\n";
    }
    out() << Qt::flush;
}

void Session::report() const
{
    out() << "\n== " << title() << " ==\n";
    if (m_summary.grades) {
        out() << "TGrade rows " << m_summary.grades << ", students " << m_summary.students
              << ", honours standards " << m_summary.standards;
        if (m_generatedSeconds >= 0)
            out() << "; built in " << QString::number(m_generatedSeconds, 'f', 1) << " s";
        out() << "\n";
    }
    out() << "database " << megabytes(m_fileSize) << "; peak memory of the benchmark while measuring "
          << (m_peakKb >= 0 ? megabytes(m_peakKb * 1024) : QStringLiteral("n/a"))
          << "; of StudentGrades at start-up "
          << (m_programPeakKb > 0 ? megabytes(m_programPeakKb * 1024) : QStringLiteral("n/a")) << "\n";
    out() << "machine: " << machine() << ", SQLite " << m_sqliteVersion << "\n";
    out() << "load average before " << m_loadBefore << ", after " << m_loadAfter
          << " (other work on the machine shows in every figure)\n";
    const QRect screen =
        QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect();
    out() << "screen " << screen.width() << "x" << screen.height() << " (" << QGuiApplication::platformName()
          << "); runs per action: " << runs() << " after one warm-up run"
          << "; data file in the system's cache"
          << "; times in ms from the user's action until the result is painted\n\n";
    printFigures(results());
}

bool targetsMet(const Results& results)
{
    const Result* reference = find(results, Kind::Reference, QStringLiteral("one-row"));
    return std::all_of(results.begin(), results.end(),
                       [reference](const Result& r) { return judge(r, reference).met; });
}

bool compare(int baseFactor, const Results& base, int largerFactor, const Results& larger)
{
    out() << "\n== " << largerFactor << "x the terms against " << baseFactor << "x ==\n";
    out() << padded(QStringLiteral("action"), kNameWidth) << "    base    larger  ratio  target\n";
    bool allMet = true;
    for (const Result& r : larger) {
        const Result* b = find(base, r.kind, r.name);
        if (!b || r.kind == Kind::Reference)
            continue;
        const double ratio = b->median > 0 ? r.median / b->median : 0;
        const bool met = ratio <= kGrowthLimit || r.median - b->median <= kNoiseMs;
        allMet = allMet && met;
        out() << padded(r.name, kNameWidth) << ms(b->median) << "  " << ms(r.median) << "  "
              << QString::number(ratio, 'f', 2).rightJustified(5) << "  <= 1.5x or +1 ms"
              << (met ? "  met" : "  MISSED") << "\n";
    }
    out() << Qt::flush;
    return allMet;
}

// A session's results pass to the process that compares them as lines of
// kind, median, max, handler, faulty and name, separated by tabs.
bool writeResults(const QString& path, const Results& results)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream stream(&file);
    for (const Result& r : results)
        stream << int(r.kind) << '\t' << r.median << '\t' << r.max << '\t' << r.handled << '\t'
               << int(r.faulty) << '\t' << r.name << '\n';
    return stream.status() == QTextStream::Ok;
}

Results readResults(const QString& path)
{
    Results results;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return results;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QStringList parts = stream.readLine().split(QLatin1Char('\t'));
        if (parts.size() != 6)
            continue;
        results.push_back(Result{parts[5], Kind(parts[0].toInt()), parts[1].toDouble(), parts[2].toDouble(),
                                 parts[3].toDouble(), parts[4].toInt() != 0});
    }
    return results;
}

// One school in this process: its figures are printed and handed on.
int runSession(const Options& options, const QString& root)
{
    Session session(options, options.session, root + QStringLiteral("x%1/").arg(options.session));
    if (!session.prepare())
        return 2;
    session.measure();
    const Results results = session.results();
    if (results.empty()) {
        out() << "no action's name contains \"" << options.only << "\"\n";
        return 2;
    }
    session.report();
    if (!options.resultsFile.isEmpty() && !writeResults(options.resultsFile, results))
        return 2;
    return targetsMet(results) ? 0 : 1;
}

// Each action keeps the round with the lower median; a round in which it
// went wrong marks it for good.
void keepBest(Results& best, const Results& round)
{
    for (Result& b : best) {
        const Result* r = find(round, b.kind, b.name);
        if (!r)
            continue;
        const bool faulty = b.faulty || r->faulty;
        if (r->median < b.median)
            b = *r;
        b.faulty = faulty;
    }
}

} // namespace

int Run(const Options& options)
{
    std::unique_ptr<QTemporaryDir> temporary;
    QString root = options.dir;
    if (root.isEmpty()) {
        temporary =
            std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/grades-benchmark-XXXXXX"));
        root = temporary->path();
    }
    root = QDir(root).absolutePath() + QLatin1Char('/');
    if (!QFileInfo(options.program).isExecutable()) {
        out() << "StudentGrades not found at " << options.program << "\n";
        return 2;
    }

    if (options.session > 0)
        return runSession(options, root);
    // A school's process never starts schools of its own, whatever its arguments said.
    if (qEnvironmentVariableIsSet("GRADES_BENCHMARK_SCHOOL")) {
        out() << "a school's process was not told its school\n";
        return 2;
    }

    // Every school in a process of its own: glyphs, caches and memory that
    // one school's measurements leave behind must not speed up the next's.
    // The schools take turns, round after round, and each action counts with
    // its best round: this machine has spells of being slower for a minute,
    // and a school measured in one of them would seem to have grown.
    const int rounds = std::max(1, options.rounds);
    std::vector<std::pair<int, Results>> schools;
    for (int round = 1; round <= rounds; ++round) {
        for (size_t i = 0; i < options.termFactors.size(); ++i) {
            const int factor = options.termFactors[i];
            if (rounds > 1)
                out() << "\n-- round " << round << " of " << rounds << ", " << factor << "x the terms --\n"
                      << Qt::flush;
            QTemporaryFile resultsFile(QDir::tempPath() + QStringLiteral("/grades-benchmark-results-XXXXXX"));
            if (!resultsFile.open())
                return 2;
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("GRADES_BENCHMARK_SCHOOL"), QString::number(factor));
            child.setProcessEnvironment(env);
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--one-school"), QString::number(factor), QStringLiteral("--results"),
                         resultsFile.fileName(), QStringLiteral("--runs"), QString::number(options.runs),
                         QStringLiteral("--dir"), root, QStringLiteral("--only"), options.only});
            if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
                child.exitCode() == 2)
                return 2;
            const Results results = readResults(resultsFile.fileName());
            if (round == 1)
                schools.emplace_back(factor, results);
            else
                keepBest(schools[i].second, results);
        }
    }

    bool met = true;
    for (const auto& [factor, results] : schools) {
        if (rounds > 1) {
            out() << "\n== " << factor << "x the terms, each action's best of " << rounds << " rounds ==\n";
            printFigures(results);
        }
        met = targetsMet(results) && met;
    }
    for (size_t i = 1; i < schools.size(); ++i)
        met = compare(schools.front().first, schools.front().second, schools[i].first, schools[i].second) &&
              met;
    out() << "\n" << (met ? "every target met" : "some targets missed") << "\n" << Qt::flush;
    return met ? 0 : 1;
}

} // namespace bench
