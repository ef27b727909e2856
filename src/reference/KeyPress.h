#pragma once

#include <QChar>
#include <functional>

class QWidget;

// Hands every character typed into field to handler first, as Key; a handler
// that sets Key to 0 drops the character. Keys that type nothing (arrows,
// Delete) and the dialog keys Enter, Esc and Tab always pass, so the window
// still moves the focus and cancels as usual. Input methods are switched off
// for the field: they would commit text past the handler.
void OnKeyPress(QWidget* field, std::function<void(QChar& Key)> handler);

// The filter of the number fields: only the digits 0 to 9 and Backspace
// get through; every other character, control characters included, is dropped.
void KeepDigitsAndBackspace(QChar& Key);
