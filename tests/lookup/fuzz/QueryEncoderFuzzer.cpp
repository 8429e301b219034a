// libFuzzer target: any UTF-16 text (unpaired surrogates and NULs included; the input's bytes
// two by two) through every query encoding. Each percent-encoded word must be pure ASCII made
// only of the characters that stay, '+' and %XX escapes, must equal the byte-wise chain of
// conversions it stands for, and the UTF-8 word must decode back to the text up to its first
// NUL (an unpaired surrogate comes back as U+FFFD).
#include "lookup/CodePage932.h"
#include "lookup/EncodeQueryText.h"
#include "lookup/PercentEncoding.h"
#include "lookup/PercentEscapes.h"
#include "lookup/ReferenceEncoding.h"
#include "lookup/ShiftJisToEucJp.h"

#include <QStringDecoder>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace lookup;

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "query encoder fuzzer: %s\n", what);
        std::abort();
    }
}

int hexValue(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1; // lower case is never written
}

// The bytes of a word written by percent-encoding; aborts on anything it never writes.
QByteArray percentDecode(const QString& word) {
    QByteArray bytes;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word.at(i);
        require(c.unicode() < 0x80, "a character outside ASCII in an encoded word");
        if (c == u'+') {
            bytes += ' ';
        } else if (c == u'%') {
            require(i + 2 < word.size(), "a '%' without two hex digits");
            const int high = hexValue(word.at(i + 1));
            const int low = hexValue(word.at(i + 2));
            require(high >= 0 && low >= 0, "a '%' without two upper-case hex digits");
            bytes += char(high * 16 + low);
            i += 2;
        } else {
            require(staysUnescaped(static_cast<unsigned char>(c.unicode())),
                    "a character left unescaped that must be escaped");
            bytes += char(c.unicode());
        }
    }
    return bytes;
}

QByteArray upToNul(const QByteArray& bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    return nul < 0 ? bytes : bytes.left(nul);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(text.data(), data, size / 2 * 2);

    require(encodeQueryText(text, QueryEncoding::Raw) == text, "the raw word changed");

    const QString utf8 = encodeQueryText(text, QueryEncoding::Utf8);
    const QByteArray utf8Bytes = upToNul(toUtf8(text));
    require(percentDecode(utf8) == utf8Bytes, "the UTF-8 word is not the text's UTF-8");
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    QString untilNul = nul < 0 ? text : text.left(nul);
    for (qsizetype i = 0; i < untilNul.size(); ++i) {
        const bool paired =
            (untilNul.at(i).isHighSurrogate() && i + 1 < untilNul.size() &&
             untilNul.at(i + 1).isLowSurrogate()) ||
            (untilNul.at(i).isLowSurrogate() && i > 0 && untilNul.at(i - 1).isHighSurrogate());
        if (untilNul.at(i).isSurrogate() && !paired)
            untilNul[i] = QChar(QChar::ReplacementCharacter);
    }
    // A byte-order mark at the start is text here, not a mark to drop.
    QStringDecoder fromUtf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    require(fromUtf8.decode(percentDecode(utf8)) == untilNul,
            "the UTF-8 word does not decode back to the text");

    const QByteArray cp932 = upToNul(toCodePage932(text));
    const QString shiftJis = encodeQueryText(text, QueryEncoding::ShiftJis);
    require(percentDecode(shiftJis) == cp932, "the Shift_JIS word is not the text's bytes");
    require(shiftJis == percentEncodeToString(cp932), "the Shift_JIS word differs from the chain");

    const QString twice = encodeQueryText(text, QueryEncoding::ShiftJisTwice);
    require(percentDecode(twice) == shiftJis.toLatin1(),
            "the twice-encoded word does not decode to the Shift_JIS word");

    const QString eucJp = encodeQueryText(text, QueryEncoding::EucJp);
    require(eucJp == percentEncodeToString(shiftJisToEucJp(toCodePage932(text))),
            "the EUC-JP word differs from the chain");
    percentDecode(eucJp);
    return 0;
}
