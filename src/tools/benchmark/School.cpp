#include "tools/benchmark/School.h"

#include "tools/SchoolGenerator.h"
#include "tools/benchmark/Drivers.h"
#include "tools/benchmark/Machine.h"
#include "tools/benchmark/Report.h"
#include "tools/benchmark/ServerSchool.h"
#include "tools/benchmark/Stage.h"
#include "tools/benchmark/Targets.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace bench {

namespace {

QString titleOf(const schoolgen::SchoolShape& shape)
{
    return QStringLiteral("%1 terms, %2 classes of %3 students, %4 subjects")
        .arg(shape.terms)
        .arg(shape.classes)
        .arg(shape.maxStudents)
        .arg(shape.subjects);
}

// Builds the school unless a current one is kept there, and reads it once:
// every school is measured with its file in the system's cache, as it is
// after the first minutes of work.
bool prepare(const QString& file, const schoolgen::SchoolShape& shape, SchoolFacts& facts)
{
    if (QFileInfo::exists(file) && SchemaIsCurrent(file)) {
        Out() << "reusing the school in " << file << "\n" << Qt::flush;
    } else {
        Out() << "building " << facts.title << " in " << file << " ..." << Qt::flush;
        QElapsedTimer clock;
        clock.start();
        if (const DbResult written = schoolgen::WriteSchool(file, shape, true); !written) {
            Out() << "\ncannot build the school: " << written.error() << "\n";
            return false;
        }
        facts.generatedSeconds = clock.elapsed() / 1000.0;
        Out() << " " << QString::number(facts.generatedSeconds, 'f', 1) << " s\n" << Qt::flush;
        // The new file's pages would otherwise be written out during the measurements.
        ::sync();
    }
    facts.databaseSize = QFileInfo(file).size();
    QFile data(file);
    if (data.open(QIODevice::ReadOnly))
        while (!data.read(1 << 20).isEmpty()) {
        }
    return true;
}

} // namespace

int MeasureSchool(const Options& options, const QString& root)
{
    // The data file is the school on both engines: the server's is copied from it.
    const QString fileDir = root + QStringLiteral("x%1/").arg(options.session);
    const QString file = fileDir + QStringLiteral("db/Student.dat");
    const schoolgen::SchoolShape shape = schoolgen::BenchmarkShape(options.session);
    QDir().mkpath(fileDir + QStringLiteral("db"));
    const bool onServer = options.engine == Engine::Server;
    std::optional<ServerLocation> server;
    if (onServer && !(server = ParseServerUrl(options.serverUrl))) {
        Out() << "no server database to measure on: " << options.serverUrl << "\n";
        return 2;
    }
    // On the server the program's folder holds the settings file that names it, and no data file.
    const QString dir = onServer ? root + QStringLiteral("x%1-server/").arg(options.session) : fileDir;
    QDir().mkpath(dir);

    Stage stage(options, shape, dir);
    SchoolFacts& facts = stage.facts();
    facts.title = titleOf(shape);
    facts.engine = options.engine;
    facts.factor = options.session;
    if (!prepare(file, shape, facts))
        return 2;
    if (onServer && !PutOnServer(file, *server, dir, facts))
        return 2;

    facts.loadBefore = LoadAverage();
    ResetPeakMemory();
    for (const Driver* driver : WantedDrivers(options))
        driver->measure(stage);
    stage.mainWindow(); // the program as the user has it, also when only the start-up was measured
    facts.peakKb = StatusKb("VmHWM:");
    facts.loadAfter = LoadAverage();
    stage.endProgram();

    // What the school holds is counted, so that every report says what it measured.
    const StoreCounts counts =
        CountsOf(onServer ? StoreLocation::onServer(*server) : StoreLocation::file(file));
    facts.engineVersion = counts.engineVersion;
    facts.grades = counts.grades;
    facts.students = counts.students;
    facts.standards = counts.standards;
    if (onServer) {
        facts.databaseSize = counts.size;
        facts.serverAt = server->describe() + QStringLiteral(", over TCP on this machine's loopback");
    }

    Results results;
    for (const Figures& f : stage.figures())
        results.push_back(Result::of(f));
    if (results.empty()) {
        Out() << "no action's name contains \"" << options.only << "\"\n";
        return 2;
    }
    PrintSchool(facts, results);
    if (!options.resultsFile.isEmpty() && !WriteResults(options.resultsFile, results))
        return 2;
    return TargetsMet(results, options.session) ? 0 : 1;
}

} // namespace bench
