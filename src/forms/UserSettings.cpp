#include "forms/UserSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

// The user's own file, whatever the application object is called.
const QString kOrganisation = QStringLiteral("Quorvel");
const QString kApplication = QStringLiteral("学生成绩管理系统");
const QString kShowPlaces = QStringLiteral("statistics/showPlaces");
const QString kSheetFolder = QStringLiteral("sheets/folder");

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

QString SheetFolder()
{
    const QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    const QString folder = settings.value(kSheetFolder).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void SetSheetFolder(const QString& folder)
{
    QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    settings.setValue(kSheetFolder, folder);
}

} // namespace UserSettings
