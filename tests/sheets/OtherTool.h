#pragma once

#include <QByteArray>
#include <QJsonDocument>
#include <QProcess>
#include <QStringList>
#include <QVariant>
#include <QtDebug>
#include <optional>

// Another program than ours on the same files: the system's python3 with
// Debian's openpyxl, to make workbooks the way other tools save them and to
// read back what we wrote. The scripts are beside the sheet tests.
inline std::optional<QByteArray> RunPython(const QStringList& arguments)
{
    QProcess python;
    python.start(QStringLiteral(SYSTEM_PYTHON3), arguments);
    if (!python.waitForFinished(120000) || python.exitStatus() != QProcess::NormalExit ||
        python.exitCode() != 0) {
        qWarning().noquote() << "python3 failed:" << python.readAllStandardError();
        return std::nullopt;
    }
    return python.readAllStandardOutput();
}

inline std::optional<QByteArray> RunScript(const QString& script, const QStringList& args = {})
{
    return RunPython(QStringList{QStringLiteral(TEST_SOURCE_DIR "/../sheets/") + script} + args);
}

// The script's standard output read as JSON.
inline QVariant RunScriptJson(const QString& script, const QStringList& args = {})
{
    const std::optional<QByteArray> out = RunScript(script, args);
    if (!out)
        return {};
    return QJsonDocument::fromJson(*out).toVariant();
}
