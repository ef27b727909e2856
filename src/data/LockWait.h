#pragma once

#include <QSqlDatabase>
#include <functional>

// Waiting for a data file that another connection has locked (the server's
// waits for another clerk's rows are bounded by its lock_timeout instead). SQLite calls
// the handler installed here while the lock is held elsewhere; it sleeps in
// short steps until the connection's limit and never processes events, so no
// window can re-enter the database code during the wait.
namespace LockWait {
// How long a statement waits for a lock before it fails (as Qt's driver would).
constexpr int DefaultLimitMs = 5000;
// How long backup and restore wait for the file.
constexpr int CopyLimitMs = 2000;
// A wait that lasts this long is announced.
constexpr int NoticeAfterMs = 500;

// Called once in every wait that lasts NoticeAfterMs; the wait goes on when
// it returns, so it must not process events. Empty: nothing is announced.
void setLongWaitHook(std::function<void()> hook);
// Calls the hook, for a wait that the engine makes outside SQLite's handler
// (a server's lock): it is told once it has lasted NoticeAfterMs.
void announceLongWait();

// Installs the handler on an open SQLite connection; false when it is none.
bool install(const QSqlDatabase& db, int limitMs = DefaultLimitMs);

// Gives a connection another limit for as long as it lives.
class ScopedLimit {
public:
    ScopedLimit(const QSqlDatabase& db, int limitMs);
    ~ScopedLimit();
    ScopedLimit(const ScopedLimit&) = delete;
    ScopedLimit& operator=(const ScopedLimit&) = delete;

private:
    QSqlDatabase m_db;
};
} // namespace LockWait
