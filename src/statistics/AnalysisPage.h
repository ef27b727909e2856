#pragma once

#include "data/ClassResults.h"

#include <QWidget>
#include <optional>

class QComboBox;
class QHBoxLayout;
class TBandChart;
class TStringAlignGrid;

// The page "统计分析" of the statistics window: for a subject chosen on it,
// or 总分, the class's spread over the score bands as a bar chart with
// counts and shares, and the same as a small table. It shows the results it
// is given; the chosen subject stays chosen from class to class while the
// next class has it (the first subject otherwise).
class AnalysisPage : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisPage(QWidget* parent = nullptr);

    void show(const ClassResults& results);
    void clear();

    QComboBox* subjectChoice() const { return cmbBandSubj; }
    // Made when the page is first shown or given a class: a chart costs a
    // few milliseconds at every opening of the window otherwise.
    TBandChart* chart();
    TStringAlignGrid* bandGrid() const { return GridBand; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refillSubjects();
    void choiceChanged();
    void showChosen();

    QComboBox* cmbBandSubj = nullptr;
    TBandChart* m_chart = nullptr;
    QHBoxLayout* m_body = nullptr;
    TStringAlignGrid* GridBand = nullptr;
    ClassResults m_results;
    bool m_hasClass = false;
    // The code of the subject the user chose last, empty for 总分; before
    // any choice the first subject is shown.
    std::optional<QString> m_chosen;
};
