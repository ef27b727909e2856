#include "forms/UserSettings.h"

#include <QSettings>

namespace {

// The user's own file, whatever the application object is called.
const QString kOrganisation = QStringLiteral("Quorvel");
const QString kApplication = QStringLiteral("学生成绩管理系统");
const QString kShowPlaces = QStringLiteral("statistics/showPlaces");
const QString kShowGuide = QStringLiteral("main/showGuide");

bool readFlag(const QString& key, bool byDefault)
{
    const QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    return settings.value(key, byDefault).toBool();
}

void writeFlag(const QString& key, bool value)
{
    QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    settings.setValue(key, value);
}

} // namespace

namespace UserSettings {

bool ShowPlaces()
{
    return readFlag(kShowPlaces, true);
}

void SetShowPlaces(bool show)
{
    writeFlag(kShowPlaces, show);
}

bool ShowGuide()
{
    return readFlag(kShowGuide, true);
}

void SetShowGuide(bool show)
{
    writeFlag(kShowGuide, show);
}

} // namespace UserSettings
