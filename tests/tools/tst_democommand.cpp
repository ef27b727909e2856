// The demo-school command: it writes a fresh school, replaces an empty data
// file, and never replaces one that may hold a school unless told to.
#include "data/uDM.h"
#include "tools/DemoSchool.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

using namespace schoolgen;

namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
    QStringList asked;
};

Outcome run(const QStringList& arguments, bool answer = false)
{
    Outcome o;
    QTextStream out(&o.out);
    QTextStream err(&o.err);
    o.code = RunDemoCommand(arguments, out, err, [&o, answer](const QString& question) {
        o.asked << question;
        return answer;
    });
    out.flush();
    err.flush();
    return o;
}

QByteArray bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TestDemoCommand : public QObject {
    Q_OBJECT

private slots:
    void writesAFreshFileAndReplacesAnEmptyOne()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath("new/Student.dat");
        Outcome o = run({file});
        QCOMPARE(o.code, 0);
        QVERIFY(o.err.isEmpty());
        QVERIFY(o.out.contains("3 terms, 4 classes"));
        QVERIFY(TDM::isGradeDatabase(file));
        QCOMPARE(InspectTarget(file), Target::Occupied);

        // The empty data file the build places beside the program holds nothing to lose.
        const QString empty = dir.filePath("empty.dat");
        QVERIFY(TDM::createDatabase(empty));
        QCOMPARE(InspectTarget(empty), Target::EmptyDatabase);
        o = run({empty});
        QCOMPARE(o.code, 0);
        QVERIFY(o.asked.isEmpty());
        QCOMPARE(InspectTarget(empty), Target::Occupied);
    }

    void anOccupiedFileIsKeptUnlessTheUserSaysSo()
    {
        QTemporaryDir dir;
        const QString school = dir.filePath("school.dat");
        QCOMPARE(run({school}).code, 0);
        const QByteArray before = bytes(school);
        const QString other = dir.filePath("notes.txt");
        writeFile(other, "not a database");

        for (const QString& file : {school, other}) {
            const Outcome o = run({file}, false);
            QCOMPARE(o.code, 1);
            QCOMPARE(o.asked.size(), 1);
            QVERIFY(o.err.contains("already exists; nothing was written"));
            QVERIFY(o.out.isEmpty());
        }
        QCOMPARE(bytes(school), before);
        QCOMPARE(bytes(other), QByteArray("not a database"));

        // Confirmed, or --force: replaced in one piece.
        Outcome o = run({other}, true);
        QCOMPARE(o.code, 0);
        QVERIFY(TDM::isGradeDatabase(other));
        writeFile(other, "again");
        o = run({"--force", other});
        QCOMPARE(o.code, 0);
        QVERIFY(o.asked.isEmpty());
        QVERIFY(TDM::isGradeDatabase(other));
    }

    void refusesWhatItCannotUse()
    {
        QTemporaryDir dir;
        Outcome o = run({dir.path()});
        QCOMPARE(o.code, 1);
        QVERIFY(o.err.contains("is a folder"));

        o = run({"--frobnicate"});
        QCOMPARE(o.code, 2);
        QVERIFY(o.err.startsWith("usage:"));
        o = run({dir.filePath("a.dat"), dir.filePath("b.dat")});
        QCOMPARE(o.code, 2);
        QVERIFY(!QFile::exists(dir.filePath("a.dat")));

        // Without a file the place is db/Student.dat beside the program.
        QCOMPARE(DefaultDataFile(),
                 QDir(QCoreApplication::applicationDirPath()).absoluteFilePath("db/Student.dat"));
    }
};

QTEST_MAIN(TestDemoCommand)
#include "tst_democommand.moc"
