#pragma once

#include "exchange/ImportPreview.h"

#include <QAbstractTableModel>

// The rows of an import preview for a table view: 行, 班级, 姓名, 学号, 处理
// and 问题, the rows with a problem in red; optionally only those rows.
class PreviewModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PreviewModel(QObject* parent = nullptr);

    void setPreview(const ImportPreview& preview);
    void setProblemsOnly(bool only);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const PreviewRow& rowAt(int row) const;

private:
    void refilter();

    ImportPreview m_preview;
    bool m_problemsOnly = false;
    QVector<int> m_shown; // view row -> preview row
};
