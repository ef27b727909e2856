#include "forms/UserSettings.h"

#include <QSettings>

namespace {

// The user's own file, whatever the application object is called.
const QString kOrganisation = QStringLiteral("Quorvel");
const QString kApplication = QStringLiteral("学生成绩管理系统");
const QString kShowPlaces = QStringLiteral("statistics/showPlaces");

} // namespace

namespace UserSettings {

bool ShowPlaces()
{
    const QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    return settings.value(kShowPlaces, true).toBool();
}

void SetShowPlaces(bool show)
{
    QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    settings.setValue(kShowPlaces, show);
}

} // namespace UserSettings
