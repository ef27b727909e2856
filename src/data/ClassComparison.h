#pragma once

#include "data/Figures.h"
#include "data/GroupedResults.h"
#include "data/PlanSubjects.h"

#include <QString>
#include <QVector>
#include <optional>
#include <vector>

// The classes of a term side by side: per class the figures of its summary
// rows in the statistics table, for every subject that any of the classes
// takes, and its place among the term's classes by its 总分 average.
struct ClassComparison {
    struct Row {
        NamedClass klass;
        // One per compared subject; none where the class does not take it.
        std::vector<std::optional<ColumnFigures>> subjects;
        ColumnFigures total;
        Place place; // none for a class without scores
    };

    qint64 termCode = 0;
    QVector<PlanSubject> subjects; // every subject of the classes' plans, by code
    std::vector<Row> rows;         // by class code
};

ClassComparison CompareClasses(const TermResults& term);
