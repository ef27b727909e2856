#include "students/uStudentEdit.h"

#include "app/FieldGuard.h"
#include "app/uPub.h"
#include "data/Messages.h"
#include "data/QueryObject.h"
#include "data/SqlText.h"
#include "reference/KeyPress.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace StudentFlags {

const QStringList& IsTY()
{
    static const QStringList items{QStringLiteral("否"), QStringLiteral("是")};
    return items;
}

const QStringList& HasWJ()
{
    static const QStringList items{QStringLiteral("无"), QStringLiteral("有")};
    return items;
}

const QStringList& IsActive()
{
    static const QStringList items{QStringLiteral("否"), QStringLiteral("在校")};
    return items;
}

QMap<QString, QString> ValueList(const QStringList& items)
{
    QMap<QString, QString> list;
    for (int i = 0; i < items.size(); ++i)
        list.insert(QString::number(i), items.at(i));
    return list;
}

} // namespace StudentFlags

TfrmStudentEdit::TfrmStudentEdit(int ID, const QString& ClassCode, const QString& ClassName, QWidget* parent)
    : TEditForm(parent), ClassCode(ClassCode), ClassName(ClassName)
{
    setObjectName(QStringLiteral("frmStudentEdit"));
    setWindowTitle(QStringLiteral("新增/修改学生资料"));
    setFixedClientSize(430, 199);
    this->ID = ID;

    EditClassCode = addEdit(QStringLiteral("EditClassCode"), QStringLiteral("班级简码"), 59, 3, 81);
    EditClassName = addEdit(QStringLiteral("EditClassName"), QStringLiteral("班级名称"), 195, 3, 226);
    for (QLineEdit* shownOnly : {EditClassCode, EditClassName}) {
        shownOnly->setEnabled(false);
        QPalette tip = shownOnly->palette();
        tip.setColor(QPalette::Disabled, QPalette::Base, tip.color(QPalette::ToolTipBase));
        tip.setColor(QPalette::Disabled, QPalette::Text, tip.color(QPalette::ToolTipText));
        shownOnly->setPalette(tip);
    }
    EditSName = addEdit(QStringLiteral("EditSName"), QStringLiteral("姓名"), 59, 28, 81);
    EditSCode = addEdit(QStringLiteral("EditSCode"), QStringLiteral("学号"), 195, 28, 81);
    EditSCode->setText(QStringLiteral("0"));
    FieldGuard::of(EditSCode, QStringLiteral("学号"))
        ->setKeyPress([this](QChar& Key) { EditSCodeKeyPress(Key); }, QStringLiteral("数字"));
    EditRoom = addEdit(QStringLiteral("EditRoom"), QStringLiteral("寝室号"), 339, 28, 81);
    EditAddress = addEdit(QStringLiteral("EditAddress"), QStringLiteral("家庭地址"), 59, 54, 219);
    EditPostCode = addEdit(QStringLiteral("EditPostCode"), QStringLiteral("邮编"), 339, 54, 81);
    EditPatriarchy = addEdit(QStringLiteral("EditPatriarchy"), QStringLiteral("家长"), 59, 80, 81);
    EditHomeTel = addEdit(QStringLiteral("EditHomeTel"), QStringLiteral("家长电话"), 195, 80, 81);
    cmbIsTY =
        addPickList(QStringLiteral("cmbIsTY"), QStringLiteral("是否团员"), 338, 79, StudentFlags::IsTY());
    cmbHasWJ =
        addPickList(QStringLiteral("cmbHasWJ"), QStringLiteral("是否违纪"), 59, 106, StudentFlags::HasWJ());
    EditWJContent = new QPlainTextEdit(this);
    EditWJContent->setObjectName(QStringLiteral("EditWJContent"));
    EditWJContent->setGeometry(195, 105, 226, 47);
    EditWJContent->setTabChangesFocus(true);
    addLabel(QStringLiteral("违纪说明"), EditWJContent);
    cmbIsActive = addPickList(QStringLiteral("cmbIsActive"), QStringLiteral("是否在校"), 59, 132,
                              StudentFlags::IsActive());

    // The buttons come first, the memo last, so Enter walks the fields in
    // reading order and Ctrl+Enter in the memo wraps round to "确认(&E)".
    QWidget* order[] = {cmdEnsure,   cmdCancel,    EditSName,      EditSCode,   EditRoom,
                        EditAddress, EditPostCode, EditPatriarchy, EditHomeTel, cmbIsTY,
                        cmbHasWJ,    cmbIsActive,  EditWJContent};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    FormCreate();
    EditSName->setFocus();
}

void TfrmStudentEdit::FormCreate()
{
    NotStored = true;
    cmbIsTY->setCurrentIndex(0);
    cmbHasWJ->setCurrentIndex(0);
    cmbIsActive->setCurrentIndex(1);
}

QLineEdit* TfrmStudentEdit::addEdit(const QString& name, const QString& label, int x, int y, int width)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(x, y, width, 20);
    addLabel(label, edit);
    // No field has a limit of its own: each takes what is typed or pasted whole.
    FieldGuard::of(edit, label);
    return edit;
}

QComboBox* TfrmStudentEdit::addPickList(const QString& name, const QString& label, int x, int y,
                                        const QStringList& items)
{
    auto* pick = new QComboBox(this);
    pick->setObjectName(name);
    pick->setEditable(false); // only the items can be chosen
    pick->addItems(items);
    pick->setGeometry(x, y, 83, 20);
    addLabel(label, pick);
    return pick;
}

void TfrmStudentEdit::addLabel(const QString& text, QWidget* field)
{
    auto* label = new QLabel(text, this);
    label->adjustSize();
    label->move(field->x() - 3 - label->width(), field->y() + 4);
    label->setBuddy(field);
}

void TfrmStudentEdit::resizeEvent(QResizeEvent* event)
{
    TEditForm::resizeEvent(event);
    // This dialog's buttons stand further in from the right than the others'.
    cmdEnsure->move(238, 9);
    cmdCancel->move(318, 9);
}

void TfrmStudentEdit::EditSCodeKeyPress(QChar& Key)
{
    KeepDigitsAndBackspace(Key);
}

bool TfrmStudentEdit::ReadyData()
{
    if (!openRecord(QStringLiteral("Select * from TStudent Where ID=") + SqlInt(ID)))
        return false;
    EditClassCode->setText(ClassCode);
    EditClassName->setText(ClassName);
    if (dsQuery->isEmpty()) {
        // A new student, or one deleted since the caller listed it: the
        // fields keep their first contents and a new row is stored.
        dsQuery->append();
        return true;
    }
    dsQuery->edit();
    EditSName->setText(dsQuery->fieldText(QStringLiteral("SName")));
    EditSCode->setText(dsQuery->fieldText(QStringLiteral("SNumber")));
    EditRoom->setText(dsQuery->fieldText(QStringLiteral("Room")));
    EditAddress->setText(dsQuery->fieldText(QStringLiteral("Address")));
    EditPostCode->setText(dsQuery->fieldText(QStringLiteral("PostCode")));
    EditPatriarchy->setText(dsQuery->fieldText(QStringLiteral("Patriarchy")));
    EditHomeTel->setText(dsQuery->fieldText(QStringLiteral("HomeTel")));
    EditWJContent->setPlainText(dsQuery->fieldText(QStringLiteral("WJContent")));
    cmbIsTY->setCurrentIndex(dsQuery->fieldInt(QStringLiteral("IsTY")));
    cmbHasWJ->setCurrentIndex(dsQuery->fieldInt(QStringLiteral("HasWJ")));
    cmbIsActive->setCurrentIndex(dsQuery->fieldInt(QStringLiteral("IsActive")));
    return true;
}

bool TfrmStudentEdit::SaveData()
{
    if (EditSName->text().isEmpty()) {
        ShowMessage(QStringLiteral("学生姓名尚未输入！"));
        EditSName->setFocus();
        return false;
    }
    if (EditSCode->text().isEmpty()) {
        ShowMessage(QStringLiteral("学号尚未输入！"));
        EditSCode->setFocus();
        return false;
    }
    dsQuery->setField(QStringLiteral("ClassCode"), EditClassCode->text());
    dsQuery->setField(QStringLiteral("SName"), EditSName->text());
    dsQuery->setField(QStringLiteral("SNumber"), EditSCode->text());
    dsQuery->setField(QStringLiteral("Room"), EditRoom->text());
    dsQuery->setField(QStringLiteral("Address"), EditAddress->text());
    dsQuery->setField(QStringLiteral("PostCode"), EditPostCode->text());
    dsQuery->setField(QStringLiteral("Patriarchy"), EditPatriarchy->text());
    dsQuery->setField(QStringLiteral("HomeTel"), EditHomeTel->text());
    dsQuery->setField(QStringLiteral("WJContent"), EditWJContent->toPlainText());
    dsQuery->setField(QStringLiteral("IsTY"), cmbIsTY->currentIndex());
    dsQuery->setField(QStringLiteral("HasWJ"), cmbHasWJ->currentIndex());
    dsQuery->setField(QStringLiteral("IsActive"), cmbIsActive->currentIndex());
    if (!dsQuery->post()) {
        ShowMessage(Msg::StoreFailed);
        return false; // still in editing with what was typed
    }
    return true;
}

bool ShowStudentEdit(int ID, const QString& ClassCode, const QString& ClassName)
{
    return RunEdit<TfrmStudentEdit>(ID, ClassCode, ClassName);
}
