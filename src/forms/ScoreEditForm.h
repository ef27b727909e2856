#pragma once

#include "data/Database.h"
#include "forms/EditForm.h"
#include "scores/ScoreRows.h"

class QLineEdit;

// The dialog that changes one score row: the subject is shown for
// orientation and only the score is written back. It is always opened for
// an existing row; a row that has gone meanwhile is reported, never re-added.
class TScoreEditForm : public TEditForm {
    Q_OBJECT
public:
    bool ReadyData() override;
    bool SaveData() override;

    // The key filter of the score field: digits, Backspace, and the decimal
    // point where the kind allows a fraction; every other character is dropped.
    void EditScoreKeyPress(QChar& Key) const;

    QLineEdit* EditCode = nullptr;
    QLineEdit* EditName = nullptr;
    QLineEdit* EditScore = nullptr;

protected:
    TScoreEditForm(const ScoreKind& kind, int id, QWidget* parent = nullptr);

private:
    const ScoreKind& m_kind;
    RowImage m_read; // the score row as ReadyData found it
};
