#include "shell/uDemoSchool.h"

#include "data/Messages.h"
#include "data/SchoolProgress.h"
#include "forms/uPub.h"
#include "shell/uBackup.h"
#include "tools/SchoolGenerator.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

namespace {

// The busy cursor while the school is written and brought in.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Whether the school is still without a single row, with its message when not.
bool stillEmpty()
{
    const DbValue<SchoolProgress> progress = ReadSchoolProgress();
    if (!Succeeded(progress, Msg::ReadFailed))
        return false;
    if (!progress->isEmpty()) {
        ShowMessage(DemoSchool::Refused);
        return false;
    }
    return true;
}

} // namespace

QString DemoSchool::Question()
{
    const schoolgen::SchoolShape shape = schoolgen::DemoShape();
    return QStringLiteral(
               "将载入一所示例学校：%1个学期、%2个班级、%3个科目，以及学生、评优标准和成绩。是否继续？")
        .arg(shape.terms)
        .arg(shape.classes)
        .arg(shape.subjects);
}

bool DemoSchool::Load()
{
    if (!AskQuestion(Question()))
        return false;
    // The offer may be older than what another program wrote meanwhile.
    if (!stillEmpty())
        return false;
    const BusyCursor busy;
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        ShowMessage(Failed);
        return false;
    }
    const QString file = QDir(folder.path()).absoluteFilePath(QStringLiteral("Demo.dat"));
    if (!Succeeded(schoolgen::WriteSchool(file, schoolgen::DemoShape(), false), Failed))
        return false;
    // Once more right before it is brought in: writing the school took a while.
    if (!stillEmpty())
        return false;
    return Backup::FillFrom(file, Failed);
}
