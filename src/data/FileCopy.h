#pragma once

#include "data/DbResult.h"

#include <QFileInfo>
#include <QString>
#include <QTemporaryFile>
#include <functional>

// True when both paths name the same existing file (links and "..", included).
bool SameFile(const QString& a, const QString& b);

// A complete copy of a file, in a temporary file of the program beside its
// destination; it replaces the destination in one step when committed, and
// is removed otherwise.
class TempCopy {
public:
    explicit TempCopy(const QString& destination);
    TempCopy(const TempCopy&) = delete;
    TempCopy& operator=(const TempCopy&) = delete;

    // Refuses a destination that is not a file or that the user protected,
    // and makes the temporary file beside it.
    DbResult create();
    // Copies the whole of source, on the disk when it returns. The source is
    // opened once and closed only after its last byte was read: closing any
    // descriptor of a file drops every lock this process holds on it.
    DbResult copyFrom(const QString& source);
    // The open temporary file, for content made by a writer of its own (a
    // PDF); closeWritten() puts what was written on the disk and closes it.
    QIODevice* device() { return &m_file; }
    DbResult closeWritten();
    QString fileName() const { return m_file.fileName(); }
    // What replaceDestination() replaces (the target of a link).
    QString destination() const { return m_target.absoluteFilePath(); }
    DbResult replaceDestination();

private:
    QFileInfo m_target;
    QTemporaryFile m_file;
};

// Looks at the complete copy before it replaces the destination; a failure
// keeps the destination as it was.
using CopyCheck = std::function<DbResult(const QString& copy)>;

// Copies the whole content of source over destination. The bytes go to a
// temporary file beside destination, which replaces it only once the copy is
// complete, on disk and accepted by check: a failure at any point leaves
// destination as it was and no temporary file behind. An existing destination
// that is not writable, or that is the source itself, is refused.
DbResult CopyDataFile(const QString& source, const QString& destination, const CopyCheck& check = {});
