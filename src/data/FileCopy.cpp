#include "data/FileCopy.h"

#include "data/TempFiles.h"

#include <QFile>
#include <filesystem>
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

// Replace what a link points to, not the link.
QFileInfo resolved(const QString& path)
{
    QFileInfo target(path);
    if (target.isSymLink())
        target = QFileInfo(target.symLinkTarget());
    return target;
}

} // namespace

bool SameFile(const QString& a, const QString& b)
{
    std::error_code ec;
    return std::filesystem::equivalent(nativePath(a), nativePath(b), ec) && !ec;
}

TempCopy::TempCopy(const QString& destination)
    : m_target(resolved(destination)), m_file(TempFiles::templateBeside(m_target.absoluteFilePath()))
{
}

bool TempCopy::create(QString* why)
{
    if (m_target.exists() && !m_target.isFile())
        return failWith(why, QStringLiteral("%1 is not a file").arg(destination()));
    // A rename would replace a read-only file all the same; the user protected
    // it. The file's own write bits count even for an administrator, whom
    // access() lets write anything.
    const QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (m_target.exists() && (!m_target.isWritable() || !(m_target.permissions() & anyWrite)))
        return failWith(why, QStringLiteral("%1 is read-only").arg(destination()));
    if (!m_file.open())
        return failWith(why, m_file.errorString());
    m_file.setPermissions(m_target.exists()
                              ? m_target.permissions()
                              : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                                    QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}

bool TempCopy::copyFrom(const QString& source, QString* why)
{
    if (!m_file.isOpen())
        return failWith(why, QStringLiteral("no temporary file"));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return failWith(why, in.errorString());
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0)
            return failWith(why, in.errorString());
        if (n == 0)
            break;
        if (m_file.write(buffer, n) != n)
            return failWith(why, m_file.errorString());
    }
    in.close();
    if (!syncToDisk(m_file))
        return failWith(why, m_file.errorString());
    // Closed here, so that whoever opens the copy next is its only opener.
    m_file.close();
    return true;
}

bool TempCopy::replaceDestination(QString* why)
{
    std::error_code ec;
    std::filesystem::rename(nativePath(fileName()), nativePath(destination()), ec);
    if (ec)
        return failWith(why, QString::fromStdString(ec.message()));
    m_file.setAutoRemove(false);
    return true;
}

bool CopyDataFile(const QString& source, const QString& destination, QString* why, const CopyCheck& check)
{
    if (!QFileInfo(source).isFile())
        return failWith(why, QStringLiteral("%1 is not a file").arg(source));
    TempCopy copy(destination);
    if (SameFile(source, copy.destination()))
        return failWith(why, QStringLiteral("%1 cannot be copied onto itself").arg(source));
    if (!copy.create(why) || !copy.copyFrom(source, why))
        return false;
    if (check && !check(copy.fileName(), why))
        return false;
    return copy.replaceDestination(why);
}
