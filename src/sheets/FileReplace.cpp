#include "sheets/FileReplace.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace Sheets {

FileReplace::FileReplace(const QString& target) : m_target(target)
{
    const QFileInfo info(target);
    if (info.fileName().isEmpty() || info.isDir())
        return;
    m_temporary.setFileTemplate(info.absolutePath() + QLatin1Char('/') + info.fileName() +
                                QStringLiteral(".XXXXXX.part"));
    // Created and closed: the writer opens it by its name.
    m_ready = m_temporary.open();
    m_temporary.close();
}

FileReplace::~FileReplace() = default; // QTemporaryFile removes what was not renamed

bool FileReplace::commit()
{
    if (!m_ready)
        return false;
    // rename() replaces an existing target at once, unlike QFile::rename.
    const bool renamed = std::rename(QFile::encodeName(m_temporary.fileName()).constData(),
                                     QFile::encodeName(m_target).constData()) == 0;
    if (renamed) {
        m_temporary.setAutoRemove(false);
        // The temporary file is created readable by its owner alone.
        QFile::setPermissions(m_target,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    m_ready = false;
    return renamed;
}

} // namespace Sheets
