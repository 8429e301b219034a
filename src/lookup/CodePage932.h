#pragma once

#include <QByteArray>
#include <QStringView>
#include <cstdint>

namespace lookup {

// Microsoft's code page 932 ("ANSI" on Japanese Windows), as the Windows converter does it:
// best-fit characters (U+301C wave dash and friends) share the codes of their full-width
// twins, NEC and IBM extension characters are converted, and a character the code page
// lacks (a surrogate pair counts as one character, an unpaired surrogate too) becomes one '?'.
QByteArray toCodePage932(QStringView text);

// True when `cp932` (code page 932 bytes) holds no double-byte character.
bool hasOnlySingleByteCharacters(const QByteArray& cp932);

namespace detail {
extern const std::uint16_t kCodePage932Codes[0x10000];
extern const std::uint16_t kEucJpCodes[0x10000];
} // namespace detail

constexpr std::uint16_t kNoCodePage932Code = 0xFFFF;

// The code of one UTF-16 unit: below 0x100 a single byte, else lead << 8 | trail;
// kNoCodePage932Code for a unit the code page lacks (surrogates included).
inline std::uint16_t codePage932Code(char16_t c) {
    return detail::kCodePage932Codes[c];
}

// The EUC-JP code that converting the unit's code page 932 bytes gives, in the same form;
// kEucJpPairsWithNext for the few single bytes (0x80, 0xA0, 0xFD-0xFF) that the byte-wise
// conversion takes as the lead of a pair with whatever byte follows.
constexpr std::uint16_t kEucJpPairsWithNext = 0xFFFE;
inline std::uint16_t eucJpCode(char16_t c) {
    return detail::kEucJpCodes[c];
}

// True for the bytes that start a double-byte character in code page 932.
constexpr bool isCodePage932LeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

} // namespace lookup
