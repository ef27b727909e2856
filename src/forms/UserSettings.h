#pragma once

// The few choices the program remembers for each user between runs.
namespace UserSettings {

// Whether the statistics table, and what is exported or printed from it,
// shows the places (名次, 名次变化); on until the user turns it off, since
// some schools do not publish them.
bool ShowPlaces();
void SetShowPlaces(bool show);

// Whether the main window shows the operation guide (操作向导) behind its
// windows; on until the user turns it off, since a newcomer needs it most.
bool ShowGuide();
void SetShowGuide(bool show);

} // namespace UserSettings
