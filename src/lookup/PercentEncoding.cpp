#include "lookup/PercentEncoding.h"

#include "lookup/PercentEscapes.h"

namespace lookup {

QString percentEncodeToString(const QByteArray& bytes) {
    // Three characters per byte at most: reserve once, trim to what was written.
    QString out(bytes.size() * 3, Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
    char16_t* o = begin;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* const end = p + bytes.size();
    for (; p < end && *p != 0; ++p) {
        const EscapedByte& escape = kPercentEscapes[*p];
        o[0] = escape.text[0];
        o[1] = escape.text[1];
        o[2] = escape.text[2];
        o += escape.size;
    }
    out.truncate(o - begin);
    return out;
}

} // namespace lookup
