#include "exchange/SheetHeader.h"

std::optional<SheetHeader> SheetHeader::Find(const Sheets::Table& table, const QStringList& keys)
{
    for (int r = 0; r < table.rowCount(); ++r) {
        const QVector<Sheets::Cell>& cells = table.row(r);
        for (const Sheets::Cell& cell : cells) {
            if (!keys.contains(Normalised(cell.text())))
                continue;
            SheetHeader header;
            header.m_row = r;
            for (int c = 0; c < cells.size(); ++c) {
                const QString title = Normalised(cells.at(c).text());
                if (!title.isEmpty())
                    header.m_titles.append({c, title});
            }
            return header;
        }
    }
    return std::nullopt;
}

int SheetHeader::column(const QString& title) const
{
    for (const Title& t : m_titles) {
        if (t.text == title)
            return t.column;
    }
    return -1;
}

QStringList SheetHeader::repeated(const QStringList& titles) const
{
    QStringList twice;
    for (const QString& title : titles) {
        int count = 0;
        for (const Title& t : m_titles)
            count += t.text == title ? 1 : 0;
        if (count > 1)
            twice << title;
    }
    return twice;
}

QString SheetHeader::Normalised(const QString& title)
{
    QString text;
    for (QChar c : title) {
        if (!c.isSpace())
            text += c;
    }
    return text;
}
