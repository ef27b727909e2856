#pragma once

#include <QString>

class QWidget;

// The texts and names of backup and restore; a backup file "*.ZBK" is a
// byte-for-byte copy of the data file, or a school on a server in pg_dump's
// custom format. The copying is data/DataFileTransfer's.
namespace Backup {
inline const QString Extension = QStringLiteral("ZBK");
inline const QString Filter = QStringLiteral("成绩管理备份文件(*.ZBK)");
inline const QString SaveTitle = QStringLiteral("备份文件");
inline const QString OpenTitle = QStringLiteral("选择文件还原数据库");
inline const QString BackupFailed = QStringLiteral("确认目标位置可读写！");
inline const QString RestoreFailed = QStringLiteral("还原数据文件发生错误！");
// A school on a server is backed up and restored with the server's own programs.
inline const QString ToolMissing = QStringLiteral(
    "没有找到可用的pg_dump或pg_"
    "restore程序，或者它的版本低于数据库服务器的版本！请安装与服务器版本相同的PostgreSQL客户端程序。");
// Three lines joined by a lone carriage return, as the clerks know the text;
// the message box shows each on its own line.
inline const QString RestoreWarning =
    QStringLiteral("警告：还原数据库将会把当前设置状况下的数据覆盖，且不可恢复！") + QChar(13) +
    QStringLiteral("建议在还原之前先备份数据库！") + QChar(13) + QStringLiteral("请谨慎使用本功能！");

// AppPath + "Bak", created when missing.
QString BackupFolder();
// The proposed name of today's backup: BackupFolder() + "/yyyyMMdd.ZBK".
QString DefaultBackupFile();
// A file name without any "." gets ".ZBK", as the file dialogs do.
QString WithDefaultExtension(const QString& path);

// The two commands of the system menu, their dialogs over parent. Restore
// proposes lastFile, the file chosen last within the run, and updates it.
void BackUp(QWidget* parent);
void Restore(QWidget* parent, QString& lastFile);
// The one way a file's content becomes the school's, for the restore
// command and the demo school alike (RestoreSchool, data/DataFileTransfer:
// a data file's copy checked, brought up to date and written into the data
// file; on a server a dump of a server's school), the connection opened
// again. On failure failedText is shown and the school is as it was. True
// when the content was brought in.
bool RestoreFrom(const QString& source, const QString& failedText);
// The same for a data file brought into a school without a row
// (FillEmptySchool): the demo school, on a data file and on a server alike.
bool FillFrom(const QString& dataFile, const QString& failedText);
} // namespace Backup
