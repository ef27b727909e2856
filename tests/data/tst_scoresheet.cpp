// The quick entry sheet's statements on a real data file: what each write
// leaves in TGrade, all or nothing, and the check that keeps a take-back
// from overwriting another connection's change.
#include "TempDataFile.h"

#include "data/ScoreSheet.h"
#include "data/ScratchConnection.h"
#include "data/uDM.h"

#include <QSqlQuery>
#include <QTest>

namespace {

const SheetClass kClass{1, QStringLiteral("C'1")}; // a quote in the code, bound rather than spliced

struct School {
    TempDataFile db;
    int ann = 0;
    int bob = 0;

    School()
    {
        db.addTerm(1, QStringLiteral("2023上"));
        db.addClass(kClass.classCode, QStringLiteral("一班"));
        db.addClass(QStringLiteral("C2"), QStringLiteral("二班"));
        db.addSubject(QStringLiteral("CN"), QStringLiteral("语文"));
        db.addSubject(QStringLiteral("MA"), QStringLiteral("数学"));
        db.activate(1, kClass.classCode);
        db.plan(1, kClass.classCode, QStringLiteral("CN"));
        db.plan(1, kClass.classCode, QStringLiteral("MA"));
        ann = db.addStudent(kClass.classCode, QStringLiteral("Ann"));
        bob = db.addStudent(kClass.classCode, QStringLiteral("Bob"));
    }

    SheetCell cell(int student, const char* subject) const { return {student, QString::fromLatin1(subject)}; }

    // Every TGrade row as "student subject score class term", in the order stored.
    QStringList rows() const
    {
        QStringList list;
        QSqlQuery q(db.dm()->ADOLocal());
        q.exec(QStringLiteral(
            "select StudentID, SubjectCode, Score, ClassCode, TermCode from TGrade order by ID"));
        while (q.next())
            list << QStringLiteral("%1 %2 %3 %4 %5")
                        .arg(q.value(0).toInt() == ann ? QStringLiteral("Ann") : QStringLiteral("Bob"),
                             q.value(1).toString(), q.value(2).toString(), q.value(3).toString(),
                             q.value(4).toString());
        return list;
    }
};

QString AnnCn(const QString& score)
{
    return QStringLiteral("Ann CN %1 C'1 1").arg(score);
}

} // namespace

class TestScoreSheet : public QObject {
    Q_OBJECT
private slots:
    void storingInsertsThenUpdatesEveryRowOfTheCell();
    void blockIsAllOrNothing();
    void blockOfManyStatements();
    void clearingRemovesTheCellsRowsOnly();
    void studentRemovedMeanwhileGetsNoRow();
    void conditionalWriteRefusesAChangeMadeElsewhere();
    void laterRowCountsWhenReading();
};

void TestScoreSheet::storingInsertsThenUpdatesEveryRowOfTheCell()
{
    School s;
    // A planned subject without a row: the first store inserts one.
    DbValue<SheetWrite> w = ScoreSheet::StoreScore(kClass, s.cell(s.ann, "CN"), 85.5);
    QVERIFY(w && w->stored());
    QCOMPARE(w->before, QVector<CellScore>{std::nullopt});
    QCOMPARE(s.rows(), QStringList{AnnCn("85.5")});

    // Two rows for one key (as an initialisation run twice may leave): both
    // take the new score, none is added.
    s.db.addGrade(1, kClass.classCode, s.ann, QStringLiteral("CN"), 40);
    s.db.addGrade(1, QStringLiteral("C2"), s.ann, QStringLiteral("CN"), 33); // another class's row
    w = ScoreSheet::StoreScore(kClass, s.cell(s.ann, "CN"), 91);
    QVERIFY(w && w->stored());
    QCOMPARE(w->before, QVector<CellScore>{40.0}); // the later row was what the tables showed
    QCOMPARE(s.rows(), (QStringList{AnnCn("91"), AnnCn("91"), QStringLiteral("Ann CN 33 C2 1")}));
}

void TestScoreSheet::blockIsAllOrNothing()
{
    School s;
    s.db.addGrade(1, kClass.classCode, s.ann, QStringLiteral("CN"), 70);
    const QVector<CellWrite> block{
        {s.cell(s.ann, "CN"), 75.0}, {s.cell(s.ann, "MA"), 80.0}, {s.cell(s.bob, "CN"), 60.0}};
    DbValue<SheetWrite> w = ScoreSheet::StoreScores(kClass, block);
    QVERIFY(w && w->stored());
    QCOMPARE(w->before, (QVector<CellScore>{70.0, std::nullopt, std::nullopt}));
    QCOMPARE(s.rows(), (QStringList{AnnCn("75"), QStringLiteral("Ann MA 80 C'1 1"),
                                    QStringLiteral("Bob CN 60 C'1 1")}));

    // A subject the database does not know makes the insert fail half-way:
    // the cells written before it are rolled back with it.
    const QStringList before = s.rows();
    w = ScoreSheet::StoreScores(kClass, {{s.cell(s.ann, "CN"), 1.0}, {s.cell(s.bob, "XX"), 2.0}});
    QVERIFY(!w);
    QCOMPARE(s.rows(), before);
}

void TestScoreSheet::blockOfManyStatements()
{
    // A class's block is written in several statements: every cell lands
    // once, whichever statement carries it, and one failing in the last
    // statement takes the earlier ones back with it.
    School s;
    QVector<int> students{s.ann, s.bob};
    for (int i = 0; i < 58; ++i)
        students << s.db.addStudent(kClass.classCode, QStringLiteral("S%1").arg(i, 2, 10, QLatin1Char('0')));
    for (int i = 0; i < students.size(); i += 2) // every other student has a row already
        s.db.addGrade(1, kClass.classCode, students.at(i), QStringLiteral("CN"), 1);
    QVector<CellWrite> block;
    for (int i = 0; i < students.size(); ++i)
        for (const char* subject : {"CN", "MA"})
            block.append({s.cell(students.at(i), subject), 50.0 + i});
    DbValue<SheetWrite> w = ScoreSheet::StoreScores(kClass, block);
    QVERIFY(w && w->stored());
    QCOMPARE(w->before.count(CellScore(1.0)), 30);
    const auto scoresNow = [&] {
        QVector<SheetCell> cells;
        for (const CellWrite& c : block)
            cells.append(c.cell);
        return *ScoreSheet::ReadStoredScores(kClass, cells);
    };
    QVector<CellScore> expected;
    for (const CellWrite& c : block)
        expected.append(c.score);
    QCOMPARE(scoresNow(), expected);
    QCOMPARE(s.rows().size(), block.size());

    QVector<CellWrite> failing = block;
    for (CellWrite& c : failing)
        c.score = 7.0;
    failing.append({s.cell(s.ann, "XX"), 8.0}); // an unknown subject, in the last insert
    QVERIFY(!ScoreSheet::StoreScores(kClass, failing));
    QCOMPARE(scoresNow(), expected);

    QVector<SheetCell> cells;
    for (const CellWrite& c : block)
        cells.append(c.cell);
    w = ScoreSheet::ClearScores(kClass, cells);
    QVERIFY(w && w->stored());
    QCOMPARE(w->before, expected);
    QVERIFY(s.rows().isEmpty());
}

void TestScoreSheet::clearingRemovesTheCellsRowsOnly()
{
    School s;
    s.db.addGrade(1, kClass.classCode, s.ann, QStringLiteral("CN"), 70);
    s.db.addGrade(1, kClass.classCode, s.ann, QStringLiteral("CN"), 71);
    s.db.addGrade(1, kClass.classCode, s.ann, QStringLiteral("MA"), 72);
    s.db.addGrade(1, kClass.classCode, s.bob, QStringLiteral("CN"), 73);
    const DbValue<SheetWrite> w = ScoreSheet::ClearScores(kClass, {s.cell(s.ann, "CN"), s.cell(s.bob, "MA")});
    QVERIFY(w && w->stored());
    QCOMPARE(w->before, (QVector<CellScore>{71.0, std::nullopt}));
    QCOMPARE(s.rows(), (QStringList{QStringLiteral("Ann MA 72 C'1 1"), QStringLiteral("Bob CN 73 C'1 1")}));
}

void TestScoreSheet::studentRemovedMeanwhileGetsNoRow()
{
    School s;
    const int gone = s.db.addStudent(kClass.classCode, QStringLiteral("Gus"));
    const int moved = s.db.addStudent(kClass.classCode, QStringLiteral("Mo"));
    s.db.exec(QStringLiteral("delete from TStudent where ID=%1").arg(gone));
    s.db.exec(QStringLiteral("update TStudent set ClassCode='C2' where ID=%1").arg(moved));

    // Whole block refused, naming the first such cell; the good cell before it is not kept.
    DbValue<SheetWrite> w =
        ScoreSheet::StoreScores(kClass, {{s.cell(s.ann, "CN"), 50.0}, {s.cell(moved, "CN"), 60.0}});
    QCOMPARE(w->outcome, SheetWrite::Outcome::StudentGone);
    QCOMPARE(w->offending, 1);
    w = ScoreSheet::StoreScore(kClass, s.cell(gone, "MA"), 60);
    QCOMPARE(w->outcome, SheetWrite::Outcome::StudentGone);
    QCOMPARE(w->offending, 0);
    QVERIFY(s.rows().isEmpty());
}

void TestScoreSheet::conditionalWriteRefusesAChangeMadeElsewhere()
{
    School s;
    QVERIFY(ScoreSheet::StoreScores(kClass, {{s.cell(s.ann, "CN"), 80.0}, {s.cell(s.bob, "CN"), 81.0}})
                ->stored());
    const QVector<CellWrite> back{{s.cell(s.ann, "CN"), std::nullopt}, {s.cell(s.bob, "CN"), std::nullopt}};
    {
        // Another program changes one of the cells through its own connection.
        ScratchConnection other(s.db.dataFile());
        QVERIFY(other.db().open());
        QSqlQuery q(other.db());
        QVERIFY(q.exec(QStringLiteral("update TGrade set Score=99 where StudentID=%1").arg(s.bob)));
    }
    DbValue<SheetWrite> w = ScoreSheet::StoreScoresIfUnchanged(kClass, back, {80.0, 81.0});
    QCOMPARE(w->outcome, SheetWrite::Outcome::Changed);
    QCOMPARE(w->offending, 1);
    QCOMPARE(s.rows(), (QStringList{AnnCn("80"), QStringLiteral("Bob CN 99 C'1 1")}));

    // Expecting what is there now, the same write goes through.
    w = ScoreSheet::StoreScoresIfUnchanged(kClass, back, {80.0, 99.0});
    QVERIFY(w && w->stored());
    QVERIFY(s.rows().isEmpty());
    // A cell expected empty that has a row again is a change too.
    s.db.addGrade(1, kClass.classCode, s.ann, QStringLiteral("CN"), 5);
    w = ScoreSheet::StoreScoresIfUnchanged(kClass, {{s.cell(s.ann, "CN"), 80.0}}, {std::nullopt});
    QCOMPARE(w->outcome, SheetWrite::Outcome::Changed);
    QCOMPARE(s.rows(), QStringList{AnnCn("5")});
}

void TestScoreSheet::laterRowCountsWhenReading()
{
    School s;
    s.db.addGrade(1, kClass.classCode, s.ann, QStringLiteral("CN"), 70);
    s.db.addGrade(1, kClass.classCode, s.ann, QStringLiteral("CN"), 65);
    s.db.addGrade(1, QStringLiteral("C2"), s.bob, QStringLiteral("CN"), 10); // not this class
    const DbValue<QVector<CellScore>> read =
        ScoreSheet::ReadStoredScores(kClass, {s.cell(s.bob, "CN"), s.cell(s.ann, "CN"), s.cell(s.ann, "MA")});
    QVERIFY(read);
    QCOMPARE(*read, (QVector<CellScore>{std::nullopt, 65.0, std::nullopt}));
}

QTEST_MAIN(TestScoreSheet)
#include "tst_scoresheet.moc"
