#pragma once

#include "data/DbResult.h"
#include "exchange/ImportPreview.h"
#include "sheets/Table.h"

// Bringing a term's scores in from a sheet: for the class shown, or for every
// class of the term when the sheet has a column "班级".
struct ScoreTarget {
    int termCode = 0;
    QString classCode; // empty when no class is shown
    QString className;
};

struct ScoreImport {
    // A grade row as the plan read it.
    struct Read {
        qint64 id = 0;
        double score = 0;
        bool operator==(const Read& other) const { return id == other.id && score == other.score; }
    };
    struct Change {
        QString classCode;
        int studentId = 0;
        QString subjectCode;
        double score = 0;
        QVector<Read> rows; // the grade rows the score replaces; none: a new row
    };

    ImportPreview preview;
    int termCode = 0;
    QString classCode;       // the one class read, or empty: the whole term
    QVector<Change> changes; // every score that is new or differs from the stored one
    bool cancelled = false;
};

// Reads the sheet against the term's classes, their plans, students and
// grades. Rows are matched by 学号, or by 姓名 where a row has no 学号 and
// the name is unique in the class; columns by the subject names of the
// class's plan. An empty score cell keeps the stored score; rows without 学号
// and 姓名 and columns such as 总分 and 名次 are passed over, so that an
// export of the statistics table reads back. Nothing is written.
DbValue<ScoreImport> PlanScoreImport(const Sheets::Table& sheet, const ScoreTarget& target,
                                     ImportProgress* progress = nullptr);

// Stores every change of a plan without problems in one transaction: each
// score into every row of its student and subject in the term and class, or
// into a new row; all or nothing. The students are locked first, as every
// writer of their scores does; a score another clerk stored, changed or
// removed since the plan read it is a conflict, and nothing is stored.
DbValue<Stored> StoreScoreImport(const ScoreImport& plan, ImportProgress* progress = nullptr);
