#include "lookup/EncodeQueryText.h"

#include "lookup/CodePage932.h"
#include "lookup/PercentEncoding.h"
#include "lookup/ShiftJisToEucJp.h"

#include <array>
#include <cstring>
#include <optional>

namespace lookup {

namespace {

// Lookups run on every copy and the text can be long, so each encoding is done in one pass
// from the UTF-16 text straight into the result, byte for byte as the chain of conversions
// (to bytes, to EUC-JP, percent-encoding once or twice) would give it.

// What one byte becomes, padded so that it is stored with one fixed-size copy.
struct Piece {
    char16_t text[6];
    std::uint32_t size;
};
static_assert(sizeof(Piece) == 16);
using PieceTable = std::array<Piece, 256>;

constexpr Piece escapeOnce(unsigned b) {
    constexpr char hex[] = "0123456789ABCDEF";
    if (staysUnescaped(static_cast<unsigned char>(b)))
        return {{static_cast<char16_t>(b)}, 1};
    if (b == ' ')
        return {{u'+'}, 1};
    return {{u'%', static_cast<char16_t>(hex[b >> 4]), static_cast<char16_t>(hex[b & 15])}, 3};
}

// The second pass sees only the first pass's output: letters, digits, the unchanged
// punctuation, '+' (from a blank) and '%'.
constexpr Piece escapeTwice(unsigned b) {
    Piece out{};
    const Piece once = escapeOnce(b);
    for (std::uint32_t i = 0; i < once.size; ++i) {
        const Piece again = escapeOnce(once.text[i]);
        for (std::uint32_t j = 0; j < again.size; ++j)
            out.text[out.size++] = again.text[j];
    }
    return out;
}

template <Piece (*Escape)(unsigned)> constexpr PieceTable makeTable() {
    PieceTable t{};
    for (unsigned b = 0; b < 256; ++b)
        t[b] = Escape(b);
    return t;
}

constexpr PieceTable kOnce = makeTable<escapeOnce>();
constexpr PieceTable kTwice = makeTable<escapeTwice>();

// Room for the pieces' fixed-size copies past the last character written.
constexpr qsizetype kSlack = 8;

// Stores `Bytes` bytes of the piece at once: 8 hold the three characters of a single
// escape, 16 the five of a double one.
template <std::size_t Bytes = sizeof(Piece)> inline char16_t* put(char16_t* o, const Piece& p) {
    std::memcpy(o, &p, Bytes);
    return o + p.size;
}

// Writes the escaped bytes of every unit; `emit` returns false to stop (a zero byte).
template <typename Emit> QString encodeUnits(const QString& text, qsizetype maxPerUnit, Emit emit) {
    QString out(text.size() * maxPerUnit + kSlack, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* o = begin;
    const auto* p = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = p + text.size();
    while (p < end && emit(p, end, o)) {
    }
    out.truncate(o - begin);
    return out;
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

QString utf8Encoded(const QString& text) {
    return encodeUnits(text, 9, [](const char16_t*& p, const char16_t* end, char16_t*& o) {
        char32_t c = *p++;
        if (c < 0x80) {
            if (c == 0)
                return false;
            o = put<8>(o, kOnce[c]);
        } else if (c < 0x800) {
            o = put<8>(o, kOnce[0xC0 | (c >> 6)]);
            o = put<8>(o, kOnce[0x80 | (c & 0x3F)]);
        } else if (isHighSurrogate(static_cast<char16_t>(c)) && p < end && isLowSurrogate(*p)) {
            c = 0x10000 + ((c - 0xD800) << 10) + (*p++ - 0xDC00);
            o = put<8>(o, kOnce[0xF0 | (c >> 18)]);
            o = put<8>(o, kOnce[0x80 | ((c >> 12) & 0x3F)]);
            o = put<8>(o, kOnce[0x80 | ((c >> 6) & 0x3F)]);
            o = put<8>(o, kOnce[0x80 | (c & 0x3F)]);
        } else {
            if (c >= 0xD800 && c <= 0xDFFF)
                c = 0xFFFD;
            o = put<8>(o, kOnce[0xE0 | (c >> 12)]);
            o = put<8>(o, kOnce[0x80 | ((c >> 6) & 0x3F)]);
            o = put<8>(o, kOnce[0x80 | (c & 0x3F)]);
        }
        return true;
    });
}

// The code of the character at p in `table` (a surrogate pair is one character and gets
// one '?'), advancing p past it.
template <std::uint16_t (*Code)(char16_t)>
inline std::uint16_t nextCode(const char16_t*& p, const char16_t* end) {
    const char16_t c = *p++;
    const std::uint16_t code = Code(c);
    if (code != kNoCodePage932Code)
        return code;
    if (isHighSurrogate(c) && p < end && isLowSurrogate(*p))
        ++p;
    return '?';
}

// Escapes the one- or two-byte codes of every character; stops at a zero byte. Returns
// nothing when a code can't be written on its own. A plain loop with local pointers: the
// compiler keeps them in registers, which it does not for pointers a callback updates.
template <std::uint16_t (*Code)(char16_t), std::size_t Bytes>
std::optional<QString> codesEncoded(const QString& text, const PieceTable& table,
                                    qsizetype maxPerByte) {
    QString out(text.size() * 2 * maxPerByte + kSlack, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* o = begin;
    const auto* p = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = p + text.size();
    while (p < end) {
        const std::uint16_t code = nextCode<Code>(p, end);
        if (code == 0)
            break;
        if (code > 0xFF) {
            if (code == kEucJpPairsWithNext)
                return std::nullopt;
            o = put<Bytes>(o, table[code >> 8]);
        }
        o = put<Bytes>(o, table[code & 0xFF]);
    }
    out.truncate(o - begin);
    return out;
}

} // namespace

QString encodeQueryText(const QString& text, QueryEncoding encoding) {
    switch (encoding) {
    case QueryEncoding::Raw:
        return text;
    case QueryEncoding::Utf8:
        return utf8Encoded(text);
    case QueryEncoding::ShiftJis:
        return *codesEncoded<codePage932Code, 8>(text, kOnce, 3);
    case QueryEncoding::ShiftJisTwice:
        return *codesEncoded<codePage932Code, 16>(text, kTwice, 5);
    case QueryEncoding::EucJp:
        if (auto fast = codesEncoded<eucJpCode, 8>(text, kOnce, 3))
            return *fast;
        // Rare single bytes that pair with their neighbour: take the byte-wise road.
        return percentEncodeToString(shiftJisToEucJp(toCodePage932(text)));
    }
    return text;
}

} // namespace lookup
