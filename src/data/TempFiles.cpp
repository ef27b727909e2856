#include "data/TempFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#endif

namespace {

const QRegularExpression& ownName()
{
    static const QRegularExpression pattern(
        QStringLiteral("^.+~([1-9][0-9]{0,9})\\.[A-Za-z0-9]{6}\\.sgtmp$"));
    return pattern;
}

bool isRunning(qint64 pid)
{
    if (pid == QCoreApplication::applicationPid())
        return true;
#ifdef Q_OS_UNIX
    // A process of another user still counts as running.
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
#else
    return true; // without a way to tell, the file is kept
#endif
}

} // namespace

QString TempFiles::templateBeside(const QString& path)
{
    return path + QStringLiteral("~%1.XXXXXX.sgtmp").arg(QCoreApplication::applicationPid());
}

qint64 TempFiles::writerOf(const QString& fileName)
{
    const QRegularExpressionMatch match = ownName().match(fileName);
    return match.hasMatch() ? match.captured(1).toLongLong() : 0;
}

int TempFiles::removeLeftovers(const QString& folder)
{
    int removed = 0;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries) {
        const qint64 writer = writerOf(entry.fileName());
        if (writer == 0 || entry.isSymLink() || isRunning(writer))
            continue;
        if (QFile::remove(entry.absoluteFilePath()))
            ++removed;
    }
    return removed;
}
