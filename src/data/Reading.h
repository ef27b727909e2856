#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantList>
#include <optional>

// A read with bound values on the data module's connection, which is opened
// first when it is closed. nullopt when the connection cannot be had or the
// statement is refused; the rows are then read with next().
std::optional<QSqlQuery> SelectRows(const QString& sql, const QVariantList& values);

// True when the rows of a select were all read without a failure on the way.
bool ReadToTheEnd(const QSqlQuery& query);
