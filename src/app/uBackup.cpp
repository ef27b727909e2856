#include "app/uBackup.h"

#include "app/uMain.h"
#include "app/uPub.h"
#include "data/DataFileTransfer.h"
#include "data/uDM.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <stdexcept>

namespace {

// Opens the connection after a copy. When the copy or that opening failed,
// the connection is opened once more and the command's message is shown; a
// connection that will not open at all goes to the top-level error report
// with the engine's own text.
void Reconnect(bool copied, const QString& failedText)
{
    if (copied && DM->open())
        return;
    if (!DM->open())
        throw std::runtime_error(DM->lastError().toStdString());
    ShowMessage(failedText);
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

void TfrmMain::mnuBakClick()
{
    if (!DM)
        return;
    const QString chosen =
        Dialogs().saveFileName(this, backupFileRequest(Backup::SaveTitle, Backup::DefaultBackupFile()));
    if (chosen.isEmpty())
        return;
    DM->close();
    Reconnect(BackupDataFile(DM->dataFile(), Backup::WithDefaultExtension(chosen)), Backup::BackupFailed);
}

void TfrmMain::mnuRestoreClick()
{
    if (!DM)
        return;
    // A warning only: the user withdraws by cancelling the file dialog.
    ShowMessage(Backup::RestoreWarning);
    const QString chosen =
        Dialogs().openFileName(this, backupFileRequest(Backup::OpenTitle, m_lastRestoreFile));
    if (chosen.isEmpty())
        return;
    m_lastRestoreFile = Backup::WithDefaultExtension(chosen);
    Reconnect(RestoreDataFile(*DM, m_lastRestoreFile), Backup::RestoreFailed);
}
