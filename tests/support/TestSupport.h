#pragma once

// What the window tests need besides driving windows (WindowDrivers.h): a
// data file of their own, in the program directory, with small fixtures.

#include "TempDataFile.h"
#include "WindowDrivers.h"

// A TempDataFile whose folder is the program directory: AppPath points there
// for the test's lifetime.
class TempDatabase : public TempDataFile {
public:
    TempDatabase();
};
