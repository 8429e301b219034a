#include "input/FullWidthToAscii.h"

namespace input {

QString fullWidthToAscii(QString text) {
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u >= 0xFF10 && u <= 0xFF5A)
            c = QChar(static_cast<char16_t>(u - 0xFEE0));
    }
    return text;
}

} // namespace input
