#pragma once

#include <QString>
#include <utility>

// What an operation on the database or on its file (backup, restore, a
// schema upgrade) answers: success, or the engine's own text of why not. Windows never show that text; they show their fixed
// message (data/Messages.h) when the result is a failure.
class DbResult {
public:
    DbResult() = default;
    static DbResult failed(QString why) { return DbResult(std::move(why)); }

    bool isOk() const { return !m_failed; }
    explicit operator bool() const { return isOk(); }
    const QString& error() const { return m_error; }

private:
    explicit DbResult(QString why) : m_failed(true), m_error(std::move(why)) {}

    bool m_failed = false;
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
