#pragma once

#include <QByteArray>
#include <QStringView>

namespace lookup {

// Microsoft's code page 932 ("ANSI" on Japanese Windows), as the Windows converter does it:
// best-fit characters (U+301C wave dash and friends) share the codes of their full-width
// twins, NEC and IBM extension characters are converted, and a character the code page
// lacks (a surrogate pair counts as one character, an unpaired surrogate too) becomes one '?'.
QByteArray toCodePage932(QStringView text);

// UTF-8 as the Windows converter writes it; an unpaired surrogate becomes U+FFFD.
QByteArray toUtf8(QStringView text);

// True when `cp932` (code page 932 bytes) holds no double-byte character.
bool OnlySingleByte(const QByteArray& cp932);

// True for the bytes that start a double-byte character in code page 932.
constexpr bool isCodePage932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace lookup
