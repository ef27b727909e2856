#pragma once

#include "data/DbResult.h"

#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The versions of the schema. The schema text is one script whose sections
// each begin with a line "-- version N: what it adds"; section N brings a
// file of version N-1 to version N, and a new file runs them all. A file's
// version is stamped in PRAGMA user_version. Files made before the stamp
// existed carry 0 and the schema of version 1.
//
// On a server the statements are those of the file as the server takes them
// (SqlEngine::serverDdl), and the version is stamped in a comment on TTerm.
//
// A file "carries exactly the schema of version N" when the objects in its
// sqlite_schema, compared as normalised texts, are those that running
// sections 1..N gives. SQLite's own statistics tables may be there as well.
class SchemaVersions {
public:
    explicit SchemaVersions(const QString& script);
    // The versions of schema.sql, the program's own, and its text.
    static const SchemaVersions& program();
    static QString programScript();

    int current() const { return int(m_sections.size()); }
    // The statements of section N, in order.
    QStringList statements(int version) const;
    // The objects of version N, one normalised "type name table sql" line each, sorted.
    QStringList objects(int version) const;

    // What the open file db holds.
    struct Found {
        int version = 0;      // 0: not the schema of any version
        bool stamped = false; // user_version says that version
        bool isCurrent(const SchemaVersions& versions) const
        {
            return stamped && version == versions.current();
        }
    };
    DbValue<Found> identify(const QSqlDatabase& db) const;

    // Brings db from version `from` (0: an empty file) to the current one
    // and stamps it, all in one transaction: on failure db is as it was.
    DbResult upgrade(const QSqlDatabase& db, int from) const;

    // Statement text as compared: comments dropped, blanks collapsed and
    // dropped beside brackets and commas, letters outside quotes in lower case.
    static QString normalised(const QString& sql);
    // The objects of an open file in the form of objects().
    static DbValue<QStringList> objectsIn(const QSqlDatabase& db);

private:
    // A server's database carries the version its stamp says.
    DbValue<Found> identifyOnServer(const QSqlDatabase& db) const;
    // The statements of every section after `from` and the stamp, inside
    // upgrade()'s transaction.
    DbResult steps(const QSqlDatabase& db, int from) const;

    QList<QStringList> m_sections;
    QString m_error; // a script whose sections are not numbered 1, 2, ...
    mutable QHash<int, QStringList> m_objects;
};
