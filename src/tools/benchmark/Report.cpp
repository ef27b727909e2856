#include "tools/benchmark/Report.h"

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

} // namespace

QTextStream& Out()
{
    static QTextStream stream(stdout);
    return stream;
}

void PrintSchool(const SchoolFacts& facts, const Results& results)
{
    Out() << "\n== " << facts.title << " ==\n";
    if (facts.grades) {
        Out() << "TGrade rows " << facts.grades << ", students " << facts.students << ", honours standards "
              << facts.standards;
        if (facts.generatedSeconds >= 0)
            Out() << "; built in " << QString::number(facts.generatedSeconds, 'f', 1) << " s";
        Out() << "\n";
    }
    Out() << "database " << Megabytes(facts.fileSize) << "; peak memory of the benchmark while measuring "
          << (facts.peakKb >= 0 ? Megabytes(facts.peakKb * 1024) : QStringLiteral("n/a"))
          << "; of StudentGrades at start-up " << memory(facts.programPeakKb) << "\n";
    Out() << "machine: " << Machine() << ", SQLite " << facts.sqliteVersion << "\n";
    Out() << "load average before " << facts.loadBefore << ", after " << facts.loadAfter
          << " (other work on the machine shows in every figure)\n";
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect size = screen ? screen->geometry() : QRect();
    Out() << "screen " << size.width() << "x" << size.height() << " (" << QGuiApplication::platformName()
          << "); runs per action: " << facts.runs << " after one warm-up run"
          << "; data file in the system's cache"
          << "; times in ms from the user's action until the result is painted\n\n";
    PrintFigures(results);
}

void PrintFigures(const Results& results)
{
    Out() << padded(QStringLiteral("action"), kNameWidth) << "  median       max  handler  target\n";
    const Result* reference = CommitReference(results);
    for (const Result& f : results) {
        const Verdict v = Judge(f, reference);
        Out() << padded(f.name, kNameWidth) << ms(f.median) << "  " << ms(f.max) << " " << ms(f.handled)
              << "  " << v.target
              << (f.kind == Kind::Reference ? ""
                  : v.met                   ? "  met"
                                            : "  MISSED")
              << "\n";
    }
    Out() << Qt::flush;
}

bool PrintGrowth(int baseFactor, const Results& base, int largerFactor, const Results& larger)
{
    Out() << "\n== " << largerFactor << "x the terms against " << baseFactor << "x ==\n";
    Out() << padded(QStringLiteral("action"), kNameWidth) << "    base    larger  ratio  target\n";
    bool allMet = true;
    for (const Result& r : larger) {
        const Result* b = Find(base, r.kind, r.name);
        if (!b || r.kind == Kind::Reference)
            continue;
        const double ratio = b->median > 0 ? r.median / b->median : 0;
        const bool met = GrewWithinLimit(*b, r);
        allMet = allMet && met;
        Out() << padded(r.name, kNameWidth) << ms(b->median) << "  " << ms(r.median) << "  "
              << QString::number(ratio, 'f', 2).rightJustified(5) << "  <= " << GrowthLimit(*b)
              << "x or +1 ms" << (met ? "  met" : "  MISSED") << "\n";
    }
    Out() << Qt::flush;
    return allMet;
}

} // namespace bench
