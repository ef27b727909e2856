#pragma once

#include "scores/ScoreRows.h"

#include <QChar>
#include <QString>
#include <optional>

class QLineEdit;

// What a score field accepts, for the score dialogs and the quick entry
// sheet alike: the characters that may be typed, and the conversion that
// storing applies.

// The longest text a score field takes.
inline constexpr int ScoreMaxLength = 50;

// The key filter of a score field: digits, Backspace, and the decimal point
// where the kind allows a fraction; every other character is dropped (Key
// set to 0). Single characters only, so 8.5.5 can be typed; the conversion
// refuses it.
void ScoreKeyPress(const ScoreKind& kind, QChar& Key);
// Whether the key filter lets a character through.
bool ScoreKeyAccepted(const ScoreKind& kind, QChar key);

// Puts a field under the score rules: the key filter for typed characters,
// and the same for pasted or dropped text, up to ScoreMaxLength characters.
void GuardScoreField(QLineEdit* field, const ScoreKind& kind);

// The score a text stands for, converted as storing converts it; nullopt for
// a text that could not have been typed into the field or is no number
// (".", "8.5.5", empty).
std::optional<double> ScoreFromText(const ScoreKind& kind, const QString& text);
