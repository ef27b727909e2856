#include "exchange/SheetFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace SheetFiles {

namespace {

// The user's own settings file, whatever the application object is called.
const QString kOrganisation = QStringLiteral("Quorvel");
const QString kApplication = QStringLiteral("学生成绩管理系统");
const QString kFolder = QStringLiteral("sheets/folder");

QString safePart(const QString& part)
{
    static const QString refused = QStringLiteral("\\/:*?\"<>|");
    QString safe = part.trimmed();
    for (QChar& c : safe) {
        if (refused.contains(c) || c.unicode() < 0x20)
            c = QLatin1Char('-');
    }
    return safe;
}

} // namespace

QString ProposedName(const QStringList& parts, const QString& suffix)
{
    QStringList safe;
    for (const QString& part : parts) {
        if (!part.trimmed().isEmpty())
            safe << safePart(part);
    }
    return safe.join(QLatin1Char('_')) + QLatin1Char('.') + suffix;
}

QString LastFolder()
{
    const QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    const QString folder = settings.value(kFolder).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

void RememberFolder(const QString& filePath)
{
    QSettings settings(QSettings::UserScope, kOrganisation, kApplication);
    settings.setValue(kFolder, QFileInfo(filePath).absolutePath());
}

} // namespace SheetFiles
