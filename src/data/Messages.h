#pragma once

#include <QString>

// The fixed failure texts every window shows. The exclamation marks are as the
// users know them: full-width in most texts, ASCII after "存储数据发生错误".
namespace Msg {
inline const QString ConnectFailed =
    QStringLiteral("请确认您的程序是否安装正确，或者没有安装MDAC数据访问组件！也可能该数据库正被独占打开！");
inline const QString ReadFailed = QStringLiteral("读取本地数据文件发生错误！");
inline const QString OpenFailed = QStringLiteral("打开数据文件发生错误！");
inline const QString ReadingFailed = QStringLiteral("读取数据过程中发生错误！");
inline const QString StoreTermFailed = QStringLiteral("存储数据发生错误，可能您输入的学期编号已经被使用!");
inline const QString StoreSubjectFailed = QStringLiteral("存储数据发生错误，可能您输入的科目编号已经被使用!");
inline const QString StoreClassFailed = QStringLiteral("存储数据发生错误，可能您输入的班级编号已经被使用!");
inline const QString StoreFailed = QStringLiteral("存储数据发生错误!");
inline const QString DeleteTermRefused = QStringLiteral("指定学期信息可能已经被使用，不能删除！");
inline const QString DeleteSubjectRefused = QStringLiteral("指定科目简码信息可能已经被使用，不能删除！");
inline const QString DeleteClassRefused = QStringLiteral("指定班级简码信息可能已经被使用，不能删除！");
inline const QString DeleteStudentRefused =
    QStringLiteral("指定学生信息可能已经被使用，不能删除，您可以标示为不在校状态！");
inline const QString InsertFailed = QStringLiteral("增加数据发生错误！");
inline const QString DeleteAssignmentFailed =
    QStringLiteral("删除数据发生错误，可能该对应班级记录已经进入使用！");
inline const QString InitFailed = QStringLiteral("初始化过程中发生错误！请重新初始化！");
// Another clerk changed or deleted the row since this window read it; nothing was stored.
inline const QString Conflict = QStringLiteral("该记录已经被其他用户修改或删除，请重新读取！");
// The start-up's question for the server's password (never stored).
inline const QString AskPassword = QStringLiteral("请输入数据库服务器的密码：");
} // namespace Msg
