#pragma once

#include "data/ClassResults.h"
#include "data/ScoreSheet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <optional>

// The quick entry sheet of one class in one term, over its results: a row
// per student in the roster's order; the columns 姓名, 学号, one per subject
// of the plan in plan order, then the read-only 总分. A score that exists is
// shown with one decimal, a planned subject without one is blank; scores are
// marked by the statistics table's rules as they change.
//
// The model writes nothing: the window stores a cell and then tells the
// model what the cell holds now.
class ScoreSheetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int NameColumn = 0;
    static constexpr int NumberColumn = 1;
    static constexpr int FirstSubjectColumn = 2;

    explicit ScoreSheetModel(QObject* parent = nullptr);

    // Shows the results of a class; an empty value (no class) shows nothing.
    void setResults(const ClassResults& results);
    void clear();
    bool hasClass() const { return m_hasClass; }
    SheetClass shownClass() const { return {m_results.termCode(), m_results.classCode()}; }
    const ClassResults& results() const { return m_results; }

    int totalColumn() const { return FirstSubjectColumn + m_results.subjectCount(); }
    int lastSubjectColumn() const { return totalColumn() - 1; }
    // The subject of a column, or -1 for the other columns.
    int subjectAt(int column) const;
    bool isScoreCell(const QModelIndex& index) const;
    SheetCell cellAt(const QModelIndex& index) const; // for a score cell
    // The index showing a cell; invalid when the cell is not on the sheet.
    QModelIndex indexOf(const SheetCell& cell) const;
    // "张三 语文": a cell for messages.
    QString cellName(const QModelIndex& index) const;
    CellScore scoreAt(const QModelIndex& index) const;

    // Takes what a cell holds now; its row's total follows.
    void setScore(const QModelIndex& index, CellScore score);
    // The same for cells given by key; cells not on the sheet are skipped.
    void setScores(const QVector<SheetCell>& cells, const QVector<CellScore>& scores);

    // The text colour of a score in a subject: blue below the pass mark, red
    // at the class's honours standard where there is one (red wins); none
    // for a blank cell.
    std::optional<QColor> markColor(int subject, CellScore score) const;

    // The cells of a rectangle as tab-separated rows, each ended by a line
    // break, as spreadsheets exchange them. Scores are written as stored
    // (85.25, not 85.3), so pasting them back changes nothing.
    QString copyText(int top, int left, int bottom, int right) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QString text(const QModelIndex& index) const;

    ClassResults m_results;
    bool m_hasClass = false;
};

// The rows of a tab-separated block as spreadsheets put it on the clipboard
// (Excel, WPS, LibreOffice): rows ended by a line break (CR LF or LF, the
// last one optional), cells split at tabs.
QVector<QStringList> TabSeparatedRows(const QString& text);
