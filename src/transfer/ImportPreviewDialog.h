#pragma once

#include "exchange/ImportPreview.h"
#include "forms/Form.h"

#include <functional>

class PreviewModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;

// "导入预览": every row of the sheet with what importing will do, and every
// problem. "导入(&I)" is possible only when no row has a problem and something
// would change; it asks once with the counts. With several sheets in the
// workbook, the sheet is chosen here and the preview follows.
class TfrmImportPreview : public TForm {
    Q_OBJECT
public:
    // plan: the preview of a sheet by name; nullptr when it could not be
    // made (the failure was shown). question: the confirmation asked with the
    // preview's counts.
    using Planner = std::function<const ImportPreview*(const QString& sheet)>;
    using Question = std::function<QString(const ImportPreview&)>;

    TfrmImportPreview(const QString& fileName, const QStringList& sheets, Planner plan, Question question,
                      QWidget* parent = nullptr);

    // Plans the first sheet; false when that failed.
    bool ReadyData();
    // The sheet whose plan is on show.
    QString sheet() const;

    void cmdImportClick();

    PreviewModel* model() const { return m_model; }
    QTableView* grid() const { return Grid; }
    QLabel* summary() const { return lblSummary; }
    QComboBox* sheets() const { return cmbSheet; }
    QPushButton* importButton() const { return cmdImport; }
    QCheckBox* problemsOnly() const { return chkProblems; }

private:
    bool showSheet(const QString& sheet);
    static QString summaryText(const ImportPreview& preview);

    Planner m_plan;
    Question m_question;
    const ImportPreview* m_preview = nullptr;
    QComboBox* cmbSheet = nullptr;
    QLabel* lblSummary = nullptr;
    QTableView* Grid = nullptr;
    PreviewModel* m_model = nullptr;
    QCheckBox* chkProblems = nullptr;
    QPushButton* cmdImport = nullptr;
    QPushButton* cmdCancel = nullptr;
};
