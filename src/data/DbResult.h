#pragma once

#include <QString>
#include <utility>

// What an operation on the database or on its file (backup, restore, a
// schema upgrade) answers: success, or the engine's own text of why not. Windows never show that text; they
// show their fixed message (data/Messages.h) when the result is a failure.
class DbResult {
public:
    // Why it failed, where the window's message depends on it.
    enum class Fault {
        Refused,     // the engine refused or could not run it
        Conflict,    // the row was changed or deleted by another clerk since it was read
        ToolMissing, // a program the operation needs (pg_dump) is missing or too old
    };

    DbResult() = default;
    static DbResult failed(QString why) { return DbResult(std::move(why), Fault::Refused); }
    static DbResult conflict(QString why) { return DbResult(std::move(why), Fault::Conflict); }
    static DbResult toolMissing(QString why) { return DbResult(std::move(why), Fault::ToolMissing); }

    bool isOk() const { return !m_failed; }
    explicit operator bool() const { return isOk(); }
    const QString& error() const { return m_error; }
    Fault fault() const { return m_fault; }
    bool isConflict() const { return m_failed && m_fault == Fault::Conflict; }

private:
    DbResult(QString why, Fault fault) : m_failed(true), m_fault(fault), m_error(std::move(why)) {}

    bool m_failed = false;
    Fault m_fault = Fault::Refused;
    QString m_error;
};

// A result that carries the value read when it succeeded.
template <class T> class DbValue : public DbResult {
public:
    DbValue(T value) : m_value(std::move(value)) {}
    DbValue(const DbResult& failure) : DbResult(failure) {}

    const T& value() const { return m_value; }
    T& value() { return m_value; }
    const T& operator*() const { return m_value; }
    const T* operator->() const { return &m_value; }

private:
    T m_value{};
};
