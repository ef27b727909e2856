// The benchmark's processes: every school in a process of its own, the
// schools taking turns round after round, each action counted with its best
// round; then the verdict.
#include "tools/benchmark/Benchmark.h"

#include "tools/benchmark/Figures.h"
#include "tools/benchmark/LocalServer.h"
#include "tools/benchmark/Report.h"
#include "tools/benchmark/School.h"
#include "tools/benchmark/Targets.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include <algorithm>
#include <memory>

namespace bench {

namespace {

// Tells a school's process apart from the one that starts them.
const QString kSchoolVariable = QStringLiteral("GRADES_BENCHMARK_SCHOOL");

// A school on one engine, and what is kept of its rounds.
struct Session {
    int factor = 1;
    Engine engine = Engine::File;
    QString serverUrl; // its database on the run's server
    Results results;
    bool measured = false;
};

// One round of one school in a child process; false when it could not run.
bool measureInChild(const Options& options, const QString& root, const Session& session, Results& results)
{
    QTemporaryFile resultsFile(QDir::tempPath() + QStringLiteral("/grades-benchmark-results-XXXXXX"));
    if (!resultsFile.open())
        return false;
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kSchoolVariable, QString::number(session.factor));
    child.setProcessEnvironment(env);
    QStringList arguments{QStringLiteral("--one-school"), QString::number(session.factor),
                          QStringLiteral("--results"),    resultsFile.fileName(),
                          QStringLiteral("--runs"),       QString::number(options.runs),
                          QStringLiteral("--dir"),        root,
                          QStringLiteral("--only"),       options.only};
    if (session.engine == Engine::Server)
        arguments << QStringLiteral("--server-url") << session.serverUrl;
    child.start(QCoreApplication::applicationFilePath(), arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() == 2)
        return false;
    results = ReadResults(resultsFile.fileName());
    return true;
}

QString urlOf(const ServerLocation& server)
{
    return QStringLiteral("postgresql://%1@%2:%3/%4")
        .arg(server.user, server.host)
        .arg(server.port)
        .arg(server.database);
}

// The sessions of the run, the schools in the order given, each on the
// file before the server; a server started for them when one is asked for.
bool planSessions(const Options& options, std::unique_ptr<LocalServer>& server,
                  std::vector<Session>& sessions)
{
    const bool wantsServer =
        std::find(options.engines.begin(), options.engines.end(), Engine::Server) != options.engines.end();
    if (wantsServer) {
        server = std::make_unique<LocalServer>();
        Out() << "starting a PostgreSQL server for the run ..." << Qt::flush;
        if (DbResult started = server->start(); !started) {
            Out() << "\ncannot start the server: " << started.error() << "\n";
            return false;
        }
        Out() << " " << server->describe() << "\n" << Qt::flush;
        // The program and the schools' processes take the password from libpq's environment.
        qputenv("PGPASSWORD", server->password().toLatin1());
    }
    for (const int factor : options.termFactors) {
        for (const Engine engine : {Engine::File, Engine::Server}) {
            if (std::find(options.engines.begin(), options.engines.end(), engine) == options.engines.end())
                continue;
            Session session{factor, engine, {}, {}, false};
            if (engine == Engine::Server) {
                const DbValue<ServerLocation> database =
                    server->createDatabase(QStringLiteral("school_x%1").arg(factor));
                if (!database) {
                    Out() << "cannot make the school's database: " << database.error() << "\n";
                    return false;
                }
                session.serverUrl = urlOf(*database);
            }
            sessions.push_back(session);
        }
    }
    return true;
}

// The base school's session on an engine, the first of them.
const Session* baseOn(const std::vector<Session>& sessions, Engine engine)
{
    for (const Session& s : sessions)
        if (s.engine == engine)
            return &s;
    return nullptr;
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
    std::unique_ptr<LocalServer> server;
    std::vector<Session> sessions;
    if (!planSessions(options, server, sessions))
        return 2;
    const int rounds = std::max(1, options.rounds);
    for (int round = 1; round <= rounds; ++round) {
        for (Session& session : sessions) {
            if (rounds > 1)
                Out() << "\n-- round " << round << " of " << rounds << ", " << session.factor
                      << "x the terms, on the " << EngineName(session.engine) << " --\n"
                      << Qt::flush;
            Results results;
            if (!measureInChild(options, root, session, results))
                return 2;
            if (!session.measured)
                session.results = results;
            else
                KeepBest(session.results, results);
            session.measured = true;
        }
    }

    bool met = true;
    for (const Session& session : sessions) {
        if (rounds > 1) {
            Out() << "\n== " << session.factor << "x the terms, on the " << EngineName(session.engine)
                  << ", each action's best of " << rounds << " rounds ==\n";
            PrintFigures(session.results, session.engine, session.factor);
        }
        met = TargetsMet(session.results, session.factor) && met;
    }
    for (const Session& session : sessions) {
        const Session* base = baseOn(sessions, session.engine);
        if (base != &session)
            met = PrintGrowth(session.engine, base->factor, base->results, session.factor, session.results) &&
                  met;
    }
    for (size_t i = 0; i + 1 < sessions.size(); ++i)
        if (sessions[i].engine == Engine::File && sessions[i + 1].engine == Engine::Server)
            PrintEngines(sessions[i].factor, sessions[i].results, sessions[i + 1].results);
    Out() << "\n" << (met ? "every target met" : "some targets missed") << "\n" << Qt::flush;
    return met ? 0 : 1;
}

} // namespace bench
