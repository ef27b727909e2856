#include "tools/benchmark/Figures.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>

#include <algorithm>

namespace bench {

void Figures::record(double onScreenMs, double handledMs)
{
    if (warm) {
        onScreen.push_back(onScreenMs);
        handled.push_back(handledMs);
    }
    warm = true;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

Result Result::of(const Figures& f)
{
    const double max = f.onScreen.empty() ? 0 : *std::max_element(f.onScreen.begin(), f.onScreen.end());
    return {f.name, f.kind, Median(f.onScreen), max, Median(f.handled), f.faulty, f.slackMs};
}

const Result* Find(const Results& results, Kind kind, const QString& prefix)
{
    for (const Result& r : results)
        if (r.kind == kind && r.name.startsWith(prefix))
            return &r;
    return nullptr;
}

void KeepBest(Results& best, const Results& round)
{
    for (Result& b : best) {
        const Result* r = Find(round, b.kind, b.name);
        if (!r)
            continue;
        const bool faulty = b.faulty || r->faulty;
        if (r->median < b.median)
            b = *r;
        b.faulty = faulty;
    }
}

// One line per action: kind, median, max, handler, faulty, slack and name, separated by tabs.
bool WriteResults(const QString& path, const Results& results)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream stream(&file);
    for (const Result& r : results)
        stream << int(r.kind) << '\t' << r.median << '\t' << r.max << '\t' << r.handled << '\t'
               << int(r.faulty) << '\t' << r.slackMs << '\t' << r.name << '\n';
    return stream.status() == QTextStream::Ok;
}

Results ReadResults(const QString& path)
{
    Results results;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return results;
    QTextStream stream(&file);
    while (!stream.atEnd()) {
        const QStringList parts = stream.readLine().split(QLatin1Char('\t'));
        if (parts.size() != 7)
            continue;
        results.push_back(Result{parts[6], Kind(parts[0].toInt()), parts[1].toDouble(), parts[2].toDouble(),
                                 parts[3].toDouble(), parts[4].toInt() != 0, parts[5].toDouble()});
    }
    return results;
}

} // namespace bench
