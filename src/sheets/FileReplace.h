#pragma once

#include <QString>
#include <QTemporaryFile>

namespace Sheets {

// A file written whole or not at all: the writer fills a temporary file
// beside the target, and commit() renames it over the target in one step.
// Without a commit the temporary file is removed, and the target is as it was.
class FileReplace {
public:
    explicit FileReplace(const QString& target);
    ~FileReplace();
    FileReplace(const FileReplace&) = delete;
    FileReplace& operator=(const FileReplace&) = delete;

    bool isReady() const { return m_ready; }
    QString temporaryPath() const { return m_temporary.fileName(); }
    bool commit();

private:
    QString m_target;
    QTemporaryFile m_temporary;
    bool m_ready = false;
};

} // namespace Sheets
