#include "DataFileSupport.h"
#include "TestSupport.h"

#include "data/FileCopy.h"
#include "data/QueryObject.h"
#include "data/SchemaVersions.h"
#include "data/ScratchConnection.h"
#include "data/TempFiles.h"
#include "data/uDM.h"
#include "shell/Application.h"
#include "shell/uBackup.h"
#include "shell/uMain.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <unistd.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Files in a folder other than the ones a test expects: left-over copies.
QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A value read from a file through a connection of its own.
QVariant scalarIn(const QString& file, const QString& sql)
{
    ScratchConnection connection(ScratchConnection::fileUri(file, "ro"), true);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return {};
    QSqlQuery q(db);
    return q.exec(sql) && q.next() ? q.value(0) : QVariant();
}

int termCount()
{
    QueryObject q;
    q.setStatement({QStringLiteral("select * from TTerm"), {}});
    return q.open() ? q.rowCount() : -1;
}

// The program as it starts: the main window first (it sets AppPath), then
// the data module on a fresh data file; file dialogs answered by script.
struct Program {
    TfrmMain main;
    TempDatabase db;
    ScriptedDialogs dialogs;

    QString bak(const QString& name) const { return db.dir() + QStringLiteral("Bak/") + name; }
    void menu(const char* name) { QVERIFY(TriggerMenuItem(&main, name)); }
    void backupTo(const QString& file)
    {
        dialogs.files.push_back(file);
        menu("mnuBak");
    }
    void restoreFrom(const QString& file)
    {
        dialogs.files.push_back(file);
        menu("mnuRestore");
    }
};

// The real message boxes with every file dialog cancelled.
class BoxesOnly : public WidgetDialogProvider {
public:
    QString saveFileName(QWidget*, const FileRequest&) override { return {}; }
    QString openFileName(QWidget*, const FileRequest&) override { return {}; }
};

} // namespace

class BackupTest : public QObject {
    Q_OBJECT
private slots:
    void backupIsTheDataFileUnderTodaysName();
    void namesWithoutExtensionGetZbk();
    void cancellingLeavesTheConnectionUntouched();
    void failedBackupKeepsTheEarlierOne();
    void dataFileItselfIsRefused();
    void restoreIsWhatIsReadAfterwards();
    void restoreRefusesWhatIsNotOurDatabase();
    void connectionThatWillNotOpenGoesToTopLevelReport();
    void copyNeverLeavesAHalfWrittenFile();
    void restoreWarningShowsThreeLines();
    void backupBesideAWriterIsWholeOrRefused();
    void restoreBesideAnotherProgramKeepsBothSound();
    void restoreTakesOnlyFilesThatAreExactlyOurs();
    void leftoverTemporariesGoOnlyWhenTheirRunHasEnded();
    void saveDialogOffersTodaysBackupInChinese();
};

void BackupTest::backupIsTheDataFileUnderTodaysName()
{
    Program p;
    p.db.addTerm(1, QStringLiteral("一"));
    QVERIFY(!QDir(p.db.dir() + "Bak").exists());

    p.main.mnuBakClick(); // cancelled: but the folder is there for the dialog
    QCOMPARE(p.dialogs.fileRequests.size(), 1);
    const auto request = p.dialogs.fileRequests.first();
    const QString today = p.bak(QDate::currentDate().toString("yyyyMMdd") + ".ZBK");
    QCOMPARE(request.title, QStringLiteral("备份文件"));
    QCOMPARE(request.directory, p.db.dir() + "Bak");
    QCOMPARE(request.fileName, today);
    QCOMPARE(request.filter, QStringLiteral("成绩管理备份文件(*.ZBK)"));
    QCOMPARE(request.defaultSuffix, QStringLiteral("ZBK"));
    QVERIFY(QDir(p.db.dir() + "Bak").exists());

    p.backupTo(today);
    QVERIFY(p.dialogs.all().isEmpty());
    QVERIFY(DM->isOpen());
    QCOMPARE(bytesOf(today), bytesOf(p.db.dataFile()));

    // The second backup of the day replaces the first without a question.
    p.db.addTerm(2, QStringLiteral("二"));
    p.backupTo(today);
    QVERIFY(p.dialogs.all().isEmpty());
    QVERIFY(p.dialogs.questions.isEmpty());
    QCOMPARE(bytesOf(today), bytesOf(p.db.dataFile()));
    QCOMPARE(filesIn(p.db.dir() + "Bak"), QStringList{QFileInfo(today).fileName()});
}

void BackupTest::namesWithoutExtensionGetZbk()
{
    Program p;
    p.backupTo(p.bak("mine"));
    QVERIFY(QFile::exists(p.bak("mine.ZBK")));
    QVERIFY(!QFile::exists(p.bak("mine")));
    p.backupTo(p.bak("term.2024"));
    QVERIFY(QFile::exists(p.bak("term.2024")));

    p.db.addTerm(7, QStringLiteral("后加"));
    p.restoreFrom(p.bak("mine"));
    QCOMPARE(p.dialogs.messages, QStringList{Backup::RestoreWarning});
    QCOMPARE(termCount(), 0);
}

void BackupTest::cancellingLeavesTheConnectionUntouched()
{
    Program p;
    p.db.addTerm(1, QStringLiteral("一"));
    const QByteArray before = bytesOf(p.db.dataFile());
    // A running statement survives only as long as the connection is not closed.
    QSqlQuery running(DM->ADOLocal());
    QVERIFY(running.exec(QStringLiteral("select * from TTerm")));

    p.menu("mnuBak");
    p.menu("mnuRestore");
    QCOMPARE(p.dialogs.messages, QStringList{Backup::RestoreWarning});
    QVERIFY(p.dialogs.errors.isEmpty());
    QVERIFY(DM->isOpen());
    QVERIFY(running.isActive());
    QVERIFY(running.next());
    QCOMPARE(filesIn(p.db.dir() + "Bak"), QStringList());
    QCOMPARE(bytesOf(p.db.dataFile()), before);
}

void BackupTest::failedBackupKeepsTheEarlierOne()
{
    Program p;
    const QString earlier = p.bak("earlier.ZBK");
    QDir().mkpath(p.db.dir() + "Bak");
    writeFile(earlier, "the earlier backup");

    // A folder that does not exist, a "folder" that is a file, a folder as the file.
    QDir().mkpath(p.bak("folder.ZBK"));
    for (const QString& target : {p.db.dir() + "nowhere/x.ZBK", earlier + "/x.ZBK", p.bak("folder.ZBK")}) {
        p.dialogs.clear();
        p.backupTo(target);
        QCOMPARE(p.dialogs.messages, QStringList{Backup::BackupFailed});
        QVERIFY(p.dialogs.errors.isEmpty());
        QVERIFY(DM->isOpen());
    }
    QCOMPARE(bytesOf(earlier), QByteArray("the earlier backup"));

    // The user protected the earlier backup: it is not replaced.
    QFile::setPermissions(earlier, QFileDevice::ReadOwner | QFileDevice::ReadUser);
    p.dialogs.clear();
    p.backupTo(earlier);
    QCOMPARE(p.dialogs.messages, QStringList{Backup::BackupFailed});
    QCOMPARE(bytesOf(earlier), QByteArray("the earlier backup"));
    QFile::setPermissions(earlier, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // A folder that cannot be written keeps its files (an administrator writes anyway).
    if (geteuid() != 0) {
        QFile::setPermissions(p.db.dir() + "Bak", QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        p.dialogs.clear();
        p.backupTo(earlier);
        QCOMPARE(p.dialogs.messages, QStringList{Backup::BackupFailed});
        QCOMPARE(bytesOf(earlier), QByteArray("the earlier backup"));
        QFile::setPermissions(p.db.dir() + "Bak",
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    QCOMPARE(filesIn(p.db.dir() + "Bak"), QStringList{"earlier.ZBK"});
    QVERIFY(DM->isOpen());
}

void BackupTest::dataFileItselfIsRefused()
{
    Program p;
    p.db.addTerm(1, QStringLiteral("一"));
    const QByteArray before = bytesOf(p.db.dataFile());
    QDir().mkpath(p.db.dir() + "Bak");
    QVERIFY(QFile::link(p.db.dataFile(), p.bak("link.ZBK")));

    const QStringList spellings{p.db.dataFile(), p.db.dir() + "Bak/../db/./Student.dat", p.bak("link.ZBK")};
    for (const QString& file : spellings) {
        p.dialogs.clear();
        p.backupTo(file);
        QCOMPARE(p.dialogs.messages, QStringList{Backup::BackupFailed});
        p.dialogs.clear();
        p.restoreFrom(file);
        QCOMPARE(p.dialogs.messages, (QStringList{Backup::RestoreWarning, Backup::RestoreFailed}));
        QVERIFY(p.dialogs.errors.isEmpty());
        QVERIFY(DM->isOpen());
    }
    QCOMPARE(bytesOf(p.db.dataFile()), before);
    QCOMPARE(termCount(), 1);
    QCOMPARE(filesIn(p.db.dir() + "db"), QStringList{"Student.dat"});
}

void BackupTest::restoreIsWhatIsReadAfterwards()
{
    Program p;
    p.db.addTerm(1, QStringLiteral("备份时的学期"));
    p.backupTo(p.bak("good.ZBK"));
    p.db.addTerm(2, QStringLiteral("备份后的学期"));

    // A list that was open before the restore reads the restored file when it reloads.
    QueryObject list;
    list.setStatement({QStringLiteral("select * from TTerm order by TermCode"), {}});
    QVERIFY(list.open());
    QCOMPARE(list.rowCount(), 2);

    p.dialogs.clear();
    p.restoreFrom(p.bak("good.ZBK"));
    QCOMPARE(p.dialogs.messages,
             QStringList{QStringLiteral("警告：还原数据库将会把当前设置状况下的数据覆盖，且不可恢复！\r"
                                        "建议在还原之前先备份数据库！\r请谨慎使用本功能！")});
    QVERIFY(p.dialogs.errors.isEmpty());
    QVERIFY(DM->isOpen());
    const auto request = p.dialogs.fileRequests.first();
    QCOMPARE(request.title, QStringLiteral("选择文件还原数据库"));
    QCOMPARE(request.directory, p.db.dir() + "Bak");
    QCOMPARE(request.fileName, QString());
    QVERIFY(TDM::isGradeDatabase(p.db.dataFile()));
    QVERIFY(list.open());
    QCOMPARE(list.rowCount(), 1);
    QCOMPARE(list.fieldText("TermName"), QStringLiteral("备份时的学期"));
    QCOMPARE(filesIn(p.db.dir() + "db"), QStringList{"Student.dat"});

    // The open dialog offers the last chosen file next time.
    p.dialogs.clear();
    p.menu("mnuRestore");
    QCOMPARE(p.dialogs.fileRequests.first().fileName, p.bak("good.ZBK"));

    // A lost data file is brought back the same way.
    DM->close();
    QVERIFY(QFile::remove(p.db.dataFile()));
    p.dialogs.clear();
    p.restoreFrom(p.bak("good.ZBK"));
    QCOMPARE(p.dialogs.messages, QStringList{Backup::RestoreWarning});
    QVERIFY(DM->isOpen());
    QCOMPARE(termCount(), 1);

    // And a data file that is no database any more.
    DM->close();
    writeFile(p.db.dataFile(), "overwritten by mistake");
    p.dialogs.clear();
    p.restoreFrom(p.bak("good.ZBK"));
    QCOMPARE(p.dialogs.messages, QStringList{Backup::RestoreWarning});
    QCOMPARE(termCount(), 1);
    QCOMPARE(filesIn(p.db.dir() + "db"), QStringList{"Student.dat"});
}

void BackupTest::restoreRefusesWhatIsNotOurDatabase()
{
    Program p;
    p.db.addTerm(1, QStringLiteral("一"));
    for (int i = 0; i < 200; ++i)
        p.db.addSubject(QString::number(i), QString(300, QChar(u'科')));
    p.backupTo(p.bak("good.ZBK"));
    const QByteArray good = bytesOf(p.bak("good.ZBK"));
    p.db.addTerm(2, QStringLiteral("二"));
    const QByteArray before = bytesOf(p.db.dataFile());

    writeFile(p.bak("text.ZBK"), "这不是数据库");
    writeFile(p.bak("empty.ZBK"), QByteArray());
    writeFile(p.bak("truncated.ZBK"), good.left(good.size() / 2));
    writeFile(p.bak("tail.ZBK"), good.left(good.size() - 100));
    {
        // A sound SQLite file of some other program.
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(p.bak("other.ZBK"));
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("create table TTerm (ID integer)")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));

    for (const char* name :
         {"text.ZBK", "empty.ZBK", "truncated.ZBK", "tail.ZBK", "other.ZBK", "missing.ZBK"}) {
        p.dialogs.clear();
        p.restoreFrom(p.bak(QLatin1String(name)));
        QVERIFY2(p.dialogs.messages == (QStringList{Backup::RestoreWarning, Backup::RestoreFailed}), name);
        QVERIFY2(p.dialogs.errors.isEmpty(), name);
        QVERIFY2(DM->isOpen(), name);
        QVERIFY2(bytesOf(p.db.dataFile()) == before, name);
        QCOMPARE(termCount(), 2);
    }
    QCOMPARE(filesIn(p.db.dir() + "db"), QStringList{"Student.dat"});
}

void BackupTest::connectionThatWillNotOpenGoesToTopLevelReport()
{
    Program p;
    p.backupTo(p.bak("day.ZBK"));
    const QByteArray earlier = bytesOf(p.bak("day.ZBK"));

    // The data file went away under the running program.
    QVERIFY(QFile::remove(p.db.dataFile()));
    p.dialogs.clear();
    p.backupTo(p.bak("day.ZBK"));
    QVERIFY(p.dialogs.messages.isEmpty());
    QCOMPARE(p.dialogs.errors.size(), 1);
    QCOMPARE(p.dialogs.errors.first(), DM->lastError());
    QVERIFY(!DM->isOpen());
    QCOMPARE(bytesOf(p.bak("day.ZBK")), earlier);
}

void BackupTest::copyNeverLeavesAHalfWrittenFile()
{
    QTemporaryDir dir;
    const QString source = dir.filePath("source");
    const QString target = dir.filePath("target");
    writeFile(source, QByteArray(300 * 1024, 'n'));
    writeFile(target, "old");

    const DbResult missing = CopyDataFile(dir.filePath("missing"), target);
    QVERIFY(!missing);
    QVERIFY(!missing.error().isEmpty());
    const DbResult refused = CopyDataFile(source, target, [](const QString& copy) {
        // The check sees the complete copy, which has not replaced anything yet.
        if (bytesOf(copy).size() != 300 * 1024 || bytesOf(QFileInfo(copy).path() + "/target") != "old")
            qFatal("the check did not see a complete copy beside an untouched target");
        return DbResult::failed(QStringLiteral("refused"));
    });
    QCOMPARE(refused.error(), QStringLiteral("refused"));
    QCOMPARE(bytesOf(target), QByteArray("old"));
    QCOMPARE(filesIn(dir.path()), (QStringList{"source", "target"}));

    QVERIFY(CopyDataFile(source, target));
    QCOMPARE(bytesOf(target), bytesOf(source));
    QVERIFY(!CopyDataFile(source, source));
    QCOMPARE(bytesOf(source).size(), 300 * 1024);
    QCOMPARE(filesIn(dir.path()), (QStringList{"source", "target"}));
}

void BackupTest::restoreWarningShowsThreeLines()
{
    Program p;

    BoxesOnly boxes;
    DialogProvider* previous = SetDialogProvider(&boxes);
    QString shown;
    int labelHeight = 0, lineHeight = 0;
    OnNextModal([&](QWidget* window) {
        auto* box = qobject_cast<QMessageBox*>(window);
        QVERIFY(box);
        const QLabel* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        shown = label->text();
        labelHeight = label->height();
        lineHeight = label->fontMetrics().lineSpacing();
        box->accept();
    });
    p.main.mnuRestoreClick();
    SetDialogProvider(previous);

    QCOMPARE(shown.split(QChar(10)), Backup::RestoreWarning.split(QChar(13)));
    QVERIFY2(labelHeight >= 3 * lineHeight,
             qPrintable(QString("%1 < 3 x %2").arg(labelHeight).arg(lineHeight)));
}

void BackupTest::saveDialogOffersTodaysBackupInChinese()
{
    Program p;
    QDir().mkpath(p.db.dir() + "Bak");
    writeFile(p.bak("mine.ZBK"), "an earlier backup");
    DialogProvider* previous = SetDialogProvider(nullptr);
    QString title, proposed, acceptText, folder;
    QStringList filters;
    bool asked = false;
    OnNextModal([&](QWidget* window) {
        auto* dialog = qobject_cast<QFileDialog*>(window);
        QVERIFY(dialog);
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        folder = dialog->directory().absolutePath();
        proposed = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        acceptText = dialog->labelText(QFileDialog::Accept);
        QVERIFY(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        // Typed without an extension, and the name of an existing backup.
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("mine"));
        QTimer::singleShot(2000, [&asked] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = true;
                box->reject();
            }
        });
        static_cast<QDialog*>(dialog)->accept(); // the dialog's own checks run
    });
    p.main.mnuBakClick();
    SetDialogProvider(previous);

    QCOMPARE(title, QStringLiteral("备份文件"));
    QCOMPARE(filters, QStringList{QStringLiteral("成绩管理备份文件(*.ZBK)")});
    QCOMPARE(folder, QDir(p.db.dir() + "Bak").absolutePath());
    QCOMPARE(proposed, QDate::currentDate().toString("yyyyMMdd") + ".ZBK");
    QVERIFY(!asked);
    QCOMPARE(bytesOf(p.bak("mine.ZBK")), bytesOf(p.db.dataFile()));
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_zh_CN.qm"))
        QVERIFY2(acceptText.contains(QStringLiteral("保存")), qPrintable(acceptText));
}

void BackupTest::backupBesideAWriterIsWholeOrRefused()
{
    if (!SqliteShell::available())
        QSKIP("the sqlite3 shell is not installed");
    Program p;
    p.db.addTerm(1, QStringLiteral("一"));
    const QString day = p.bak("day.ZBK");
    p.backupTo(day);
    const QByteArray earlier = bytesOf(day);
    const QString journal = p.db.dataFile() + "-journal";

    // Another program inside a write transaction whose pages reached the file:
    // the backup waits about two seconds for it, then gives up.
    SqliteShell other(p.db.dataFile());
    const qint64 committedSize = QFileInfo(p.db.dataFile()).size();
    other.holdSpilledWrite();
    QVERIFY(QFile::exists(journal));
    QVERIFY(QFileInfo(p.db.dataFile()).size() > committedSize);
    p.dialogs.clear();
    QElapsedTimer waited;
    waited.start();
    p.backupTo(day);
    QVERIFY2(waited.elapsed() >= 1500 && waited.elapsed() < 4500,
             qPrintable(QString::number(waited.elapsed())));
    QCOMPARE(p.dialogs.messages, QStringList{Backup::BackupFailed});
    QVERIFY(p.dialogs.errors.isEmpty());
    QVERIFY(DM->isOpen());
    QCOMPARE(bytesOf(day), earlier);
    QCOMPARE(filesIn(p.db.dir() + "Bak"), QStringList{"day.ZBK"});
    // The busy cursor showed through the wait and goes once events run again.
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QTRY_VERIFY(!QApplication::overrideCursor());

    // The writer dies: its journal is hot. The backup has it rolled back
    // before it copies, and the copy is what was committed.
    other.kill();
    QVERIFY(QFile::exists(journal));
    p.dialogs.clear();
    p.backupTo(day);
    QVERIFY(p.dialogs.all().isEmpty());
    QVERIFY(!QFile::exists(journal));
    QVERIFY(TDM::isGradeDatabase(day));
    QCOMPARE(scalarIn(day, "select count(*) from TSubject").toInt(), 0);
    QCOMPARE(scalarIn(day, "select count(*) from TTerm").toInt(), 1);
    QCOMPARE(bytesOf(day), bytesOf(p.db.dataFile()));

    // A writer whose change is still in its own memory does not keep a
    // reader out: the backup goes through, without the change.
    SqliteShell small(p.db.dataFile());
    small.run("BEGIN; INSERT INTO TTerm (TermCode,TermName) VALUES (2,'未提交');");
    p.backupTo(day);
    QVERIFY(p.dialogs.all().isEmpty());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(TDM::isGradeDatabase(day));
    QCOMPARE(scalarIn(day, "select count(*) from TTerm").toInt(), 1);
    QCOMPARE(small.run("COMMIT;"), QString());
    QCOMPARE(termCount(), 2);
}

void BackupTest::restoreBesideAnotherProgramKeepsBothSound()
{
    if (!SqliteShell::available())
        QSKIP("the sqlite3 shell is not installed");
    Program p;
    p.db.addTerm(1, QStringLiteral("备份时的学期"));
    const QString good = p.bak("good.ZBK");
    p.backupTo(good);
    p.db.addTerm(2, QStringLiteral("备份后的学期"));
    const QString journal = p.db.dataFile() + "-journal";
    const auto restore = [&p, &good] {
        p.dialogs.clear();
        p.restoreFrom(good);
        QVERIFY(p.dialogs.errors.isEmpty());
        QVERIFY(DM->isOpen());
    };
    const auto sound = [&p] {
        return scalarIn(p.db.dataFile(), "PRAGMA integrity_check").toString() == QLatin1String("ok");
    };

    // Another copy of the program has the file open.
    SqliteShell other(p.db.dataFile());
    QCOMPARE(other.run("SELECT count(*) FROM TTerm;"), QString("2"));

    // While it writes, the restore waits about two seconds and gives up;
    // the data file is as it was.
    other.holdSpilledWrite();
    restore();
    QCOMPARE(p.dialogs.messages, (QStringList{Backup::RestoreWarning, Backup::RestoreFailed}));
    QCOMPARE(other.run("ROLLBACK;"), QString());
    QVERIFY(sound());
    QCOMPARE(termCount(), 2);
    QCOMPARE(filesIn(p.db.dir() + "db"), QStringList{"Student.dat"});
    QTRY_VERIFY(!QApplication::overrideCursor());

    // Idle, it holds no lock: the restore goes through SQLite, and the other
    // program reads the restored rows and stores into them without a restart.
    restore();
    QCOMPARE(p.dialogs.messages, QStringList{Backup::RestoreWarning});
    QVERIFY(sound());
    QCOMPARE(termCount(), 1);
    QCOMPARE(other.run("SELECT group_concat(TermName) FROM TTerm;"), QStringLiteral("备份时的学期"));
    QCOMPARE(other.run("INSERT INTO TTerm (TermCode,TermName) VALUES (3,'另一个程序');"), QString());
    QCOMPARE(termCount(), 2);
    QCOMPARE(filesIn(p.db.dir() + "db"), QStringList{"Student.dat"});

    // A writer that died in its transaction left a hot journal: it is rolled
    // back before the restore writes.
    {
        SqliteShell dying(p.db.dataFile());
        dying.holdSpilledWrite();
        dying.kill();
    }
    QVERIFY(QFile::exists(journal));
    restore();
    QCOMPARE(p.dialogs.messages, QStringList{Backup::RestoreWarning});
    QVERIFY(!QFile::exists(journal));
    QVERIFY(sound());
    QCOMPARE(termCount(), 1);
    QCOMPARE(other.run("SELECT count(*) FROM TSubject;"), QString("0"));

    // A statement of this program that is still running is finished first.
    QSqlQuery running(DM->ADOLocal());
    QVERIFY(running.exec(QStringLiteral("select * from TTerm")));
    p.db.addTerm(4, QStringLiteral("四"));
    restore();
    QCOMPARE(p.dialogs.messages, QStringList{Backup::RestoreWarning});
    QVERIFY(sound());
    QCOMPARE(termCount(), 1);
}

void BackupTest::restoreTakesOnlyFilesThatAreExactlyOurs()
{
    Program p;
    p.db.addTerm(1, QStringLiteral("一"));
    const QByteArray before = bytesOf(p.db.dataFile());
    QDir().mkpath(p.db.dir() + "Bak");
    struct Variant {
        const char* name;
        QString from, to, more;
    };
    const QList<Variant> refused{
        // Empties the scores behind every grade initialisation.
        {"trigger",
         {},
         {},
         "CREATE TRIGGER TGrade_Gone AFTER INSERT ON TGrade BEGIN DELETE FROM TGrade; END"},
        {"view", {}, {}, "CREATE VIEW VGrade AS SELECT * FROM TGrade"},
        {"missing column", "    Room       TEXT,\n", "", {}},
        {"other column type", "TermCode INTEGER NOT NULL UNIQUE", "TermCode TEXT NOT NULL UNIQUE", {}},
        {"other table", {}, {}, "CREATE TABLE TMine (x)"},
        {"newer version", {}, {}, "PRAGMA user_version=99"},
        {"unmet reference",
         {},
         {},
         "PRAGMA foreign_keys=OFF\nINSERT INTO TStudent (ClassCode,SName) VALUES ('none','x')"},
    };
    for (const Variant& v : refused) {
        const QString file = p.bak(QLatin1String(v.name) + ".ZBK");
        const DbResult written = WriteVariantDatabase(file, v.from, v.to, v.more);
        QVERIFY2(written, qPrintable(written.error()));
        p.dialogs.clear();
        p.restoreFrom(file);
        QVERIFY2(p.dialogs.messages == (QStringList{Backup::RestoreWarning, Backup::RestoreFailed}), v.name);
        QVERIFY2(p.dialogs.errors.isEmpty(), v.name);
        QVERIFY2(bytesOf(p.db.dataFile()) == before, v.name);
        QVERIFY2(DM->isOpen(), v.name);
    }
    QCOMPARE(filesIn(p.db.dir() + "db"), QStringList{"Student.dat"});

    // SQLite's own tables are part of a file of ours.
    const QString analysed = p.bak("analysed.ZBK");
    QVERIFY(WriteVariantDatabase(analysed, {}, {},
                                 "INSERT INTO TTerm (TermCode,TermName) VALUES (5,'五')\nANALYZE"));
    QCOMPARE(scalarIn(analysed,
                      "select count(*) from sqlite_master where name in ('sqlite_sequence','sqlite_stat1')")
                 .toInt(),
             2);
    p.dialogs.clear();
    p.restoreFrom(analysed);
    QCOMPARE(p.dialogs.messages, QStringList{Backup::RestoreWarning});
    QVERIFY(DM->isOpen());
    QCOMPARE(p.db.scalar("select TermName from TTerm").toString(), QStringLiteral("五"));

    // A file made before the schema carried its version is stamped on the way in.
    const QString unstamped = p.bak("unstamped.ZBK");
    const DbResult unstampedWritten =
        WriteFirstReleaseDatabase(unstamped, "INSERT INTO TTerm (TermCode,TermName) VALUES (6,'六')");
    QVERIFY2(unstampedWritten, qPrintable(unstampedWritten.error()));
    p.dialogs.clear();
    p.restoreFrom(unstamped);
    QCOMPARE(p.dialogs.messages, QStringList{Backup::RestoreWarning});
    QCOMPARE(p.db.scalar("select TermName from TTerm").toString(), QStringLiteral("六"));
    QCOMPARE(p.db.scalar("PRAGMA user_version").toInt(), SchemaVersions::program().current());
    QCOMPARE(scalarIn(unstamped, "PRAGMA user_version").toInt(), 0); // the source is only read
    QCOMPARE(filesIn(p.db.dir() + "db"), QStringList{"Student.dat"});
}

void BackupTest::leftoverTemporariesGoOnlyWhenTheirRunHasEnded()
{
    Program p;
    // The names the program gives its temporaries are the ones it knows again.
    {
        QTemporaryFile own(TempFiles::templateBeside(p.db.dataFile()));
        QVERIFY(own.open());
        QCOMPARE(TempFiles::writerOf(QFileInfo(own.fileName()).fileName()),
                 QCoreApplication::applicationPid());
    }
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    QVERIFY(ended.waitForStarted());
    const QString dead = QString::number(ended.processId());
    QVERIFY(ended.waitForFinished());
    QProcess running;
    running.start(QStringLiteral("cat"), {});
    QVERIFY(running.waitForStarted());
    const QString live = QString::number(running.processId());

    const QString db = p.db.dir() + "db/";
    const QString bak = p.db.dir() + "Bak/";
    const QString elsewhere = p.db.dir() + "elsewhere/";
    for (const QString& folder : {bak, elsewhere})
        QVERIFY(QDir().mkpath(folder));
    const QStringList killed{db + "Student.dat~" + dead + ".AbC123.sgtmp",
                             bak + "20240101.ZBK~" + dead + ".xYz789.sgtmp"};
    const QStringList kept{
        db + "Student.dat~" + live + ".AbC123.sgtmp", // a second copy of the program is writing it
        db + "Student.dat.sgtmp",                     // not a name the program gives
        db + "notes~" + dead + ".txt",
        bak + "short~" + dead + ".AbC12.sgtmp",
        bak + "longer~" + dead + ".AbC123.sgtmp.kept",
    };
    for (const QString& file : killed + kept)
        writeFile(file, "left behind");
    QVERIFY(QDir().mkpath(bak + "folder~" + dead + ".AbC123.sgtmp"));

    TApplication::dataModuleCreated(*p.db.dm()); // the next start
    QVERIFY(p.dialogs.all().isEmpty());
    for (const QString& file : killed)
        QVERIFY2(!QFile::exists(file), qPrintable(file));
    for (const QString& file : kept)
        QVERIFY2(QFile::exists(file), qPrintable(file));
    QVERIFY(QFileInfo(bak + "folder~" + dead + ".AbC123.sgtmp").isDir());

    // The next backup into a folder clears what ended runs left there.
    writeFile(elsewhere + "x.ZBK~" + dead + ".Qwe456.sgtmp", "left behind");
    writeFile(elsewhere + "x.ZBK~" + live + ".Qwe456.sgtmp", "being written");
    p.backupTo(elsewhere + "x.ZBK");
    QVERIFY(p.dialogs.all().isEmpty());
    QCOMPARE(filesIn(elsewhere), (QStringList{"x.ZBK", "x.ZBK~" + live + ".Qwe456.sgtmp"}));

    running.kill();
    running.waitForFinished();
}

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    app.loadTranslations();
    BackupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_backup.moc"
