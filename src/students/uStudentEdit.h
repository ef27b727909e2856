#pragma once

#include <QString>

// PLACEHOLDER: declarations only until the window is built.
bool ShowStudentEdit(int ID, const QString& ClassCode, const QString& ClassName);
