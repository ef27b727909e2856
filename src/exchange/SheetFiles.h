#pragma once

#include <QString>
#include <QStringList>

// Where the program's sheets go and what they are called.
namespace SheetFiles {

// A file name from its parts joined by "_" ("2024-2025学年第一学期_高一(1)班_成绩统计.xlsx"),
// every character a file name cannot hold replaced by "-".
QString ProposedName(const QStringList& parts, const QString& suffix);

// The folder the user last chose a sheet in, remembered for each user; the
// home folder the first time.
QString LastFolder();
void RememberFolder(const QString& filePath);

} // namespace SheetFiles
