#pragma once

#include <QString>

// The texts of the import preview: what a row will do, and what keeps it
// from being imported.
namespace ImportText {
inline const QString Added = QStringLiteral("新增");
inline const QString Updated = QStringLiteral("更新");
inline const QString Unchanged = QStringLiteral("无变化");
inline const QString ScoresAdded = QStringLiteral("新增成绩%1项");
inline const QString ScoresReplaced = QStringLiteral("成绩替换%1项");

inline const QString NoHeader = QStringLiteral("文件中没有含“姓名”或“学号”的标题行");
inline const QString TitleTwice = QStringLiteral("标题“%1”出现了不止一次");
inline const QString NoClassChosen = QStringLiteral("没有选定班级，文件中也没有“班级”列");
inline const QString NoClass = QStringLiteral("没有班级");
inline const QString UnknownClass = QStringLiteral("没有班级“%1”");
inline const QString ClassNotInTerm = QStringLiteral("本学期没有班级“%1”");
inline const QString ClassAmbiguous = QStringLiteral("有多个班级名为“%1”，请写班级简码");
inline const QString NoName = QStringLiteral("没有姓名");
inline const QString NoNumber = QStringLiteral("没有学号");
inline const QString NumberNotDigits = QStringLiteral("学号“%1”不全是数字");
inline const QString NumberRounded = QStringLiteral("学号%1超过15位，已被电子表格舍入");
inline const QString NumberTwice = QStringLiteral("学号%1在文件中重复（第%2行）");
inline const QString NumberOfOtherClass = QStringLiteral("学号已属于其他班级");
inline const QString NumberAmbiguous = QStringLiteral("班级中有多个学生的学号是%1");
inline const QString FlagUnknown = QStringLiteral("%1“%2”无法识别，应为%3");
inline const QString UnknownNumber = QStringLiteral("班级中没有学号为%1的学生");
inline const QString UnknownName = QStringLiteral("班级中没有学生“%1”");
inline const QString NameAmbiguous = QStringLiteral("班级中有多个学生叫“%1”，请写学号");
inline const QString NameMismatch = QStringLiteral("姓名与学号不符（学号%1是“%2”）");
inline const QString StudentTwice = QStringLiteral("同一学生在文件中出现了多次（第%1行）");
inline const QString UnknownSubject = QStringLiteral("没有科目“%1”");
inline const QString SubjectNotPlanned = QStringLiteral("本班本学期没有科目“%1”");
inline const QString SubjectAmbiguous = QStringLiteral("本班有多个科目名为“%1”");
inline const QString NotScore = QStringLiteral("%1：“%2”不是分数");
} // namespace ImportText
