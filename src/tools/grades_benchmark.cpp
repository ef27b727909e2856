// grades-benchmark: times the program's windows on a whole school.
//
//   grades-benchmark [--x5] [--factors 1,5] [--runs N] [--dir DIR] [--screen WxH] [--only TEXT]
//                    [--rounds N]
//
// --x5 builds five times the terms (100 terms, about 3.6 million scores);
// --factors runs several schools one after another and compares them with
// the first; --dir keeps the schools in DIR and reuses them next time;
// --screen sets the size of the unseen screen (1920x1080); --only measures
// the actions whose name contains TEXT, and those measured alongside them
// (for profiling one of them); --rounds lets the schools take N turns (3)
// and counts each action with its best one.
#include "shell/Application.h"
#include "tools/Benchmark.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <cstdio>
#include <cstring>

namespace {

bool parseFactors(const QString& text, std::vector<int>& factors)
{
    factors.clear();
    for (const QString& part : text.split(QLatin1Char(','))) {
        bool ok = false;
        const int factor = part.toInt(&ok);
        if (!ok || factor < 1 || factor > 50)
            return false;
        factors.push_back(factor);
    }
    return !factors.empty();
}

int usage()
{
    std::fprintf(stderr,
                 "usage: grades-benchmark [--x5] [--factors 1,5] [--runs N] [--dir DIR] [--screen WxH] "
                 "[--only TEXT] [--rounds N]\n");
    return 2;
}

// The windows are built and painted on a screen nobody sees, of the size of
// a usual office screen: how much of a table is painted depends on it.
bool useOffscreen(QTemporaryFile& config, const char* size)
{
    int width = 0, height = 0;
    if (std::sscanf(size, "%dx%d", &width, &height) != 2 || width < 640 || height < 480 || !config.open())
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
    const char* screen = "1920x1080";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--screen") == 0)
            screen = argv[i + 1];
    QTemporaryFile screenConfig;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !useOffscreen(screenConfig, screen)) {
        std::fprintf(stderr, "grades-benchmark: --screen wants a size such as 1920x1080\n");
        return 2;
    }
    qInstallMessageHandler(quietPlatform);
    TApplication app(argc, argv);

    bench::Options options;
    options.program =
        QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("StudentGrades"));
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--x5")) {
            options.termFactors = {5};
        } else if (arg == QLatin1String("--factors") && hasValue) {
            if (!parseFactors(args[++i], options.termFactors))
                return usage();
        } else if (arg == QLatin1String("--runs") && hasValue) {
            bool ok = false;
            options.runs = args[++i].toInt(&ok);
            if (!ok || options.runs < 1)
                return usage();
        } else if (arg == QLatin1String("--dir") && hasValue) {
            options.dir = args[++i];
        } else if (arg == QLatin1String("--one-school") && hasValue) {
            // Used by the benchmark itself to measure each school in a process of its own.
            options.session = args[++i].toInt();
        } else if (arg == QLatin1String("--results") && hasValue) {
            options.resultsFile = args[++i];
        } else if (arg == QLatin1String("--rounds") && hasValue) {
            bool ok = false;
            options.rounds = args[++i].toInt(&ok);
            if (!ok || options.rounds < 1)
                return usage();
        } else if (arg == QLatin1String("--only") && hasValue) {
            options.only = args[++i];
        } else if (arg == QLatin1String("--screen") && hasValue) {
            ++i; // read before the application was made
        } else {
            return usage();
        }
    }
    return bench::Run(options);
}
