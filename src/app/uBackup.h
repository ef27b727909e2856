#pragma once

#include <QString>
#include <functional>

// Backup and restore copy the whole data file; a backup file "*.ZBK" is a
// byte-for-byte copy of it.
namespace Backup {
inline const QString Extension = QStringLiteral("ZBK");
inline const QString Filter = QStringLiteral("成绩管理备份文件(*.ZBK)");
inline const QString SaveTitle = QStringLiteral("备份文件");
inline const QString OpenTitle = QStringLiteral("选择文件还原数据库");
inline const QString BackupFailed = QStringLiteral("确认目标位置可读写！");
inline const QString RestoreFailed = QStringLiteral("还原数据文件发生错误！");
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
// True when both paths name the same existing file (links and "..", included).
bool SameFile(const QString& a, const QString& b);
} // namespace Backup

// Looks at the complete copy before it replaces the destination; false (with
// a reason) keeps the destination as it was.
using CopyCheck = std::function<bool(const QString& copy, QString* why)>;

// Copies the whole content of source over destination. The bytes go to a
// temporary file beside destination, which replaces it only once the copy is
// complete, on disk and accepted by check: a failure at any point leaves
// destination as it was and no temporary file behind. An existing destination
// that is not writable, or that is the source itself, is refused.
bool CopyDataFile(const QString& source, const QString& destination, QString* why = nullptr,
                  const CopyCheck& check = {});
