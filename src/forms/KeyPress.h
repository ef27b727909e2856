#pragma once

#include <QChar>

// The key filter of the number fields: only the digits 0 to 9 and Backspace
// get through; every other character, control characters included, is
// dropped. Fields hand it to their FieldGuard, which also refuses pasted or
// dropped text holding anything it drops.
void KeepDigitsAndBackspace(QChar& Key);
