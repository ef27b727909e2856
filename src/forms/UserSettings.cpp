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
const QString kShowGuide = QStringLiteral("main/showGuide");
const QString kPdfFolder = QStringLiteral("print/pdfFolder");
const QString kThreePerPage = QStringLiteral("print/reportCardsThreePerPage");
const QString kForInactive = QStringLiteral("print/reportCardsForInactive");

QVariant Value(const QString& key, const QVariant& byDefault)
{
    const QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    return settings.value(key, byDefault);
}

void SetValue(const QString& key, const QVariant& value)
{
    QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    settings.setValue(key, value);
}

} // namespace

namespace UserSettings {

bool ShowPlaces()
{
    return Value(kShowPlaces, true).toBool();
}

void SetShowPlaces(bool show)
{
    SetValue(kShowPlaces, show);
}

QString PdfFolder()
{
    return Value(kPdfFolder, QString()).toString();
}

void SetPdfFolder(const QString& folder)
{
    SetValue(kPdfFolder, folder);
}

bool ReportCardsThreePerPage()
{
    return Value(kThreePerPage, true).toBool();
}

void SetReportCardsThreePerPage(bool three)
{
    SetValue(kThreePerPage, three);
}

bool ReportCardsForInactive()
{
    return Value(kForInactive, false).toBool();
}

void SetReportCardsForInactive(bool include)
{
    SetValue(kForInactive, include);
}

QString SheetFolder()
{
    const QString folder = Value(kSheetFolder, QString()).toString();
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

void SetSheetFolder(const QString& folder)
{
    SetValue(kSheetFolder, folder);
}

bool ShowGuide()
{
    return Value(kShowGuide, true).toBool();
}

void SetShowGuide(bool show)
{
    SetValue(kShowGuide, show);
}

} // namespace UserSettings
