#include "data/SqliteHandle.h"

#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QString>
#include <QVariant>
#include <chrono>
#include <cstring>
#include <sqlite3.h>
#include <thread>

sqlite3* SqliteHandle(const QSqlDatabase& db)
{
    if (!db.isOpen() || !db.driver())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || std::strcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool IsLockedElsewhere(const QSqlDatabase& db)
{
    sqlite3* handle = SqliteHandle(db);
    if (!handle)
        return false;
    const int result = sqlite3_exec(handle, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    return (result & 0xff) == SQLITE_BUSY;
}

DbResult OnlineCopy(const QString& source, sqlite3* destination, int limitMs)
{
    const auto fail = [](const char* text) { return DbResult::failed(QString::fromUtf8(text)); };
    if (!destination)
        return fail("the database is not open");
    sqlite3* from = nullptr;
    if (sqlite3_open_v2(source.toUtf8().constData(), &from, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        const DbResult failed = fail(from ? sqlite3_errmsg(from) : "out of memory");
        sqlite3_close(from);
        return failed;
    }
    sqlite3_backup* backup = sqlite3_backup_init(destination, "main", from, "main");
    if (!backup) {
        const DbResult failed = fail(sqlite3_errmsg(destination));
        sqlite3_close(from);
        return failed;
    }
    // The busy handler of destination waits within a step; a lock that is
    // refused without waiting is tried again until the limit.
    QElapsedTimer clock;
    clock.start();
    int step = SQLITE_OK;
    for (;;) {
        step = sqlite3_backup_step(backup, -1);
        if ((step != SQLITE_BUSY && step != SQLITE_LOCKED) || clock.elapsed() >= limitMs)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const int finish = sqlite3_backup_finish(backup);
    const DbResult result = step == SQLITE_DONE && finish == SQLITE_OK
                                ? DbResult()
                                : fail(sqlite3_errstr(step != SQLITE_DONE ? step : finish));
    sqlite3_close(from);
    return result;
}
