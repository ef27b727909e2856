#pragma once

#include <QList>
#include <QString>
#include <optional>

// Which classes are active in which term, as one moment of the plan: what the
// term/class navigator shows for as long as its window is open.
struct TermClassPlan {
    struct Class {
        QString code; // ClassCode
        QString name; // ClassName
    };
    struct Term {
        qint64 code = 0; // TermCode
        QString name;    // TermName
        // The term's classes as positions in TermClassPlan::classes, by
        // ascending ClassCode as the database sorts it.
        QList<int> classes;
    };

    QList<Class> classes; // every class, once
    QList<Term> terms;    // the terms that have a class, by ascending TermCode
};

// Reads every term–class pair whose term and class exist, all within one read
// of the data file. nullopt when the connection cannot be had or a read fails.
std::optional<TermClassPlan> ReadTermClassPlan();
