// "载入示例学校": offered by the guide of an empty school, it brings the demo
// school in through the restore (on a server through the school's copy), and
// refuses a school that holds anything, however recently that came.
#include "DataFileSupport.h"
#include "TestSupport.h"

#include "data/Messages.h"
#include "data/ScratchConnection.h"
#include "data/uDM.h"
#include "guide/OperationGuide.h"
#include "shell/Application.h"
#include "shell/uDemoSchool.h"
#include "shell/uMain.h"
#include "tools/SchoolGenerator.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

#include <sys/stat.h>

namespace {

QVariant scalarIn(const QString& file, const QString& sql)
{
    ScratchConnection connection(ScratchConnection::fileUri(file, "ro"), true);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return {};
    QSqlQuery q(db);
    return q.exec(sql) && q.next() ? q.value(0) : QVariant();
}

// Every table's rows, in the order of the tables.
QList<int> countsIn(const QString& file)
{
    QList<int> counts;
    for (const QString& table : TDM::tableNames())
        counts << scalarIn(file, QStringLiteral("select count(*) from ") + table).toInt();
    return counts;
}

// The same of the school under test, on whichever engine it is.
QList<int> countsIn(const TempDatabase& db)
{
    QList<int> counts;
    for (const QString& table : TDM::tableNames())
        counts << db.count(table);
    return counts;
}

ino_t inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Program {
    TempUserSettings settings;
    ScriptedDialogs dialogs;
    TfrmMain main;
    TempDatabase db;

    Program()
    {
        main.resize(1280, 1024);
        ShowActive(&main);
    }
    TOperationGuide* guide() const { return main.guide(); }
    // Clicks the offer where the guide draws it.
    void clickOffer(bool answer)
    {
        const QRect offer = guide()->offerRect();
        QVERIFY(!offer.isEmpty());
        dialogs.answers.push_back(answer);
        QTest::mouseClick(main.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          guide()->viewport()->mapTo(&main, offer.center()));
    }
    // The data file's folder; a school on a server has none.
    QStringList filesInDb() const
    {
        if (db.onServer())
            return {"Student.dat"};
        return QDir(db.dir() + "db").entryList(QDir::Files | QDir::Hidden);
    }
};

} // namespace

class DemoSchoolTest : public QObject {
    Q_OBJECT
private slots:
    void bringsTheDemoSchoolInThroughTheRestore();
    void answeredNoChangesNothing();
    void refusedOnceAnythingIsThere();
    void refusedWhileAnotherProgramWrites();
};

void DemoSchoolTest::bringsTheDemoSchoolInThroughTheRestore()
{
    Program p;
    // The school grades-demo writes, for comparison.
    QTemporaryDir elsewhere;
    const QString expected = elsewhere.filePath("Demo.dat");
    QVERIFY(schoolgen::WriteSchool(expected, schoolgen::DemoShape(), false));

    // Another copy of the program has the school open all along.
    std::unique_ptr<SqliteShell> other;
    if (SqliteShell::available() && !p.db.onServer()) {
        other = std::make_unique<SqliteShell>(p.db.dataFile());
        QCOMPARE(other->run("SELECT count(*) FROM TTerm;"), QString("0"));
    }
    const OtherClerk clerk(p.db);
    QCOMPARE(clerk.scalar("select count(*) from TTerm").toInt(), 0);
    const ino_t inode = p.db.onServer() ? 0 : inodeOf(p.db.dataFile());

    p.clickOffer(true);
    QCOMPARE(p.dialogs.questions, QStringList{DemoSchool::Question()});
    QVERIFY2(p.dialogs.all().isEmpty(), qPrintable(p.dialogs.all().join(" / ")));
    QVERIFY(p.dialogs.questions.first().contains(QStringLiteral("3个学期、4个班级、12个科目")));

    // The demo school, whole, in the school that was there: on a data file
    // written into it through SQLite, not put in its place.
    QCOMPARE(countsIn(p.db), countsIn(expected));
    QCOMPARE(p.db.count("TTerm"), 3);
    QVERIFY(p.db.count("TGrade") > 1000);
    QCOMPARE(clerk.scalar("select count(*) from TClass").toInt(), 4);
    if (!p.db.onServer()) {
        QCOMPARE(inodeOf(p.db.dataFile()), inode);
        QCOMPARE(scalarIn(p.db.dataFile(), "PRAGMA integrity_check").toString(), QString("ok"));
        QVERIFY(TDM::isGradeDatabase(p.db.dataFile()));
    }
    QVERIFY(DM->isOpen());
    // The school's name came with it, in place of the empty school's.
    QCOMPARE(p.db.count("TSchool"), 1);
    QCOMPARE(p.db.scalar("select SchoolName from TSchool").toString(),
             scalarIn(expected, "select SchoolName from TSchool").toString());
    QCOMPARE(p.filesInDb(), QStringList{"Student.dat"}); // no copy left behind
    if (other)
        QCOMPARE(other->run("SELECT count(*) FROM TTerm;"), QString("3"));

    // The guide shows the school, every step done, and offers nothing any more.
    const GuideState& state = p.guide()->state();
    for (int i = 0; i + 1 < state.steps.size(); ++i)
        QVERIFY2(state.steps.at(i).done, qPrintable(p.guide()->stepLabel(i)));
    QCOMPARE(state.next, int(state.steps.size()) - 1);
    QVERIFY(!state.offer);
    QVERIFY(p.guide()->offerRect().isEmpty());
    QCOMPARE(state.steps.at(0).detail, QString("3 个学期"));
    QCOMPARE(state.steps.at(2).detail, QString("4 个班级"));
    QTRY_VERIFY(!QApplication::overrideCursor());
}

void DemoSchoolTest::answeredNoChangesNothing()
{
    Program p;
    const QByteArray before = p.db.onServer() ? QByteArray() : bytesOf(p.db.dataFile());
    p.clickOffer(false);
    QCOMPARE(p.dialogs.questions.size(), 1);
    QVERIFY(p.dialogs.all().isEmpty());
    QCOMPARE(p.db.onServer() ? QByteArray() : bytesOf(p.db.dataFile()), before);
    QCOMPARE(countsIn(p.db), (QList<int>{0, 0, 0, 0, 0, 0, 0, 0}));
    QVERIFY(p.guide()->state().offer); // still empty, still offered
    QCOMPARE(p.filesInDb(), QStringList{"Student.dat"});
}

void DemoSchoolTest::refusedOnceAnythingIsThere()
{
    Program p;
    QVERIFY(p.guide()->state().offer);
    // Someone else stores a subject after the offer was drawn: the answer
    // Yes is refused, and the subject is all the file holds.
    p.db.addSubject("CN", "语文");
    p.clickOffer(true);
    QCOMPARE(p.dialogs.messages, QStringList{DemoSchool::Refused});
    QCOMPARE(countsIn(p.db), (QList<int>{0, 1, 0, 0, 0, 0, 0, 0}));
    // The guide no longer offers it.
    QVERIFY(!p.guide()->state().offer);

    // Nor does the command itself take a school that is under way.
    p.db.exec("delete from TSubject");
    p.db.addTwoTermSchool();
    p.db.addGrade(1, "C1", p.db.addStudent("C1", "张三"), "CN", 80);
    const QList<int> held = countsIn(p.db);
    p.dialogs.clear();
    p.dialogs.answers.push_back(true);
    QVERIFY(TriggerMenuItem(&p.main, "actDemoSchool"));
    QCOMPARE(p.dialogs.messages, QStringList{DemoSchool::Refused});
    QCOMPARE(countsIn(p.db), held);
    QCOMPARE(p.filesInDb(), QStringList{"Student.dat"});
}

void DemoSchoolTest::refusedWhileAnotherProgramWrites()
{
    FILE_ENGINE_ONLY();
    if (!SqliteShell::available())
        QSKIP("the sqlite3 shell is not installed");
    Program p;
    SqliteShell other(p.db.dataFile());
    // A write whose pages reached the file: whether the school is empty
    // cannot be told, so nothing is brought in.
    other.holdSpilledWrite();
    p.clickOffer(true);
    QCOMPARE(p.dialogs.messages, QStringList{Msg::ReadFailed});
    QCOMPARE(other.run("ROLLBACK;"), QString());
    QCOMPARE(countsIn(p.db.dataFile()), (QList<int>{0, 0, 0, 0, 0, 0, 0, 0}));

    // Once it is done, the offer works.
    p.dialogs.clear();
    QVERIFY(TriggerMenuItem(&p.main, "mnuGuide"));
    QVERIFY(TriggerMenuItem(&p.main, "mnuGuide"));
    p.clickOffer(true);
    QVERIFY(p.dialogs.all().isEmpty());
    QCOMPARE(p.db.count("TTerm"), 3);
    QCOMPARE(other.run("SELECT count(*) FROM TClass;"), QString("4"));
}

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    DemoSchoolTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_demoschool.moc"
