#pragma once

#include "data/DbResult.h"

#include <QString>
#include <QtGlobal>

// Writes a whole school of plausible data into a new data file: terms,
// subjects, classes, the plan of every class in every term, students with
// Chinese names and the rest of their record, honours standards and a score
// for every student, subject and term.
//
// Every class in every term is made to show each mark of the statistics
// window at least once: a student with a failing score, a student who
// reaches every honours standard, a student whose total grew by more than a
// tenth against the previous term (from the second term on) and ordinary ones.
//
// The same seed gives the same school, row for row.
namespace schoolgen {

struct SchoolShape {
    int terms = 20;
    int lastYear = 2024;  // the school year (autumn) of the last term
    int firstLevel = 0;   // 0 初一 .. 5 高三: the grade level of the first class
    int levels = 6;       // the grade levels the classes are spread over
    int classes = 60;     // in all, spread evenly over the levels
    int minStudents = 50; // students per class, chosen per class in this range
    int maxStudents = 50;
    int subjects = 12; // at most SubjectCount()
    quint64 seed = 20240901;
};

// The shape of the benchmark's school: 20 terms times termFactor, 60 classes
// of 50 students, 12 subjects.
SchoolShape BenchmarkShape(int termFactor = 1);
// A small school to look at: 3 terms, 4 classes of 30 to 40 students, 12 subjects.
SchoolShape DemoShape();

int SubjectCount();

struct SchoolSummary {
    int terms = 0;
    int subjects = 0;
    int classes = 0;
    int students = 0;
    qint64 plans = 0;
    qint64 standards = 0;
    qint64 grades = 0;
};

// Writes the school into a new file at path. The file is built beside the
// target and moved into place only when complete, so a failure leaves no
// half-written school. An existing file at path is refused unless replace is
// true (the caller has made sure that it may go).
DbResult WriteSchool(const QString& path, const SchoolShape& shape, bool replace,
                     SchoolSummary* summary = nullptr);

// The term code of term index i (0 is the earliest) of a shape, e.g. 20151
// for the first term of the school year 2015-2016.
int TermCode(const SchoolShape& shape, int index);
// The class code of class index c, e.g. "0103" for the third class of 初一.
QString ClassCode(const SchoolShape& shape, int index);

} // namespace schoolgen
