#include "shell/uBackup.h"

#include "data/DataFileTransfer.h"
#include "data/uDM.h"
#include "forms/uPub.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

namespace {

// Opens the connection after a copy. When the copy or that opening failed,
// the connection is opened once more and the command's message is shown; a
// connection that will not open at all goes to the top-level error report
// with the engine's own text instead. True when the copy succeeded.
bool Reconnect(const DbResult& copied, const QString& failedText)
{
    if (copied && DM->open())
        return true;
    if (!DM->open()) {
        Dialogs().errorReport(DM->lastError());
        return false;
    }
    ShowMessage(copied.fault() == DbResult::Fault::ToolMissing ? Backup::ToolMissing : failedText);
    return false;
}

DialogProvider::FileRequest backupFileRequest(const QString& title, const QString& fileName)
{
    DialogProvider::FileRequest request;
    request.title = title;
    request.directory = Backup::BackupFolder();
    request.fileName = fileName;
    request.filter = Backup::Filter;
    request.defaultSuffix = Backup::Extension;
    return request;
}

} // namespace

QString Backup::BackupFolder()
{
    const QString folder = AppPath + QStringLiteral("Bak");
    QDir().mkpath(folder);
    return folder;
}

QString Backup::DefaultBackupFile()
{
    return BackupFolder() + QLatin1Char('/') + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) +
           QLatin1Char('.') + Extension;
}

QString Backup::WithDefaultExtension(const QString& path)
{
    if (path.isEmpty() || QFileInfo(path).fileName().contains(QLatin1Char('.')))
        return path;
    return path + QLatin1Char('.') + Extension;
}

void Backup::BackUp(QWidget* parent)
{
    if (!DM)
        return;
    const QString chosen = Dialogs().saveFileName(parent, backupFileRequest(SaveTitle, DefaultBackupFile()));
    if (chosen.isEmpty())
        return;
    Reconnect(BackUpSchool(*DM, WithDefaultExtension(chosen)), BackupFailed);
}

void Backup::Restore(QWidget* parent, QString& lastFile)
{
    if (!DM)
        return;
    // A warning only: the user withdraws by cancelling the file dialog.
    ShowMessage(RestoreWarning);
    const QString chosen = Dialogs().openFileName(parent, backupFileRequest(OpenTitle, lastFile));
    if (chosen.isEmpty())
        return;
    lastFile = WithDefaultExtension(chosen);
    RestoreFrom(lastFile, RestoreFailed);
}

bool Backup::RestoreFrom(const QString& source, const QString& failedText)
{
    if (!DM)
        return false;
    return Reconnect(RestoreSchool(*DM, source), failedText);
}

bool Backup::FillFrom(const QString& dataFile, const QString& failedText)
{
    if (!DM)
        return false;
    return Reconnect(FillEmptySchool(*DM, dataFile), failedText);
}
