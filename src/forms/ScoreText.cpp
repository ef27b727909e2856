#include "forms/ScoreText.h"

#include "data/SqlText.h"
#include "forms/FieldGuard.h"

void ScoreKeyPress(const ScoreKind& kind, QChar& Key)
{
    if ((Key >= QLatin1Char('0') && Key <= QLatin1Char('9')) || Key.unicode() == 8)
        return;
    if (kind.decimalPoint && Key == QLatin1Char('.'))
        return;
    Key = QChar();
}

bool ScoreKeyAccepted(const ScoreKind& kind, QChar key)
{
    ScoreKeyPress(kind, key);
    return !key.isNull();
}

void GuardScoreField(QLineEdit* field, const ScoreKind& kind)
{
    FieldGuard::of(field, kind.scoreTitle)
        ->setKeyPress([&kind](QChar& Key) { ScoreKeyPress(kind, Key); },
                      kind.decimalPoint ? QStringLiteral("数字和小数点") : QStringLiteral("数字"))
        ->setLimit(ScoreMaxLength);
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
