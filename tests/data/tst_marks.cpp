// The marking rules of the statistics table, on their own.
#include "data/Marks.h"

#include <QTest>

#include <cmath>

using Scores = std::vector<double>;
Q_DECLARE_METATYPE(Scores)

class MarksTest : public QObject {
    Q_OBJECT

private slots:
    void numbersAreTakenAsShown_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("shown");
        QTest::newRow("59.96 shows as 60.0") << 59.96 << 60.0;
        QTest::newRow("59.94 shows as 59.9") << 59.94 << 59.9;
        QTest::newRow("a half rounds away from zero") << 85.25 << 85.3;
        QTest::newRow("a whole number") << 100.0 << 100.0;
        QTest::newRow("just below zero shows as zero") << -0.04 << 0.0;
    }
    void numbersAreTakenAsShown()
    {
        QFETCH(double, value);
        QFETCH(double, shown);
        QCOMPARE(Marks::OneDecimal(value), shown);
        QVERIFY(!std::signbit(Marks::OneDecimal(value)) || shown < 0);
    }

    void totalsAddTheShownScores()
    {
        QCOMPARE(Marks::Total({60.0, 80.0}), 140.0);
        QCOMPARE(Marks::Total({0.1, 0.2}), 0.3); // shown, without the binary remainder
        QCOMPARE(Marks::Total({}), 0.0);
    }

    void failing_data()
    {
        QTest::addColumn<Scores>("scores");
        QTest::addColumn<bool>("failing");
        QTest::newRow("60.0 passes") << Scores{60.0, 70.0} << false;
        QTest::newRow("59.9 fails") << Scores{59.9, 100.0} << true;
        QTest::newRow("a missing score counts 0") << Scores{90.0, 0.0} << true;
        QTest::newRow("no subjects, nothing fails") << Scores{} << false;
    }
    void failing()
    {
        QFETCH(Scores, scores);
        QFETCH(bool, failing);
        QCOMPARE(Marks::HasFailingScore(scores), failing);
    }

    void honours_data()
    {
        QTest::addColumn<Scores>("scores");
        QTest::addColumn<Scores>("thresholds");
        QTest::addColumn<bool>("honours");
        QTest::newRow("equal to the threshold meets it") << Scores{85.0, 90.0} << Scores{85.0, 90.0} << true;
        QTest::newRow("one below misses") << Scores{85.0, 89.9} << Scores{85.0, 90.0} << false;
        QTest::newRow("without standards every threshold is 0")
            << Scores{30.0, 0.0} << Scores{0.0, 0.0} << true;
        QTest::newRow("below 60 but above low thresholds")
            << Scores{55.0, 50.0} << Scores{50.0, 50.0} << true;
        QTest::newRow("the shown score against the stored threshold")
            << Scores{85.0} << Scores{85.04} << false;
        QTest::newRow("a row without subjects") << Scores{} << Scores{} << true;
    }
    void honours()
    {
        QFETCH(Scores, scores);
        QFETCH(Scores, thresholds);
        QFETCH(bool, honours);
        QCOMPARE(Marks::ReachesEveryStandard(scores, thresholds), honours);
    }

    void progress_data()
    {
        QTest::addColumn<double>("total");
        QTest::addColumn<double>("previous");
        QTest::addColumn<bool>("progress");
        QTest::newRow("exactly a tenth more is not enough") << 440.0 << 400.0 << false;
        QTest::newRow("more than a tenth") << 440.1 << 400.0 << true;
        QTest::newRow("nothing before") << 300.0 << 0.0 << false;
        QTest::newRow("nothing now") << 0.0 << 50.0 << false;
        QTest::newRow("less than before") << 300.0 << 400.0 << false;
        QTest::newRow("doubled") << 100.0 << 50.0 << true;
    }
    void progress()
    {
        QFETCH(double, total);
        QFETCH(double, previous);
        QFETCH(bool, progress);
        QCOMPARE(Marks::ImprovedMuch(total, previous), progress);
    }
};

QTEST_APPLESS_MAIN(MarksTest)
#include "tst_marks.moc"
