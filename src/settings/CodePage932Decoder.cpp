#include "settings/CodePage932Decoder.h"

#include "lookup/CodePage932.h"

#include <cstdint>

namespace settings {

namespace {

const std::uint16_t kCodePage932ToUnicode[0x10000] = {
#include "cp932_decode_table.inc"
};

constexpr std::uint16_t kNoCharacter = 0xFFFF;
constexpr char16_t kReplacement = 0xFFFD;

} // namespace

QString fromCodePage932(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    char16_t* o = out;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p++;
        std::uint16_t c = kNoCharacter;
        if (!lookup::isCodePage932LeadByte(b)) {
            c = kCodePage932ToUnicode[b];
        } else if (p < end) {
            c = kCodePage932ToUnicode[b << 8 | *p];
            // An undefined pair with a proper trail byte is one character; anything else
            // leaves the next byte to be read on its own.
            const unsigned char t = *p;
            if (c != kNoCharacter || (t >= 0x40 && t <= 0xFC && t != 0x7F))
                ++p;
        }
        *o++ = c == kNoCharacter ? kReplacement : static_cast<char16_t>(c);
    }
    text.truncate(o - out);
    return text;
}

} // namespace settings
