#pragma once

#include "data/DbResult.h"

#include <QtGlobal>

// How far the school has been set up, table by table, in the order in which
// a school is entered: the rows of every table but the scores, whether there
// is any score at all, and whether the school has been given its name. A count of the scores would read
// millions of rows; whether one exists reads one.
struct SchoolProgress {
    qint64 terms = 0;         // TTerm
    qint64 subjects = 0;      // TSubject
    qint64 classes = 0;       // TClass
    qint64 termClasses = 0;   // TTermToClass
    qint64 classSubjects = 0; // TClassToSubject
    qint64 students = 0;      // TStudent
    qint64 standards = 0;     // THonoursStd
    bool hasScores = false;   // TGrade
    bool named = false;       // TSchool holds a name: typed in, and lost if the school were replaced

    // Not a row in any of the eight tables, nor a name: nothing that could be lost.
    bool isEmpty() const;
};

// One statement on the program's connection, so that what it answers is one
// moment of the school. It waits only briefly for a file that another
// program is writing: it is a glance, taken again at the next occasion.
DbValue<SchoolProgress> ReadSchoolProgress();
