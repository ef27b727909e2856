#pragma once

#include "print/PrintDocument.h"

#include <QStringList>
#include <QVector>

// 成绩通知单: what the slips of a class in a term say. Texts as printed.
struct ReportCard {
    QString name;
    QString number;
    QStringList scores; // one per subject
    QString total;
    QString place; // printed only when the set shows places
};

struct ReportCardSet {
    QString school;
    QString term;
    QString className;
    QStringList subjects;
    QStringList averages; // the class's, one per subject
    QString totalAverage;
    bool showPlaces = true;
    QVector<ReportCard> cards;
};

// One slip per student: the school, the term, class, name and 学号, a table
// of every subject's score beside the class average, 总分 and 名次, ruled
// lines for the head teacher's remark and a line for the parent's
// signature. Three slips to an A4 page with dashed cut lines between them,
// or one to a page with more room for the remark.
class ReportCardDocument : public PrintDocument {
public:
    enum class Layout { ThreePerPage, OnePerPage };

    ReportCardDocument(ReportCardSet cards, Layout layout);

    const ReportCardSet& cards() const { return m_cards; }

    QString title() const override;
    QPageLayout pageLayout() const override { return Print::A4(QPageLayout::Portrait); }
    int paint(QPainter& painter, QPagedPaintDevice& device) const override;

private:
    ReportCardSet m_cards;
    Layout m_layout;
};
