#include "students/RosterPrint.h"

#include "data/Database.h"
#include "data/Messages.h"
#include "data/Roster.h"
#include "data/School.h"
#include "forms/uPub.h"
#include "print/TableDocument.h"
#include "students/uStudentEdit.h"

namespace {

struct RosterColumn {
    QString field;
    QString title;
    const QStringList* flag; // the texts of a flag's 0 and 1, or none
};

const QVector<RosterColumn>& Columns()
{
    static const QVector<RosterColumn> columns{
        {QStringLiteral("SName"), QStringLiteral("姓名"), nullptr},
        {QStringLiteral("SNumber"), QStringLiteral("学号"), nullptr},
        {QStringLiteral("Room"), QStringLiteral("寝室"), nullptr},
        {QStringLiteral("Address"), QStringLiteral("家庭地址"), nullptr},
        {QStringLiteral("PostCode"), QStringLiteral("邮编"), nullptr},
        {QStringLiteral("Patriarchy"), QStringLiteral("家长"), nullptr},
        {QStringLiteral("HomeTel"), QStringLiteral("家庭电话"), nullptr},
        {QStringLiteral("IsTY"), QStringLiteral("是否团员"), &StudentFlags::IsTY()},
        {QStringLiteral("HasWJ"), QStringLiteral("有否违纪记录"), &StudentFlags::HasWJ()},
        {QStringLiteral("WJContent"), QStringLiteral("违纪说明"), nullptr},
        {QStringLiteral("IsActive"), QStringLiteral("是否在校"), &StudentFlags::IsActive()},
    };
    return columns;
}

} // namespace

PrintTable RosterTable(const QString& schoolName, const QString& className, const RowSet& students)
{
    PrintTable table;
    table.title = Print::Title({schoolName, className, QStringLiteral("学生基本资料")});
    table.note = QStringLiteral("共 %1 人").arg(students.rowCount());
    table.date = Print::DateLine();
    for (const RosterColumn& column : Columns())
        table.columns.append({column.title, Qt::AlignLeft, false});
    for (int r = 0; r < students.rowCount(); ++r) {
        PrintRow row;
        for (const RosterColumn& column : Columns()) {
            const QString text = students.text(r, column.field);
            row.cells << (column.flag ? column.flag->value(text.toInt(), text) : text);
        }
        table.rows.append(row);
    }
    return table;
}

PrintJob RosterPrintJob(const QString& classCode, const QString& className)
{
    const DbValue<QString> school = School::Name();
    if (!Succeeded(school, Msg::ReadFailed))
        return {};
    const DbValue<RowSet> students = Db::select(Roster::Students(classCode));
    if (!Succeeded(students, Msg::ReadFailed))
        return {};
    PrintJob job;
    job.document = std::make_unique<TableDocument>(RosterTable(*school, className, *students));
    job.nameParts = QStringList{className, QStringLiteral("学生基本资料")};
    return job;
}
