#pragma once

#include <QChar>

namespace lookup {

// Hands `sink` the UTF-8 bytes of the character at `p`, one byte a call, and moves `p` past
// it: two units for a surrogate pair. An unpaired surrogate is written as U+FFFD, as the
// Windows converter does. Inline, so that a caller that escapes each byte as it comes still
// makes one pass over the text.
template <typename Sink>
inline void encodeUtf8Character(const char16_t*& p, const char16_t* end, Sink&& sink) {
    char32_t c = *p++;
    if (c < 0x80) {
        sink(static_cast<unsigned char>(c));
        return;
    }
    if (c < 0x800) {
        sink(static_cast<unsigned char>(0xC0 | (c >> 6)));
        sink(static_cast<unsigned char>(0x80 | (c & 0x3F)));
        return;
    }
    if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p)) {
        c = QChar::surrogateToUcs4(static_cast<char16_t>(c), *p++);
        sink(static_cast<unsigned char>(0xF0 | (c >> 18)));
        sink(static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F)));
        sink(static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)));
        sink(static_cast<unsigned char>(0x80 | (c & 0x3F)));
        return;
    }
    if (QChar::isSurrogate(c))
        c = 0xFFFD;
    sink(static_cast<unsigned char>(0xE0 | (c >> 12)));
    sink(static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F)));
    sink(static_cast<unsigned char>(0x80 | (c & 0x3F)));
}

} // namespace lookup
