#include "exchange/CellValues.h"

#include "exchange/ImportTexts.h"

#include <QRegularExpression>

#include <cmath>

namespace CellValues {

namespace {

constexpr int kExactDigits = 15;

bool isDigits(const QString& text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

StudentNumber ReadStudentNumber(const Sheets::Cell& cell)
{
    StudentNumber read;
    const QString text = cell.trimmed();
    if (text.isEmpty())
        return read;
    read.fromNumberCell = cell.type() == Sheets::Cell::Type::Number;
    if (!isDigits(text) || cell.type() == Sheets::Cell::Type::Bool) {
        read.problem = ImportText::NumberNotDigits.arg(text);
        return read;
    }
    if (read.fromNumberCell && text.size() > kExactDigits) {
        read.problem = ImportText::NumberRounded.arg(text);
        return read;
    }
    read.number = text;
    return read;
}

std::optional<int> ReadFlag(const Sheets::Cell& cell, const QStringList& items)
{
    if (cell.type() == Sheets::Cell::Type::Bool)
        return cell.boolean() ? 1 : 0;
    if (cell.type() == Sheets::Cell::Type::Number) {
        if (cell.number() == 0 || cell.number() == 1)
            return int(cell.number());
        return std::nullopt;
    }
    const QString text = cell.trimmed();
    const int position = items.indexOf(text);
    if (position >= 0)
        return position;
    if (text == QStringLiteral("是") || text == QLatin1String("1") ||
        text.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0)
        return 1;
    if (text == QStringLiteral("否") || text == QLatin1String("0") ||
        text.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
        return 0;
    return std::nullopt;
}

QString FlagChoices(const QStringList& items)
{
    QStringList choices{items.value(1), items.value(0)};
    if (!choices.contains(QStringLiteral("是")))
        choices << QStringLiteral("是");
    if (!choices.contains(QStringLiteral("否")))
        choices << QStringLiteral("否");
    choices << QStringLiteral("1") << QStringLiteral("0");
    return choices.join(QLatin1Char('/'));
}

std::optional<double> ReadScore(const Sheets::Cell& cell)
{
    if (cell.type() == Sheets::Cell::Type::Number) {
        if (!std::isfinite(cell.number()) || cell.number() < 0)
            return std::nullopt;
        return cell.number();
    }
    if (cell.type() != Sheets::Cell::Type::Text)
        return std::nullopt;
    static const QRegularExpression score(QStringLiteral("^(\\d+(\\.\\d*)?|\\.\\d+)$"));
    const QString text = cell.trimmed();
    if (!score.match(text).hasMatch())
        return std::nullopt;
    return text.toDouble();
}

QString WithoutLeadingZeros(const QString& digits)
{
    int i = 0;
    while (i + 1 < digits.size() && digits.at(i) == QLatin1Char('0'))
        ++i;
    return digits.mid(i);
}

} // namespace CellValues
