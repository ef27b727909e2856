#include "transfer/ImportPreviewDialog.h"

#include "forms/uPub.h"
#include "transfer/PreviewModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TfrmImportPreview::TfrmImportPreview(const QString& fileName, const QStringList& sheets, Planner plan,
                                     Question question, QWidget* parent)
    : TForm(parent), m_plan(std::move(plan)), m_question(std::move(question))
{
    setObjectName(QStringLiteral("frmImportPreview"));
    setWindowTitle(QStringLiteral("导入预览"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    resize(720, 460);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->setSpacing(4);

    auto* top = new QHBoxLayout;
    auto* file = new QLabel(QStringLiteral("文件：") + AsTyped(QFileInfo(fileName).fileName()), this);
    file->setObjectName(QStringLiteral("lblFile"));
    file->setTextFormat(Qt::PlainText);
    top->addWidget(file, 1);
    cmbSheet = new QComboBox(this);
    cmbSheet->setObjectName(QStringLiteral("cmbSheet"));
    cmbSheet->addItems(sheets);
    auto* sheetLabel = new QLabel(QStringLiteral("工作表"), this);
    top->addWidget(sheetLabel);
    top->addWidget(cmbSheet);
    // A workbook of one sheet has nothing to choose.
    sheetLabel->setVisible(sheets.size() > 1);
    cmbSheet->setVisible(sheets.size() > 1);
    layout->addLayout(top);

    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setTextFormat(Qt::PlainText);
    layout->addWidget(lblSummary);

    m_model = new PreviewModel(this);
    Grid = new QTableView(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setModel(m_model);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->verticalHeader()->hide();
    Grid->verticalHeader()->setDefaultSectionSize(18);
    Grid->horizontalHeader()->setStretchLastSection(true);
    Grid->setWordWrap(false);
    const int widths[] = {40, 90, 70, 90, 150};
    for (int c = 0; c < 5; ++c)
        Grid->setColumnWidth(c, widths[c]);
    layout->addWidget(Grid, 1);

    QFrame* panel = MakeButtonPanel(this);
    auto* buttons = new QHBoxLayout(panel);
    buttons->setContentsMargins(8, 9, 8, 10);
    buttons->setSpacing(8);
    chkProblems = new QCheckBox(QStringLiteral("只看有问题的行"), panel);
    chkProblems->setObjectName(QStringLiteral("chkProblems"));
    buttons->addWidget(chkProblems);
    buttons->addStretch(1);
    cmdImport = MakeButton(QStringLiteral("导入(&I)"), panel, QStringLiteral("cmdImport"));
    cmdCancel = MakeButton(QStringLiteral("取消(&X)"), panel, QStringLiteral("cmdCancel"));
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    layout->addWidget(panel);
    setCancelButton(cmdCancel);

    connect(cmdImport, &QPushButton::clicked, this, Guarded([this](bool) { cmdImportClick(); }));
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(chkProblems, &QCheckBox::toggled, m_model, &PreviewModel::setProblemsOnly);
    connect(cmbSheet, &QComboBox::currentTextChanged, this,
            Guarded([this](const QString& sheet) { showSheet(sheet); }));
}

bool TfrmImportPreview::ReadyData()
{
    return showSheet(cmbSheet->currentText());
}

QString TfrmImportPreview::sheet() const
{
    return cmbSheet->currentText();
}

bool TfrmImportPreview::showSheet(const QString& sheet)
{
    m_preview = m_plan(sheet);
    m_model->setPreview(m_preview ? *m_preview : ImportPreview());
    lblSummary->setText(m_preview ? summaryText(*m_preview) : QString());
    cmdImport->setEnabled(m_preview && !m_preview->hasProblems() && m_preview->changesSomething());
    // With problems, they are what the user needs to see first.
    chkProblems->setChecked(m_preview && m_preview->hasProblems());
    return m_preview != nullptr;
}

QString TfrmImportPreview::summaryText(const ImportPreview& p)
{
    QString text = QStringLiteral("共%1行：").arg(p.rows.size());
    if (p.ofScores)
        text += QStringLiteral("新增成绩%1项，成绩替换%2项，无变化%3行")
                    .arg(p.scoresAdded)
                    .arg(p.scoresReplaced)
                    .arg(p.unchanged);
    else
        text += QStringLiteral("新增%1人，更新%2人，无变化%3人").arg(p.added).arg(p.updated).arg(p.unchanged);
    if (p.hasProblems())
        text += QStringLiteral("；有问题的行%1行，改正后才能导入。").arg(p.problemRows());
    else if (!p.changesSomething())
        text += QStringLiteral("；没有需要导入的数据。");
    return text;
}

void TfrmImportPreview::cmdImportClick()
{
    if (!m_preview || m_preview->hasProblems() || !m_preview->changesSomething())
        return;
    if (!AskQuestion(m_question(*m_preview)))
        return;
    accept();
}
