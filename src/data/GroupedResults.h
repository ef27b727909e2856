#pragma once

#include "data/ClassResults.h"
#include "data/DbResult.h"
#include "data/Places.h"

#include <QString>
#include <QVector>
#include <vector>

// The results of many classes or many terms at once, each read with a few
// statements for all of them instead of a few per class: the comparison of
// a term's classes, a student's history, the previous term's places. A
// failed read is returned as the failure, with nothing of what was read. Every
// value holds what LoadClassResults reads of its class and term (roster,
// plan, scores, by the same rules), except as said below.

struct NamedClass {
    QString code;
    QString name;
};

// Every class of a term, by class code, with its results (honours standards
// included; no previous term).
struct TermResults {
    qint64 termCode = 0;
    QVector<NamedClass> classes;
    std::vector<ClassResults> results; // in the order of classes
};
DbValue<TermResults> LoadTermResults(qint64 termCode);

// One class in each of the given terms, in their order: roster, plan and
// scores (no standards, no previous term).
DbValue<std::vector<ClassResults>> LoadClassInTerms(const QString& classCode, const QVector<qint64>& terms);

// The places of the class's students in the previous term of the same class
// (the "before" of 名次变化), indexed by the results' students; all none
// when there is no previous term.
DbValue<Places> ReadPreviousPlaces(const ClassResults& results);
