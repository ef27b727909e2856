#include "exchange/RosterFields.h"

#include "students/uStudentEdit.h"

const QVector<RosterField>& RosterFields()
{
    using Roster::Column;
    static const QVector<RosterField> fields{
        {Column::SName, NameTitle, NameTitle},
        {Column::SNumber, NumberTitle, NumberTitle, nullptr, true},
        {Column::Room, QStringLiteral("寝室"), QStringLiteral("寝室号")},
        {Column::Address, QStringLiteral("家庭地址"), QStringLiteral("家庭地址")},
        {Column::PostCode, QStringLiteral("邮编"), QStringLiteral("邮编"), nullptr, true},
        {Column::Patriarchy, QStringLiteral("家长"), QStringLiteral("家长")},
        {Column::HomeTel, QStringLiteral("家庭电话"), QStringLiteral("家长电话"), nullptr, true},
        {Column::IsTY, QStringLiteral("是否团员"), QStringLiteral("是否团员"), &StudentFlags::IsTY()},
        {Column::HasWJ, QStringLiteral("有否违纪记录"), QStringLiteral("是否违纪"), &StudentFlags::HasWJ()},
        {Column::WJContent, QStringLiteral("违纪说明"), QStringLiteral("违纪说明")},
        {Column::IsActive, QStringLiteral("是否在校"), QStringLiteral("是否在校"), &StudentFlags::IsActive()},
    };
    return fields;
}
