#include "data/StoreLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>
#include <QUrlQuery>

QString ServerLocation::describe() const
{
    QString where = host.isEmpty() ? QStringLiteral("localhost") : host;
    return QStringLiteral("%1@%2:%3/%4").arg(user, where).arg(port).arg(database);
}

QString StoreSettingsPath(const QString& programDir)
{
    return QDir(programDir).absoluteFilePath(QStringLiteral("StudentGrades.ini"));
}

std::optional<ServerLocation> ReadStoreSettings(const QString& settingsFile)
{
    if (!QFileInfo(settingsFile).isFile())
        return std::nullopt;
    QSettings settings(settingsFile, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Server"));
    ServerLocation server;
    server.host = settings.value(QStringLiteral("Host")).toString().trimmed();
    server.database = settings.value(QStringLiteral("Database")).toString().trimmed();
    server.user = settings.value(QStringLiteral("User")).toString().trimmed();
    bool portOk = false;
    const int port = settings.value(QStringLiteral("Port"), 5432).toInt(&portOk);
    server.port = portOk && port > 0 && port < 65536 ? port : 5432;
    if (server.host.isEmpty() || server.database.isEmpty())
        return std::nullopt;
    return server;
}

std::optional<ServerLocation> ParseServerUrl(const QString& text)
{
    if (!text.startsWith(QLatin1String("postgresql://")) && !text.startsWith(QLatin1String("postgres://")))
        return std::nullopt;
    const QUrl url(text);
    if (!url.isValid())
        return std::nullopt;
    const QUrlQuery query(url);
    ServerLocation server;
    server.host = query.hasQueryItem(QStringLiteral("host"))
                      ? query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded)
                      : url.host(QUrl::FullyDecoded);
    server.port = query.hasQueryItem(QStringLiteral("port"))
                      ? query.queryItemValue(QStringLiteral("port")).toInt()
                      : url.port(5432);
    server.user = query.hasQueryItem(QStringLiteral("user"))
                      ? query.queryItemValue(QStringLiteral("user"), QUrl::FullyDecoded)
                      : url.userName(QUrl::FullyDecoded);
    server.password = url.password(QUrl::FullyDecoded);
    server.database = url.path(QUrl::FullyDecoded).mid(1);
    if (server.database.isEmpty() || server.port <= 0 || server.port > 65535)
        return std::nullopt;
    return server;
}

std::optional<StoreLocation> ParseStoreArgument(const QString& text)
{
    if (const std::optional<ServerLocation> server = ParseServerUrl(text))
        return StoreLocation::onServer(*server);
    if (text.contains(QLatin1String("://")) || text.isEmpty())
        return std::nullopt;
    return StoreLocation::file(text);
}
