// Moving a school: file -> server -> file gives tables equal to the first
// file's, IDs and all; a destination that already holds rows is refused.
#include "TempDataFile.h"

#include "data/SchoolCopy.h"
#include "data/uDM.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Every row of every table, as text, by ID.
QStringList everyRow(const StoreLocation& store)
{
    TDM dm(store);
    QStringList out;
    for (const QString& table : TDM::tableNames() + QStringList{QStringLiteral("TSchool")}) {
        QSqlQuery q(dm.ADOLocal());
        if (!q.exec(QStringLiteral("select * from %1 order by ID").arg(table)))
            return {QStringLiteral("cannot read %1").arg(table)};
        while (q.next()) {
            QStringList values{table};
            for (int i = 0; i < q.record().count(); ++i)
                values << (q.isNull(i) ? QStringLiteral("<null>") : q.value(i).toString());
            out << values.join(QLatin1Char('|'));
        }
    }
    return out;
}

void fillSchool(const TempDataFile& db)
{
    db.addTwoTermSchool();
    const int ann = db.addStudent(QStringLiteral("C1"), QStringLiteral("Ann"), QStringLiteral("007"));
    db.addStudent(QStringLiteral("C1"), QStringLiteral("O'Brien"));
    db.exec(QStringLiteral(
        "insert into TStudent (ClassCode,SName,WJContent,IsTY) values ('C2','王五','第一行\n第二行',1)"));
    db.exec(QStringLiteral("delete from TStudent where SName='O''Brien'")); // a gap in the IDs
    db.addGrade(1, QStringLiteral("C1"), ann, QStringLiteral("CN"), 72.5);
    db.addGrade(1, QStringLiteral("C1"), ann, QStringLiteral("MA"), 0.1);
    db.addStandard(1, QStringLiteral("C1"), QStringLiteral("MA"), 85);
    db.exec(QStringLiteral("update TSchool set SchoolName='实验中学'"));
}

} // namespace

class CopyTest : public QObject {
    Q_OBJECT
private slots:
    void fileToFileKeepsEveryRowAndRefusesAFullDestination()
    {
        TempDataFile school(Engine::File);
        fillSchool(school);
        QTemporaryDir dir;
        const StoreLocation copy = StoreLocation::file(dir.path() + QStringLiteral("/copy.dat"));
        const DbValue<CopiedRows> copied = CopySchool(school.store(), copy);
        QVERIFY2(copied, qPrintable(copied.error()));
        QCOMPARE(copied->value(QStringLiteral("TStudent")), 2);
        QCOMPARE(everyRow(copy), everyRow(school.store()));
        QVERIFY(everyRow(copy).contains(QStringLiteral("TSchool|1|实验中学")));
        // Twice: the destination is no longer empty, and stays as it is.
        const DbValue<CopiedRows> again = CopySchool(school.store(), copy);
        QVERIFY(!again);
        QVERIFY(again.error().contains(QLatin1String("not empty")));
        QCOMPARE(everyRow(copy), everyRow(school.store()));
    }

    void fileToServerToFileGivesTheSameTables()
    {
        if (TestEngine() != Engine::Server)
            QSKIP("needs the test server (GRADES_TEST_ENGINE=server)");
        TempDataFile file(Engine::File);
        fillSchool(file);
        const QStringList original = everyRow(file.store());
        TempDataFile server(Engine::Server);
        const StoreLocation onServer = server.store();
        const DbValue<CopiedRows> up = CopySchool(file.store(), onServer);
        QVERIFY2(up, qPrintable(up.error()));
        // Each identity goes on past the highest copied ID.
        const int highest = file.scalar(QStringLiteral("select max(ID) from TStudent")).toInt();
        QCOMPARE(server
                     .scalar(QStringLiteral(
                         "insert into TStudent (ClassCode,SName) values ('C1','新') returning ID"))
                     .toInt(),
                 highest + 1);
        server.exec(QStringLiteral("delete from TStudent where SName='新'"));

        QTemporaryDir dir;
        const StoreLocation back = StoreLocation::file(dir.path() + QStringLiteral("/back.dat"));
        const DbValue<CopiedRows> down = CopySchool(onServer, back);
        QVERIFY2(down, qPrintable(down.error()));
        QCOMPARE(everyRow(back), original);
    }
};

QTEST_MAIN(CopyTest)
#include "tst_copy.moc"
