#pragma once

#include <QString>

// PLACEHOLDER: declarations only until the window is built.
bool ShowStudent();
