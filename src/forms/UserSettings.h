#pragma once

// The few choices the program remembers for each user between runs.
namespace UserSettings {

// Whether the statistics table, and what is exported or printed from it,
// shows the places (名次, 名次变化); on until the user turns it off, since
// some schools do not publish them.
bool ShowPlaces();
void SetShowPlaces(bool show);

} // namespace UserSettings
