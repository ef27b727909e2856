#pragma once

#include <QString>
#include <optional>

// Where the school is kept: the data file beside the program (the default),
// or a database on a PostgreSQL server named in the settings file beside the
// program. The password is never stored: libpq's own password file and
// environment are used, or the one typed at start-up.
struct ServerLocation {
    QString host; // a name, an address, or a socket directory ("/run/postgresql")
    int port = 5432;
    QString database;
    QString user;
    QString password; // only what was typed at start-up, or given in a URL

    // "user@host:port/database", for messages of the tools.
    QString describe() const;
};

enum class Engine { File, Server };

struct StoreLocation {
    Engine engine = Engine::File;
    QString dataFile;      // the file engine's data file
    ServerLocation server; // the server engine's database

    static StoreLocation file(const QString& path) { return {Engine::File, path, {}}; }
    static StoreLocation onServer(const ServerLocation& server) { return {Engine::Server, {}, server}; }
};

// The settings file beside the program that may name a server:
//   [Server]
//   Host=school-server
//   Port=5432
//   Database=school
//   User=office
// Without a file, or without Host and Database, the school is the data file.
QString StoreSettingsPath(const QString& programDir);
std::optional<ServerLocation> ReadStoreSettings(const QString& settingsFile);

// A libpq-style URL, "postgresql://user@host:port/database" (host, port and
// user may also come as "?host=/socket/dir&port=...&user=..."); nullopt for
// anything that is not one, a plain file path included.
std::optional<ServerLocation> ParseServerUrl(const QString& text);
// A path or a URL, as the tools take them; nullopt for a malformed URL.
std::optional<StoreLocation> ParseStoreArgument(const QString& text);
