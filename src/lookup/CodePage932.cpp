#include "lookup/CodePage932.h"

#include <QChar>
#include <algorithm>
#include <cstdint>

namespace lookup {

const std::uint16_t detail::kCodePage932Codes[0x10000] = {
#include "CodePage932Codes.inc"
};

const std::uint16_t detail::kEucJpCodes[0x10000] = {
#include "EucJpCodes.inc"
};

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
            if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p))
                ++p;
            *o++ = '?';
        }
    }
    out.truncate(o - out.constData());
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
