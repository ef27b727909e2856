#pragma once

#include "data/ClassResults.h"

#include <QString>
#include <optional>

// The figures of one column of a class's table, a subject or 总分, as the
// summary rows of the statistics table show them and the comparison of
// classes, the exports and the prints repeat them.
//
// They count the students of the class who have a score for the subject
// (for 总分: at least one score in the term); a student without one is left
// out. They are taken from the scores as the table shows them (one decimal:
// 59.96 counts as 60.0 and passes), and always cover the whole class.
struct ColumnFigures {
    int sat = 0;                    // 参考人数
    std::optional<double> average;  // two decimals; none when nobody sat
    std::optional<double> highest;  // one decimal
    std::optional<double> lowest;   // one decimal
    std::optional<double> passRate; // percent, one decimal; none for 总分
    // percent, one decimal; none for 总分 and for a subject without an
    // honours standard
    std::optional<double> excellentRate;
};

// A shown one-decimal number in tenths, the unit the figures count in, so
// that equal shown numbers are equal whatever their binary remainders.
qint64 Tenths(double shown);

// True when the student has at least one score in the term's plan.
bool HasAnyScore(const ClassResults& results, int student);

ColumnFigures SubjectFigures(const ClassResults& results, int subject);
ColumnFigures TotalFigures(const ClassResults& results);

// part of whole in percent with one decimal, halves away from zero (7 of 8: 87.5).
double Percent(int part, int whole);

// The texts of the figures. What a column does not have is "—", a rate a
// column never has (the rates of 总分) is empty.
namespace FigureText {
QString Count(int count);
QString Average(const std::optional<double>& average); // "78.25"
QString Score(const std::optional<double>& score);     // "95.0"
QString Rate(const std::optional<double>& percent);    // "87.5%"
inline const QString None = QStringLiteral("—");
} // namespace FigureText
