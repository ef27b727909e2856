#include "tools/DemoSchool.h"

#include "data/uDM.h"
#include "tools/SchoolGenerator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTextStream>
#include <QUuid>

namespace schoolgen {

namespace {

// True when every table of the file is empty; the file is only read.
bool holdsNoRows(const QString& path)
{
    const QString name = QStringLiteral("demo-check-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool empty = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.setDatabaseName(path);
        if (!db.open()) {
            empty = false;
        } else {
            for (const QString& table : TDM::tableNames()) {
                QSqlQuery q(db);
                if (!q.exec(QStringLiteral("select 1 from ") + table + QStringLiteral(" limit 1")) ||
                    q.next()) {
                    empty = false;
                    break;
                }
            }
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return empty;
}

const char* const kUsage =
    "usage: grades-demo [--force] [FILE]\n"
    "Writes a small demo school (3 terms, 4 classes of 30 to 40 students, 12 subjects,\n"
    "honours standards and scores) into FILE, or into db/Student.dat beside the program.\n"
    "A file that holds data is only replaced with --force or after you confirm.\n";

} // namespace

Target InspectTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return Target::Missing;
    if (info.isFile() && TDM::isGradeDatabase(path) && holdsNoRows(path))
        return Target::EmptyDatabase;
    return Target::Occupied;
}

QString DefaultDataFile()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("db/Student.dat"));
}

int RunDemoCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                   const std::function<bool(const QString&)>& confirm)
{
    bool force = false;
    QString file;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--force")) {
            force = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            out << kUsage;
            return 0;
        } else if (argument.startsWith(QLatin1Char('-')) || !file.isEmpty()) {
            err << kUsage;
            return 2;
        } else {
            file = argument;
        }
    }
    if (file.isEmpty())
        file = DefaultDataFile();
    file = QFileInfo(file).absoluteFilePath();

    if (QFileInfo(file).isDir()) {
        err << "grades-demo: " << file << " is a folder; name the data file itself.\n";
        return 1;
    }
    const Target target = InspectTarget(file);
    if (target == Target::Occupied && !force) {
        const QString question = file + QStringLiteral(" already exists and may hold a school's data. "
                                                       "Replace it with the demo school?");
        if (!confirm || !confirm(question)) {
            err << "grades-demo: " << file << " already exists; nothing was written.\n"
                << "Name another file, or add --force to replace it.\n";
            return 1;
        }
    }

    SchoolSummary summary;
    if (const DbResult written = WriteSchool(file, DemoShape(), target != Target::Missing, &summary);
        !written) {
        err << "grades-demo: the demo school could not be written to " << file << ": " << written.error()
            << "\n";
        return 1;
    }
    out << "Demo school written to " << file << ":\n"
        << "  " << summary.terms << " terms, " << summary.classes << " classes, " << summary.students
        << " students, " << summary.subjects << " subjects, " << summary.standards << " honours standards, "
        << summary.grades << " scores.\n";
    if (file == DefaultDataFile())
        out << "Start "
            << QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("StudentGrades"))
            << " to see it.\n";
    else
        out << "The program reads db/Student.dat beside itself: copy the file there to see it.\n";
    return 0;
}

} // namespace schoolgen
