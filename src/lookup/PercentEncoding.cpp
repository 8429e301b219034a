#include "lookup/PercentEncoding.h"

#include <array>
#include <cstring>

namespace lookup {

namespace {

// For every byte, what it becomes: its length (1 or 3) and up to three characters.
struct Escape {
    unsigned char len;
    char text[3];
};

constexpr std::array<Escape, 256> makeEscapes() {
    constexpr char hex[] = "0123456789ABCDEF";
    std::array<Escape, 256> t{};
    for (unsigned b = 0; b < 256; ++b) {
        if (staysUnescaped(static_cast<unsigned char>(b)))
            t[b] = {1, {static_cast<char>(b), 0, 0}};
        else if (b == ' ')
            t[b] = {1, {'+', 0, 0}};
        else
            t[b] = {3, {'%', hex[b >> 4], hex[b & 15]}};
    }
    return t;
}

constexpr std::array<Escape, 256> kEscapes = makeEscapes();

template <typename Out> qsizetype encodeInto(const QByteArray& bytes, Out* out) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    Out* o = out;
    for (; p < end && *p != 0; ++p) {
        const Escape& e = kEscapes[*p];
        o[0] = static_cast<Out>(e.text[0]);
        o[1] = static_cast<Out>(e.text[1]);
        o[2] = static_cast<Out>(e.text[2]);
        o += e.len;
    }
    return o - out;
}

} // namespace

QByteArray percentEncode(const QByteArray& bytes) {
    // Three output bytes per input byte at most: reserve once, trim to what was written.
    QByteArray out(bytes.size() * 3, Qt::Uninitialized);
    out.truncate(encodeInto(bytes, out.data()));
    return out;
}

QString percentEncodeToString(const QByteArray& bytes) {
    QString out(bytes.size() * 3, Qt::Uninitialized);
    out.truncate(encodeInto(bytes, reinterpret_cast<char16_t*>(out.data())));
    return out;
}

} // namespace lookup
