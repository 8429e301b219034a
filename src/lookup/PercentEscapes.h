#pragma once

#include <array>
#include <cstdint>

namespace lookup {

// The bytes that percent-encoding leaves as they are.
constexpr bool staysUnescaped(unsigned char b) {
    return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '!' ||
           b == '$' || b == '\'' || b == '(' || b == ')' || b == '*' || b == '-' || b == '.' ||
           b == '@' || b == '_';
}

// What one byte becomes in a query word. Room for the five characters of a byte escaped
// twice, padded to 16 bytes so that an encoder stores it with one fixed-size copy and then
// moves on by `size`.
struct EscapedByte {
    char16_t text[6];
    std::uint32_t size;
};
static_assert(sizeof(EscapedByte) == 16);

using EscapeTable = std::array<EscapedByte, 256>;

// Percent-encoding as query sites expect it: letters, digits and ! $ ' ( ) * - . @ _ stay,
// a space becomes '+', every other byte becomes %XX (upper-case hex).
constexpr EscapedByte percentEscape(unsigned b) {
    constexpr char hex[] = "0123456789ABCDEF";
    if (staysUnescaped(static_cast<unsigned char>(b)))
        return {{static_cast<char16_t>(b)}, 1};
    if (b == ' ')
        return {{u'+'}, 1};
    return {{u'%', static_cast<char16_t>(hex[b >> 4]), static_cast<char16_t>(hex[b & 15])}, 3};
}

template <EscapedByte (*Escape)(unsigned)> constexpr EscapeTable makeEscapeTable() {
    EscapeTable table{};
    for (unsigned b = 0; b < 256; ++b)
        table[b] = Escape(b);
    return table;
}

// Every byte's percent escape, built by the compiler.
inline constexpr EscapeTable kPercentEscapes = makeEscapeTable<percentEscape>();

} // namespace lookup
