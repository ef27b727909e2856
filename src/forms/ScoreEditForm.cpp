#include "forms/ScoreEditForm.h"

#include "data/Messages.h"
#include "data/Scores.h"
#include "data/SqlText.h"
#include "forms/FieldGuard.h"
#include "forms/ScoreText.h"
#include "forms/uPub.h"

#include <QLabel>
#include <QLineEdit>

namespace {

const QString RecordGone = QStringLiteral("该记录已经不存在！");

QLineEdit* addRow(QWidget* form, int row, const QString& label, int maxLength)
{
    const int y = 12 + row * 28;
    auto* caption = new QLabel(label, form);
    caption->move(8, y + 4);
    caption->adjustSize();
    auto* edit = new QLineEdit(form);
    edit->setGeometry(64, y, 166, 20);
    FieldGuard::of(edit, label)->setLimit(maxLength);
    caption->setBuddy(edit);
    return edit;
}

} // namespace

TScoreEditForm::TScoreEditForm(const ScoreKind& kind, int id, QWidget* parent)
    : TEditForm(parent), m_kind(kind)
{
    ID = id;
    EditCode = addRow(this, 0, QStringLiteral("科目编号"), 20);
    EditCode->setObjectName(QStringLiteral("EditCode"));
    EditCode->setEnabled(false);
    EditName = addRow(this, 1, QStringLiteral("科目名称"), 50);
    EditName->setObjectName(QStringLiteral("EditName"));
    EditName->setEnabled(false);
    EditScore = addRow(this, 2, kind.scoreTitle, ScoreMaxLength);
    EditScore->setObjectName(QStringLiteral("EditScore"));
    GuardScoreField(EditScore, kind);
    EditScore->setFocus();
}

void TScoreEditForm::EditScoreKeyPress(QChar& Key) const
{
    ScoreKeyPress(m_kind, Key);
}

bool TScoreEditForm::ReadyData()
{
    const DbValue<std::optional<Scores::Record>> found = Scores::Find(*m_kind.table, ID);
    if (!Succeeded(found, Msg::ReadFailed))
        return false;
    if (!found->has_value()) {
        // Adding a row here would make a score that belongs to no student or class.
        ShowMessage(RecordGone);
        return false;
    }
    const Scores::Record& record = **found;
    m_read = record.read;
    EditCode->setText(record.subjectCode);
    EditName->setText(record.subjectName);
    EditScore->setText(FormatPlainNumber(record.score));
    return true;
}

bool TScoreEditForm::SaveData()
{
    if (EditScore->text().isEmpty()) {
        ShowMessage(m_kind.emptyScoreMessage);
        EditScore->setFocus();
        return false;
    }
    // Throws for a text that is no number ("8.5.5"), before anything is stored.
    const double score = StrToFloat(EditScore->text(), QStringLiteral("Score"));
    return Succeeded(Scores::StoreScore(*m_kind.table, m_read, score), Msg::StoreFailed);
}
