#include "exchange/ScoreImport.h"

#include "data/Plan.h"
#include "data/Roster.h"
#include "data/Scores.h"
#include "exchange/CellValues.h"
#include "exchange/ImportTexts.h"
#include "exchange/RosterFields.h"
#include "exchange/SchoolIndex.h"
#include "exchange/SheetHeader.h"
#include "statistics/SummaryRows.h"

#include <QHash>
#include <QSet>

#include <cmath>

namespace {

constexpr int kProgressEvery = 200;

// Titles of columns that hold no subject: the program's own exports have them.
const QSet<QString>& OtherTitles()
{
    static const QSet<QString> titles{NameTitle,
                                      NumberTitle,
                                      ClassTitle,
                                      QStringLiteral("总分"),
                                      QStringLiteral("名次"),
                                      QStringLiteral("名次变化"),
                                      QStringLiteral("上学期总分"),
                                      QStringLiteral("序号")};
    return titles;
}

struct Subject {
    QString code;
    QString name;
};

// The subjects of every class of the term, by class.
using Plans = QHash<QString, QVector<Subject>>;

// The subject a title names in a class's plan: by name, else by code.
struct SubjectMatch {
    QString code;
    bool ambiguous = false;
};
SubjectMatch matchSubject(const QVector<Subject>& plan, const QString& title)
{
    SubjectMatch match;
    int named = 0;
    for (const Subject& s : plan) {
        if (SheetHeader::Normalised(s.name) == title) {
            match.code = s.code;
            ++named;
        }
    }
    match.ambiguous = named > 1;
    if (named == 0) {
        for (const Subject& s : plan) {
            if (s.code == title)
                match.code = s.code;
        }
    }
    return match;
}

struct GradeKey {
    QString classCode;
    int studentId;
    QString subjectCode;
    bool operator==(const GradeKey& o) const
    {
        return studentId == o.studentId && subjectCode == o.subjectCode && classCode == o.classCode;
    }
};
size_t qHash(const GradeKey& key, size_t seed = 0)
{
    return qHashMulti(seed, key.classCode, key.studentId, key.subjectCode);
}

using StoredGrade = ScoreImport::Read;

// The term's grade rows in the plan's scope, by class, student and subject.
DbValue<QHash<GradeKey, QVector<StoredGrade>>> ReadStored(int termCode, const QString& classCode)
{
    const DbValue<RowSet> grades = Db::select(Scores::TermGrades(termCode, classCode));
    if (!grades)
        return DbResult(grades);
    QHash<GradeKey, QVector<StoredGrade>> stored;
    stored.reserve(grades->rowCount());
    const int id = grades->indexOf(QStringLiteral("ID"));
    const int klass = grades->indexOf(QStringLiteral("ClassCode"));
    const int student = grades->indexOf(QStringLiteral("StudentID"));
    const int subject = grades->indexOf(QStringLiteral("SubjectCode"));
    const int score = grades->indexOf(QStringLiteral("Score"));
    for (int r = 0; r < grades->rowCount(); ++r)
        stored[{grades->value(r, klass).toString(), grades->value(r, student).toInt(),
                grades->value(r, subject).toString()}]
            .append({grades->value(r, id).toLongLong(), grades->value(r, score).toDouble()});
    return stored;
}

bool sameScore(double a, double b)
{
    return std::fabs(a - b) < 1e-9;
}

} // namespace

DbValue<ScoreImport> PlanScoreImport(const Sheets::Table& sheet, const ScoreTarget& target,
                                     ImportProgress* progress)
{
    ScoreImport plan;
    plan.termCode = target.termCode;
    plan.preview.ofScores = true;
    const std::optional<SheetHeader> header = SheetHeader::Find(sheet, {NameTitle, NumberTitle});
    if (!header) {
        plan.preview.addFileProblem(1, ImportText::NoHeader);
        return plan;
    }
    const int numberColumn = header->column(NumberTitle);
    const int nameColumn = header->column(NameTitle);
    const int classColumn = header->column(ClassTitle);
    for (const QString& twice : header->repeated({NameTitle, NumberTitle, ClassTitle}))
        plan.preview.addFileProblem(header->line(), ImportText::TitleTwice.arg(twice));
    if (classColumn < 0 && target.classCode.isEmpty())
        plan.preview.addFileProblem(header->line(), ImportText::NoClassChosen);

    ClassNames classes;
    const DbValue<RowSet> active = Db::select(Plan::ActiveClasses(target.termCode));
    if (!active)
        return DbResult(active);
    for (int r = 0; r < active->rowCount(); ++r)
        classes.add(active->text(r, QStringLiteral("ClassCode")),
                    active->text(r, QStringLiteral("ClassName")));

    Plans plans;
    const DbValue<RowSet> planned = Db::select(Plan::SubjectsOfTerm(target.termCode));
    if (!planned)
        return DbResult(planned);
    for (int r = 0; r < planned->rowCount(); ++r)
        plans[planned->text(r, QStringLiteral("ClassCode"))].append(
            {planned->text(r, QStringLiteral("SubjCode")), planned->text(r, QStringLiteral("SubjName"))});

    // Subject columns: every title but the known others; one that no class
    // of the import takes is unknown.
    struct SubjectColumn {
        int column;
        QString title;
    };
    QVector<SubjectColumn> subjectColumns;
    QStringList subjectTitles;
    for (const SheetHeader::Title& t : header->titles()) {
        if (OtherTitles().contains(t.text))
            continue;
        bool known = false;
        for (auto p = plans.cbegin(); p != plans.cend() && !known; ++p) {
            if (classColumn < 0 && p.key() != target.classCode)
                continue;
            known = !matchSubject(p.value(), t.text).code.isEmpty();
        }
        if (!known && (classColumn >= 0 || !target.classCode.isEmpty()))
            plan.preview.addFileProblem(header->line(), ImportText::UnknownSubject.arg(t.text));
        subjectColumns.append({t.column, t.text});
        subjectTitles << t.text;
    }
    for (const QString& twice : header->repeated(subjectTitles))
        plan.preview.addFileProblem(header->line(), ImportText::TitleTwice.arg(twice));

    const DbValue<RowSet> school = Db::select(Roster::School());
    if (!school)
        return DbResult(school);
    const StudentIndex students(*school);

    plan.classCode = classColumn < 0 ? target.classCode : QString();
    const DbValue<QHash<GradeKey, QVector<StoredGrade>>> read = ReadStored(target.termCode, plan.classCode);
    if (!read)
        return DbResult(read);
    const QHash<GradeKey, QVector<StoredGrade>>& stored = *read;

    QHash<int, int> firstRowOf; // student ID to the position of its first row in the preview
    QVector<QVector<ScoreImport::Change>> rowChanges; // by position among the sheet's rows
    const int firstRow = plan.preview.rows.size();    // after the problems of the header
    const int total = sheet.rowCount() - header->row() - 1;
    for (int r = header->row() + 1; r < sheet.rowCount(); ++r) {
        if (progress && (r - header->row()) % kProgressEvery == 0 &&
            !progress->advance(r - header->row(), total)) {
            plan.cancelled = true;
            return plan;
        }
        const Sheets::Cell& numberCell = sheet.cell(r, numberColumn);
        const QString numberText = numberColumn >= 0 ? numberCell.trimmed() : QString();
        const QString nameText = nameColumn >= 0 ? sheet.cell(r, nameColumn).trimmed() : QString();
        // Titles, blank lines and the summary rows under a statistics table
        // are no students.
        if (numberText.isEmpty() && (nameText.isEmpty() || SummaryRows::Labels().contains(nameText)))
            continue;
        PreviewRow row;
        row.line = r + 1;
        row.name = nameText;
        row.number = numberText;

        QString classCode = target.classCode;
        row.className = target.className;
        if (classColumn >= 0)
            classCode = classes.classOfRow(sheet.cell(r, classColumn).trimmed(), ImportText::ClassNotInTerm,
                                           row.className, row.problems);

        std::optional<int> index;
        if (!numberText.isEmpty()) {
            const CellValues::StudentNumber read = CellValues::ReadStudentNumber(numberCell);
            if (!read.problem.isEmpty()) {
                row.problems << read.problem;
            } else if (!classCode.isEmpty()) {
                QVector<int> found = students.byNumber(classCode, read.number);
                if (found.isEmpty() && read.fromNumberCell)
                    found = students.byNumberValue(classCode, read.number);
                if (found.size() == 1)
                    index = found.constFirst();
                else if (found.size() > 1)
                    row.problems << ImportText::NumberAmbiguous.arg(read.number);
                else if (students.numbersUniqueInSchool() &&
                         students.numberInOtherClass(classCode, read.number))
                    row.problems << ImportText::NumberOfOtherClass;
                else
                    row.problems << ImportText::UnknownNumber.arg(read.number);
                if (index && !nameText.isEmpty() && students.at(*index).student.SName.trimmed() != nameText)
                    row.problems << ImportText::NameMismatch.arg(read.number,
                                                                 students.at(*index).student.SName);
            }
        } else if (!classCode.isEmpty()) {
            const QVector<int> found = students.byName(classCode, nameText);
            if (found.size() == 1)
                index = found.constFirst();
            else if (found.size() > 1)
                row.problems << ImportText::NameAmbiguous.arg(nameText);
            else
                row.problems << ImportText::UnknownName.arg(nameText);
        }

        const int studentId = index ? students.at(*index).id : 0;
        if (index) {
            row.name = students.at(*index).student.SName;
            row.number = students.at(*index).student.SNumber;
            const auto first = firstRowOf.constFind(studentId);
            if (first != firstRowOf.cend()) {
                PreviewRow& earlier = plan.preview.rows[first.value()];
                row.problems << ImportText::StudentTwice.arg(earlier.line);
                if (!earlier.problems.contains(ImportText::StudentTwice.arg(row.line)))
                    earlier.problems << ImportText::StudentTwice.arg(row.line);
            } else {
                firstRowOf.insert(studentId, plan.preview.rows.size());
            }
        }

        int added = 0;
        int replaced = 0;
        QVector<ScoreImport::Change> changes;
        const QVector<Subject> classPlan = plans.value(classCode);
        for (const SubjectColumn& c : subjectColumns) {
            const Sheets::Cell& cell = sheet.cell(r, c.column);
            if (cell.trimmed().isEmpty())
                continue; // an empty cell keeps the stored score
            const std::optional<double> score = CellValues::ReadScore(cell);
            if (!score) {
                row.problems << ImportText::NotScore.arg(c.title, cell.trimmed());
                continue;
            }
            if (classCode.isEmpty())
                continue;
            const SubjectMatch subject = matchSubject(classPlan, c.title);
            if (subject.ambiguous) {
                row.problems << ImportText::SubjectAmbiguous.arg(c.title);
                continue;
            }
            if (subject.code.isEmpty()) {
                row.problems << ImportText::SubjectNotPlanned.arg(c.title);
                continue;
            }
            if (!index)
                continue;
            const QVector<StoredGrade> rows = stored.value({classCode, studentId, subject.code});
            ScoreImport::Change change{classCode, studentId, subject.code, *score, {}};
            bool differs = rows.isEmpty();
            for (const StoredGrade& g : rows) {
                change.rows << g;
                differs = differs || !sameScore(g.score, *score);
            }
            if (!differs)
                continue;
            (rows.isEmpty() ? added : replaced) += 1;
            changes.append(change);
        }

        QStringList action;
        if (added > 0)
            action << ImportText::ScoresAdded.arg(added);
        if (replaced > 0)
            action << ImportText::ScoresReplaced.arg(replaced);
        row.action = action.isEmpty() ? ImportText::Unchanged : action.join(QStringLiteral("，"));
        row.scoresAdded = added;
        row.scoresReplaced = replaced;
        row.outcome = replaced > 0 ? PreviewRow::Outcome::Updated
                      : added > 0  ? PreviewRow::Outcome::Added
                                   : PreviewRow::Outcome::Unchanged;
        plan.preview.rows.append(row);
        rowChanges.append(changes);
    }
    // A row may get its problem from a later one (the same student again):
    // only now is it known which rows are imported.
    for (int i = 0; i < rowChanges.size(); ++i) {
        if (plan.preview.rows.at(firstRow + i).problems.isEmpty())
            plan.changes += rowChanges.at(i);
    }
    plan.preview.tally();
    return plan;
}

DbValue<Stored> StoreScoreImport(const ScoreImport& plan, ImportProgress* progress)
{
    if (plan.preview.hasProblems() || plan.cancelled)
        return DbResult::failed(QStringLiteral("an import with problems is not stored"));
    Transaction transaction(Transaction::Kind::Write);
    if (!transaction.isStarted())
        return DbResult::failed(QStringLiteral("no transaction"));
    QSet<qint64> students;
    for (const ScoreImport::Change& change : plan.changes)
        students.insert(change.studentId);
    if (!students.isEmpty()) {
        if (DbResult locked = transaction.lock(Roster::StudentRows(students.values()), false); !locked)
            return locked;
    }
    const DbValue<QHash<GradeKey, QVector<StoredGrade>>> now = ReadStored(plan.termCode, plan.classCode);
    if (!now)
        return DbResult(now);
    for (const ScoreImport::Change& change : plan.changes) {
        if (now->value({change.classCode, change.studentId, change.subjectCode}) != change.rows)
            return DbResult::conflict(QStringLiteral("a score of the import was changed meanwhile"));
    }
    Scores::GradeWriter writer;
    const int total = plan.changes.size();
    for (int i = 0; i < total; ++i) {
        if (progress && i % (kProgressEvery * 5) == 0 && !progress->advance(i, total))
            return Stored::Cancelled; // the transaction rolls back
        const ScoreImport::Change& change = plan.changes.at(i);
        if (change.rows.isEmpty()) {
            if (DbResult done = writer.insert(plan.termCode, change.classCode, change.studentId,
                                              change.subjectCode, change.score);
                !done)
                return done;
            continue;
        }
        for (const StoredGrade& row : change.rows) {
            if (DbResult done = writer.setScore(row.id, change.score); !done)
                return done;
        }
    }
    if (DbResult done = writer.flush(); !done)
        return done;
    if (DbResult done = transaction.commit(); !done)
        return done;
    return Stored::Done;
}
