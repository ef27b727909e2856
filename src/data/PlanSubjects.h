#pragma once

#include "data/DbResult.h"

#include <QString>
#include <QVector>

// One subject of a class's plan in a term.
struct PlanSubject {
    QString code; // SubjCode
    QString name; // SubjName
};

// The subjects a class takes in a term (its plan, Plan::Subjects), ordered by
// subject code: the order of every table laid out over the plan.
DbValue<QVector<PlanSubject>> ReadPlanSubjects(qint64 termCode, const QString& classCode);
