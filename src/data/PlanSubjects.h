#pragma once

#include <QString>
#include <QVector>
#include <optional>

// One subject of a class's plan in a term.
struct PlanSubject {
    QString code; // SubjCode
    QString name; // SubjName
};

// The subjects a class takes in a term (its plan), ordered by subject code:
// the order of every table laid out over the plan. nullopt when the read failed.
std::optional<QVector<PlanSubject>> ReadPlanSubjects(qint64 termCode, const QString& classCode);
