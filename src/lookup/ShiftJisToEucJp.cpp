#include "lookup/ShiftJisToEucJp.h"

namespace lookup {

namespace {

bool isHalfWidthKatakana(unsigned char b) {
    return b >= 0xA1 && b <= 0xDF;
}

} // namespace

qsizetype eucJpLength(const char* bytes, qsizetype length) {
    qsizetype count = 0;
    for (qsizetype i = 0; i < length;) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b <= 0x7F) {
            count += 1;
            i += 1;
        } else if (isHalfWidthKatakana(b)) {
            count += 2;
            i += 1;
        } else {
            count += 2;
            i += 2;
        }
    }
    return count;
}

QByteArray shiftJisToEucJp(const QByteArray& sjis) {
    if (sjis.isEmpty())
        return {};
    QByteArray out(eucJpLength(sjis.constData(), sjis.size()), Qt::Uninitialized);
    // QByteArray keeps a zero byte after its data, which is the trail of a final lone lead.
    const auto* in = reinterpret_cast<const unsigned char*>(sjis.constData());
    const qsizetype n = sjis.size();
    auto* o = reinterpret_cast<unsigned char*>(out.data());
    for (qsizetype i = 0; i < n;) {
        const unsigned char b = in[i];
        if (b <= 0x7F) {
            *o++ = b;
            i += 1;
        } else if (isHalfWidthKatakana(b)) {
            *o++ = 0x8E;
            *o++ = b;
            i += 1;
        } else {
            const unsigned char trail = in[i + 1];
            *o++ = jisRowByteFromShiftJis(b, trail) | 0x80;
            *o++ = jisCellByteFromShiftJis(b, trail) | 0x80;
            i += 2;
        }
    }
    return out;
}

} // namespace lookup
