// Start-up: the real program launched as a user launches it, until its main
// window is shown; and the same within this process.
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Program.h"
#include "tools/benchmark/Stage.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstdio>
#include <unistd.h>

namespace bench {

namespace {

const Action ProgramStartUp{"start-up until the main window is shown (process)", Kind::StartUp};
const Action InProcessStartUp{"start-up in process: TfrmMain + TDM + first paint", Kind::StartUp};

// The program's environment: the benchmark's unseen screen, and the probe
// that ends the program once its main window has been painted.
QProcessEnvironment probedEnvironment(const Options& options)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), qEnvironmentVariable("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), options.probePluginPath);
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("gradesstartupprobe"));
    return env;
}

// The peak memory of one start-up. A child forked from this big process
// would count this process's memory as its own, so a small one starts it.
qint64 programPeakKb(const QString& program, const QProcessEnvironment& env)
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

void measureProgram(Stage& stage)
{
    Figures& f = stage.add(ProgramStartUp);
    // The program finds its data file beside itself: a link to it in the
    // school's folder makes the school its data.
    const QString& built = stage.options().program;
    const QString program = stage.dir() + QStringLiteral("StudentGrades");
    QFile::remove(program);
    if (::link(QFile::encodeName(built).constData(), QFile::encodeName(program).constData()) != 0 &&
        !QFile::copy(built, program)) {
        stage.fault(f, QStringLiteral("cannot place %1 in %2").arg(built, stage.dir()));
        return;
    }
    if (!QFileInfo::exists(stage.options().probePluginPath + QStringLiteral("/generic"))) {
        stage.fault(
            f, QStringLiteral("the start-up probe is missing in %1").arg(stage.options().probePluginPath));
        return;
    }
    const QProcessEnvironment env = probedEnvironment(stage.options());
    for (int i = 0; i < stage.timedRuns(); ++i) {
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
            stage.fault(f, QStringLiteral("StudentGrades did not start and quit cleanly: ") +
                               QString::fromLocal8Bit(process.readAllStandardError()));
            return;
        }
        f.record(ms, ms);
    }
    stage.facts().programPeakKb = programPeakKb(program, env);
}

void measureInProcess(Stage& stage)
{
    Figures& f = stage.add(InProcessStartUp);
    for (int i = 0; i < stage.timedRuns(); ++i) {
        std::unique_ptr<Program> program;
        stage.time(
            f, [&program](QObject* o) { return program && IsInside(o, program->mainWindow()); },
            [&] {
                program = std::make_unique<Program>(stage.dir());
                program->show();
            });
        program.reset();
        stage.settle();
    }
}

void measure(Stage& stage)
{
    if (stage.wanted(ProgramStartUp))
        measureProgram(stage);
    if (stage.wanted(InProcessStartUp))
        measureInProcess(stage);
}

} // namespace

const Driver StartUpDriver{{ProgramStartUp, InProcessStartUp}, &measure};

} // namespace bench
