// The benchmark's processes: every school in a process of its own, the
// schools taking turns round after round, each action counted with its best
// round; then the verdict.
#include "tools/benchmark/Benchmark.h"

#include "tools/benchmark/Figures.h"
#include "tools/benchmark/Report.h"
#include "tools/benchmark/School.h"
#include "tools/benchmark/Targets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <memory>

namespace bench {

namespace {

// Tells a school's process apart from the one that starts them.
const QString kSchoolVariable = QStringLiteral("GRADES_BENCHMARK_SCHOOL");

// One round of one school in a child process; false when it could not run.
bool measureInChild(const Options& options, const QString& root, int factor, Results& results)
{
    QTemporaryFile resultsFile(QDir::tempPath() + QStringLiteral("/grades-benchmark-results-XXXXXX"));
    if (!resultsFile.open())
        return false;
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kSchoolVariable, QString::number(factor));
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--one-school"), QString::number(factor), QStringLiteral("--results"),
                 resultsFile.fileName(), QStringLiteral("--runs"), QString::number(options.runs),
                 QStringLiteral("--dir"), root, QStringLiteral("--only"), options.only});
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() == 2)
        return false;
    results = ReadResults(resultsFile.fileName());
    return true;
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
        Out() << "StudentGrades not found at " << options.program << "\n";
        return 2;
    }

    if (options.session > 0)
        return MeasureSchool(options, root);
    // A school's process never starts schools of its own, whatever its arguments said.
    if (qEnvironmentVariableIsSet(qPrintable(kSchoolVariable))) {
        Out() << "a school's process was not told its school\n";
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
                Out() << "\n-- round " << round << " of " << rounds << ", " << factor << "x the terms --\n"
                      << Qt::flush;
            Results results;
            if (!measureInChild(options, root, factor, results))
                return 2;
            if (round == 1)
                schools.emplace_back(factor, results);
            else
                KeepBest(schools[i].second, results);
        }
    }

    bool met = true;
    for (const auto& [factor, results] : schools) {
        if (rounds > 1) {
            Out() << "\n== " << factor << "x the terms, each action's best of " << rounds << " rounds ==\n";
            PrintFigures(results);
        }
        met = TargetsMet(results) && met;
    }
    for (size_t i = 1; i < schools.size(); ++i)
        met =
            PrintGrowth(schools.front().first, schools.front().second, schools[i].first, schools[i].second) &&
            met;
    Out() << "\n" << (met ? "every target met" : "some targets missed") << "\n" << Qt::flush;
    return met ? 0 : 1;
}

} // namespace bench
