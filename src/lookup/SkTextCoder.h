#pragma once

#include <QByteArray>

namespace lookup {

// Shift_JIS (code page 932) to EUC-JP, byte arithmetic only: no table, no range check.

// First and second 7-bit JIS byte of the double-byte character lead, trail.
unsigned char SJisToJis1(unsigned char lead, unsigned char trail);
unsigned char SJisToJis2(unsigned char lead, unsigned char trail);

// Number of bytes ShiftJISToEUCJP writes for the first `length` bytes at `bytes`.
qsizetype GetEUCJPLength(const char* bytes, qsizetype length);

// A lead byte at the very end pairs with the terminating zero byte.
QByteArray ShiftJISToEUCJP(const QByteArray& sjis);

} // namespace lookup
