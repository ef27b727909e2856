#pragma once

#include "data/DbResult.h"
#include "data/StoreLocation.h"

#include <QObject>
#include <QSqlDatabase>
#include <QString>

// The data module: owns the one connection of the whole run, ADOLocal, on
// the data file it was given or on the school's database on a server. Every
// query and command object of every window runs on it.
class TDM : public QObject {
    Q_OBJECT
public:
    // Opens the connection (DataModuleCreate). A failure leaves it closed,
    // with the reason in lastError(), for whoever created the module to
    // report; the next statement tries to open it again.
    explicit TDM(const QString& dataFile, QObject* parent = nullptr);
    explicit TDM(const StoreLocation& store, QObject* parent = nullptr);
    ~TDM() override;

    QSqlDatabase ADOLocal() const;
    Engine engine() const { return m_store.engine; }
    const StoreLocation& store() const { return m_store; }
    QString dataFile() const { return m_store.dataFile; } // empty on a server
    // The server refused the connection for want of a (right) password. The
    // one typed then is kept for every later opening of this run.
    bool needsPassword() const { return m_needsPassword; }
    void setPassword(const QString& password);

    // True when the file is open and is a database of this system. A file of
    // an older version of the schema is brought up to the current one first.
    bool open();
    // The driver finishes every statement of the program on the connection.
    void close();
    bool isOpen() const;
    // The implicit open of every statement: opens when closed.
    bool ensureOpen();
    QString lastError() const { return m_lastError; }

    // Writes the content of a checked database file into the data file
    // through SQLite, so that every other program that has it open stays
    // consistent and sees the new content. Every statement of this program
    // is finished first; the connection is closed afterwards.
    DbResult writeFrom(const QString& checkedFile);

    // Whether the file at path may stand as a data file: see CheckDataFile.
    static DbResult isGradeDatabase(const QString& path);

    static const QStringList& tableNames();
    // Creates a new database file of the current version; refuses to touch an existing file.
    static DbResult createDatabase(const QString& path);
    // Creates the tables of the current version in an empty server
    // database. Answers whether it did (false: the database already holds
    // this system's tables, which are left alone).
    static DbValue<bool> createServerSchema(const ServerLocation& server);

private:
    void DataModuleCreate();
    // Opens the connection alone, before the database is looked at.
    bool connectFile();
    bool connectServer();
    DbResult bringUpToDate(const QSqlDatabase& db) const;

    StoreLocation m_store;
    QString m_connectionName;
    QString m_lastError;
    bool m_needsPassword = false;
};

// The data module of the running program (set while a TDM exists; the one
// made last while several do).
extern TDM* DM;
