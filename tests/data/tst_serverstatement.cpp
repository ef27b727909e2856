// The statements on a server through libpq: what a read gives is what the Qt
// driver gives for the same read, values go in bound and come back intact,
// and a connection busy with a read of the driver's is left to the driver.
#include "TempDataFile.h"

#include "data/Database.h"
#include "data/ServerStatement.h"
#include "data/uDM.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

namespace {

// Every column of the school's tables and the kinds of values its reads
// compute, the nulls of each among them.
const char* const kEveryKind =
    "select ID, TermCode, TermName, ?::bigint as Negative, null::integer as NoInt, null::text as NoText, "
    "null::double precision as NoReal, (select count(*) from TGrade) as Grades, "
    "(select sum(Score) from TGrade) as Total, (select avg(StudentID) from TGrade) as Mean, "
    "(select max(Score) from TGrade where Score > 1000) as NoScore, ID > 1 as Later, "
    "null::boolean as NoTruth from TTerm order by ID";

// The rows of a read as the Qt driver reads them, by itself.
QVector<QVariantList> ThroughTheDriver(const QString& text, const QVariantList& values)
{
    QSqlQuery q(DM->ADOLocal());
    q.prepare(text);
    for (const QVariant& v : values)
        q.addBindValue(v);
    if (!q.exec())
        qFatal("the driver's read failed: %s", qPrintable(q.lastError().text()));
    QVector<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < q.record().count(); ++i)
            row << q.value(i);
        rows << row;
    }
    return rows;
}

QString Describe(const QVariant& v)
{
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(v.typeName()), v.isNull() ? "null" : "", v.toString());
}

} // namespace

class ServerStatementTest : public QObject {
    Q_OBJECT
private slots:
    void marksAreNumberedOutsideQuotes()
    {
        int count = 0;
        QCOMPARE(ServerStatement::numbered(
                     QStringLiteral("select ?, '?', \"a?\" from t where x=? and y='it''s?'"), &count),
                 QByteArray("select $1, '?', \"a?\" from t where x=$2 and y='it''s?'"));
        QCOMPARE(count, 2);
        QCOMPARE(ServerStatement::numbered(QStringLiteral("姓名=?"), &count), QByteArray("姓名=$1"));
        QCOMPARE(count, 1);
    }

    void readsAsTheDriverReads()
    {
        TempDataFile db;
        if (!db.onServer())
            QSKIP("the server's own way of reading");
        db.addTwoTermSchool();
        const int student = db.addStudent(QStringLiteral("C1"), QStringLiteral("Ann"));
        db.addGrade(1, QStringLiteral("C1"), student, QStringLiteral("CN"), 85.5);
        db.addGrade(1, QStringLiteral("C1"), student, QStringLiteral("MA"), 0.1);

        QVERIFY(ServerStatement::handleOf(DM->ADOLocal())); // the reads below take libpq's way
        const QVariantList values{-7};
        const DbValue<RowSet> read = Db::select({QString::fromLatin1(kEveryKind), values});
        QVERIFY2(read, qPrintable(read.error()));
        const QVector<QVariantList> expected = ThroughTheDriver(QString::fromLatin1(kEveryKind), values);
        QCOMPARE(read->rowCount(), int(expected.size()));
        QCOMPARE(read->fields().first(), QStringLiteral("ID")); // named as the statement spells it
        for (int r = 0; r < read->rowCount(); ++r)
            for (int c = 0; c < expected.at(r).size(); ++c) {
                const QVariant mine = read->value(r, c);
                const QVariant theirs = expected.at(r).at(c);
                QVERIFY2(mine.metaType() == theirs.metaType() && mine.isNull() == theirs.isNull() &&
                             mine == theirs,
                         qPrintable(QStringLiteral("%1: %2 against %3")
                                        .arg(read->fields().at(c), Describe(mine), Describe(theirs))));
            }

        // Every table of the school, each column as the driver reads it.
        for (const QString& table : TDM::tableNames()) {
            const QString all = QStringLiteral("select * from %1 order by ID").arg(table);
            const DbValue<RowSet> rows = Db::select({all, {}});
            QVERIFY2(rows, qPrintable(rows.error()));
            const QVector<QVariantList> driver = ThroughTheDriver(all, {});
            QCOMPARE(rows->rowCount(), int(driver.size()));
            for (int r = 0; r < rows->rowCount(); ++r)
                for (int c = 0; c < driver.at(r).size(); ++c)
                    QCOMPARE(Describe(rows->value(r, c)), Describe(driver.at(r).at(c)));
        }
    }

    void valuesGoInBoundAndComeBackIntact()
    {
        TempDataFile db;
        if (!db.onServer())
            QSKIP("the server's own way of reading");
        db.addTwoTermSchool();
        const int student = db.addStudent(QStringLiteral("C1"), QStringLiteral("Ann"));
        // A score no short decimal text holds, a text with quotes, marks and
        // a backslash, and a null: each stored and read back as it was.
        const double score = 0.1 + 0.2;
        const QString odd = QStringLiteral("O'Brien \"?\" \\ 张");
        QVERIFY(
            Db::execute({QStringLiteral("insert into TGrade (TermCode,ClassCode,StudentID,SubjectCode,Score) "
                                        "values (?,?,?,?,?)"),
                         {1, QStringLiteral("C1"), student, QStringLiteral("CN"), score}}));
        QVERIFY(Db::execute({QStringLiteral("update TStudent set Address=?, Room=? where ID=?"),
                             {odd, QVariant(QMetaType::fromType<QString>()), student}}));
        const DbValue<RowSet> read = Db::select(
            {QStringLiteral("select Score, Address, Room from TGrade, TStudent where TStudent.ID = StudentID "
                            "and Address = ?"),
             {odd}});
        QVERIFY2(read, qPrintable(read.error()));
        QCOMPARE(read->rowCount(), 1);
        QCOMPARE(read->value(0, 0).toDouble(), score);
        QCOMPARE(read->value(0, 1).toString(), odd);
        QVERIFY(read->value(0, 2).isNull());

        double streamed = 0;
        QByteArray text;
        QVERIFY(Db::selectEach({QStringLiteral("select Score, Address from TGrade, TStudent "
                                               "where TStudent.ID = StudentID"),
                                {}},
                               [&](const StreamRow& row) {
                                   streamed = row.real(0);
                                   text = row.utf8(1).toByteArray();
                               }));
        QCOMPARE(streamed, score);
        QCOMPARE(QString::fromUtf8(text), odd);

        // Marks and values that do not match, and a statement the server refuses: failures, nothing stored.
        QVERIFY(!Db::execute({QStringLiteral("update TStudent set Address=? where ID=?"), {odd}}));
        QVERIFY(!Db::execute({QStringLiteral("update TStudent set NoSuchColumn=1"), {}}));
        QVERIFY(!Db::selectEach({QStringLiteral("delete from TGrade"), {}}, [](const StreamRow&) {}));
        QCOMPARE(db.count(QStringLiteral("TGrade")), 1);
    }

    void aPreparedStatementRunsForManyRows()
    {
        TempDataFile db;
        db.addTwoTermSchool();
        {
            PreparedStatement insert(
                QStringLiteral("insert into TStudent (ClassCode,SName,SNumber,Address) values (?,?,?,?)"));
            for (int i = 0; i < 3; ++i)
                QVERIFY(
                    insert.run({QStringLiteral("C1"), QStringLiteral("O'Brien %1").arg(i), QString::number(i),
                                i == 1 ? QVariant(QMetaType::fromType<QString>()) : QVariant("x?")}));
            QVERIFY(!insert.run({QStringLiteral("C1")}));                // too few values
            QVERIFY(!insert.run({QStringLiteral("XX"), "A", "1", "a"})); // no such class
        }
        QCOMPARE(db.count(QStringLiteral("TStudent")), 3);
        QCOMPARE(db.count(QStringLiteral("TStudent"), QStringLiteral("SName='O''Brien 2' and Address='x?'")),
                 1);
        QCOMPARE(db.count(QStringLiteral("TStudent"), QStringLiteral("Address is null")), 1);

        // The connection closed and opened again meanwhile: a failure, nothing stored.
        PreparedStatement insert(
            QStringLiteral("insert into TStudent (ClassCode,SName,SNumber) values (?,?,?)"));
        db.dm()->close();
        QVERIFY(db.dm()->open());
        if (db.onServer())
            QVERIFY(!insert.run({QStringLiteral("C1"), QStringLiteral("Late"), "9"}));
        QCOMPARE(db.count(QStringLiteral("TStudent"), QStringLiteral("SName='Late'")), 0);
    }

    void aReadOfTheDriversInProgressKeepsTheConnection()
    {
        TempDataFile db;
        if (!db.onServer())
            QSKIP("the server's own way of reading");
        db.addTwoTermSchool();
        for (int i = 0; i < 50; ++i)
            db.addStudent(QStringLiteral("C1"), QStringLiteral("S%1").arg(i));
        // A read of the driver's, fetched a row at a time and not to its end.
        QSqlQuery pending(DM->ADOLocal());
        pending.setForwardOnly(true);
        QVERIFY(pending.exec(QStringLiteral("select ID from TStudent order by ID")));
        QVERIFY(pending.next());
        // Whichever way it takes, a statement meanwhile runs.
        const DbValue<RowSet> terms =
            Db::select({QStringLiteral("select TermName from TTerm order by TermCode"), {}});
        QVERIFY2(terms, qPrintable(terms.error()));
        QCOMPARE(terms->rowCount(), 2);
        pending.finish();
        QVERIFY(ServerStatement::handleOf(DM->ADOLocal()) != nullptr);
    }
};

QTEST_GUILESS_MAIN(ServerStatementTest)
#include "tst_serverstatement.moc"
