#pragma once

#include "data/Scores.h"

#include <QString>

// What tells the grade window from the honours-standards window besides
// their table (data/Scores.h): whether a student owns the rows, and a few
// rules of entry.
struct ScoreKind {
    const ScoreTable* table;   // where the rows are kept
    bool emptyPlanRefused;     // an empty plan keeps the rows instead of clearing them
    QString completedMessage;  // shown when an initialisation has run through, or empty
    QString scoreTitle;        // the score's grid title and dialog label
    bool decimalPoint;         // whether a fraction may be typed
    QString emptyScoreMessage; // the dialog's refusal of an empty score
};

// A student's scores (window "学生成绩录入").
const ScoreKind& GradeScores();
// A class's honours standards (window "优生评定标准").
const ScoreKind& HonoursStandards();
