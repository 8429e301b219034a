#include "lookup/CodePage932.h"
#include "lookup/EncodeQueryText.h"
#include "lookup/PercentEncoding.h"
#include "lookup/ReferenceEncoding.h"
#include "lookup/ShiftJisToEucJp.h"

#include <gtest/gtest.h>

using namespace lookup;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

std::string hex(const QByteArray& b) {
    return b.toHex(' ').toStdString();
}

} // namespace

struct HttpCase {
    const char* name;
    QByteArray in;
    const char* out;
};

class HttpEncodeTest : public testing::TestWithParam<HttpCase> {};

TEST_P(HttpEncodeTest, EncodesBytes) {
    const auto& c = GetParam();
    EXPECT_EQ(percentEncode(c.in).toStdString(), c.out);
    EXPECT_EQ(percentEncodeToString(c.in).toStdString(), c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HttpEncodeTest,
    testing::Values(HttpCase{"Alphanumerics", "AZaz09", "AZaz09"},
                    HttpCase{"TenPunctuationBytesStay", "!$'()*-.@_", "!$'()*-.@_"},
                    HttpCase{"OtherAsciiPunctuation", "~/:+%&=?#\"<>",
                             "%7E%2F%3A%2B%25%26%3D%3F%23%22%3C%3E"},
                    HttpCase{"SpaceIsPlus", "a b", "a+b"},
                    HttpCase{"ControlBytes", bytes({0x01, 0x09, 0x0A, 0x7F}), "%01%09%0A%7F"},
                    HttpCase{"HighBytesUpperCaseHex", bytes({0x80, 0xE6, 0xFF}), "%80%E6%FF"},
                    HttpCase{"StopsAtZeroByte", bytes({'a', 0, 'b'}), "a"},
                    HttpCase{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct EncodingRow {
    const char* name;
    const char16_t* text;
    const char* utf8;
    const char* shiftJis;
    const char* eucJp;
    const char* shiftJisTwice;
};

class EncodeQueryTextTest : public testing::TestWithParam<EncodingRow> {};

TEST_P(EncodeQueryTextTest, EveryEncoding) {
    const auto& r = GetParam();
    const QString text = QString::fromUtf16(r.text);
    EXPECT_EQ(encodeQueryText(text, QueryEncoding::Raw), text);
    EXPECT_EQ(encodeQueryText(text, QueryEncoding::Utf8).toStdString(), r.utf8);
    EXPECT_EQ(encodeQueryText(text, QueryEncoding::ShiftJis).toStdString(), r.shiftJis);
    EXPECT_EQ(encodeQueryText(text, QueryEncoding::EucJp).toStdString(), r.eucJp);
    EXPECT_EQ(encodeQueryText(text, QueryEncoding::ShiftJisTwice).toStdString(), r.shiftJisTwice);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EncodeQueryTextTest,
    testing::Values(
        EncodingRow{"Kanji", u"日本", "%E6%97%A5%E6%9C%AC", "%93%FA%96%7B", "%C6%FC%CB%DC",
                    "%2593%25FA%2596%257B"},
        EncodingRow{"HalfWidthKatakana", u"ｱ", "%EF%BD%B1", "%B1", "%8E%B1", "%25B1"},
        EncodingRow{"BlankAndAmpersand", u"a b&c", "a+b%26c", "a+b%26c", "a+b%26c", "a%2Bb%2526c"},
        EncodingRow{"TildePercentPlus", u"~%+", "%7E%25%2B", "%7E%25%2B", "%7E%25%2B",
                    "%257E%2525%252B"},
        // The trail byte of 駅 (0x89 0x77) is a letter and stays literal.
        EncodingRow{"TrailByteStaysLiteral", u"東京 駅", "%E6%9D%B1%E4%BA%AC+%E9%A7%85",
                    "%93%8C%8B%9E+%89w", "%C5%EC%B5%FE+%B1%D8", "%2593%258C%258B%259E%2B%2589w"},
        EncodingRow{"Hiragana", u"あ", "%E3%81%82", "%82%A0", "%A4%A2", "%2582%25A0"},
        EncodingRow{"Empty", u"", "", "", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct Cp932Row {
    const char* name;
    const char16_t* text;
    QByteArray cp932;
};

class CodePage932Test : public testing::TestWithParam<Cp932Row> {};

TEST_P(CodePage932Test, ConvertsAsWindowsDoes) {
    const auto& r = GetParam();
    EXPECT_EQ(hex(toCodePage932(QString::fromUtf16(r.text))), hex(r.cp932));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CodePage932Test,
    testing::Values(Cp932Row{"Ascii", u"a~\\", "a~\\"},
                    Cp932Row{"FullWidthTilde", u"～", bytes({0x81, 0x60})},
                    // Text from Linux and macOS programs carries the JIS-side forms of these.
                    Cp932Row{"WaveDash", u"〜", bytes({0x81, 0x60})},
                    Cp932Row{"DoubleVerticalLine", u"‖", bytes({0x81, 0x61})},
                    Cp932Row{"MinusSign", u"−", bytes({0x81, 0x7C})},
                    Cp932Row{"Cent", u"¢", bytes({0x81, 0x91})},
                    Cp932Row{"Pound", u"£", bytes({0x81, 0x92})},
                    Cp932Row{"Not", u"¬", bytes({0x81, 0xCA})},
                    Cp932Row{"NecCircledOne", u"①", bytes({0x87, 0x40})},
                    Cp932Row{"IbmTakaKanji", u"髙", bytes({0xFB, 0xFC})},
                    Cp932Row{"IbmSmallRomanNumeral", u"ⅰ", bytes({0xFA, 0x40})},
                    Cp932Row{"HalfWidthKatakana", u"ﾃｽﾄ", bytes({0xC3, 0xBD, 0xC4})},
                    Cp932Row{"MissingCharacter", u"a€b", "a?b"},
                    Cp932Row{"SurrogatePairIsOneCharacter", u"a\U0001F600b", "a?b"},
                    Cp932Row{"LoneHighSurrogate",
                             u"a\xD800"
                             "b",
                             "a?b"},
                    Cp932Row{"LoneLowSurrogate", u"a\xDC00", "a?"},
                    Cp932Row{"HighSurrogateAtEnd", u"a\xD83D", "a?"}, Cp932Row{"Empty", u"", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf8, SurrogatesAndPairs) {
    EXPECT_EQ(hex(toUtf8(QString::fromUtf16(u"\U0001F600"))), "f0 9f 98 80");
    EXPECT_EQ(hex(toUtf8(QString::fromUtf16(u"a\xD800"
                                            "b"))),
              "61 ef bf bd 62");
    EXPECT_EQ(encodeQueryText(QString::fromUtf16(u"\xDC00"), QueryEncoding::Utf8).toStdString(),
              "%EF%BF%BD");
}

struct SingleByteRow {
    const char* name;
    const char16_t* text;
    bool only;
};

class OnlySingleByteTest : public testing::TestWithParam<SingleByteRow> {};

TEST_P(OnlySingleByteTest, TellsEnglishFromJapanese) {
    const auto& r = GetParam();
    EXPECT_EQ(hasOnlySingleByteCharacters(toCodePage932(QString::fromUtf16(r.text))), r.only);
}

INSTANTIATE_TEST_SUITE_P(Cases, OnlySingleByteTest,
                         testing::Values(SingleByteRow{"Empty", u"", true},
                                         SingleByteRow{"Ascii", u"abc", true},
                                         SingleByteRow{"HalfWidthKatakana", u"ｱｲｳ", true},
                                         SingleByteRow{"BlankAndHyphen", u"a b-c", true},
                                         SingleByteRow{"Kanji", u"日本", false},
                                         SingleByteRow{"AsciiThenKana", u"aあ", false},
                                         SingleByteRow{"FullWidthLetters", u"ＡＢＣ", false},
                                         // Counted by the replacement the converter wrote: one '?'.
                                         SingleByteRow{"CharacterOutsideCodePage", u"€", true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct JisRow {
    const char* name;
    unsigned char lead, trail, jis1, jis2;
};

class SJisToJisTest : public testing::TestWithParam<JisRow> {};

TEST_P(SJisToJisTest, RowAndCellBoundaries) {
    const auto& r = GetParam();
    EXPECT_EQ(jisRowByteFromShiftJis(r.lead, r.trail), r.jis1);
    EXPECT_EQ(jisCellByteFromShiftJis(r.lead, r.trail), r.jis2);
}

INSTANTIATE_TEST_SUITE_P(Cases, SJisToJisTest,
                         testing::Values(JisRow{"FirstCell", 0x81, 0x40, 0x21,
                                                0x21}, // U+3000 ideographic space
                                         JisRow{"TrailBelow7F", 0x82, 0x7E, 0x23, 0x5F},
                                         JisRow{"TrailFrom80", 0x82, 0x80, 0x23, 0x60},
                                         JisRow{"Trail9EOddRow", 0x82, 0x9E, 0x23, 0x7E},
                                         JisRow{"Trail9FEvenRow", 0x82, 0x9F, 0x24, 0x21}, // あ
                                         JisRow{"LastLeadOfFirstBlock", 0x9F, 0xFC, 0x5E, 0x7E},
                                         JisRow{"FirstLeadOfSecondBlock", 0xE0, 0x40, 0x5F, 0x21},
                                         JisRow{"ZeroTrail", 0x93, 0x00, 0x45, 0xE1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(shiftJisToEucJp, LengthsAndEdges) {
    const QByteArray mixed = toCodePage932(QString::fromUtf16(u"ﾃｽﾄabc日"));
    EXPECT_EQ(eucJpLength(mixed.constData(), mixed.size()), 11);
    EXPECT_EQ(shiftJisToEucJp(mixed).size(), 11);
    EXPECT_TRUE(shiftJisToEucJp(QByteArray()).isEmpty());
    // A lead byte at the end pairs with the terminating zero byte.
    EXPECT_EQ(hex(shiftJisToEucJp(bytes({'a', 0x93}))), "61 c5 e1");
    // Lead bytes of the extension rows go through the same arithmetic, unchecked.
    EXPECT_EQ(hex(shiftJisToEucJp(bytes({0xFB, 0xFC}))), "96 fe");
}

// The one-pass encoders must give exactly what the byte-wise chain of conversions gives.
class EncodeMatchesByteChain : public testing::TestWithParam<std::pair<const char*, QString>> {};

TEST_P(EncodeMatchesByteChain, AllEncodings) {
    const QString& text = GetParam().second;
    const QByteArray sjis = toCodePage932(text);
    EXPECT_EQ(encodeQueryText(text, QueryEncoding::Utf8), percentEncodeToString(toUtf8(text)));
    EXPECT_EQ(encodeQueryText(text, QueryEncoding::ShiftJis), percentEncodeToString(sjis));
    EXPECT_EQ(encodeQueryText(text, QueryEncoding::EucJp),
              percentEncodeToString(shiftJisToEucJp(sjis)));
    EXPECT_EQ(encodeQueryText(text, QueryEncoding::ShiftJisTwice),
              percentEncodeToString(percentEncode(sjis)));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, EncodeMatchesByteChain,
    testing::Values(std::pair{"Mixed",
                              QString::fromUtf16(u"東京駅 Tokyo ｴｷ、行き方? a&b=1 〜①髙€")},
                    std::pair{"NulStopsTheWord", QString::fromUtf16(u"ab\0cd", 5)},
                    std::pair{"NulAfterKanji", QString::fromUtf16(u"日\0本", 3)},
                    std::pair{"SurrogatesPairedAndNot", QString::fromUtf16(u"a\U0001F600\xD800"
                                                                           "b\xDC00")},
                    // Single bytes that the EUC-JP conversion pairs with the byte after them.
                    std::pair{"SingleByte80", QString::fromUtf16(u"\x0080"
                                                                 "A日")},
                    std::pair{"SingleByteA0AtEnd", QString::fromUtf16(u"x\xF8F0")},
                    std::pair{"SingleByteFF", QString::fromUtf16(u"\xF8F3"
                                                                 "\xF8F1")},
                    std::pair{"ControlCharacters", QString::fromUtf16(u"\t\r\n\x1F\x7F")},
                    std::pair{"Latin1AndGreek", QString::fromUtf16(u"é¥αΩ")}),
    [](const auto& info) { return std::string(info.param.first); });
