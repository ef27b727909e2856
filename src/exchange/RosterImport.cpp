#include "exchange/RosterImport.h"

#include "data/CodeTables.h"
#include "exchange/CellValues.h"
#include "exchange/ImportTexts.h"
#include "exchange/RosterFields.h"
#include "exchange/SchoolIndex.h"
#include "exchange/SheetHeader.h"

#include <QHash>

namespace {

constexpr int kProgressEvery = 200;

struct SheetColumn {
    const RosterField* field;
    int column;
};

// The columns of the sheet under the roster's titles (or the dialog's labels).
QVector<SheetColumn> matchColumns(const SheetHeader& header)
{
    QVector<SheetColumn> columns;
    for (const RosterField& field : RosterFields()) {
        int column = header.column(field.title);
        if (column < 0)
            column = header.column(field.label);
        if (column >= 0)
            columns.append({&field, column});
    }
    return columns;
}

// A column given twice would leave it open which one counts.
QStringList repeatedTitles(const SheetHeader& header, const QVector<SheetColumn>& columns)
{
    QStringList twice = header.repeated({ClassTitle});
    for (const SheetColumn& c : columns) {
        int count = 0;
        for (const SheetHeader::Title& t : header.titles())
            count += (t.text == c.field->title || t.text == c.field->label) ? 1 : 0;
        if (count > 1)
            twice << c.field->title;
    }
    return twice;
}

int columnOf(const QVector<SheetColumn>& columns, Roster::Column wanted)
{
    for (const SheetColumn& c : columns) {
        if (c.field->column == wanted)
            return c.column;
    }
    return -1;
}

bool isBlankRow(const Sheets::Table& sheet, int row, const QVector<SheetColumn>& columns, int classColumn)
{
    if (classColumn >= 0 && !sheet.cell(row, classColumn).trimmed().isEmpty())
        return false;
    for (const SheetColumn& c : columns) {
        if (!sheet.cell(row, c.column).trimmed().isEmpty())
            return false;
    }
    return true;
}

// A text column's value: the cell as it reads, a number as its digits.
QString textValue(const Sheets::Cell& cell, Roster::Column column)
{
    if (column == Roster::Column::SName || column == Roster::Column::SNumber)
        return cell.trimmed();
    return cell.text();
}

QString changedTitles(const Roster::Student& before, const Roster::Student& after,
                      const QVector<SheetColumn>& columns)
{
    QStringList titles;
    for (const SheetColumn& c : columns) {
        if (Roster::Value(before, c.field->column) != Roster::Value(after, c.field->column))
            titles << c.field->title;
    }
    return titles.join(QStringLiteral("、"));
}

Roster::Student newStudent(const QString& classCode)
{
    // The student dialog's defaults: empty texts, the number "0", in school.
    Roster::Student s;
    s.ClassCode = classCode;
    s.SNumber = QStringLiteral("0");
    return s;
}

} // namespace

DbValue<RosterImport> PlanRosterImport(const Sheets::Table& sheet, const RosterTarget& target,
                                       ImportProgress* progress)
{
    RosterImport plan;
    const std::optional<SheetHeader> header = SheetHeader::Find(sheet, {NameTitle, NumberTitle});
    if (!header) {
        plan.preview.addFileProblem(1, ImportText::NoHeader);
        return plan;
    }
    const QVector<SheetColumn> columns = matchColumns(*header);
    const int classColumn = header->column(ClassTitle);
    for (const QString& twice : repeatedTitles(*header, columns))
        plan.preview.addFileProblem(header->line(), ImportText::TitleTwice.arg(twice));
    if (classColumn < 0 && target.classCode.isEmpty())
        plan.preview.addFileProblem(header->line(), ImportText::NoClassChosen);
    for (const SheetColumn& c : columns)
        plan.columns << c.field->column;

    ClassNames classes;
    if (classColumn >= 0) {
        const DbValue<RowSet> read = Db::select(CodeTables::List(CodeTables::Classes()));
        if (!read)
            return DbResult(read);
        for (int r = 0; r < read->rowCount(); ++r)
            classes.add(read->text(r, QStringLiteral("ClassCode")),
                        read->text(r, QStringLiteral("ClassName")));
    }
    const DbValue<RowSet> school = Db::select(Roster::School());
    if (!school)
        return DbResult(school);
    const StudentIndex students(*school);

    const int numberColumn = columnOf(columns, Roster::Column::SNumber);
    const int nameColumn = columnOf(columns, Roster::Column::SName);
    // A school that numbers its students throughout has each number once; one
    // that numbers them by seat has each in every class.
    const bool numbersThroughout = students.numbersUniqueInSchool();
    const auto classOfRow = [&](int r) {
        return classColumn < 0
                   ? target.classCode
                   : classes.find(sheet.cell(r, classColumn).trimmed(), ImportText::UnknownClass).code;
    };
    const auto numberKey = [&](int r, const QString& number) {
        return numbersThroughout ? number : classOfRow(r) + QChar(0x1F) + number;
    };
    // Where each student number stands in the sheet, for the ones given twice.
    QHash<QString, QVector<int>> numberLines;
    if (numberColumn >= 0) {
        for (int r = header->row() + 1; r < sheet.rowCount(); ++r) {
            const CellValues::StudentNumber read = CellValues::ReadStudentNumber(sheet.cell(r, numberColumn));
            if (!read.number.isEmpty())
                numberLines[numberKey(r, read.number)] << r + 1;
        }
    }

    const int total = sheet.rowCount() - header->row() - 1;
    for (int r = header->row() + 1; r < sheet.rowCount(); ++r) {
        if (progress && (r - header->row()) % kProgressEvery == 0 &&
            !progress->advance(r - header->row(), total)) {
            plan.cancelled = true;
            return plan;
        }
        if (isBlankRow(sheet, r, columns, classColumn))
            continue;
        PreviewRow row;
        row.line = r + 1;

        QString classCode = target.classCode;
        row.className = target.className;
        if (classColumn >= 0)
            classCode = classes.classOfRow(sheet.cell(r, classColumn).trimmed(), ImportText::UnknownClass,
                                           row.className, row.problems);

        std::optional<int> index; // the student of the class the row updates
        if (numberColumn >= 0) {
            const CellValues::StudentNumber read = CellValues::ReadStudentNumber(sheet.cell(r, numberColumn));
            row.number = read.number.isEmpty() ? sheet.cell(r, numberColumn).trimmed() : read.number;
            if (!read.problem.isEmpty()) {
                row.problems << read.problem;
            } else if (read.number.isEmpty()) {
                row.problems << ImportText::NoNumber;
            } else {
                for (int line : numberLines.value(numberKey(r, read.number))) {
                    if (line != row.line)
                        row.problems << ImportText::NumberTwice.arg(read.number).arg(line);
                }
                if (!classCode.isEmpty()) {
                    const QVector<int> found = students.byNumber(classCode, read.number);
                    if (found.size() == 1)
                        index = found.constFirst();
                    else if (found.size() > 1)
                        row.problems << ImportText::NumberAmbiguous.arg(read.number);
                    else if (numbersThroughout && students.numberInOtherClass(classCode, read.number))
                        row.problems << ImportText::NumberOfOtherClass;
                }
            }
        }

        const Roster::Student before = index ? students.at(*index).student : newStudent(classCode);
        Roster::Student after = before;
        for (const SheetColumn& c : columns) {
            const Sheets::Cell& cell = sheet.cell(r, c.column);
            if (!c.field->flagItems) {
                Roster::SetValue(after, c.field->column, textValue(cell, c.field->column));
                continue;
            }
            if (cell.trimmed().isEmpty())
                continue; // an empty flag keeps what the student has, or the default
            const std::optional<int> flag = CellValues::ReadFlag(cell, *c.field->flagItems);
            if (flag)
                Roster::SetValue(after, c.field->column, *flag);
            else
                row.problems << ImportText::FlagUnknown.arg(c.field->title, cell.trimmed(),
                                                            CellValues::FlagChoices(*c.field->flagItems));
        }
        row.name = after.SName;
        if (numberColumn < 0)
            row.number = after.SNumber;
        if (after.SName.trimmed().isEmpty() && (nameColumn >= 0 || !index))
            row.problems.prepend(ImportText::NoName);

        if (!index) {
            row.action = ImportText::Added;
            row.outcome = PreviewRow::Outcome::Added;
        } else if (const QString changed = changedTitles(before, after, columns); !changed.isEmpty()) {
            row.action = ImportText::Updated + QStringLiteral("（") + changed + QStringLiteral("）");
            row.outcome = PreviewRow::Outcome::Updated;
        } else {
            row.action = ImportText::Unchanged;
        }
        if (row.problems.isEmpty() && row.outcome != PreviewRow::Outcome::Unchanged)
            plan.changes.append({index ? std::optional<RowImage>(before.read) : std::nullopt, after});
        plan.preview.rows.append(row);
    }
    plan.preview.tally();
    return plan;
}

DbValue<Stored> StoreRosterImport(const RosterImport& plan, ImportProgress* progress)
{
    if (plan.preview.hasProblems() || plan.cancelled)
        return DbResult::failed(QStringLiteral("an import with problems is not stored"));
    Transaction transaction(Transaction::Kind::Write);
    if (!transaction.isStarted())
        return DbResult::failed(QStringLiteral("no transaction"));
    Roster::ImportWriter writer(plan.columns);
    const int total = plan.changes.size();
    for (int i = 0; i < total; ++i) {
        if (progress && i % kProgressEvery == 0 && !progress->advance(i, total))
            return Stored::Cancelled; // the transaction rolls back
        const RosterImport::Change& change = plan.changes.at(i);
        const DbResult stored =
            change.read ? writer.update(*change.read, change.student) : writer.insert(change.student);
        if (!stored)
            return DbResult(stored);
    }
    if (DbResult done = transaction.commit(); !done)
        return done;
    return Stored::Done;
}
