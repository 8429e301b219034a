#include "lookup/CodePage932.h"

#include <algorithm>
#include <cstdint>

namespace lookup {

const std::uint16_t detail::kUnicodeToCp932[0x10000] = {
#include "cp932_table.inc"
};

const std::uint16_t detail::kUnicodeToEucJp[0x10000] = {
#include "eucjp_table.inc"
};

namespace {

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

QByteArray toCodePage932(QStringView text) {
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char* o = out.data();
    const char16_t* p = text.utf16();
    const char16_t* end = p + text.size();
    while (p < end) {
        const char16_t c = *p++;
        const std::uint16_t code = codePage932Code(c);
        if (code < 0x100) {
            *o++ = static_cast<char>(code);
        } else if (code != kNoCodePage932Code) {
            *o++ = static_cast<char>(code >> 8);
            *o++ = static_cast<char>(code & 0xFF);
        } else {
            // A pair is one character and gets one replacement.
            if (isHighSurrogate(c) && p < end && isLowSurrogate(*p))
                ++p;
            *o++ = '?';
        }
    }
    out.truncate(o - out.constData());
    return out;
}

QByteArray toUtf8(QStringView text) {
    QByteArray out(text.size() * 3, Qt::Uninitialized);
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    const char16_t* p = text.utf16();
    const char16_t* end = p + text.size();
    while (p < end) {
        char32_t c = *p++;
        if (c < 0x80) {
            *o++ = static_cast<unsigned char>(c);
            continue;
        }
        if (c < 0x800) {
            *o++ = static_cast<unsigned char>(0xC0 | (c >> 6));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
            continue;
        }
        if (isHighSurrogate(static_cast<char16_t>(c)) && p < end && isLowSurrogate(*p)) {
            c = 0x10000 + ((c - 0xD800) << 10) + (*p++ - 0xDC00);
            *o++ = static_cast<unsigned char>(0xF0 | (c >> 18));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
            continue;
        }
        // An unpaired surrogate is written as U+FFFD, as the Windows converter does.
        if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        *o++ = static_cast<unsigned char>(0xE0 | (c >> 12));
        *o++ = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        *o++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    out.truncate(reinterpret_cast<char*>(o) - out.constData());
    return out;
}

bool hasOnlySingleByteCharacters(const QByteArray& cp932) {
    // Positions are typed from the start of the string; a trail byte always follows its
    // lead, so the first position that is not a single byte is a lead byte.
    return std::none_of(cp932.cbegin(), cp932.cend(), [](char b) {
        return isCodePage932LeadByte(static_cast<unsigned char>(b));
    });
}

} // namespace lookup
