// The school generator: the shape it promises, the same school for the same
// seed, never a half-written or overwritten file, and a demo school whose
// statistics window shows every mark in every class.
#include "TestSupport.h"

#include "data/uDM.h"
#include "statistics/uGradeCount.h"
#include "tools/SchoolGenerator.h"
#include "widgets/StringAlignGrid.h"
#include "widgets/TermClassTree.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace schoolgen;

namespace {

SchoolShape smallShape()
{
    SchoolShape shape;
    shape.terms = 3;
    shape.classes = 4;
    shape.levels = 2;
    shape.firstLevel = 3;
    shape.minStudents = 6;
    shape.maxStudents = 9;
    shape.subjects = 5;
    shape.seed = 7;
    return shape;
}

// A program folder holding a generated school, with AppPath and DM on it.
class GeneratedSchool {
public:
    explicit GeneratedSchool(const SchoolShape& shape)
    {
        const DbResult written = WriteSchool(file(), shape, false, &summary);
        QVERIFY2(written, qPrintable(written.error()));
        AppPath = m_dir.path() + QLatin1Char('/');
        m_dm = std::make_unique<TDM>(file());
    }
    QString file() const { return m_dir.filePath(QStringLiteral("db/Student.dat")); }
    QVariant scalar(const QString& sql) const
    {
        QSqlQuery q(m_dm->ADOLocal());
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
    // Every row of a table in a fixed order, as one fingerprint.
    QByteArray fingerprint(const QString& table) const
    {
        QCryptographicHash hash(QCryptographicHash::Sha1);
        QSqlQuery q(m_dm->ADOLocal());
        q.exec(QStringLiteral("select * from ") + table + QStringLiteral(" order by ID"));
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                hash.addData(q.value(i).toString().toUtf8() + '|');
        return hash.result();
    }

    SchoolSummary summary;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TDM> m_dm;
};

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestSchoolGen : public QObject {
    Q_OBJECT

private slots:
    void theSchoolHasItsShape()
    {
        const SchoolShape shape = smallShape();
        GeneratedSchool school(shape);
        const SchoolSummary& s = school.summary;
        QCOMPARE(s.terms, 3);
        QCOMPARE(s.classes, 4);
        QCOMPARE(s.subjects, 5);
        QVERIFY(s.students >= 4 * 6 && s.students <= 4 * 9);
        QCOMPARE(school.scalar("select count(*) from TStudent").toInt(), s.students);
        // Every class active in every term, with the full plan, standards and scores.
        QCOMPARE(school.scalar("select count(*) from TTermToClass").toInt(), 3 * 4);
        QCOMPARE(school.scalar("select count(*) from TClassToSubject").toLongLong(), s.plans);
        QCOMPARE(s.plans, qint64(3 * 4 * 5));
        QCOMPARE(school.scalar("select count(*) from THonoursStd").toLongLong(), s.standards);
        QCOMPARE(s.standards, s.plans);
        QCOMPARE(school.scalar("select count(*) from TGrade").toLongLong(), s.grades);
        QCOMPARE(s.grades, qint64(3) * s.students * 5);
        // One score per student, subject and term, each in its student's own class.
        QCOMPARE(school
                     .scalar("select count(*) from (select distinct TermCode, StudentID, SubjectCode "
                             "from TGrade)")
                     .toLongLong(),
                 s.grades);
        QCOMPARE(school
                     .scalar("select count(*) from TGrade g join TStudent s on s.ID = g.StudentID "
                             "where s.ClassCode <> g.ClassCode")
                     .toInt(),
                 0);
        QCOMPARE(school
                     .scalar("select count(*) from TGrade where Score < 0 or Score > 100 "
                             "or Score * 2 <> round(Score * 2)")
                     .toInt(),
                 0);

        // Term codes grow with time and are named by school year.
        QCOMPARE(TermCode(shape, 0), 20231);
        QCOMPARE(TermCode(shape, 1), 20232);
        QCOMPARE(TermCode(shape, 2), 20241);
        QCOMPARE(school.scalar("select TermName from TTerm where TermCode = 20232").toString(),
                 QStringLiteral("2023-2024学年第二学期"));
        QCOMPARE(ClassCode(shape, 2), QStringLiteral("0501"));
        QCOMPARE(school.scalar("select ClassName from TClass where ClassCode = '0501'").toString(),
                 QStringLiteral("高二(1)班"));

        // Names are two to four Chinese characters; numbers are digits.
        QSqlQuery q(DM->ADOLocal());
        QVERIFY(q.exec("select SName, SNumber, IsTY, HasWJ, WJContent from TStudent"));
        const QRegularExpression chinese(QStringLiteral("^\\p{Han}{2,4}$"));
        while (q.next()) {
            QVERIFY2(chinese.match(q.value(0).toString()).hasMatch(), qPrintable(q.value(0).toString()));
            QVERIFY(QRegularExpression(QStringLiteral("^\\d+$")).match(q.value(1).toString()).hasMatch());
            QCOMPARE(q.value(3).toInt() == 1, !q.value(4).toString().isEmpty());
        }
        QVERIFY(TDM::isGradeDatabase(school.file()));
    }

    void theSameSeedGivesTheSameSchool()
    {
        SchoolShape shape = smallShape();
        QByteArray grades, students;
        {
            GeneratedSchool first(shape);
            grades = first.fingerprint("TGrade");
            students = first.fingerprint("TStudent");
        }
        {
            GeneratedSchool again(shape);
            QCOMPARE(again.fingerprint("TGrade"), grades);
            QCOMPARE(again.fingerprint("TStudent"), students);
        }
        shape.seed = 8;
        GeneratedSchool other(shape);
        QVERIFY(other.fingerprint("TGrade") != grades);
    }

    void anExistingFileIsReplacedOnlyWhenAllowed()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("school.dat");
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("precious");
        }
        QVERIFY(WriteSchool(file, smallShape(), false).error().contains("already exists"));
        QCOMPARE(fileBytes(file), QByteArray("precious"));

        SchoolSummary summary;
        QVERIFY(WriteSchool(file, smallShape(), true, &summary));
        QVERIFY(TDM::isGradeDatabase(file));
        QVERIFY(summary.grades > 0);
        QVERIFY(!QFile::exists(file + ".part"));

        // A place that cannot take the file: a failure, and nothing left behind.
        const QString blocked = dir.filePath("school.dat/inner.dat");
        QVERIFY(!WriteSchool(blocked, smallShape(), false));
        QVERIFY(!QFile::exists(blocked + ".part"));
        QVERIFY(TDM::isGradeDatabase(file));
    }

    void everyMarkShowsInEveryClassOfTheDemoSchool()
    {
        // Through the real statistics window, so that the window's rounding
        // and rules decide, not the generator's own view of the scores.
        ScriptedDialogs dialogs;
        const SchoolShape shape = DemoShape();
        GeneratedSchool school(shape);
        QCOMPARE(school.summary.terms, 3);
        QCOMPARE(school.summary.classes, 4);
        QCOMPARE(school.summary.subjects, 12);

        TfrmGradeCount window;
        QVERIFY(window.ReadyData());
        window.resize(1000, 700);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TStringAlignGrid* grid = window.grid();
        for (int t = 0; t < shape.terms; ++t) {
            ClickNode(window.tree(), TermNode(window.tree(), t));
            for (int c = 0; c < shape.classes; ++c) {
                ClickNode(window.tree(), ClassNode(window.tree(), t, c));
                const int students = grid->rowCount() - 1;
                QVERIFY2(students >= 30 && students <= 40, qPrintable(QString::number(students)));
                int blue = 0, red = 0, black = 0, green = 0;
                for (int row = 1; row < grid->rowCount(); ++row) {
                    const QColor text = grid->rowTextColor(row);
                    blue += text == TfrmGradeCount::FailColor();
                    red += text == TfrmGradeCount::HonoursColor();
                    black += text == QColor(Qt::black);
                    green += grid->rowBackColor(row) == TfrmGradeCount::ProgressColor();
                }
                const QString where = QStringLiteral("term %1 class %2: blue %3 red %4 black %5 green %6")
                                          .arg(t)
                                          .arg(c)
                                          .arg(blue)
                                          .arg(red)
                                          .arg(black)
                                          .arg(green);
                QVERIFY2(blue > 0 && red > 0 && black > 0, qPrintable(where));
                // The first term has no previous term to improve on.
                QVERIFY2(t == 0 ? green == 0 : green > 0, qPrintable(where));
                // Marks are for a few, not for everyone.
                QVERIFY2(red < students / 2 && blue < students / 2 && green < students / 2,
                         qPrintable(where));
            }
        }
        QVERIFY(dialogs.all().isEmpty());
    }
};

QTEST_MAIN(TestSchoolGen)
#include "tst_schoolgen.moc"
