#include "lookup/ReferenceEncoding.h"

#include "lookup/PercentEncoding.h"
#include "lookup/Utf8Encoder.h"

namespace lookup {

QByteArray toUtf8(QStringView text) {
    // Three bytes per unit at most: a pair's four bytes come from two units.
    QByteArray out(text.size() * 3, Qt::Uninitialized);
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end)
        encodeUtf8Character(p, end, [&o](unsigned char b) { *o++ = b; });
    out.truncate(reinterpret_cast<char*>(o) - out.constData());
    return out;
}

QByteArray percentEncode(const QByteArray& bytes) {
    return percentEncodeToString(bytes).toLatin1();
}

} // namespace lookup
