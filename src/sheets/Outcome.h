#pragma once

#include <QString>
#include <utility>

namespace Sheets {

// What reading or writing a file answers: success, or the message the user
// is shown (a full sentence of its own, unlike the engine's texts).
class Outcome {
public:
    Outcome() = default;
    static Outcome failed(QString message) { return Outcome(std::move(message)); }

    bool isOk() const { return !m_failed; }
    explicit operator bool() const { return isOk(); }
    const QString& message() const { return m_message; }

private:
    explicit Outcome(QString message) : m_failed(true), m_message(std::move(message)) {}

    bool m_failed = false;
    QString m_message;
};

// An outcome that carries what was read when it succeeded.
template <class T> class Result : public Outcome {
public:
    Result(T value) : m_value(std::move(value)) {}
    Result(const Outcome& failure) : Outcome(failure) {}

    const T& value() const { return m_value; }
    T& value() { return m_value; }
    const T& operator*() const { return m_value; }
    const T* operator->() const { return &m_value; }

private:
    T m_value{};
};

// The users' messages of the file formats.
namespace Msg {
inline const QString CannotOpen = QStringLiteral("无法打开文件，请确认文件存在并且可以读取！");
inline const QString NotSpreadsheet = QStringLiteral("该文件不是电子表格（.xlsx或.csv文件），无法读取！");
inline const QString Encrypted = QStringLiteral(
    "该文件是加密的工作簿或旧版的.xls文件，无法读取！请在Excel或WPS中取消密码并另存为.xlsx文件。");
inline const QString Damaged = QStringLiteral("文件已损坏，无法读取！");
inline const QString NoSheet = QStringLiteral("工作簿中没有工作表！");
inline const QString NoSuchSheet = QStringLiteral("工作簿中没有工作表“%1”！");
inline const QString UnknownEncoding =
    QStringLiteral("文件的文字编码无法识别，请另存为UTF-8编码的.csv文件！");
inline const QString WriterMissing =
    QStringLiteral("无法加载写Excel文件的组件libxlsxwriter，请确认程序安装正确！");
inline const QString CannotWrite = QStringLiteral("文件无法写入，请确认目标位置可读写！");
inline const QString TextTooLong = QStringLiteral("第%1行第%2列的文字超过32767个字符，Excel无法保存！");
} // namespace Msg

} // namespace Sheets
