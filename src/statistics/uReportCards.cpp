#include "statistics/uReportCards.h"

#include "forms/UserSettings.h"
#include "forms/uPub.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

TfrmReportCards::TfrmReportCards(Source source, QWidget* parent) : TForm(parent)
{
    setObjectName(QStringLiteral("frmReportCards"));
    setWindowTitle(QStringLiteral("成绩通知单"));
    setFixedClientSize(330, 134);

    auto* box = new QGroupBox(QStringLiteral("版式"), this);
    box->setObjectName(QStringLiteral("GroupBox1"));
    box->setGeometry(8, 6, 314, 62);
    rbThree = new QRadioButton(QStringLiteral("每页三份，份间有裁切线"), box);
    rbThree->setObjectName(QStringLiteral("rbThree"));
    rbThree->move(12, 18);
    rbThree->adjustSize();
    rbOne = new QRadioButton(QStringLiteral("每页一份"), box);
    rbOne->setObjectName(QStringLiteral("rbOne"));
    rbOne->move(12, 38);
    rbOne->adjustSize();
    (UserSettings::ReportCardsThreePerPage() ? rbThree : rbOne)->setChecked(true);
    chkInactive = new QCheckBox(QStringLiteral("包括不在校学生"), this);
    chkInactive->setObjectName(QStringLiteral("chkInactive"));
    chkInactive->move(20, 74);
    chkInactive->adjustSize();
    chkInactive->setChecked(UserSettings::ReportCardsForInactive());
    connect(rbThree, &QRadioButton::toggled, this,
            [](bool on) { UserSettings::SetReportCardsThreePerPage(on); });
    connect(chkInactive, &QCheckBox::toggled, this,
            [](bool on) { UserSettings::SetReportCardsForInactive(on); });

    commands = new PrintCommands(
        this, [this, source = std::move(source)] { return source(layout(), forInactive()); });
    QFrame* panel = MakeButtonPanel(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setGeometry(0, 134 - panel->height(), 330, panel->height());
    cmdPrint = MakeButton(QStringLiteral("打印"), panel, QStringLiteral("cmdPrint"));
    cmdPreview = MakeButton(QStringLiteral("打印预览"), panel, QStringLiteral("cmdPreview"));
    cmdPdf = MakeButton(QStringLiteral("导出PDF"), panel, QStringLiteral("cmdPdf"));
    cmdClose = MakeButton(QStringLiteral("关闭(&X)"), panel, QStringLiteral("cmdClose"));
    cmdClose->move(330 - 8 - cmdClose->width(), 9);
    cmdPdf->move(cmdClose->x() - 80, 9);
    cmdPreview->move(cmdPdf->x() - 80, 9);
    cmdPrint->move(cmdPreview->x() - 80, 9);
    setCancelButton(cmdClose);
    connect(cmdPrint, &QPushButton::clicked, commands->printAction(), &QAction::trigger);
    connect(cmdPreview, &QPushButton::clicked, commands->previewAction(), &QAction::trigger);
    connect(cmdPdf, &QPushButton::clicked, commands->pdfAction(), &QAction::trigger);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(rbThree, rbOne);
    setTabOrder(rbOne, chkInactive);
    setTabOrder(chkInactive, cmdPrint);
    setTabOrder(cmdPrint, cmdPreview);
    setTabOrder(cmdPreview, cmdPdf);
    setTabOrder(cmdPdf, cmdClose);
    cmdPreview->setFocus();
}

ReportCardDocument::Layout TfrmReportCards::layout() const
{
    return rbOne->isChecked() ? ReportCardDocument::Layout::OnePerPage
                              : ReportCardDocument::Layout::ThreePerPage;
}

bool TfrmReportCards::forInactive() const
{
    return chkInactive->isChecked();
}

void ShowReportCards(const TfrmReportCards::Source& source)
{
    TfrmReportCards dialog(source);
    dialog.exec();
}
