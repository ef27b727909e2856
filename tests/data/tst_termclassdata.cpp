// The navigator's read of the plan: every term–class pair at once, in the
// order the tree shows them.
#include "TestSupport.h"

#include "data/QueryObject.h"
#include "data/ScratchConnection.h"
#include "data/TermClassData.h"
#include "data/uDM.h"

#include <QFile>
#include <QSqlQuery>
#include <QTest>

namespace {

// The classes of one term as "code=name" texts.
QStringList classesOf(const TermClassPlan& plan, int term)
{
    QStringList texts;
    for (const int at : plan.terms.at(term).classes)
        texts << plan.classes.at(at).code + QLatin1Char('=') + plan.classes.at(at).name;
    return texts;
}

QList<qint64> termCodes(const TermClassPlan& plan)
{
    QList<qint64> codes;
    for (const TermClassPlan::Term& term : plan.terms)
        codes << term.code;
    return codes;
}

} // namespace

class TermClassDataTest : public QObject {
    Q_OBJECT

private slots:
    void readsThePairsInTheTreesOrder()
    {
        TempDatabase db;
        db.addTerm(10, QStringLiteral("十"));
        db.addTerm(2, QStringLiteral("二"));
        db.addTerm(-5, QStringLiteral("负"));
        db.addTerm(2147483647, QStringLiteral("大"));
        db.addTerm(4, QStringLiteral("无班级"));
        db.exec(QStringLiteral("insert into TTerm (TermCode) values (3)")); // no name
        // Codes in the database's byte order: capitals, small letters, then the rest.
        db.addClass(QStringLiteral("a"), QStringLiteral("小写"));
        db.addClass(QStringLiteral("B"), QStringLiteral("大写"));
        db.addClass(QStringLiteral("É"), QStringLiteral("重音"));
        db.addClass(QStringLiteral("C'1"), QStringLiteral("引号"));
        db.exec(QStringLiteral("insert into TClass (ClassCode) values ('N')")); // no name
        for (const char* code : {"a", "É", "B", "C'1"})
            db.activate(10, QString::fromUtf8(code));
        db.activate(2, QStringLiteral("a"));
        db.activate(-5, QStringLiteral("B"));
        db.activate(2147483647, QStringLiteral("N"));
        db.activate(3, QStringLiteral("a"));

        const std::optional<TermClassPlan> plan = ReadTermClassPlan();
        QVERIFY(plan);
        // By number; the term without a class is left out.
        QCOMPARE(termCodes(*plan), (QList<qint64>{-5, 2, 3, 10, 2147483647}));
        QCOMPARE(plan->terms.at(1).name, QStringLiteral("二"));
        QVERIFY(plan->terms.at(2).name.isEmpty());
        QCOMPARE(classesOf(*plan, 3), (QStringList{QStringLiteral("B=大写"), QStringLiteral("C'1=引号"),
                                                   QStringLiteral("a=小写"), QStringLiteral("É=重音")}));
        QCOMPARE(classesOf(*plan, 4), QStringList{QStringLiteral("N=")});
        // A class active in several terms is one class of the plan.
        QCOMPARE(plan->terms.at(1).classes, plan->terms.at(2).classes);
        QCOMPARE(plan->classes.size(), 5);
    }

    void leavesOutPairsWhoseTermOrClassIsGone()
    {
        // As a file written without the references checked may hold them.
        TempDatabase db;
        db.addTerm(1, QStringLiteral("一"));
        db.addTerm(2, QStringLiteral("二"));
        db.addClass(QStringLiteral("A"), QStringLiteral("甲"));
        db.addClass(QStringLiteral("B"), QStringLiteral("乙"));
        db.activate(1, QStringLiteral("A"));
        db.activate(1, QStringLiteral("B"));
        db.activate(2, QStringLiteral("B"));
        db.exec(QStringLiteral("PRAGMA foreign_keys=OFF"));
        db.exec(QStringLiteral("insert into TTermToClass (TermCode,ClassCode) values (9,'A')"));
        db.exec(QStringLiteral("delete from TClass where ClassCode='B'"));
        db.exec(QStringLiteral("PRAGMA foreign_keys=ON"));

        const std::optional<TermClassPlan> plan = ReadTermClassPlan();
        QVERIFY(plan);
        QCOMPARE(termCodes(*plan), QList<qint64>{1}); // term 2 had only the class that is gone
        QCOMPARE(classesOf(*plan, 0), QStringList{QStringLiteral("A=甲")});
    }

    void readsInOneGoAndHoldsNothingAfter()
    {
        TempDatabase db;
        db.addTerm(1, QStringLiteral("一"));
        db.addClass(QStringLiteral("A"), QStringLiteral("甲"));
        db.activate(1, QStringLiteral("A"));
        QVERIFY(ReadTermClassPlan());

        // The read has ended: another connection writes at once, without waiting.
        {
            const OtherClerk other(db);
            if (!db.onServer())
                other.exec(QStringLiteral("PRAGMA busy_timeout=0"));
            else
                other.exec(QStringLiteral("set lock_timeout = 1"));
            other.exec(QStringLiteral("insert into TClass (ClassCode,ClassName) values ('B','乙')"));
        }

        // Inside a transaction of this connection it reads what that one wrote,
        // and leaves it open: its end is the transaction's own.
        {
            Transaction transaction;
            QVERIFY(transaction.isStarted());
            db.activate(1, QStringLiteral("B"));
            const std::optional<TermClassPlan> plan = ReadTermClassPlan();
            QVERIFY(plan);
            QCOMPARE(classesOf(*plan, 0), (QStringList{QStringLiteral("A=甲"), QStringLiteral("B=乙")}));
        }
        QCOMPARE(db.count(QStringLiteral("TTermToClass")), 1); // rolled back by the transaction
    }

    void aFailedReadIsNoPlan()
    {
        TempDatabase db;
        db.addTerm(1, QStringLiteral("一"));
        db.addClass(QStringLiteral("A"), QStringLiteral("甲"));
        db.activate(1, QStringLiteral("A"));
        for (const char* table : {"TTermToClass", "TTerm", "TClass"}) {
            db.exec(QStringLiteral("alter table %1 rename to TAway").arg(QLatin1String(table)));
            QVERIFY2(!ReadTermClassPlan(), table);
            db.exec(QStringLiteral("alter table TAway rename to %1").arg(QLatin1String(table)));
        }
        QVERIFY(ReadTermClassPlan());

        // A data file that cannot be opened.
        if (db.onServer())
            return;
        db.dm()->close();
        QVERIFY(QFile::rename(db.dataFile(), db.dataFile() + QStringLiteral(".away")));
        QVERIFY(!ReadTermClassPlan());
    }
};

QTEST_MAIN(TermClassDataTest)
#include "tst_termclassdata.moc"
