#include "scores/ScoreText.h"

#include "data/SqlText.h"

bool ScoreKeyAccepted(const ScoreKind& kind, QChar key)
{
    if (key >= QLatin1Char('0') && key <= QLatin1Char('9'))
        return true;
    return kind.decimalPoint && key == QLatin1Char('.');
}

std::optional<double> ScoreFromText(const ScoreKind& kind, const QString& text)
{
    if (text.isEmpty() || text.size() > ScoreMaxLength)
        return std::nullopt;
    for (const QChar ch : text)
        if (!ScoreKeyAccepted(kind, ch))
            return std::nullopt;
    try {
        return StrToFloat(text);
    } catch (const ConversionError&) {
        return std::nullopt;
    }
}

QValidator::State ScoreCharacters::validate(QString& input, int&) const
{
    for (const QChar ch : input)
        if (!ScoreKeyAccepted(m_kind, ch))
            return Invalid;
    return Acceptable;
}
