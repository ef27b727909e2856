// grades-benchmark: times the program's windows on a whole school.
//
//   grades-benchmark [--x5] [--factors 1,5] [--engines file,server] [--runs N] [--dir DIR]
//                    [--screen WxH] [--only TEXT] [--rounds N]
#include "shell/Application.h"
#include "tools/benchmark/Benchmark.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cstdio>

namespace {

const char* const kUsage =
    "usage: grades-benchmark [--x5] [--factors 1,5] [--engines file,server] [--runs N] "
    "[--dir DIR] [--screen WxH] [--only TEXT] [--rounds N]\n";

// The options, and whether each value was one the benchmark can use.
struct CommandLine {
    QCommandLineParser parser;
    QCommandLineOption x5{QStringLiteral("x5"), QStringLiteral("Five times the terms (100 terms, about 3.6 "
                                                               "million scores).")};
    QCommandLineOption factors{QStringLiteral("factors"),
                               QStringLiteral("Several schools one after another, compared with the first "
                                              "(term factors 1 to 50, e.g. 1,5)."),
                               QStringLiteral("list")};
    QCommandLineOption engines{QStringLiteral("engines"),
                               QStringLiteral("Where each school is kept: its data file (file), a PostgreSQL "
                                              "server started for the run on this machine's loopback "
                                              "(server), or one after the other (file,server); file by "
                                              "default."),
                               QStringLiteral("list")};
    QCommandLineOption runs{QStringLiteral("runs"), QStringLiteral("Runs of each action (25)."),
                            QStringLiteral("N")};
    QCommandLineOption dir{QStringLiteral("dir"),
                           QStringLiteral("Keeps the schools' data files in DIR and reuses them next time "
                                          "(a server's copy is made again each run)."),
                           QStringLiteral("DIR")};
    QCommandLineOption screen{QStringLiteral("screen"),
                              QStringLiteral("The size of the unseen screen (1920x1080)."),
                              QStringLiteral("WxH"), QStringLiteral("1920x1080")};
    QCommandLineOption only{QStringLiteral("only"),
                            QStringLiteral("Only the actions whose name contains TEXT, and those measured "
                                           "alongside them."),
                            QStringLiteral("TEXT")};
    QCommandLineOption rounds{QStringLiteral("rounds"),
                              QStringLiteral("Turns the schools take; each action counts with its best (3)."),
                              QStringLiteral("N")};
    // The benchmark's own: each school is measured in a process of its own.
    QCommandLineOption oneSchool{QStringLiteral("one-school"), QString(), QStringLiteral("factor")};
    QCommandLineOption results{QStringLiteral("results"), QString(), QStringLiteral("file")};
    QCommandLineOption serverUrl{QStringLiteral("server-url"), QString(), QStringLiteral("url")};
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Shows these options.")};

    CommandLine()
    {
        oneSchool.setFlags(QCommandLineOption::HiddenFromHelp);
        results.setFlags(QCommandLineOption::HiddenFromHelp);
        serverUrl.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.setApplicationDescription(QStringLiteral("Times the program's windows on a whole school."));
        parser.addOptions(
            {x5, factors, engines, runs, dir, screen, only, rounds, oneSchool, results, serverUrl, help});
    }

    // Reads argv; false when an option or value is not one the benchmark knows.
    bool read(int argc, char* argv[], bench::Options& options)
    {
        QStringList arguments;
        for (int i = 0; i < argc; ++i)
            arguments << QString::fromLocal8Bit(argv[i]);
        if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty())
            return false;
        if (parser.isSet(x5))
            options.termFactors = {5};
        if (parser.isSet(factors) && !readFactors(parser.value(factors), options.termFactors))
            return false;
        if (parser.isSet(engines) && !readEngines(parser.value(engines), options.engines))
            return false;
        if (parser.isSet(runs) && !readCount(parser.value(runs), options.runs))
            return false;
        if (parser.isSet(rounds) && !readCount(parser.value(rounds), options.rounds))
            return false;
        options.dir = parser.value(dir);
        options.only = parser.value(only);
        options.session = parser.value(oneSchool).toInt();
        options.resultsFile = parser.value(results);
        options.serverUrl = parser.value(serverUrl);
        options.engine = options.serverUrl.isEmpty() ? Engine::File : Engine::Server;
        return true;
    }

    static bool readEngines(const QString& text, std::vector<Engine>& list)
    {
        list.clear();
        for (const QString& part : text.split(QLatin1Char(','))) {
            if (part == QLatin1String("file"))
                list.push_back(Engine::File);
            else if (part == QLatin1String("server"))
                list.push_back(Engine::Server);
            else
                return false;
        }
        return !list.empty();
    }

    static bool readFactors(const QString& text, std::vector<int>& list)
    {
        list.clear();
        for (const QString& part : text.split(QLatin1Char(','))) {
            bool ok = false;
            const int factor = part.toInt(&ok);
            if (!ok || factor < 1 || factor > 50)
                return false;
            list.push_back(factor);
        }
        return !list.empty();
    }

    static bool readCount(const QString& text, int& count)
    {
        bool ok = false;
        count = text.toInt(&ok);
        return ok && count >= 1;
    }
};

// The windows are built and painted on a screen nobody sees, of the size of
// a usual office screen: how much of a table is painted depends on it.
bool useOffscreen(QTemporaryFile& config, const QString& size)
{
    const QStringList parts = size.split(QLatin1Char('x'));
    const int width = parts.value(0).toInt();
    const int height = parts.value(1).toInt();
    if (parts.size() != 2 || width < 640 || height < 480 || !config.open())
        return false;
    config.write(
        QStringLiteral("{ \"screens\": [ { \"name\": \"bench\", \"x\": 0, \"y\": 0, \"width\": %1, "
                       "\"height\": %2, \"logicalDpi\": 96, \"logicalBaseDpi\": 96, \"dpr\": 1 } ] }")
            .arg(width)
            .arg(height)
            .toUtf8());
    config.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    return true;
}

// The unseen screen's platform warns of every window it cannot size for a
// window manager; the lines would bury the figures.
void quietPlatform(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    std::fputs(qPrintable(qFormatLogMessage(type, context, message) + QLatin1Char('\n')), stderr);
}

} // namespace

int main(int argc, char* argv[])
{
    // Read before the application is made: the screen must be set up first.
    CommandLine commandLine;
    bench::Options options;
    if (!commandLine.read(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    QTemporaryFile screenConfig;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !useOffscreen(screenConfig, commandLine.parser.value(commandLine.screen))) {
        std::fprintf(stderr, "grades-benchmark: --screen wants a size such as 1920x1080\n");
        return 2;
    }
    qInstallMessageHandler(quietPlatform);
    TApplication app(argc, argv);
    if (commandLine.parser.isSet(commandLine.help)) {
        std::fputs(qPrintable(commandLine.parser.helpText()), stdout);
        return 0;
    }
    const QDir here(QCoreApplication::applicationDirPath());
    options.program = here.absoluteFilePath(QStringLiteral("StudentGrades"));
    options.probePluginPath = here.absoluteFilePath(QStringLiteral("benchmark-plugins"));
    return bench::Run(options);
}
