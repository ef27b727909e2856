#include "data/Figures.h"

#include "data/Marks.h"
#include "data/SqlText.h"

#include <algorithm>
#include <cmath>

namespace {

// What the figures are made of: the shown values of the students counted, in tenths.
struct Tally {
    int sat = 0;
    qint64 sum = 0;
    qint64 highest = 0;
    qint64 lowest = 0;
    int passed = 0;
    int excellent = 0;

    void add(qint64 tenths)
    {
        highest = sat == 0 ? tenths : std::max(highest, tenths);
        lowest = sat == 0 ? tenths : std::min(lowest, tenths);
        ++sat;
        sum += tenths;
    }

    ColumnFigures figures() const
    {
        ColumnFigures f;
        f.sat = sat;
        if (sat == 0)
            return f;
        // Hundredths of the mean, halves away from zero.
        f.average = double(std::llround(double(sum) * 10.0 / sat)) / 100.0;
        f.highest = double(highest) / 10.0;
        f.lowest = double(lowest) / 10.0;
        return f;
    }
};

constexpr qint64 kPassTenths = qint64(Marks::PassMark * 10);

} // namespace

qint64 Tenths(double shown)
{
    return std::llround(shown * 10.0);
}

bool HasAnyScore(const ClassResults& results, int student)
{
    for (int j = 0; j < results.subjectCount(); ++j)
        if (results.score(student, j))
            return true;
    return false;
}

ColumnFigures SubjectFigures(const ClassResults& results, int subject)
{
    const std::optional<double> standard = results.standard(subject);
    Tally tally;
    for (int s = 0; s < results.studentCount(); ++s) {
        if (!results.score(s, subject))
            continue;
        const double shown = results.shownScore(s, subject);
        tally.add(Tenths(shown));
        if (!Marks::Fails(shown))
            ++tally.passed;
        // The honours rule's own comparison: the shown score against the standard.
        if (standard && shown >= *standard)
            ++tally.excellent;
    }
    ColumnFigures f = tally.figures();
    if (tally.sat > 0) {
        f.passRate = Percent(tally.passed, tally.sat);
        if (standard)
            f.excellentRate = Percent(tally.excellent, tally.sat);
    }
    return f;
}

ColumnFigures TotalFigures(const ClassResults& results)
{
    Tally tally;
    for (int s = 0; s < results.studentCount(); ++s)
        if (HasAnyScore(results, s))
            tally.add(Tenths(results.total(s)));
    return tally.figures();
}

double Percent(int part, int whole)
{
    return whole > 0 ? double(std::llround(double(part) * 1000.0 / whole)) / 10.0 : 0.0;
}

namespace FigureText {

QString Count(int count)
{
    return QString::number(count);
}

QString Average(const std::optional<double>& average)
{
    return average ? QString::number(*average, 'f', 2) : None;
}

QString Score(const std::optional<double>& score)
{
    return score ? FormatOneDecimal(*score) : None;
}

QString Rate(const std::optional<double>& percent)
{
    return percent ? QString::number(*percent, 'f', 1) + QLatin1Char('%') : None;
}

} // namespace FigureText
