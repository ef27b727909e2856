#pragma once

#include <QObject>
#include <QSqlDatabase>
#include <QString>

// The data module: owns the one connection of the whole run, ADOLocal, on the
// file AppPath + "db/Student.dat". Every query and command object of every
// window runs on it.
class TDM : public QObject {
    Q_OBJECT
public:
    // Opens the connection (DataModuleCreate); a failure is reported once and
    // the object stays usable: the next statement tries to open it again.
    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    QSqlDatabase ADOLocal() const;
    QString dataFile() const;

    bool open();      // true when the file is open and is a database of this system
    void close();
    bool isOpen() const;
    // The implicit open of every statement: opens when closed.
    bool ensureOpen();
    QString lastError() const { return m_lastError; }

    // True when the file at path opens read-only as a database holding this
    // system's eight tables and passes SQLite's integrity check.
    static bool isGradeDatabase(const QString& path, QString* why = nullptr);

    static const QStringList& tableNames();
    static QString schemaSql();
    // Creates a new database file from the schema; refuses to touch an existing file.
    static bool createDatabase(const QString& path, QString* why = nullptr);

private:
    void DataModuleCreate();

    QString m_connectionName;
    QString m_lastError;
};

// The data module of the running program (set while a TDM exists).
extern TDM* DM;
