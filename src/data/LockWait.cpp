#include "data/LockWait.h"

#include "data/SqliteHandle.h"

#include <QElapsedTimer>
#include <QtGlobal>
#include <chrono>
#include <cstdint>
#include <sqlite3.h>
#include <thread>

namespace {

std::function<void()>& longWaitHook()
{
    static std::function<void()> hook;
    return hook;
}

// One wait at a time: every statement runs on the one thread, and a wait
// lasts within one call into SQLite.
struct Wait {
    QElapsedTimer clock;
    bool announced = false;
};

int onBusy(void* limit, int attempt)
{
    static Wait wait;
    if (attempt == 0) {
        wait.clock.start();
        wait.announced = false;
    }
    const qint64 waited = wait.clock.elapsed();
    if (waited >= reinterpret_cast<std::intptr_t>(limit))
        return 0;
    if (!wait.announced && waited >= LockWait::NoticeAfterMs) {
        wait.announced = true;
        if (longWaitHook())
            longWaitHook()();
    }
    // Short steps at first: most locks are let go within milliseconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(qBound(1, attempt, 10)));
    return 1;
}

} // namespace

void LockWait::setLongWaitHook(std::function<void()> hook)
{
    longWaitHook() = std::move(hook);
}

void LockWait::announceLongWait()
{
    if (longWaitHook())
        longWaitHook()();
}

bool LockWait::install(const QSqlDatabase& db, int limitMs)
{
    sqlite3* handle = SqliteHandle(db);
    if (!handle)
        return false;
    // Replaces the busy timeout the driver set when it opened the connection.
    return sqlite3_busy_handler(handle, onBusy, reinterpret_cast<void*>(std::intptr_t(limitMs))) == SQLITE_OK;
}

LockWait::ScopedLimit::ScopedLimit(const QSqlDatabase& db, int limitMs) : m_db(db)
{
    install(m_db, limitMs);
}

LockWait::ScopedLimit::~ScopedLimit()
{
    install(m_db, DefaultLimitMs);
}
