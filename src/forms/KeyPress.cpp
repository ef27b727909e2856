#include "forms/KeyPress.h"

void KeepDigitsAndBackspace(QChar& Key)
{
    const ushort code = Key.unicode();
    if ((code >= '0' && code <= '9') || code == 8)
        return;
    Key = QChar();
}
