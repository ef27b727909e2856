#include "app/uBackup.h"

#include "app/uMain.h"
#include "app/uPub.h"
#include "data/uDM.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

std::filesystem::path nativePath(const QString& path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

bool failWith(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}

// The bytes must be on the disk before the copy replaces anything.
bool syncToDisk(QFile& file)
{
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

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

bool Backup::SameFile(const QString& a, const QString& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(nativePath(a), nativePath(b), ec) && !ec;
}

bool CopyDataFile(const QString& source, const QString& destination, QString* why, const CopyCheck& check)
{
    QFile in(source);
    if (!QFileInfo(source).isFile())
        return failWith(why, QStringLiteral("%1 is not a file").arg(source));
    if (!in.open(QIODevice::ReadOnly))
        return failWith(why, in.errorString());

    // Replace what a link points to, not the link.
    QFileInfo target(destination);
    if (target.isSymLink())
        target = QFileInfo(target.symLinkTarget());
    if (Backup::SameFile(source, target.absoluteFilePath()))
        return failWith(why, QStringLiteral("%1 cannot be copied onto itself").arg(source));
    if (target.exists() && !target.isFile())
        return failWith(why, QStringLiteral("%1 is not a file").arg(target.absoluteFilePath()));
    // A rename would replace a read-only file all the same; the user protected
    // it. The file's own write bits count even for an administrator, whom
    // access() lets write anything.
    const QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (target.exists() && (!target.isWritable() || !(target.permissions() & anyWrite)))
        return failWith(why, QStringLiteral("%1 is read-only").arg(target.absoluteFilePath()));

    QTemporaryFile copy(target.absoluteFilePath() + QStringLiteral(".XXXXXX.tmp"));
    if (!copy.open())
        return failWith(why, copy.errorString());
    copy.setPermissions(target.exists()
                            ? target.permissions()
                            : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                                  QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);

    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0)
            return failWith(why, in.errorString());
        if (n == 0)
            break;
        if (copy.write(buffer, n) != n)
            return failWith(why, copy.errorString());
    }
    if (!syncToDisk(copy))
        return failWith(why, copy.errorString());
    copy.close();
    in.close();

    if (check && !check(copy.fileName(), why))
        return false;

    std::error_code ec;
    std::filesystem::rename(nativePath(copy.fileName()), nativePath(target.absoluteFilePath()), ec);
    if (ec)
        return failWith(why, QString::fromStdString(ec.message()));
    copy.setAutoRemove(false);
    return true;
}

void TfrmMain::mnuBakClick()
{
    if (!DM)
        return;
    const QString chosen =
        Dialogs().saveFileName(this, backupFileRequest(Backup::SaveTitle, Backup::DefaultBackupFile()));
    if (chosen.isEmpty())
        return;
    const QString target = Backup::WithDefaultExtension(chosen);
    const QString dataFile = DM->dataFile();
    if (Backup::SameFile(dataFile, target)) {
        ShowMessage(Backup::BackupFailed);
        return;
    }
    DM->close();
    Reconnect(CopyDataFile(dataFile, target), Backup::BackupFailed);
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
    const QString source = Backup::WithDefaultExtension(chosen);
    m_lastRestoreFile = source;
    const QString dataFile = DM->dataFile();
    if (Backup::SameFile(source, dataFile)) {
        ShowMessage(Backup::RestoreFailed);
        return;
    }
    // Restoring is also the way back when the data file was lost.
    QDir().mkpath(QFileInfo(dataFile).absolutePath());
    DM->close();
    // Only a sound database of this system may replace the data: the copy is
    // checked where it lies, before it takes the data file's place.
    const bool copied = CopyDataFile(source, dataFile, nullptr, [](const QString& copy, QString* why) {
        return TDM::isGradeDatabase(copy, why);
    });
    Reconnect(copied, Backup::RestoreFailed);
}
