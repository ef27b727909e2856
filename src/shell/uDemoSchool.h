#pragma once

#include <QString>

// The command "载入示例学校" that the operation guide offers while the school
// is empty: the demo school of grades-demo, brought in as a restore brings
// in a backup.
namespace DemoSchool {

inline const QString Refused = QStringLiteral("已经有记录存在，不能载入示例学校！");
inline const QString Failed = QStringLiteral("载入示例学校发生错误！");
// "将载入一所示例学校：3个学期、4个班级、12个科目，…是否继续？", from the demo's shape.
QString Question();

// Asks once; then, if every table is still empty, writes the demo school into
// a temporary file and brings it in as a restore does (Backup::FillFrom: on
// a data file the restore, which checks it first; on a server the school's
// copy); the live data file is never written directly. A
// school that holds anything is refused, nothing written. Every outcome but
// success is shown as a message. True when the demo school was brought in.
bool Load();

} // namespace DemoSchool
