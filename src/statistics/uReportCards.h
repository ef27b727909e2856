#pragma once

#include "forms/Form.h"
#include "print/PrintCommands.h"
#include "print/ReportCards.h"

#include <functional>

class QCheckBox;
class QPushButton;
class QRadioButton;

// "成绩通知单": how the report cards of the class on show are printed —
// three to a page with cut lines or one to a page, with or without the
// students no longer in school (不在校) — and the print commands for them.
// The choices are remembered for the user.
class TfrmReportCards : public TForm {
    Q_OBJECT
public:
    // Makes the cards as chosen at the moment of a command.
    using Source = std::function<PrintJob(ReportCardDocument::Layout layout, bool forInactive)>;

    explicit TfrmReportCards(Source source, QWidget* parent = nullptr);

    ReportCardDocument::Layout layout() const;
    bool forInactive() const;

    QRadioButton* rbThree = nullptr;
    QRadioButton* rbOne = nullptr;
    QCheckBox* chkInactive = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdPreview = nullptr;
    QPushButton* cmdPdf = nullptr;
    QPushButton* cmdClose = nullptr;
    PrintCommands* commands = nullptr;
};

void ShowReportCards(const TfrmReportCards::Source& source);
