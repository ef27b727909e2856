#pragma once

#include "forms/Form.h"
#include "scores/ScoreRows.h"

#include <optional>

class DataGrid;
class QFrame;
class QGroupBox;
class QPushButton;
class QueryObject;
class TTermClassTree;

// The window both score lists are kept in: the term/class navigator at the
// left, and a grid of rows per subject with their total, which "…初始化"
// replaces from the class's subject plan and "修改(&E)" edits one by one.
// The grade window adds its student list; the standards window has none.
class TScoreWindow : public TForm {
    Q_OBJECT
public:
    bool ReadyData();

    void cmdAppendClick();
    void cmdEditClick();
    void cmdCloseClick();
    void DBGridEh1DblClick();
    void DBGridEh1KeyDown(int key, Qt::KeyboardModifiers shift);

    TTermClassTree* tree() const { return m_tree; }
    DataGrid* scoreGrid() const { return DBGridEh1; }
    QueryObject* scores() const { return dsScores; }

protected:
    // scoresName is the score query's name ("dsGrade", "dsStd").
    TScoreWindow(const ScoreKind& kind, const QString& initCaption, const QString& scoresName,
                 QWidget* parent = nullptr);

    // Puts the score grid and its button panel into box, the panel at the foot.
    void placeScores(QWidget* box);

    // The rows the commands act on: none unless the lists show a class (and,
    // for scores, a current student).
    virtual std::optional<ScoreRows> shownRows() const = 0;
    // Opens the edit dialog for one row; true when it stored.
    virtual bool editRow(int id) = 0;
    virtual void TreeClick() = 0;

    // Reads the rows into the score grid; a failure is reported and leaves it empty.
    bool ReadyScores(const ScoreRows& rows);

    const ScoreKind& m_kind;
    TTermClassTree* m_tree = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    DataGrid* DBGridEh1 = nullptr;
    QFrame* Panel2 = nullptr;
    QPushButton* cmdAppend = nullptr;
    QPushButton* cmdEdit = nullptr;
    QPushButton* cmdClose = nullptr;
    QueryObject* dsScores = nullptr;
};
