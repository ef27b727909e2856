#pragma once

#include "scores/ScoreRows.h"

#include <QChar>
#include <QString>
#include <QValidator>
#include <optional>

// What a score field accepts, for the score dialogs and the quick entry
// sheet alike: the characters that may be typed, and the conversion that
// storing applies.

// The longest text a score field takes.
inline constexpr int ScoreMaxLength = 50;

// Whether a typed character may go into a score field: digits, and the
// decimal point where the kind allows a fraction. Single characters only,
// so 8.5.5 can be typed; the conversion refuses it.
bool ScoreKeyAccepted(const ScoreKind& kind, QChar key);

// The score a text stands for, converted as storing converts it; nullopt for
// a text that could not have been typed into the field or is no number
// (".", "8.5.5", empty).
std::optional<double> ScoreFromText(const ScoreKind& kind, const QString& text);

// Keeps a field to the characters that can be typed into it, also when text
// is pasted or dropped. Whether the text is a number is left to storing.
class ScoreCharacters : public QValidator {
public:
    ScoreCharacters(const ScoreKind& kind, QObject* parent) : QValidator(parent), m_kind(kind) {}

    State validate(QString& input, int& position) const override;

private:
    const ScoreKind& m_kind;
};
