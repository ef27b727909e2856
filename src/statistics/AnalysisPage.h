#pragma once

#include "data/ClassResults.h"

#include <QWidget>
#include <optional>

class QComboBox;
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
    TBandChart* chart() const { return m_chart; }
    TStringAlignGrid* bandGrid() const { return GridBand; }

private:
    void refillSubjects();
    void choiceChanged();
    void showChosen();

    QComboBox* cmbBandSubj = nullptr;
    TBandChart* m_chart = nullptr;
    TStringAlignGrid* GridBand = nullptr;
    ClassResults m_results;
    bool m_hasClass = false;
    // The code of the subject the user chose last, empty for 总分; before
    // any choice the first subject is shown.
    std::optional<QString> m_chosen;
};
