#pragma once

#include <QString>

// The few choices the program remembers for each user between runs.
namespace UserSettings {

// Whether the statistics table, and what is exported or printed from it,
// shows the places (名次, 名次变化); on until the user turns it off, since
// some schools do not publish them.
bool ShowPlaces();
void SetShowPlaces(bool show);

// The folder the last PDF was written to; empty before the first.
QString PdfFolder();
void SetPdfFolder(const QString& folder);

// How 成绩通知单 are printed: three to a page with cut lines (the default)
// or one; and whether students no longer in school (不在校) get one too (not
// by default).
bool ReportCardsThreePerPage();
void SetReportCardsThreePerPage(bool three);
bool ReportCardsForInactive();
void SetReportCardsForInactive(bool include);

// The folder the user last chose a spreadsheet in, for the next file dialog;
// the home folder the first time, or when it has gone.
QString SheetFolder();
void SetSheetFolder(const QString& folder);

// Whether the main window shows the operation guide (操作向导) behind its
// windows; on until the user turns it off, since a newcomer needs it most.
bool ShowGuide();
void SetShowGuide(bool show);

} // namespace UserSettings
