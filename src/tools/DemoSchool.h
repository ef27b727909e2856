#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QTextStream;

// The command that writes the demo school, so that a newcomer sees every
// window filled without typing a school in first.
namespace schoolgen {

// What is at the place the demo school would go.
enum class Target {
    Missing,       // nothing: the school is written
    EmptyDatabase, // a data file of this system without a single row: nothing to lose
    Occupied,      // anything else: only replaced when the user says so
};
Target InspectTarget(const QString& path);

// db/Student.dat beside the program, where the program looks for it.
QString DefaultDataFile();

// grades-demo [--force] [FILE]: writes the demo school into FILE or into the
// default data file. An occupied target is replaced only with --force or
// when confirm (asked with the question's text) says yes. Returns the exit
// code; every message goes to out or err.
int RunDemoCommand(const QStringList& arguments, QTextStream& out, QTextStream& err,
                   const std::function<bool(const QString&)>& confirm);

} // namespace schoolgen
