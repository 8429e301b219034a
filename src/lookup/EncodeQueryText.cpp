#include "lookup/EncodeQueryText.h"

#include "lookup/CodePage932.h"
#include "lookup/PercentEncoding.h"
#include "lookup/PercentEscapes.h"
#include "lookup/ShiftJisToEucJp.h"
#include "lookup/Utf8Encoder.h"

#include <QChar>
#include <cstring>
#include <optional>

namespace lookup {

namespace {

// Lookups run on every copy and the text can be long, so each encoding is done in one pass
// from the UTF-16 text straight into the result, byte for byte as the chain of conversions
// (to bytes, to EUC-JP, percent-encoding once or twice) would give it.

// The second pass sees only the first pass's output: letters, digits, the unchanged
// punctuation, '+' (from a blank) and '%'.
constexpr EscapedByte percentEscapeTwice(unsigned b) {
    EscapedByte out{};
    const EscapedByte& once = kPercentEscapes[b];
    for (std::uint32_t i = 0; i < once.size; ++i) {
        const EscapedByte& again = kPercentEscapes[once.text[i]];
        for (std::uint32_t j = 0; j < again.size; ++j)
            out.text[out.size++] = again.text[j];
    }
    return out;
}

constexpr EscapeTable kDoublePercentEscapes = makeEscapeTable<percentEscapeTwice>();

// Room for the escapes' fixed-size copies past the last character written.
constexpr qsizetype kSlack = 8;

// Stores `Bytes` bytes of the escape at once: 8 hold the three characters of a single
// escape, 16 the five of a double one.
template <std::size_t Bytes = sizeof(EscapedByte)>
inline char16_t* put(char16_t* o, const EscapedByte& escape) {
    std::memcpy(o, &escape, Bytes);
    return o + escape.size;
}

// Plain loops with local pointers: the compiler keeps them in registers, which it does not
// for pointers that a callback updates.

// The UTF-8 bytes of every character, escaped as they come; stops at a zero unit.
QString utf8Encoded(const QString& text) {
    // Nine characters per unit at most: three escaped bytes (a pair's four come from two).
    QString out(text.size() * 9 + kSlack, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* o = begin;
    const auto* p = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = p + text.size();
    while (p < end && *p != 0)
        encodeUtf8Character(p, end, [&o](unsigned char b) { o = put<8>(o, kPercentEscapes[b]); });
    out.truncate(o - begin);
    return out;
}

// The code that `Code` (codePage932Code or eucJpCode) gives the character at `p`, moving
// `p` past it. A character the code page lacks becomes '?', once for a whole surrogate pair.
template <std::uint16_t (*Code)(char16_t)>
inline std::uint16_t nextCharacterCode(const char16_t*& p, const char16_t* end) {
    const char16_t c = *p++;
    const std::uint16_t code = Code(c);
    if (code != kNoCodePage932Code)
        return code;
    if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p))
        ++p;
    return '?';
}

// Escapes the one- or two-byte codes of every character; stops at a zero byte. Returns
// nothing when a code can't be written on its own.
template <std::uint16_t (*Code)(char16_t), std::size_t Bytes>
std::optional<QString> codesEncoded(const QString& text, const EscapeTable& table,
                                    qsizetype maxPerByte) {
    QString out(text.size() * 2 * maxPerByte + kSlack, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* o = begin;
    const auto* p = reinterpret_cast<const char16_t*>(text.constData());
    const char16_t* const end = p + text.size();
    while (p < end) {
        const std::uint16_t code = nextCharacterCode<Code>(p, end);
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
        return *codesEncoded<codePage932Code, 8>(text, kPercentEscapes, 3);
    case QueryEncoding::ShiftJisTwice:
        return *codesEncoded<codePage932Code, 16>(text, kDoublePercentEscapes, 5);
    case QueryEncoding::EucJp:
        if (auto fast = codesEncoded<eucJpCode, 8>(text, kPercentEscapes, 3))
            return *fast;
        // Rare single bytes that pair with their neighbour: take the byte-wise road.
        return percentEncodeToString(shiftJisToEucJp(toCodePage932(text)));
    }
    return text;
}

} // namespace lookup
