// The school's name: its dialog under 系统(&S), its statement, and the file
// that carries it through a backup and a restore.
#include "DataFileSupport.h"
#include "TestSupport.h"

#include "data/Messages.h"
#include "data/SchemaVersions.h"
#include "data/School.h"
#include "data/ScratchConnection.h"
#include "data/uDM.h"
#include "reference/uSchool.h"
#include "shell/Application.h"
#include "shell/uMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A data file of the given version, as a program of that version made it.
bool WriteVersion(const QString& path, int version)
{
    ScratchConnection connection(ScratchConnection::fileUri(path, "rwc"), true);
    QSqlDatabase db = connection.db();
    if (!db.open())
        return false;
    for (int v = 1; v <= version; ++v)
        for (const QString& sql : SchemaVersions::program().statements(v))
            if (!QSqlQuery(db).exec(sql))
                return false;
    return QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=%1").arg(version));
}

} // namespace

class SchoolTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::applyLook(); }

    void theDialogShowsAndStoresTheName()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        QCOMPARE(*School::Name(), QString()); // a new file has none
        {
            TfrmSchool dialog;
            QVERIFY(dialog.ReadyData());
            QCOMPARE(dialog.windowTitle(), QStringLiteral("学校信息"));
            QCOMPARE(dialog.EditSchoolName->text(), QString());
            dialog.EditSchoolName->setText(QStringLiteral("第一中学 O'K"));
            dialog.ensureButton()->click();
            QVERIFY(!dialog.NotStored);
        }
        QCOMPARE(*School::Name(), QStringLiteral("第一中学 O'K"));
        QCOMPARE(db.count(QStringLiteral("TSchool")), 1);
        {
            TfrmSchool dialog;
            QVERIFY(dialog.ReadyData());
            QCOMPARE(dialog.EditSchoolName->text(), QStringLiteral("第一中学 O'K"));
            dialog.EditSchoolName->clear(); // a school may print without a name
            dialog.cancelButtonWidget()->click();
            QVERIFY(dialog.NotStored);
        }
        QCOMPARE(*School::Name(), QStringLiteral("第一中学 O'K"));

        // The row gone (edited by hand): storing makes it again.
        db.exec(QStringLiteral("delete from TSchool"));
        QCOMPARE(*School::Name(), QString());
        QVERIFY(School::SetName(QStringLiteral("二中")));
        QCOMPARE(*School::Name(), QStringLiteral("二中"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    void aRefusedStoreKeepsTheDialogOpenAndAFailedReadOpensNone()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        db.exec(QStringLiteral("create trigger NoRename before update on TSchool "
                               "begin select raise(abort, 'kept'); end"));
        TfrmSchool dialog;
        QVERIFY(dialog.ReadyData());
        dialog.EditSchoolName->setText(QStringLiteral("新名"));
        dialog.ensureButton()->click();
        QCOMPARE(dialogs.messages, QStringList{Msg::StoreFailed});
        QVERIFY(dialog.NotStored);
        QCOMPARE(dialog.EditSchoolName->text(), QStringLiteral("新名"));
        QCOMPARE(*School::Name(), QString());

        dialogs.clear();
        db.exec(QStringLiteral("drop trigger NoRename"));
        db.exec(QStringLiteral("alter table TSchool rename to TGone"));
        QVERIFY(!ShowSchool());
        QCOMPARE(dialogs.messages, QStringList{Msg::ReadFailed});
    }

    void theFieldTakesFiftyCharactersAndSaysSo()
    {
        TempDatabase db;
        ScriptedDialogs dialogs;
        TfrmSchool dialog;
        QVERIFY(dialog.ReadyData());
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        dialog.EditSchoolName->setFocus();
        QTest::keyClicks(dialog.EditSchoolName, QString(55, QLatin1Char('a')));
        QCOMPARE(dialog.EditSchoolName->text().size(), 50);
    }

    void theMenuItemOpensTheDialog()
    {
        TfrmMain main;
        TempDatabase db;
        ScriptedDialogs dialogs;
        auto* item = main.findChild<QAction*>(QStringLiteral("mnuSchool"));
        QVERIFY(item);
        QCOMPARE(item->text(), QStringLiteral("学校信息(&I)"));
        bool opened = false;
        OnNextModal([&](QWidget* window) {
            opened = window->objectName() == QStringLiteral("frmSchool");
            auto* dialog = qobject_cast<TfrmSchool*>(window);
            QVERIFY(dialog);
            dialog->EditSchoolName->setText(QStringLiteral("实验中学"));
            dialog->ensureButton()->click();
        });
        item->trigger();
        QVERIFY(opened);
        QCOMPARE(*School::Name(), QStringLiteral("实验中学"));
    }

    void filesOfEarlierVersionsGainTheTableWithoutAName()
    {
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("first.dat"));
        QVERIFY(WriteFirstReleaseDatabase(
            first, QStringLiteral("insert into TTerm (TermCode, TermName) values (1, 'a')")));
        const QString second = dir.filePath(QStringLiteral("second.dat"));
        QVERIFY(WriteVersion(second, 2));
        for (const QString& file : {first, second}) {
            TDM dm(file);
            QVERIFY(dm.isOpen());
            QCOMPARE(*School::Name(), QString());
            QVERIFY(School::SetName(QStringLiteral("升级后的学校")));
            QCOMPARE(*School::Name(), QStringLiteral("升级后的学校"));
        }
        QVERIFY(dialogs.all().isEmpty());
    }

    void aBackupOfAnEarlierVersionRestoresWithoutAName()
    {
        TfrmMain main;
        TempDatabase db;
        ScriptedDialogs dialogs;
        QVERIFY(School::SetName(QStringLiteral("现在的学校")));
        const QString older = db.dir() + QStringLiteral("Bak/older.ZBK");
        QDir().mkpath(db.dir() + QStringLiteral("Bak"));
        QVERIFY(WriteVersion(older, 2));
        dialogs.files.push_back(older);
        main.findChild<QAction*>(QStringLiteral("mnuRestore"))->trigger();
        QVERIFY2(dialogs.errors.isEmpty(), qPrintable(dialogs.errors.join('|')));
        QCOMPARE(*School::Name(), QString());
        QCOMPARE(db.scalar(QStringLiteral("PRAGMA user_version")).toInt(),
                 SchemaVersions::program().current());
    }

    void theNameSurvivesABackupAndARestore()
    {
        TfrmMain main;
        TempDatabase db;
        ScriptedDialogs dialogs;
        QVERIFY(School::SetName(QStringLiteral("备份时的学校")));
        const QString backup = db.dir() + QStringLiteral("Bak/school.ZBK");
        dialogs.files.push_back(backup);
        main.findChild<QAction*>(QStringLiteral("mnuBak"))->trigger();
        QVERIFY(QFile::exists(backup));
        QVERIFY(School::SetName(QStringLiteral("后来的名字")));

        dialogs.files.push_back(backup);
        main.findChild<QAction*>(QStringLiteral("mnuRestore"))->trigger();
        QVERIFY(dialogs.errors.isEmpty());
        QCOMPARE(*School::Name(), QStringLiteral("备份时的学校"));
    }
};

QTEST_MAIN(SchoolTest)
#include "tst_school.moc"
