#include "TestSupport.h"

#include "forms/uPub.h"

TempDatabase::TempDatabase()
{
    AppPath = dir();
}
