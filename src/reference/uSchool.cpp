#include "reference/uSchool.h"

#include "data/Messages.h"
#include "data/School.h"
#include "forms/FieldGuard.h"
#include "forms/uPub.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString kNameLabel = QStringLiteral("学校名称");
} // namespace

TfrmSchool::TfrmSchool(QWidget* parent) : TEditForm(parent)
{
    NotStored = true;
    setObjectName(QStringLiteral("frmSchool"));
    setWindowTitle(QStringLiteral("学校信息"));
    setFixedClientSize(300, 86);

    auto* label = new QLabel(kNameLabel, this);
    label->setObjectName(QStringLiteral("Label1"));
    label->move(8, 16);
    label->adjustSize();
    EditSchoolName = new QLineEdit(this);
    EditSchoolName->setObjectName(QStringLiteral("EditSchoolName"));
    EditSchoolName->setGeometry(64, 12, 226, 20);
    FieldGuard::of(EditSchoolName, kNameLabel)->setLimit(50);

    setTabOrder(cmdEnsure, cmdCancel);
    setTabOrder(cmdCancel, EditSchoolName);
    EditSchoolName->setFocus();
}

bool TfrmSchool::ReadyData()
{
    const DbValue<QString> name = School::Name();
    if (!Succeeded(name, Msg::ReadFailed))
        return false;
    EditSchoolName->setText(*name);
    return true;
}

bool TfrmSchool::SaveData()
{
    // Refused: the dialog stays open with what was typed.
    return Succeeded(School::SetName(EditSchoolName->text()), Msg::StoreFailed);
}

bool ShowSchool()
{
    return RunEdit<TfrmSchool>();
}
