#pragma once

// What the window tests need besides driving windows (WindowDrivers.h): a
// data file of their own, in the program directory, with small fixtures,
// and the user's remembered choices kept apart.

#include "TempDataFile.h"
#include "WindowDrivers.h"

#include <QTemporaryDir>

// A TempDataFile whose folder is the program directory: AppPath points there
// for the test's lifetime.
class TempDatabase : public TempDataFile {
public:
    explicit TempDatabase(Engine engine = TestEngine());
};

// The user's remembered choices kept in a temporary folder for the test's
// lifetime, so that tests neither read nor change the real user's.
class TempUserSettings {
public:
    TempUserSettings();

private:
    QTemporaryDir m_dir;
};
