#pragma once

struct ClassSelection;
class QString;
class QWidget;

// The score sheet commands of 成绩快速录入, for the class its navigator
// shows; with no class shown they ask for one first.
namespace ScoreSheetCommands {

// The class's score sheet, with its scores or as the import's template.
void Export(QWidget* window, const ClassSelection& shown, bool withScores);
// True when scores were stored, so the window reloads.
bool Import(QWidget* window, const ClassSelection& shown);

} // namespace ScoreSheetCommands
