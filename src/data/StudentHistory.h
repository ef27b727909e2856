#pragma once

#include "data/DbResult.h"

#include <QString>
#include <QVector>

// A student's course over the terms: 总分 and 名次 in every term in which
// the statistics table of the student's class shows a score of the
// student, oldest first. Scores kept under another class code appear in no
// table of the class and so not here either.
struct StudentHistory {
    struct Term {
        qint64 termCode = 0;
        QString termName;
        double total = 0; // as the table shows it
        int place = 0;    // among the class's students with a score in that term
        int ranked = 0;   // how many students have a place
    };

    qint64 studentId = 0;
    QString name;
    QString number;
    QString classCode;
    QVector<Term> terms;
};

// Reads the history; an unknown student has an empty one.
DbValue<StudentHistory> LoadStudentHistory(qint64 studentId);
