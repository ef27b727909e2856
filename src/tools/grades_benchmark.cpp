// grades-benchmark: times the program's windows on a whole school.
//
//   grades-benchmark [--x5] [--factors 1,5] [--runs N] [--dir DIR]
//
// --x5 builds five times the terms (100 terms, about 3.6 million scores);
// --factors runs several schools one after another and compares them with
// the first; --dir keeps the schools in DIR and reuses them next time.
#include "app/Application.h"
#include "tools/Benchmark.h"

#include <QDir>
#include <cstdio>

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
    std::fprintf(stderr, "usage: grades-benchmark [--x5] [--factors 1,5] [--runs N] [--dir DIR]\n");
    return 2;
}

} // namespace

int main(int argc, char* argv[])
{
    // The windows are built and painted, but nobody needs to see them.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
        } else {
            return usage();
        }
    }
    return bench::Run(options);
}
