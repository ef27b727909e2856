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

DbResult TempCopy::create()
{
    if (m_target.exists() && !m_target.isFile())
        return DbResult::failed(QStringLiteral("%1 is not a file").arg(destination()));
    // A rename would replace a read-only file all the same; the user protected
    // it. The file's own write bits count even for an administrator, whom
    // access() lets write anything.
    const QFileDevice::Permissions anyWrite =
        QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (m_target.exists() && (!m_target.isWritable() || !(m_target.permissions() & anyWrite)))
        return DbResult::failed(QStringLiteral("%1 is read-only").arg(destination()));
    if (!m_file.open())
        return DbResult::failed(m_file.errorString());
    m_file.setPermissions(m_target.exists()
                              ? m_target.permissions()
                              : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                                    QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return {};
}

DbResult TempCopy::copyFrom(const QString& source)
{
    if (!m_file.isOpen())
        return DbResult::failed(QStringLiteral("no temporary file"));
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return DbResult::failed(in.errorString());
    char buffer[64 * 1024];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0)
            return DbResult::failed(in.errorString());
        if (n == 0)
            break;
        if (m_file.write(buffer, n) != n)
            return DbResult::failed(m_file.errorString());
    }
    in.close();
    return closeWritten();
}

DbResult TempCopy::closeWritten()
{
    if (!m_file.isOpen() || !syncToDisk(m_file))
        return DbResult::failed(m_file.errorString());
    // Closed here, so that whoever opens the copy next is its only opener.
    m_file.close();
    return {};
}

DbResult TempCopy::replaceDestination()
{
    std::error_code ec;
    std::filesystem::rename(nativePath(fileName()), nativePath(destination()), ec);
    if (ec)
        return DbResult::failed(QString::fromStdString(ec.message()));
    m_file.setAutoRemove(false);
    return {};
}

DbResult CopyDataFile(const QString& source, const QString& destination, const CopyCheck& check)
{
    if (!QFileInfo(source).isFile())
        return DbResult::failed(QStringLiteral("%1 is not a file").arg(source));
    TempCopy copy(destination);
    if (SameFile(source, copy.destination()))
        return DbResult::failed(QStringLiteral("%1 cannot be copied onto itself").arg(source));
    if (DbResult made = copy.create(); !made)
        return made;
    if (DbResult copied = copy.copyFrom(source); !copied)
        return copied;
    if (check) {
        if (DbResult accepted = check(copy.fileName()); !accepted)
            return accepted;
    }
    return copy.replaceDestination();
}
