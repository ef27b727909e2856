#include "forms/EditForm.h"

#include "forms/uPub.h"

#include <QFrame>
#include <QPushButton>
#include <QResizeEvent>

TEditForm::TEditForm(QWidget* parent) : TForm(parent)
{
    Panel1 = MakeButtonPanel(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    cmdEnsure = MakeButton(QStringLiteral("确认(&E)"), Panel1, QStringLiteral("cmdEnsure"));
    cmdCancel = MakeButton(QStringLiteral("取消(&X)"), Panel1, QStringLiteral("cmdCancel"));
    setCancelButton(cmdCancel);
    setKeyPreview(true);
    connect(cmdEnsure, &QPushButton::clicked, this, Guarded([this](bool) { cmdEnsureClick(); }));
    connect(cmdCancel, &QPushButton::clicked, this, Guarded([this](bool) { cmdCancelClick(); }));
}

void TEditForm::cmdEnsureClick()
{
    if (!SaveData())
        return; // the dialog stays open with what was typed
    NotStored = false;
    accept();
}

void TEditForm::cmdCancelClick()
{
    reject();
}

void TEditForm::resizeEvent(QResizeEvent* event)
{
    TForm::resizeEvent(event);
    placePanel();
}

void TEditForm::placePanel()
{
    Panel1->setGeometry(0, height() - Panel1->height(), width(), Panel1->height());
    // "取消(&X)" ends 8 pixels from the right edge, "确认(&E)" 80 pixels left of it.
    cmdCancel->move(Panel1->width() - 8 - cmdCancel->width(), 9);
    cmdEnsure->move(cmdCancel->x() - 80, 9);
}
