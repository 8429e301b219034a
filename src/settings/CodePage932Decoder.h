#pragma once

#include <QByteArrayView>
#include <QString>

namespace settings {

// Code page 932 bytes to text, as Windows reads them: the NEC and IBM duplicates give the same
// character, and the single bytes 0x80, 0xA0 and 0xFD to 0xFF give the characters that
// lookup::toCodePage932 turns back into them. A byte or pair the code page does not define,
// and a lead byte without a fitting trail byte, give one U+FFFD each; the byte after such a
// lead byte is read afresh, so a line end right after it is never swallowed.
QString fromCodePage932(QByteArrayView bytes);

} // namespace settings
