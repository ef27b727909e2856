#pragma once

#include "data/Database.h"
#include "forms/EditForm.h"

#include <QMap>
#include <QStringList>
#include <optional>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;

// The three flags of a student are stored as 0 and 1 and shown through these
// lists, in the roster's grid and in the dialog alike: an item's position is
// the stored value.
namespace StudentFlags {
const QStringList& IsTY();     // "否", "是"
const QStringList& HasWJ();    // "无", "有"
const QStringList& IsActive(); // "否", "在校"
// The grid's value list of a flag: "0" and "1" to their texts.
QMap<QString, QString> ValueList(const QStringList& items);
} // namespace StudentFlags

// "新增/修改学生资料": one student of the given class. The class is shown,
// not chosen: a stored student always belongs to the class the dialog was
// opened with. Opened for an ID that has no row (or -1), it stores a new
// student in that class.
class TfrmStudentEdit : public TEditForm {
    Q_OBJECT
public:
    TfrmStudentEdit(int ID, const QString& ClassCode, const QString& ClassName, QWidget* parent = nullptr);

    bool ReadyData() override;
    bool SaveData() override;
    void EditSCodeKeyPress(QChar& Key);

    QString ClassCode;
    QString ClassName;

    QLineEdit* EditClassCode = nullptr;
    QLineEdit* EditClassName = nullptr;
    QLineEdit* EditSName = nullptr;
    QLineEdit* EditSCode = nullptr;
    QLineEdit* EditRoom = nullptr;
    QLineEdit* EditAddress = nullptr;
    QLineEdit* EditPostCode = nullptr;
    QLineEdit* EditPatriarchy = nullptr;
    QLineEdit* EditHomeTel = nullptr;
    QComboBox* cmbIsTY = nullptr;
    QComboBox* cmbHasWJ = nullptr;
    QPlainTextEdit* EditWJContent = nullptr;
    QComboBox* cmbIsActive = nullptr;

protected:
    void FormCreate();
    void resizeEvent(QResizeEvent* event) override;

private:
    QLineEdit* addEdit(const QString& name, const QString& label, int x, int y, int width);
    QComboBox* addPickList(const QString& name, const QString& label, int x, int y, const QStringList& items);
    void addLabel(const QString& text, QWidget* field);

    std::optional<RowImage> m_found; // the student as read: changed, else a new one stored
};

bool ShowStudentEdit(int ID, const QString& ClassCode, const QString& ClassName);
