#include "tools/benchmark/Report.h"

#include "tools/benchmark/Benchmark.h"
#include "tools/benchmark/Machine.h"
#include "tools/benchmark/Targets.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

namespace bench {

namespace {

constexpr int kNameWidth = 64;

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

QString memory(qint64 kb)
{
    return kb > 0 ? Megabytes(kb * 1024) : QStringLiteral("n/a");
}

// The column that names the engine of a figure.
constexpr int kEngineWidth = 7;

QString engineColumn(Engine engine)
{
    return QLatin1Char(' ') + padded(EngineName(engine), kEngineWidth);
}

QString onEngine(Engine engine)
{
    return engine == Engine::Server ? QStringLiteral("on the server") : QStringLiteral("on the file");
}

} // namespace

QString EngineName(Engine engine)
{
    return engine == Engine::Server ? QStringLiteral("server") : QStringLiteral("file");
}

QTextStream& Out()
{
    static QTextStream stream(stdout);
    return stream;
}

void PrintSchool(const SchoolFacts& facts, const Results& results)
{
    const bool server = facts.engine == Engine::Server;
    Out() << "\n== " << facts.title << ", " << onEngine(facts.engine) << " ==\n";
    if (facts.grades) {
        Out() << "TGrade rows " << facts.grades << ", students " << facts.students << ", honours standards "
              << facts.standards;
        if (facts.generatedSeconds >= 0)
            Out() << "; built in " << QString::number(facts.generatedSeconds, 'f', 1) << " s";
        if (facts.copiedSeconds >= 0)
            Out() << "; copied onto the server in " << QString::number(facts.copiedSeconds, 'f', 1) << " s";
        Out() << "\n";
    }
    Out() << "database " << Megabytes(facts.databaseSize) << "; peak memory of the benchmark while measuring "
          << (facts.peakKb >= 0 ? Megabytes(facts.peakKb * 1024) : QStringLiteral("n/a"))
          << "; of StudentGrades at start-up " << memory(facts.programPeakKb) << "\n";
    Out() << "machine: " << Machine() << ", " << facts.engineVersion << "\n";
    if (server)
        Out() << "server: " << facts.serverAt << "\n";
    Out() << "load average before " << facts.loadBefore << ", after " << facts.loadAfter
          << " (other work on the machine shows in every figure)\n";
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect size = screen ? screen->geometry() : QRect();
    Out() << "screen " << size.width() << "x" << size.height() << " (" << QGuiApplication::platformName()
          << "); runs per action: " << facts.runs << " after one warm-up run"
          << (server ? "; the school in the server's buffers" : "; data file in the system's cache")
          << "; times in ms from the user's action until the result is painted\n\n";
    PrintFigures(results, facts.engine, facts.factor);
}

void PrintFigures(const Results& results, Engine engine, int factor)
{
    Out() << padded(QStringLiteral("action"), kNameWidth) << QLatin1Char(' ')
          << padded(QStringLiteral("engine"), kEngineWidth) << "  median       max  handler  target\n";
    const Result* reference = CommitReference(results);
    for (const Result& f : results) {
        const Verdict v = Judge(f, reference, factor);
        Out() << padded(f.name, kNameWidth) << engineColumn(engine) << ms(f.median) << "  " << ms(f.max)
              << " " << ms(f.handled) << "  " << v.target
              << (f.kind == Kind::Reference ? ""
                  : v.met                   ? "  met"
                                            : "  MISSED")
              << "\n";
    }
    Out() << Qt::flush;
}

bool PrintGrowth(Engine engine, int baseFactor, const Results& base, int largerFactor, const Results& larger)
{
    Out() << "\n== " << largerFactor << "x the terms against " << baseFactor << "x, " << onEngine(engine)
          << " ==\n";
    Out() << padded(QStringLiteral("action"), kNameWidth) << QLatin1Char(' ')
          << padded(QStringLiteral("engine"), kEngineWidth) << "    base    larger  ratio  target\n";
    bool allMet = true;
    for (const Result& r : larger) {
        const Result* b = Find(base, r.kind, r.name);
        if (!b || r.kind == Kind::Reference)
            continue;
        const double ratio = b->median > 0 ? r.median / b->median : 0;
        const bool met = GrewWithinLimit(*b, r);
        allMet = allMet && met;
        Out() << padded(r.name, kNameWidth) << engineColumn(engine) << ms(b->median) << "  " << ms(r.median)
              << "  " << QString::number(ratio, 'f', 2).rightJustified(5) << "  <= " << GrowthLimit(*b)
              << "x or +1 ms" << (met ? "  met" : "  MISSED") << "\n";
    }
    Out() << Qt::flush;
    return allMet;
}

void PrintEngines(int factor, const Results& file, const Results& server)
{
    Out() << "\n== " << factor << "x the terms, the server against the file (medians) ==\n";
    Out() << padded(QStringLiteral("action"), kNameWidth) << "    file    server   server - file\n";
    for (const Result& r : server) {
        const Result* f = Find(file, r.kind, r.name);
        if (!f)
            continue;
        Out() << padded(r.name, kNameWidth) << ms(f->median) << "  " << ms(r.median) << "  "
              << ms(r.median - f->median) << "\n";
    }
    Out() << Qt::flush;
}

} // namespace bench
