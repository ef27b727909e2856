#include "TestSupport.h"

#include "forms/uPub.h"

#include <QSettings>

TempDatabase::TempDatabase(Engine engine) : TempDataFile(engine)
{
    AppPath = dir();
}

TempUserSettings::TempUserSettings()
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
}
