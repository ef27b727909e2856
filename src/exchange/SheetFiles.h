#pragma once

#include <QString>
#include <QStringList>

// What the program's sheets are called.
namespace SheetFiles {

// A file name from its parts joined by "_" ("2024-2025学年第一学期_高一(1)班_成绩统计.xlsx"),
// every character a file name cannot hold replaced by "-".
QString ProposedName(const QStringList& parts, const QString& suffix);

} // namespace SheetFiles
