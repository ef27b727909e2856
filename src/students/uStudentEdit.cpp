#include "students/uStudentEdit.h"

#include "data/Messages.h"
#include "data/Roster.h"
#include "forms/FieldGuard.h"
#include "forms/KeyPress.h"
#include "forms/uPub.h"

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
    const DbValue<std::optional<Roster::Student>> found = Roster::FindStudent(ID);
    if (!Succeeded(found, Msg::ReadFailed))
        return false;
    EditClassCode->setText(ClassCode);
    EditClassName->setText(ClassName);
    // A new student, or one deleted since the caller listed it: the fields
    // keep their first contents and a new row is stored.
    m_found = found->has_value() ? std::optional<RowImage>((*found)->read) : std::nullopt;
    if (!m_found)
        return true;
    const Roster::Student& s = **found;
    EditSName->setText(s.SName);
    EditSCode->setText(s.SNumber);
    EditRoom->setText(s.Room);
    EditAddress->setText(s.Address);
    EditPostCode->setText(s.PostCode);
    EditPatriarchy->setText(s.Patriarchy);
    EditHomeTel->setText(s.HomeTel);
    EditWJContent->setPlainText(s.WJContent);
    cmbIsTY->setCurrentIndex(s.IsTY);
    cmbHasWJ->setCurrentIndex(s.HasWJ);
    cmbIsActive->setCurrentIndex(s.IsActive);
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
    Roster::Student s;
    s.ClassCode = EditClassCode->text();
    s.SName = EditSName->text();
    s.SNumber = EditSCode->text();
    s.Room = EditRoom->text();
    s.Address = EditAddress->text();
    s.PostCode = EditPostCode->text();
    s.Patriarchy = EditPatriarchy->text();
    s.HomeTel = EditHomeTel->text();
    s.WJContent = EditWJContent->toPlainText();
    s.IsTY = cmbIsTY->currentIndex();
    s.HasWJ = cmbHasWJ->currentIndex();
    s.IsActive = cmbIsActive->currentIndex();
    // Refused: the dialog stays open with what was typed.
    return Succeeded(Roster::StoreStudent(m_found, s), Msg::StoreFailed);
}

bool ShowStudentEdit(int ID, const QString& ClassCode, const QString& ClassName)
{
    return RunEdit<TfrmStudentEdit>(ID, ClassCode, ClassName);
}
