// The school on a PostgreSQL server: the same schema as the file's, lists in
// code-point order whatever the cluster's locale, the start-up's password
// and unreachable server, and backup and restore with the server's programs.
#include "TestSupport.h"

#include "data/CodeTables.h"
#include "data/DataFileTransfer.h"
#include "data/Messages.h"
#include "data/SchemaVersions.h"
#include "data/ServerTransfer.h"
#include "data/SqlEngine.h"
#include "data/uDM.h"
#include "shell/Application.h"

#include <QFile>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QStringList rows(const QSqlDatabase& db, const QString& sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        qFatal("%s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    QStringList out;
    while (q.next()) {
        QStringList fields;
        for (int i = 0; i < q.record().count(); ++i)
            fields << q.value(i).toString();
        out << fields.join(QLatin1Char('|'));
    }
    return out;
}

// A table's shape, written the same way for both engines: columns with type,
// nullability and default; indexes by their columns and uniqueness; references.
QStringList fileShape(const QSqlDatabase& db, const QString& table)
{
    QStringList shape;
    for (const QString& c :
         rows(db, QStringLiteral("select name, type, \"notnull\" or pk, coalesce(dflt_value,''), pk "
                                 "from pragma_table_info('%1') order by cid")
                      .arg(table))) {
        QStringList f = c.split(QLatin1Char('|'));
        const QString type =
            f[1].toUpper() == QLatin1String("REAL") ? QStringLiteral("double precision") : f[1].toLower();
        shape << QStringLiteral("column %1 %2 %3 %4 %5")
                     .arg(f[0].toLower(), type, f[2] == QLatin1String("1") ? "not null" : "null", f[3],
                          f[4] == QLatin1String("1") ? "key" : "");
    }
    for (const QString& i : rows(
             db, QStringLiteral("select name, \"unique\", origin from pragma_index_list('%1')").arg(table))) {
        const QStringList f = i.split(QLatin1Char('|'));
        if (f[2] == QLatin1String("pk"))
            continue;
        const QStringList columns =
            rows(db, QStringLiteral("select name from pragma_index_info('%1') order by seqno").arg(f[0]));
        shape << QStringLiteral("index (%1) %2")
                     .arg(columns.join(QLatin1Char(',')).toLower(),
                          f[1] == QLatin1String("1") ? "unique" : "");
    }
    QMap<int, QStringList> from, to;
    QMap<int, QString> target;
    for (const QString& r :
         rows(db, QStringLiteral("select id, \"table\", \"from\", \"to\" from pragma_foreign_key_list('%1') "
                                 "order by id, seq")
                      .arg(table))) {
        const QStringList f = r.split(QLatin1Char('|'));
        target[f[0].toInt()] = f[1].toLower();
        from[f[0].toInt()] << f[2].toLower();
        to[f[0].toInt()] << f[3].toLower();
    }
    for (auto it = target.cbegin(); it != target.cend(); ++it)
        shape << QStringLiteral("reference (%1) %2 (%3)")
                     .arg(from[it.key()].join(QLatin1Char(',')), it.value(),
                          to[it.key()].join(QLatin1Char(',')));
    shape.sort();
    return shape;
}

QStringList serverShape(const QSqlDatabase& db, const QString& table)
{
    const QString t = table.toLower();
    QStringList shape;
    for (const QString& c :
         rows(db, QStringLiteral("select column_name, data_type, is_nullable, coalesce(column_default,''), "
                                 "is_identity, coalesce(collation_name,'') from "
                                 "information_schema.columns where table_name='%1' and "
                                 "table_schema=current_schema() order by ordinal_position")
                      .arg(t))) {
        const QStringList f = c.split(QLatin1Char('|'));
        // Every text sorts by code point, whatever the database's own order.
        if (f[1] == QLatin1String("text") && f[5] != QLatin1String("C"))
            return {QStringLiteral("text column %1 without collation C").arg(f[0])};
        shape << QStringLiteral("column %1 %2 %3 %4 %5")
                     .arg(f[0], f[1], f[2] == QLatin1String("NO") ? "not null" : "null", f[3],
                          f[4] == QLatin1String("YES") ? "key" : "");
    }
    for (const QString& i :
         rows(db, QStringLiteral("select i.indisunique, array_to_string(array(select a.attname from "
                                 "unnest(i.indkey) with ordinality k(n, o) join pg_attribute a on "
                                 "a.attrelid = i.indrelid and a.attnum = k.n order by k.o), ',') from "
                                 "pg_index i where i.indrelid = '%1'::regclass and not i.indisprimary")
                      .arg(t))) {
        const QStringList f = i.split(QLatin1Char('|'));
        shape << QStringLiteral("index (%1) %2").arg(f[1], f[0] == QLatin1String("true") ? "unique" : "");
    }
    for (const QString& r :
         rows(db, QStringLiteral("select confrelid::regclass::text, array_to_string(array(select "
                                 "attname from unnest(conkey) with ordinality k(n,o) join pg_attribute "
                                 "on attrelid=conrelid and attnum=k.n order by k.o), ','), "
                                 "array_to_string(array(select attname from unnest(confkey) with "
                                 "ordinality k(n,o) join pg_attribute on attrelid=confrelid and "
                                 "attnum=k.n order by k.o), ',') from pg_constraint where "
                                 "conrelid='%1'::regclass and contype='f'")
                      .arg(t))) {
        const QStringList f = r.split(QLatin1Char('|'));
        shape << QStringLiteral("reference (%1) %2 (%3)").arg(f[1], f[0], f[2]);
    }
    shape.sort();
    return shape;
}

} // namespace

class ServerTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        if (TestEngine() != Engine::Server)
            QSKIP("needs the test server (GRADES_TEST_ENGINE=server)");
    }

    void theServersSchemaIsTheFiles()
    {
        TempDatabase server;
        TempDatabase file(Engine::File);
        // The file's defaults read as the server writes them.
        const auto normalised = [](QStringList shape) {
            for (QString& line : shape)
                line.replace(QLatin1String(" generated by default as identity"), QString());
            return shape;
        };
        for (const QString& table : TDM::tableNames()) {
            QStringList expected = fileShape(file.dm()->ADOLocal(), table);
            QCOMPARE(normalised(serverShape(server.dm()->ADOLocal(), table)), expected);
        }
        // The checks hold on the server as on the file.
        for (TempDatabase* db : {&server, &file}) {
            db->addClass(QStringLiteral("C1"), QStringLiteral("一班"));
            QVERIFY(!db->tryExec(
                QStringLiteral("insert into TStudent (ClassCode,SName,IsTY) values ('C1','x',2)")));
            QVERIFY(!db->tryExec(
                QStringLiteral("insert into TStudent (ClassCode,SName,IsActive) values ('C1','x',-1)")));
            QVERIFY(!db->tryExec(
                QStringLiteral("insert into TTerm (TermCode,TermName) values (2147483648,'x')")));
            QVERIFY(
                db->tryExec(QStringLiteral("insert into TTerm (TermCode,TermName) values (2147483647,'x')")));
            QCOMPARE(db->scalar(QStringLiteral("select IsActive from TStudent")), QVariant());
        }
        // The same version, stamped where pg_dump keeps it.
        const DbValue<SchemaVersions::Found> found =
            SchemaVersions::program().identify(server.dm()->ADOLocal());
        QVERIFY(found);
        QCOMPARE(found->version, SchemaVersions::program().current());
    }

    void listsComeInCodePointOrderOnAnyLocale()
    {
        TempDatabase db;
        // The test cluster's own order is not code-point order...
        QVERIFY(db.scalar(QStringLiteral("select 'a' < 'B'")).toBool());
        const QStringList codes{"b", "B", "a", "A", "_x", "中", "Z9", "z10"};
        for (const QString& code : codes)
            db.addClass(code, code);
        // ...but the lists are, as on the file.
        const DbValue<RowSet> listed = Db::select(CodeTables::List(CodeTables::Classes()));
        QVERIFY(listed);
        QStringList order;
        for (int row = 0; row < listed->rowCount(); ++row)
            order << listed->text(row, QStringLiteral("ClassCode"));
        QStringList expected = codes;
        std::sort(expected.begin(), expected.end(),
                  [](const QString& a, const QString& b) { return a.toUtf8() < b.toUtf8(); });
        QCOMPARE(order, expected);
    }

    void initMakesASchoolOnceAndOnlyInAnEmptyDatabase()
    {
        TempDatabase db;
        // A school already there is left alone.
        const DbValue<bool> again = TDM::createServerSchema(db.store().server);
        QVERIFY(again);
        QVERIFY(!*again);
        // A database holding some other TTerm is no place for one.
        db.exec(QStringLiteral("drop table TGrade"));
        const DbValue<bool> refused = TDM::createServerSchema(db.store().server);
        QVERIFY(!refused);
        QVERIFY(refused.error().contains(QLatin1String("already has a table")));
    }

    void startUpAsksForAPasswordOnceAndReportsAnUnreachableServer()
    {
        TempDatabase db;
        db.exec(
            QStringLiteral("do $$ begin if not exists (select from pg_roles where rolname='grades_pw') then "
                           "create role grades_pw login password 'secret'; end if; end $$"));
        db.exec(QStringLiteral("grant all on all tables in schema public to grades_pw"));
        ServerLocation clerk = db.store().server;
        clerk.user = QStringLiteral("grades_pw");
        {
            ScriptedDialogs dialogs;
            dialogs.passwords = {QStringLiteral("secret")};
            TDM dm(StoreLocation::onServer(clerk));
            QVERIFY(!dm.isOpen());
            QVERIFY(dm.needsPassword());
            TApplication::dataModuleCreated(dm);
            QCOMPARE(dialogs.passwordPrompts, QStringList{Msg::AskPassword});
            QVERIFY(dialogs.messages.isEmpty());
            QVERIFY(dm.isOpen());
            // Kept for every later opening of the run, never asked again.
            dm.close();
            QVERIFY(Db::select(CodeTables::List(CodeTables::Terms())));
            QCOMPARE(dialogs.passwordPrompts.size(), 1);
        }
        {
            // A wrong or no password: the start-up's message, asked once.
            ScriptedDialogs dialogs;
            dialogs.passwords = {QStringLiteral("wrong")};
            TDM dm(StoreLocation::onServer(clerk));
            TApplication::dataModuleCreated(dm);
            QCOMPARE(dialogs.passwordPrompts.size(), 1);
            QCOMPARE(dialogs.messages, QStringList{Msg::ConnectFailed});
            QVERIFY(!dm.isOpen());
        }
        {
            // A server that cannot be reached: the message of a missing file,
            // no password asked, and every window's read fails.
            ScriptedDialogs dialogs;
            QTemporaryDir nowhere;
            ServerLocation gone = db.store().server;
            gone.host = nowhere.path();
            TDM dm(StoreLocation::onServer(gone));
            TApplication::dataModuleCreated(dm);
            QVERIFY(dialogs.passwordPrompts.isEmpty());
            QCOMPARE(dialogs.messages, QStringList{Msg::ConnectFailed});
            QVERIFY(!Db::select(CodeTables::List(CodeTables::Terms())));
        }
    }

    void backupAndRestoreUseTheServersPrograms()
    {
        TempDatabase db;
        db.addTwoTermSchool();
        const QString backup = db.dir() + QStringLiteral("school.ZBK");
        QVERIFY(BackUpSchool(*db.dm(), backup));
        QCOMPARE(KindOfBackup(backup), BackupKind::ServerDump);

        // Changes after the backup are gone after the restore; the IDs go on past the highest.
        db.exec(QStringLiteral("delete from TClassToSubject"));
        db.addSubject(QStringLiteral("EN"), QStringLiteral("英语"));
        const DbResult restored = RestoreSchool(*db.dm(), backup);
        QVERIFY2(restored, qPrintable(restored.error()));
        QVERIFY(db.dm()->open());
        QCOMPARE(db.count(QStringLiteral("TClassToSubject")), 2);
        QCOMPARE(db.count(QStringLiteral("TSubject"), QStringLiteral("SubjCode='EN'")), 0);
        QVERIFY(
            Db::insertRow(QStringLiteral("TSubject"), {{QStringLiteral("SubjCode"), QStringLiteral("EN")}}));

        // A data file's backup is recognised and refused, the school untouched.
        TempDatabase file(Engine::File);
        QVERIFY(!RestoreSchool(*db.dm(), file.dataFile()));
        QVERIFY(db.dm()->open());
        QCOMPARE(db.count(QStringLiteral("TSubject")), 3);
        // And a server's backup on the file engine.
        QVERIFY(!RestoreSchool(*file.dm(), backup));
        QVERIFY(file.dm()->open());
        QCOMPARE(file.count(QStringLiteral("TSubject")), 0);
    }

    void aMissingOrOldPgDumpIsSaidSo()
    {
        TempDatabase db;
        QTemporaryDir bin;
        qputenv("GRADES_PG_BIN", bin.path().toLocal8Bit());
        const QString target = db.dir() + QStringLiteral("school.ZBK");
        const DbResult missing = BackUpSchool(*db.dm(), target);
        QCOMPARE(missing.fault(), DbResult::Fault::ToolMissing);
        QFile old(bin.path() + QStringLiteral("/pg_dump"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("#!/bin/sh\necho 'pg_dump (PostgreSQL) 9.6.24'\n");
        old.close();
        old.setPermissions(old.permissions() | QFile::ExeOwner);
        const DbResult tooOld = BackUpSchool(*db.dm(), target);
        qunsetenv("GRADES_PG_BIN");
        QCOMPARE(tooOld.fault(), DbResult::Fault::ToolMissing);
        QVERIFY(tooOld.error().contains(QLatin1String("older")));
        QVERIFY(!QFile::exists(target));
    }
};

QTEST_MAIN(ServerTest)
#include "tst_server.moc"
