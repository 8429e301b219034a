#pragma once

#include <QByteArray>

namespace lookup {

// Shift_JIS (code page 932) to EUC-JP, byte arithmetic only: no table, no range check.

// First and second 7-bit JIS byte of the double-byte character lead, trail (modulo 256).
constexpr unsigned char jisRowByteFromShiftJis(unsigned char lead, unsigned char trail) {
    const unsigned char rowOffset = lead <= 0x9F ? 0x70 : 0xB0;
    const unsigned char adjust = trail < 0x9F ? 1 : 0;
    return static_cast<unsigned char>((lead - rowOffset) * 2 - adjust);
}

constexpr unsigned char jisCellByteFromShiftJis(unsigned char /*lead*/, unsigned char trail) {
    const unsigned char subtrahend = trail < 0x7F ? 0x1F : trail < 0x9F ? 0x20 : 0x7E;
    return static_cast<unsigned char>(trail - subtrahend);
}

// Number of bytes shiftJisToEucJp writes for the first `length` bytes at `bytes`.
qsizetype eucJpLength(const char* bytes, qsizetype length);

// A lead byte at the very end pairs with the terminating zero byte.
QByteArray shiftJisToEucJp(const QByteArray& sjis);

} // namespace lookup
