#include "lookup/CodePage932.h"

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
        const std::uint16_t code = nextCharacterCode<codePage932Code>(p, end);
        if (code > 0xFF)
            *o++ = static_cast<char>(code >> 8);
        *o++ = static_cast<char>(code & 0xFF);
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
