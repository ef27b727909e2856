#include "forms/ListForm.h"

#include "data/QueryObject.h"
#include "forms/uPub.h"

#include <QPushButton>

GridColumn Column(const QString& field, const QString& title, int width)
{
    GridColumn column;
    column.field = field;
    column.title = title;
    column.width = width;
    return column;
}

TListButtons::TListButtons(int rightGap, QWidget* parent) : QFrame(parent), m_rightGap(rightGap)
{
    setObjectName(QStringLiteral("Panel1"));
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setFixedHeight(41);
    cmdAppend = MakeButton(QStringLiteral("添加(&A)"), this, QStringLiteral("cmdAppend"));
    cmdEdit = MakeButton(QStringLiteral("修改(&E)"), this, QStringLiteral("cmdEdit"));
    cmdDelete = MakeButton(QStringLiteral("删除(&D)"), this, QStringLiteral("cmdDelete"));
    cmdClose = MakeButton(QStringLiteral("关闭(&X)"), this, QStringLiteral("cmdClose"));
    setTabOrder(cmdAppend, cmdEdit);
    setTabOrder(cmdEdit, cmdDelete);
    setTabOrder(cmdDelete, cmdClose);
    placeButtons();
}

void TListButtons::setRightGap(int rightGap)
{
    m_rightGap = rightGap;
    placeButtons();
}

void TListButtons::addTrailing(QWidget* control, int gap)
{
    control->setParent(this);
    m_trailing.append({control, gap});
    placeButtons();
}

void TListButtons::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    placeButtons();
}

void TListButtons::placeButtons()
{
    cmdClose->move(width() - m_rightGap - cmdClose->width(), 9);
    cmdDelete->move(cmdClose->x() - 88, 9);
    cmdEdit->move(cmdDelete->x() - 80, 9);
    cmdAppend->move(cmdEdit->x() - 80, 9);
    const QWidget* before = cmdClose;
    for (const auto& [control, gap] : m_trailing) {
        control->move(before->geometry().right() + 1 + gap, 9);
        before = control;
    }
}

TListForm::TListForm(int buttonsRightGap, QWidget* parent) : TForm(parent)
{
    m_buttons = new TListButtons(buttonsRightGap, this);
    connect(m_buttons->cmdAppend, &QPushButton::clicked, this, Guarded([this](bool) { cmdAppendClick(); }));
    connect(m_buttons->cmdEdit, &QPushButton::clicked, this, Guarded([this](bool) { cmdEditClick(); }));
    connect(m_buttons->cmdDelete, &QPushButton::clicked, this, Guarded([this](bool) { cmdDeleteClick(); }));
    connect(m_buttons->cmdClose, &QPushButton::clicked, this, Guarded([this](bool) { cmdCloseClick(); }));
}

void TListForm::setRecords(QueryObject* records, const QString& deleteQuestion, const QString& deleteRefused)
{
    m_records = records;
    m_deleteQuestion = deleteQuestion;
    m_deleteRefused = deleteRefused;
}

bool TListForm::hasCurrentRecord() const
{
    return canAppend() && m_records && !m_records->isEmpty() && !m_records->eof();
}

void TListForm::cmdAppendClick()
{
    if (!canAppend())
        return;
    if (appendRecord())
        reloadAfterStore();
}

void TListForm::cmdEditClick()
{
    if (!hasCurrentRecord())
        return;
    if (editRecord(m_records->fieldInt(QStringLiteral("ID"))))
        reloadAfterStore();
}

void TListForm::cmdDeleteClick()
{
    if (!hasCurrentRecord())
        return;
    if (!AskQuestion(m_deleteQuestion))
        return;
    // A refused delete leaves the row where it was.
    if (Succeeded(deleteRecord(m_records->currentImage()), m_deleteRefused))
        m_records->removeCurrentRow();
}

void TListForm::cmdCloseClick()
{
    close();
}
