#pragma once

#include "forms/ScoreWindow.h"

// "优生评定标准": the honours standard of each subject for a class in a term.
class TfrmHonoursStd : public TScoreWindow {
    Q_OBJECT
public:
    explicit TfrmHonoursStd(QWidget* parent = nullptr);

    bool ReadyList();

protected:
    std::optional<ScoreRows> shownRows() const override;
    bool editRow(int id) override;
    void TreeClick() override;
};

bool ShowHonoursStd();
